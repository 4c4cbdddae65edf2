#pragma once
// The sample level the map control shows while no maps are loaded, and the 80 x 25 text screen
// the Screens page shows while no screens are loaded. Both ship as files in the program's
// resources ("builtin" next to the program); when they are missing or damaged the editor gets
// an empty level or a blank screen instead.

#include <cstdint>
#include <filesystem>
#include <vector>

constexpr const char* kBuiltinFolderName = "builtin";
constexpr const char* kBuiltinLevelFileName = "Wolf3DMap.bin";
constexpr const char* kBuiltinScreenFileName = "Wolf3DScreen.bin";
constexpr size_t kBuiltinLevelFileSize = 16384; // plane 0, then plane 1
constexpr size_t kBuiltinScreenFileSize = 4000; // 80 x 25 cells: character, attribute

struct BuiltinLevel {
    std::vector<uint16_t> plane0 = std::vector<uint16_t>(4096, 0);
    std::vector<uint16_t> plane1 = std::vector<uint16_t>(4096, 0);
    bool fromFile = false;
};

// programFolder/builtin/Wolf3DMap.bin; all zero when it is not there or not 16384 bytes.
BuiltinLevel loadBuiltinLevel(const std::filesystem::path& programFolder);

// programFolder/builtin/Wolf3DScreen.bin; blanks in light grey on black when it is not there or
// not 4000 bytes.
std::vector<uint8_t> loadBuiltinTextScreen(const std::filesystem::path& programFolder);
