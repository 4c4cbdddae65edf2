#include "image/bmp.h"

#include "common/file_io.h"

Bytes encodeBmp8(const IndexedImage& image, const Palette& palette) {
    const uint32_t stride = (uint32_t(image.width) + 3) & ~3u;
    const uint32_t pixelBytes = stride * uint32_t(image.height);
    const uint32_t dataOffset = 14 + 40 + 256 * 4;
    Bytes out;
    out.reserve(dataOffset + pixelBytes);
    ByteWriter w(out);
    w.u16(0x4D42);
    w.u32(dataOffset + pixelBytes);
    w.u32(0);
    w.u32(dataOffset);
    w.u32(40);
    w.i32(image.width);
    w.i32(image.height); // positive: bottom row first, as stored
    w.u16(1);
    w.u16(8);
    w.u32(0);
    w.u32(pixelBytes);
    w.u32(2835);
    w.u32(2835);
    w.u32(256);
    w.u32(0);
    for (const Rgb& c : palette.colors) {
        w.u8(c.b);
        w.u8(c.g);
        w.u8(c.r);
        w.u8(0);
    }
    for (int row = 0; row < image.height; ++row) {
        w.bytes(ByteView(image.pixels).subspan(size_t(row) * size_t(image.width), size_t(image.width)));
        w.fill(stride - uint32_t(image.width), 0);
    }
    return out;
}

bool writeBmp8(const std::filesystem::path& path, const IndexedImage& image,
               const Palette& palette, std::string* error) {
    Bytes data = encodeBmp8(image, palette);
    return writeWholeFile(path, data, error);
}
