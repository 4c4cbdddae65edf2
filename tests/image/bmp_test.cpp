#include "image/bmp.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A small uncompressed BMP written by hand: `pack` turns the intended colour of each pixel into
// the bytes of its row, so the expected colours never come from the decoder.
struct Fixture {
    const char* name;
    uint16_t bitCount;
    bool topDown;
    std::vector<Rgb> table;
    // Intended colour of (x, y), y from the top.
    std::function<Rgb(int x, int y)> color;
    // Appends one row of pixels in the file's encoding.
    std::function<void(Bytes& row, int y)> pack;
};

constexpr int kW = 5; // odd, so every depth needs row padding
constexpr int kH = 3;

Bytes buildBmp(const Fixture& f) {
    Bytes rows;
    for (int i = 0; i < kH; ++i) {
        const int y = f.topDown ? i : kH - 1 - i;
        Bytes row;
        f.pack(row, y);
        while (row.size() % 4)
            row.push_back(0);
        rows.insert(rows.end(), row.begin(), row.end());
    }
    Bytes out;
    ByteWriter w(out);
    const uint32_t offset = 14 + 40 + 4 * uint32_t(f.table.size());
    w.u16(0x4D42);
    w.u32(offset + uint32_t(rows.size()));
    w.u32(0);
    w.u32(offset);
    w.u32(40);
    w.i32(kW);
    w.i32(f.topDown ? -kH : kH);
    w.u16(1);
    w.u16(f.bitCount);
    w.u32(0);
    w.u32(0);
    w.u32(0);
    w.u32(0);
    w.u32(uint32_t(f.table.size()));
    w.u32(0);
    for (const Rgb& c : f.table) {
        w.u8(c.b);
        w.u8(c.g);
        w.u8(c.r);
        w.u8(0);
    }
    w.bytes(rows);
    return out;
}

std::vector<Rgb> greyRamp(size_t n) {
    std::vector<Rgb> table;
    for (size_t i = 0; i < n; ++i)
        table.push_back({uint8_t(i * 7), uint8_t(255 - i), uint8_t(i * 3)});
    return table;
}

int indexOf(int x, int y, int modulo) {
    return (x * 3 + y * 5 + 1) % modulo;
}

Rgb trueColor(int x, int y) {
    return {uint8_t(40 * x + 3), uint8_t(70 * y + 1), uint8_t(x * y + 9)};
}
// Colours that survive five bits per component.
Rgb color555(int x, int y) {
    return {uint8_t(8 * (x + 3 * y)), uint8_t(8 * (31 - x)), uint8_t(8 * y)};
}

std::vector<Fixture> fixtures() {
    std::vector<Fixture> list;
    list.push_back({"1bit",
                    1,
                    false,
                    {{0, 0, 0}, {250, 10, 20}},
                    [](int x, int y) {
                        return indexOf(x, y, 2) ? Rgb{250, 10, 20} : Rgb{};
                    },
                    [](Bytes& row, int y) {
                        uint8_t byte = 0;
                        for (int x = 0; x < kW; ++x)
                            byte |= uint8_t(indexOf(x, y, 2) << (7 - x));
                        row.push_back(byte);
                    }});
    const auto table16 = greyRamp(16);
    list.push_back({"4bit", 4, false, table16,
                    [table16](int x, int y) { return table16[size_t(indexOf(x, y, 16))]; },
                    [](Bytes& row, int y) {
                        for (int x = 0; x < kW; x += 2) {
                            uint8_t hi = uint8_t(indexOf(x, y, 16));
                            uint8_t lo = x + 1 < kW ? uint8_t(indexOf(x + 1, y, 16)) : 0;
                            row.push_back(uint8_t(hi << 4 | lo));
                        }
                    }});
    const auto table256 = greyRamp(256);
    for (bool topDown : {false, true})
        list.push_back({topDown ? "8bitTopDown" : "8bit", 8, topDown, table256,
                        [table256](int x, int y) { return table256[size_t(indexOf(x, y, 256))]; },
                        [](Bytes& row, int y) {
                            for (int x = 0; x < kW; ++x)
                                row.push_back(uint8_t(indexOf(x, y, 256)));
                        }});
    list.push_back({"16bit", 16, false, {}, color555, [](Bytes& row, int y) {
                        for (int x = 0; x < kW; ++x) {
                            Rgb c = color555(x, y);
                            unsigned word = (c.r / 8) << 10 | (c.g / 8) << 5 | c.b / 8;
                            row.push_back(uint8_t(word));
                            row.push_back(uint8_t(word >> 8));
                        }
                    }});
    list.push_back({"24bit", 24, false, {}, trueColor, [](Bytes& row, int y) {
                        for (int x = 0; x < kW; ++x) {
                            Rgb c = trueColor(x, y);
                            row.insert(row.end(), {c.b, c.g, c.r});
                        }
                    }});
    list.push_back({"32bitTopDown", 32, true, {}, trueColor, [](Bytes& row, int y) {
                        for (int x = 0; x < kW; ++x) {
                            Rgb c = trueColor(x, y);
                            row.insert(row.end(), {c.b, c.g, c.r, 0xEE});
                        }
                    }});
    return list;
}

TEST(Bmp, EveryCommonDepthDecodesUpright) {
    for (const Fixture& f : fixtures()) {
        SCOPED_TRACE(f.name);
        std::string error;
        std::optional<RgbImage> image = decodeBmpRgb(buildBmp(f), &error);
        ASSERT_TRUE(image) << error;
        ASSERT_EQ(image->width, kW);
        ASSERT_EQ(image->height, kH);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                EXPECT_EQ(image->at(x, y), f.color(x, y)) << x << "," << y;
    }
}

TEST(Bmp, White555IsTheTopOfEachFiveBitRange) {
    Fixture f{"white", 16, false, {}, nullptr, [](Bytes& row, int) {
                  for (int x = 0; x < kW; ++x)
                      row.insert(row.end(), {0xFF, 0x7F});
              }};
    std::optional<RgbImage> image = decodeBmpRgb(buildBmp(f));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->at(2, 1), (Rgb{248, 248, 248}));
}

TEST(Bmp, EncodedEightBitImageReadsBack) {
    IndexedImage image(13, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 13; ++x)
            image.set(x, y, uint8_t(x * 17 + y * 3));
    const Palette& palette = wolfensteinPalette();
    Bytes file = encodeBmp8(image, palette);
    // 13 pixels take rows of 16 bytes.
    EXPECT_EQ(file.size(), size_t(1078 + 4 * 16));
    EXPECT_EQ(file[1078 + 13], 0);
    BmpProblem problem;
    std::optional<BmpPicture> picture = parseBmp(file, &problem);
    ASSERT_TRUE(picture);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 13; ++x) {
            EXPECT_EQ(picture->indexAt(x, y), image.at(x, y));
            EXPECT_EQ(picture->colorAt(x, y), palette[image.at(x, y)]);
        }
}

TEST(Bmp, BadFilesAreRefusedWithTheirReason) {
    Bytes good = buildBmp(fixtures()[3]);
    auto patched = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        Bytes copy = good;
        std::copy(bytes.begin(), bytes.end(), copy.begin() + long(at));
        return copy;
    };
    struct Case {
        const char* name;
        Bytes data;
        BmpProblem expected;
    };
    const std::vector<Case> cases = {
        {"empty", {}, BmpProblem::NotBitmap},
        {"headerCut", Bytes(good.begin(), good.begin() + 30), BmpProblem::NotBitmap},
        {"notBM", patched(0, {'P', 'K'}), BmpProblem::NotBitmap},
        {"rle", patched(30, {1}), BmpProblem::Compressed},
        {"wide", patched(18, {0x00, 0x80, 0, 0}), BmpProblem::TooLarge},
        {"tall", patched(22, {0x00, 0x80, 0, 0}), BmpProblem::TooLarge},
        {"hugeNegative", patched(22, {0, 0, 0, 0x80}), BmpProblem::TooLarge},
        {"zeroWidth", patched(18, {0, 0, 0, 0}), BmpProblem::NoPixels},
        {"depth2", patched(28, {2}), BmpProblem::UnsupportedDepth},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(decodeBmpRgb(c.data, &error));
        EXPECT_EQ(error, bmpProblemPrompt(c.expected).text);
    }
}

TEST(Bmp, ShortPixelDataReadsAsBlackAndIsFlagged) {
    Fixture f = fixtures()[5]; // 24-bit, bottom row first
    Bytes file = buildBmp(f);
    file.resize(file.size() - 16); // most of the top row
    std::optional<BmpPicture> picture = parseBmp(file);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(picture->truncated());
    EXPECT_EQ(picture->colorAt(4, 0), Rgb{});
    EXPECT_EQ(picture->colorAt(4, 1), f.color(4, 1));
    std::optional<RgbImage> image = decodeBmpRgb(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->at(4, 0), Rgb{});
}

TEST(Bmp, HeaderPromisingMoreThanTheFileHoldsAllocatesNothing) {
    Bytes file = buildBmp(fixtures()[5]);
    ByteWriter(file).patchU32(18, 30000);
    ByteWriter(file).patchU32(22, 30000);
    std::string error;
    EXPECT_FALSE(decodeBmpRgb(file, &error));
    EXPECT_EQ(error, bmpProblemPrompt(BmpProblem::TooLarge).text);
    // The picture itself still opens: missing rows read as zero.
    std::optional<BmpPicture> picture = parseBmp(file);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->colorAt(29999, 0), Rgb{});
}

} // namespace
