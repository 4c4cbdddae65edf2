#pragma once
// VGAGRAPH pictures: the game stores them in four-plane order (plane p holds the pixels
// x = p, p + 4, ... of every row, rows from the top); the editor keeps them as IndexedImage.

#include "common/byte_io.h"
#include "image/indexed_image.h"
#include "vgagraph/vga_chunks.h"

#include <vector>

constexpr int kNewPictureSide = 64;

// Where pixel (x, y) of a picture whose width is a multiple of 4 lies in the stored bytes.
size_t planarOffset(int x, int y, int width, int height);

// From stored bytes (width * height of them, planes one after another; a width that is not a
// multiple of 4 gives planes of unequal length, read and written in the same order).
IndexedImage pictureFromPlanar(ByteView planar, int width, int height);
Bytes pictureToPlanar(const IndexedImage& image);

int roundUpToFour(int value);
// New size with the old pixels kept at the same place (top left anchored) and the new area
// filled; the width is rounded up to a multiple of 4.
void resizePicture(IndexedImage& image, int width, int height, uint8_t fill);

// The pictures of the archive, and the raw chunks kept with them for writing a new VGAGRAPH.
struct PicturePart {
    int firstPictureChunk = -1; // -1 while no pictures are loaded
    std::vector<IndexedImage> pictures;
    std::vector<Bytes> rawFontChunks;     // compressed, length fields included
    std::vector<Bytes> rawTrailingChunks; // the tile8 chunk and every chunk after it

    int count() const { return int(pictures.size()); }
    std::vector<PictureSize> table() const;
};

// A 64 x 64 picture of the fill colour after index `after` (at 0 when there is none); returns
// its index.
size_t insertPicture(PicturePart& part, size_t after, uint8_t fill);
// Removes picture index; returns the index to show next (the same, or the new last one), or -1
// when none is left.
int removePicture(PicturePart& part, size_t index);
