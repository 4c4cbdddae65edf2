#include "image/png_write.h"

#include "common/file_io.h"

#include <array>

namespace {

uint32_t crc32(ByteView data, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (uint8_t byte : data)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putBigEndian32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

void chunk(Bytes& out, const char type[4], const Bytes& body) {
    putBigEndian32(out, uint32_t(body.size()));
    size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    putBigEndian32(out, crc32(ByteView(out).subspan(typeStart)));
}

} // namespace

Bytes encodePng8(const IndexedImage& image, const Palette& palette) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    putBigEndian32(header, uint32_t(image.width));
    putBigEndian32(header, uint32_t(image.height));
    header.insert(header.end(), {8, 3, 0, 0, 0}); // 8-bit, palette, deflate, no filter, no interlace
    chunk(out, "IHDR", header);
    Bytes colors;
    for (const Rgb& c : palette.colors)
        colors.insert(colors.end(), {c.r, c.g, c.b});
    chunk(out, "PLTE", colors);

    Bytes raw; // top row first, each with filter byte 0
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < image.width; ++x)
            raw.push_back(image.at(x, y));
    }
    Bytes zlib = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    size_t done = 0;
    do {
        size_t length = std::min<size_t>(65535, raw.size() - done);
        bool last = done + length == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(uint8_t(length));
        zlib.push_back(uint8_t(length >> 8));
        zlib.push_back(uint8_t(~length));
        zlib.push_back(uint8_t(~length >> 8));
        zlib.insert(zlib.end(), raw.begin() + long(done), raw.begin() + long(done + length));
        done += length;
    } while (done < raw.size());
    putBigEndian32(zlib, (b << 16) | a);
    chunk(out, "IDAT", zlib);
    chunk(out, "IEND", {});
    return out;
}

bool writePng8(const std::filesystem::path& path, const IndexedImage& image,
               const Palette& palette, std::string* error) {
    return writeWholeFile(path, encodePng8(image, palette), error);
}
