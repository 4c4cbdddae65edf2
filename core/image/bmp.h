#pragma once
// Windows bitmap files.

#include "common/byte_io.h"
#include "image/indexed_image.h"
#include "image/palette.h"

#include <filesystem>
#include <string>

// An uncompressed 8-bit BMP with the palette as its colour table (rows padded to 4 bytes).
Bytes encodeBmp8(const IndexedImage& image, const Palette& palette);
bool writeBmp8(const std::filesystem::path& path, const IndexedImage& image,
               const Palette& palette, std::string* error = nullptr);
