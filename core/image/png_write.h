#pragma once
// A minimal PNG encoder for 8-bit palette images (stored deflate blocks: no compression
// library needed, every viewer reads it).

#include "common/byte_io.h"
#include "image/indexed_image.h"
#include "image/palette.h"

#include <filesystem>
#include <string>

Bytes encodePng8(const IndexedImage& image, const Palette& palette);
bool writePng8(const std::filesystem::path& path, const IndexedImage& image,
               const Palette& palette, std::string* error = nullptr);
