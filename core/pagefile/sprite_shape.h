#pragma once
// Sprite shapes as the page file stores them: only the opaque pixels, column by column, as
// vertical runs (posts). Images are side x side palette indices, bottom row first, 255 clear.

#include "common/byte_io.h"

#include <cstdint>
#include <span>

constexpr uint8_t kTransparentIndex = 255;

// Fills the image with 255 and draws the shape into it. Whatever the shape addresses outside the
// chunk or outside the side x side raster is skipped; the image is never written past its size.
void ExpandShape(ByteView shape, std::span<uint8_t> image, int side);

// Each column's runs as they are: pixel bytes, then the column's post list.
Bytes CompressShapeSimple(ByteView image, int side);

// Shares pixel bytes between runs (containment and overlapping ends) and post lists between
// columns; never larger than the simple shape for the same image.
Bytes CompressShapeFull(ByteView image, int side);
