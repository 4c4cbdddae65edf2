#pragma once
// The editor's own palette files in its "palette" folder, and taking a palette from a bitmap or
// palette file. Every message goes through the prompter.

#include "common/prompter.h"
#include "image/palette.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

constexpr size_t kMaxPalettes = 100;
constexpr const char* kPaletteFolderName = "palette";

// The names of the ".pal" files in the folder (extension removed), sorted without regard to
// case. When the list reaches 100 names the scan stops with "Warning: Too many palettes!".
std::vector<std::string> scanPaletteFolder(const std::filesystem::path& paletteFolder,
                                           Prompter& prompter);

// Reads "<name>.pal" from the folder; "Cannot Open" with the path when it cannot be read.
std::optional<Palette> loadPaletteByName(const std::filesystem::path& paletteFolder,
                                         const std::string& name, Prompter& prompter);

// Writes the 768 bytes; the message has the given caption ("Cannot Open" for Save,
// "Unable to create palette file:" for a new palette) and the path as text.
bool savePaletteFile(const std::filesystem::path& path, const Palette& palette, Prompter& prompter,
                     const std::string& failureCaption = "Cannot Open");

// Import by the file's extension: "bmp" replaces the entries the colour table holds (1 to 8
// bits), "pal" all 256; any other extension does nothing and tells nothing. The result is the
// new current palette; on every failure the current palette stays as it was.
std::optional<Palette> importPalette(const std::filesystem::path& path, const Palette& current,
                                     Prompter& prompter);
