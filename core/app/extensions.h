#pragma once
// The game extension table ("extensions.txt"): which map-object folder and palette go with the
// files of each extension.

#include "common/prompter.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

constexpr const char* kExtensionsFileName = "extensions.txt";
constexpr size_t kMaxExtensions = 100;
constexpr const char* kDefaultMapObjectFolder = "Wolfenstein 3D";
constexpr const char* kDefaultPaletteName = "Wolfenstein3D";

struct ExtensionEntry {
    std::string extension;
    std::string mapObjectFolder;
    std::string paletteName;
    bool operator==(const ExtensionEntry&) const = default;
};

struct ExtensionTable {
    std::vector<ExtensionEntry> entries;

    // The first entry whose extension equals the text without regard to case.
    const ExtensionEntry* findIgnoringCase(const std::string& extension) const;
    // The start-up choice: the first entry equal to lastExtension exactly, else the first
    // entry, else the defaults.
    ExtensionEntry startupChoice(const std::string& lastExtension) const;
};

// Reads the lines up to the "#" line; without one, prompts "Can't load Extensions.txt" and
// keeps what it read. Lines without two commas are skipped.
ExtensionTable parseExtensions(std::string_view text, Prompter& prompter);
// A missing file gives an empty table without a message.
ExtensionTable readExtensionsFile(const std::filesystem::path& path, Prompter& prompter);

std::string formatExtensions(const ExtensionTable& table);
bool writeExtensionsFile(const std::filesystem::path& path, const ExtensionTable& table,
                         std::string* error = nullptr);
