#pragma once
// The editor's options, kept in "Tessarand.ini" next to the program.

#include "common/ini_file.h"

#include <cstdint>
#include <filesystem>
#include <string>

constexpr const char* kSettingsFileName = "Tessarand.ini";

enum class CarmackExpand { Auto = 0, Enable = 1, Disable = 2 };
enum class CarmackCompress { AsExpanded = 0, Enable = 1, Disable = 2 };
enum class CarmackMode { Compatible = 0, BestResult = 1 };
enum class SpriteCompression { None = 0, Good = 1, Best = 2 };

struct Settings {
    // Global
    bool tooltips = true;
    int scrollDelta = 0; // "MouseWheel scrolls" choice 0..4: 1 to 5 pages per notch
    bool showAbout = true;
    std::string lastExtension = "WL6";
    std::string stdPath;
    // Compression
    CarmackExpand carmackExpand = CarmackExpand::Auto;
    CarmackCompress carmackCompress = CarmackCompress::AsExpanded;
    CarmackMode carmackMode = CarmackMode::Compatible;
    SpriteCompression spriteCompression = SpriteCompression::Good;
    // Maps
    uint8_t farTag = 0xA8;
    uint8_t nearTag = 0xA7;
    uint16_t rlewTag = 0xABCD;
    bool dontLoadRlew = false;
    bool checkMaphead = true;
    bool mapsOnly = false;
    // MapEditor
    bool showObjects = true;
    bool showFloors = true;
    bool showGrid = true;
    bool profMode = true;

    int wheelStep() const { return 120 / (scrollDelta + 1); }
};

constexpr size_t kMaxLastExtensionLength = 14;
constexpr size_t kMaxStdPathLength = 255;

// Values that are missing or outside their range keep their defaults.
Settings settingsFromIni(const IniFile& ini);
// Every key in table order; ShowAbout is always written as "0" (shown on the first run only).
IniFile settingsToIni(const Settings& settings);

Settings readSettingsFile(const std::filesystem::path& path);
bool writeSettingsFile(const std::filesystem::path& path, const Settings& settings,
                       std::string* error = nullptr);

// The decimal reading of settings values: leading digits of the first two characters, 0 when none.
int readSettingNumber(const std::string& text);
// "0x" + text read as hexadecimal; nothing when the text holds no hexadecimal digit first.
std::optional<unsigned> readSettingHex(const std::string& text, size_t maxDigits);
