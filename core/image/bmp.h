#pragma once
// Windows bitmap files: reading uncompressed BMPs of 1, 4, 8, 16, 24 and 32 bits, writing 8-bit
// ones with the palette as colour table.

#include "common/byte_io.h"
#include "common/prompter.h"
#include "image/indexed_image.h"
#include "image/palette.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// An uncompressed 8-bit BMP with the palette as its colour table (rows padded to 4 bytes).
Bytes encodeBmp8(const IndexedImage& image, const Palette& palette);
bool writeBmp8(const std::filesystem::path& path, const IndexedImage& image, const Palette& palette,
               std::string* error = nullptr);

// Why a BMP could not be read; each comes with the message the user sees (bmpProblemPrompt).
enum class BmpProblem {
    None,
    NotBitmap,        // no "BM" or no complete headers
    Compressed,       // compression field not 0
    TooLarge,         // width or height 32768 or more
    NoPixels,         // width or height 0 or negative width
    UnsupportedDepth, // only from decodeBmpRgb: a bit count other than 1, 4, 8, 16, 24, 32
};

Prompt bmpProblemPrompt(BmpProblem problem);

// A parsed BMP that keeps the file's bytes and decodes pixels on demand. Pixel data missing at
// the end of a short file reads as zero bytes; truncated() tells whether that happened.
class BmpPicture {
public:
    int width() const { return m_width; }
    int height() const { return m_height; }
    int bitCount() const { return m_bitCount; }
    bool topDown() const { return m_topDown; }
    bool truncated() const { return m_truncated; }
    // Depths whose pixels can be decoded: 1, 4, 8, 16, 24, 32.
    bool supportedDepth() const;
    bool indexed() const { return m_bitCount >= 1 && m_bitCount <= 8; }
    // The colour table as stored (2^bitcount entries for 1..8 bits, those present in the file).
    const std::vector<Rgb>& colorTable() const { return m_table; }

    // x from the left, y from the top, whatever the stored row order; both inside the picture.
    uint8_t indexAt(int x, int y) const;
    // The colour of a pixel; index pixels through the table (black past its end). An unsupported
    // depth gives (255, 255, 0) for every pixel.
    Rgb colorAt(int x, int y) const;
    // The colours of row y (from the top), width() of them, as colorAt gives them.
    void rowColors(int y, Rgb* out) const;

    friend std::optional<BmpPicture> parseBmp(Bytes data, BmpProblem* problem);

private:
    Bytes m_data;
    int m_width = 0, m_height = 0, m_bitCount = 0;
    bool m_topDown = false, m_truncated = false;
    // Byte `offset` of row y (from the top) of the pixel data; 0 past the end of the file.
    uint8_t rowByte(int y, size_t offset) const;

    size_t m_dataOffset = 0, m_rowSize = 0;
    std::vector<Rgb> m_table;
};

std::optional<BmpPicture> parseBmp(Bytes data, BmpProblem* problem = nullptr);

// Only the colour table (palette import): checks "BM", the header and the compression; an empty
// table when the bit count is not 1 to 8.
std::optional<std::vector<Rgb>> readBmpColorTable(ByteView data, BmpProblem* problem = nullptr);

// A bitmap as plain colours, top row first.
struct RgbImage {
    int width = 0, height = 0;
    std::vector<Rgb> pixels; // top row first

    const Rgb& at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Any uncompressed BMP of 1, 4, 8, 16, 24 or 32 bits; nothing (with the reason in *error)
// otherwise. Rows missing from a short file are black.
std::optional<RgbImage> decodeBmpRgb(ByteView data, std::string* error = nullptr);
