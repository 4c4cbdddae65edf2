#include "level/symbol_image.h"

#include "common/file_io.h"
#include "image/bmp.h"

#include <algorithm>

namespace {
// A symbols bitmap is 100 KB; anything this large is not one.
constexpr size_t kMaxSymbolsFileSize = size_t(64) << 20;
} // namespace

std::optional<SymbolImage> decodeSymbolsBmp(ByteView data, std::string* error) {
    std::optional<RgbImage> bitmap = decodeBmpRgb(data, error);
    if (!bitmap)
        return std::nullopt;
    SymbolImage image;
    const int width = std::min(bitmap->width, kSymbolImageWidth);
    const int height = std::min(bitmap->height, kSymbolImageHeight);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb& c = bitmap->at(x, y);
            image.set(x, y, toRgb555(c.r, c.g, c.b));
        }
    return image;
}

std::optional<SymbolImage> readSymbolsBmp(const std::filesystem::path& path, std::string* error) {
    std::optional<Bytes> data = readWholeFile(path, error, kMaxSymbolsFileSize);
    if (!data)
        return std::nullopt;
    return decodeSymbolsBmp(*data, error);
}

Bytes encodeSymbolsBmp(const SymbolImage& image) {
    const uint32_t pixelBytes = uint32_t(kSymbolImageWidth) * kSymbolImageHeight * 2;
    Bytes out;
    out.reserve(kSymbolsBmpFileSize);
    ByteWriter w(out);
    w.u16(0x4D42);
    w.u32(54 + pixelBytes);
    w.u32(0);
    w.u32(54);
    w.u32(40);
    w.i32(kSymbolImageWidth);
    w.i32(kSymbolImageHeight);
    w.u16(1);
    w.u16(16);
    w.u32(0);
    w.u32(0);
    w.u32(1);
    w.u32(1);
    w.u32(0);
    w.u32(0);
    for (uint16_t pixel : image.pixels())
        w.u16(pixel);
    return out;
}
