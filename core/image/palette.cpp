#include "image/palette.h"

#include "common/file_io.h"

std::optional<Palette> paletteFromBytes(ByteView data) {
    if (data.size() < kPaletteFileSize)
        return std::nullopt;
    Palette palette;
    for (size_t i = 0; i < 256; ++i)
        palette[i] = {data[3 * i], data[3 * i + 1], data[3 * i + 2]};
    return palette;
}

Bytes paletteToBytes(const Palette& palette) {
    Bytes out;
    out.reserve(kPaletteFileSize);
    for (const Rgb& c : palette.colors) {
        out.push_back(c.r);
        out.push_back(c.g);
        out.push_back(c.b);
    }
    return out;
}

std::optional<Palette> readPaletteFile(const std::filesystem::path& path, std::string* error) {
    // A palette file is small; anything far beyond 768 bytes is not one.
    std::optional<Bytes> data = readWholeFile(path, error, 1 << 20);
    if (!data)
        return std::nullopt;
    std::optional<Palette> palette = paletteFromBytes(*data);
    if (!palette && error)
        *error = "shorter than 768 bytes: " + path.string();
    return palette;
}
