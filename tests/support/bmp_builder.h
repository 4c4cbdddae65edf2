#pragma once
// Hand-made bitmap files for tests and benchmarks.

#include "common/byte_io.h"
#include "image/palette.h"

namespace testdata {

// An uncompressed 24-bit BMP (rows bottom first) whose pixel (x, y), y from the top, has the
// colour colorOf(x, y).
template <typename ColorOf> Bytes bmp24(int width, int height, ColorOf colorOf) {
    const int rowSize = (width * 3 + 3) & ~3;
    Bytes out;
    ByteWriter w(out);
    w.u16(0x4D42);
    w.u32(uint32_t(54 + rowSize * height));
    w.u32(0);
    w.u32(54);
    w.u32(40);
    w.i32(width);
    w.i32(height);
    w.u16(1);
    w.u16(24);
    for (int i = 0; i < 6; ++i)
        w.u32(0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            Rgb c = colorOf(x, y);
            w.u8(c.b);
            w.u8(c.g);
            w.u8(c.r);
        }
        w.fill(size_t(rowSize - width * 3), 0);
    }
    return out;
}

} // namespace testdata
