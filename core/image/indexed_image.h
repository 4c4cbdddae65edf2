#pragma once
// An 8-bit palette-index image. Rows are stored bottom row first, as the editor's bitmaps are,
// so they draw and export without conversion; at() counts y from the top.

#include <cstddef>
#include <cstdint>
#include <vector>

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width * height, bottom row first

    IndexedImage() = default;
    IndexedImage(int w, int h, uint8_t fill = 0)
        : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}

    bool empty() const { return width <= 0 || height <= 0; }
    size_t indexOf(int x, int y) const { return size_t(height - 1 - y) * size_t(width) + size_t(x); }
    uint8_t at(int x, int y) const { return pixels[indexOf(x, y)]; }
    void set(int x, int y, uint8_t value) { pixels[indexOf(x, y)] = value; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    bool operator==(const IndexedImage&) const = default;
};
