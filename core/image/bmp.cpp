#include "image/bmp.h"

#include "common/file_io.h"

#include <algorithm>
#include <cstdlib>

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
        w.bytes(
            ByteView(image.pixels).subspan(size_t(row) * size_t(image.width), size_t(image.width)));
        w.fill(stride - uint32_t(image.width), 0);
    }
    return out;
}

bool writeBmp8(const std::filesystem::path& path, const IndexedImage& image, const Palette& palette,
               std::string* error) {
    Bytes data = encodeBmp8(image, palette);
    return writeWholeFile(path, data, error);
}

Prompt bmpProblemPrompt(BmpProblem problem) {
    switch (problem) {
    case BmpProblem::None:
        break;
    case BmpProblem::NotBitmap:
        return {"File format error!", "Not a bitmap!", PromptIcon::Exclamation};
    case BmpProblem::Compressed:
        return {"Unsupported file format",
                "Sorry, but compressed bitmaps aren't supported!\nPlease save as uncompressed "
                "bitmap.",
                PromptIcon::Exclamation};
    case BmpProblem::TooLarge:
        return {"Picture too large!",
                "This picture is too large (as you probably already guessed ;)",
                PromptIcon::Exclamation};
    case BmpProblem::NoPixels:
        return {"File format error!", "This bitmap has no pixels!", PromptIcon::Exclamation};
    case BmpProblem::UnsupportedDepth:
        return {"Unsupported file format",
                "Sorry, only bitmaps with 1, 4, 8, 16, 24 or 32 bits per pixel are supported!",
                PromptIcon::Exclamation};
    }
    return {};
}

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int64_t kMaxSide = 32768;

// Up to 2^bitCount entries after the information header; entries that would lie in the pixel
// rows or past the end of the file are not part of the table.
std::vector<Rgb> colorTableOf(ByteView data, uint32_t headerSize, uint16_t bitCount,
                              uint32_t dataOffset) {
    std::vector<Rgb> table;
    if (bitCount < 1 || bitCount > 8)
        return table;
    const size_t tableStart = kFileHeaderSize + size_t(headerSize);
    const size_t tableEnd = std::min<size_t>(data.size(), std::max<size_t>(dataOffset, tableStart));
    const size_t entries =
        std::min(size_t(1) << bitCount, tableEnd > tableStart ? (tableEnd - tableStart) / 4 : 0);
    table.reserve(entries);
    for (size_t i = 0; i < entries; ++i) {
        const size_t at = tableStart + 4 * i;
        table.push_back({data[at + 2], data[at + 1], data[at]});
    }
    return table;
}

struct BmpHeaders {
    uint16_t type = 0;
    uint32_t dataOffset = 0, headerSize = 0, compression = 0;
    int32_t width = 0, height = 0;
    uint16_t bitCount = 0;
    bool complete = false;
};

BmpHeaders readHeaders(ByteView data) {
    BmpHeaders h;
    ByteReader in(data);
    h.type = in.u16();
    in.skip(8);
    h.dataOffset = in.u32();
    h.headerSize = in.u32();
    h.width = in.i32();
    h.height = in.i32();
    in.u16(); // planes
    h.bitCount = in.u16();
    h.compression = in.u32();
    h.complete = in.ok();
    return h;
}

BmpProblem checkHeaders(const BmpHeaders& h) {
    if (!h.complete || h.type != 0x4D42 || h.headerSize < kInfoHeaderSize)
        return BmpProblem::NotBitmap;
    if (h.compression != 0)
        return BmpProblem::Compressed;
    return BmpProblem::None;
}

} // namespace

std::optional<std::vector<Rgb>> readBmpColorTable(ByteView data, BmpProblem* problem) {
    const BmpHeaders h = readHeaders(data);
    const BmpProblem why = checkHeaders(h);
    if (problem)
        *problem = why;
    if (why != BmpProblem::None)
        return std::nullopt;
    return colorTableOf(data, h.headerSize, h.bitCount, h.dataOffset);
}

std::optional<BmpPicture> parseBmp(Bytes data, BmpProblem* problem) {
    auto fail = [&](BmpProblem why) -> std::optional<BmpPicture> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    if (problem)
        *problem = BmpProblem::None;
    const BmpHeaders h = readHeaders(data);
    if (BmpProblem why = checkHeaders(h); why != BmpProblem::None)
        return fail(why);
    const int32_t width = h.width, height = h.height;
    const uint16_t bitCount = h.bitCount;
    const uint32_t dataOffset = h.dataOffset;
    const bool topDown = height < 0;
    const int64_t absHeight = std::llabs(int64_t(height));
    if (int64_t(width) >= kMaxSide || absHeight >= kMaxSide)
        return fail(BmpProblem::TooLarge);
    if (width <= 0 || absHeight == 0)
        return fail(BmpProblem::NoPixels);

    BmpPicture picture;
    picture.m_width = width;
    picture.m_height = int(absHeight);
    picture.m_bitCount = bitCount;
    picture.m_topDown = topDown;
    picture.m_dataOffset = dataOffset;
    picture.m_rowSize = ((size_t(width) * bitCount + 7) / 8 + 3) & ~size_t(3);

    picture.m_table = colorTableOf(data, h.headerSize, bitCount, dataOffset);
    const uint64_t pixelEnd =
        uint64_t(dataOffset) + uint64_t(picture.m_rowSize) * uint64_t(absHeight);
    picture.m_truncated = pixelEnd > data.size();
    picture.m_data = std::move(data);
    return picture;
}

bool BmpPicture::supportedDepth() const {
    switch (m_bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

uint8_t BmpPicture::rowByte(int y, size_t offset) const {
    const size_t row = size_t(m_topDown ? y : m_height - 1 - y);
    const size_t at = m_dataOffset + row * m_rowSize + offset;
    return at < m_data.size() ? m_data[at] : 0; // short pixel data reads as black
}

uint8_t BmpPicture::indexAt(int x, int y) const {
    auto byte = [&](size_t offset) { return rowByte(y, offset); };
    switch (m_bitCount) {
    case 1:
        return (byte(size_t(x) / 8) >> (7 - x % 8)) & 1;
    case 4:
        return x % 2 == 0 ? byte(size_t(x) / 2) >> 4 : byte(size_t(x) / 2) & 0x0F;
    case 8:
        return byte(size_t(x));
    default:
        return 0;
    }
}

Rgb BmpPicture::colorAt(int x, int y) const {
    if (indexed() && supportedDepth()) {
        const uint8_t index = indexAt(x, y);
        return index < m_table.size() ? m_table[index] : Rgb{};
    }
    auto byte = [&](size_t offset) { return rowByte(y, offset); };
    switch (m_bitCount) {
    case 16: {
        const unsigned word = byte(2 * size_t(x)) | (byte(2 * size_t(x) + 1) << 8);
        return {uint8_t(((word >> 10) & 31) * 8), uint8_t(((word >> 5) & 31) * 8),
                uint8_t((word & 31) * 8)};
    }
    case 24:
        return {byte(3 * size_t(x) + 2), byte(3 * size_t(x) + 1), byte(3 * size_t(x))};
    case 32:
        return {byte(4 * size_t(x) + 2), byte(4 * size_t(x) + 1), byte(4 * size_t(x))};
    default:
        return {255, 255, 0};
    }
}

void BmpPicture::rowColors(int y, Rgb* out) const {
    const size_t row = size_t(m_topDown ? y : m_height - 1 - y);
    const size_t base = m_dataOffset + row * m_rowSize;
    const size_t used = (size_t(m_width) * m_bitCount + 7) / 8;
    const bool whole = base <= m_data.size() && used <= m_data.size() - base;
    if (!whole || !supportedDepth() || m_bitCount < 8) {
        for (int x = 0; x < m_width; ++x)
            out[x] = colorAt(x, y);
        return;
    }
    const uint8_t* bytes = m_data.data() + base;
    const size_t width = size_t(m_width);
    switch (m_bitCount) {
    case 8:
        for (size_t x = 0; x < width; ++x)
            out[x] = bytes[x] < m_table.size() ? m_table[bytes[x]] : Rgb{};
        break;
    case 16:
        for (size_t x = 0; x < width; ++x) {
            const unsigned word = bytes[2 * x] | (bytes[2 * x + 1] << 8);
            out[x] = {uint8_t(((word >> 10) & 31) * 8), uint8_t(((word >> 5) & 31) * 8),
                      uint8_t((word & 31) * 8)};
        }
        break;
    case 24:
        for (size_t x = 0; x < width; ++x)
            out[x] = {bytes[3 * x + 2], bytes[3 * x + 1], bytes[3 * x]};
        break;
    case 32:
        for (size_t x = 0; x < width; ++x)
            out[x] = {bytes[4 * x + 2], bytes[4 * x + 1], bytes[4 * x]};
        break;
    }
}

std::optional<RgbImage> decodeBmpRgb(ByteView data, std::string* error) {
    auto fail = [&](BmpProblem why) -> std::optional<RgbImage> {
        if (error)
            *error = bmpProblemPrompt(why).text;
        return std::nullopt;
    };
    BmpProblem problem = BmpProblem::None;
    std::optional<BmpPicture> picture = parseBmp(Bytes(data.begin(), data.end()), &problem);
    if (!picture)
        return fail(problem);
    if (!picture->supportedDepth())
        return fail(BmpProblem::UnsupportedDepth);
    // A real BMP holds at least one byte per eight pixels; a header promising far more than the
    // file could hold is not allowed to make us allocate for it.
    const uint64_t pixelCount = uint64_t(picture->width()) * uint64_t(picture->height());
    if (pixelCount > (uint64_t(1) << 24) || pixelCount > 8 * uint64_t(data.size()))
        return fail(BmpProblem::TooLarge);

    RgbImage image;
    image.width = picture->width();
    image.height = picture->height();
    image.pixels.resize(size_t(pixelCount));
    for (int y = 0; y < image.height; ++y)
        picture->rowColors(y, &image.pixels[size_t(y) * size_t(image.width)]);
    return image;
}
