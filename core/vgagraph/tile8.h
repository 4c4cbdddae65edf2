#pragma once
// The 72 tiles of 8 x 8 pixels in the tile8 chunk: 64 bytes per tile, four-plane order like
// pictures with width 8, so pixel (x, y) of tile t is byte t * 64 + (x & 3) * 16 + y * 2 + x / 4.

#include "common/byte_io.h"
#include "image/indexed_image.h"

constexpr int kTile8Count = 72;
constexpr int kTile8Side = 8;
constexpr size_t kTile8Bytes = 64;

size_t tile8Offset(int tile, int x, int y);
// The tile as an image; bytes missing from a short buffer read as 0.
IndexedImage tile8Image(ByteView tiles, int tile);
// Writes the top-left 8 x 8 pixels of image into the tile (missing pixels as 0).
bool setTile8Image(Bytes& tiles, int tile, const IndexedImage& image);
// The number of tiles up to the last one holding a nonzero byte (what the saver writes).
int usedTile8Count(ByteView tiles);
