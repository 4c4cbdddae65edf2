#pragma once
// The map symbols picture: 448 x 112 RGB555 pixels, 64 x 16 symbols of 7 x 7. Symbols 0..511
// draw plane-0 codes, 512..1023 object codes; higher codes share the last symbol of their half.

#include "common/byte_io.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

constexpr const char* kSymbolsFileName = "symbols.bmp";
constexpr int kSymbolImageWidth = 448;
constexpr int kSymbolImageHeight = 112;
constexpr int kSymbolSize = 7;
constexpr int kSymbolsPerRow = 64;
constexpr int kSymbolCount = 1024;
constexpr int kFirstObjectSymbol = 512;
constexpr size_t kSymbolsBmpFileSize = 100406;

inline int wallSymbolIndex(uint32_t code) {
    return code < 511 ? int(code) : 511;
}
inline int objectSymbolIndex(uint32_t code) {
    return kFirstObjectSymbol + (code < 511 ? int(code) : 511);
}

// RGB555 from and to 8-bit components (the low three bits are dropped).
inline uint16_t toRgb555(uint8_t r, uint8_t g, uint8_t b) {
    return uint16_t(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
}

class SymbolImage {
public:
    // An empty picture (nothing loaded yet) is all black.
    SymbolImage() : m_pixels(size_t(kSymbolImageWidth) * kSymbolImageHeight, 0) {}

    // y from the top.
    uint16_t at(int x, int y) const { return m_pixels[indexOf(x, y)]; }
    void set(int x, int y, uint16_t rgb555) { m_pixels[indexOf(x, y)] = rgb555; }
    // Pixel (dx, dy) of symbol s, counted from the symbol's top left.
    uint16_t symbolPixel(int symbol, int dx, int dy) const {
        return at(symbolLeft(symbol) + dx, symbolTop(symbol) + dy);
    }
    static int symbolLeft(int symbol) { return kSymbolSize * (symbol % kSymbolsPerRow); }
    static int symbolTop(int symbol) { return kSymbolSize * (symbol / kSymbolsPerRow); }

    // The pixels as the editor's bitmaps keep them: bottom row first.
    const std::vector<uint16_t>& pixels() const { return m_pixels; }
    bool operator==(const SymbolImage&) const = default;

private:
    static size_t indexOf(int x, int y) {
        return size_t(kSymbolImageHeight - 1 - y) * kSymbolImageWidth + size_t(x);
    }
    std::vector<uint16_t> m_pixels;
};

// Any bitmap decodeBmpRgb can read; its top-left 448 x 112 pixels become the picture (a
// smaller bitmap leaves the rest black). Nothing, with the reason in *error, when the file
// cannot be read or is no bitmap.
std::optional<SymbolImage> readSymbolsBmp(const std::filesystem::path& path,
                                          std::string* error = nullptr);
std::optional<SymbolImage> decodeSymbolsBmp(ByteView data, std::string* error = nullptr);

// The uncompressed 16-bit RGB555 bitmap of 100406 bytes the editor saves.
Bytes encodeSymbolsBmp(const SymbolImage& image);
