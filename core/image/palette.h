#pragma once
// The 256-colour palette every image is drawn with, and its ".pal" file (768 bytes R, G, B).

#include "common/byte_io.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Palette {
    std::array<Rgb, 256> colors{};

    const Rgb& operator[](size_t index) const { return colors[index]; }
    Rgb& operator[](size_t index) { return colors[index]; }
    bool operator==(const Palette&) const = default;
};

constexpr size_t kPaletteFileSize = 768;

// The built-in default: the Wolfenstein 3D game palette in 8-bit components.
const Palette& wolfensteinPalette();

// The first 768 bytes as 256 R, G, B entries; nothing when there are fewer.
std::optional<Palette> paletteFromBytes(ByteView data);
Bytes paletteToBytes(const Palette& palette);

// Reads a ".pal" file: nothing when it cannot be opened or holds fewer than 768 bytes.
std::optional<Palette> readPaletteFile(const std::filesystem::path& path,
                                       std::string* error = nullptr);
