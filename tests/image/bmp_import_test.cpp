#include "image/bmp_import.h"

#include "common/file_io.h"
#include "support/bmp_builder.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

namespace {

using testdata::bmp24;

// An image page's device, as far as an import sees it.
class Device : public BmpImportTarget {
public:
    Device(int w, int h, uint8_t fill) : image(w, h, fill) {}
    int width() const override { return image.width; }
    int height() const override { return image.height; }
    bool resizable() const override { return canResize; }
    bool resize(int w, int h) override {
        image = IndexedImage(w, h, 0);
        return true;
    }
    void beginImport() override { ++records; }
    void setPixel(int x, int y, uint8_t index) override { image.set(x, y, index); }
    void endImport(int w, int h) override { written = {w, h}; }

    IndexedImage image;
    bool canResize = false;
    int records = 0;
    std::pair<int, int> written{-1, -1};
};

struct Import {
    RecordingPrompter prompter;
    NullProgress progress;
    NearestColorCache cache;
    JobResult run(const Bytes& file, Device& device, std::vector<PromptAnswer> answers = {}) {
        testdata::TempDir dir;
        writeWholeFile(dir / "in.bmp", file);
        for (PromptAnswer a : answers)
            prompter.script(a);
        JobContext context(progress, prompter);
        return importBmp(dir / "in.bmp", device, wolfensteinPalette(), cache, context);
    }
};

Rgb wolf(int index) {
    return wolfensteinPalette()[size_t(index)];
}

TEST(BmpImport, SameSizeConvertsEachPixelWithoutAsking) {
    // A foreign table: every pixel goes through its table colour to the nearest palette entry.
    Palette shifted = wolfensteinPalette();
    for (size_t i = 0; i < 256; ++i)
        shifted[i] = wolfensteinPalette()[(i + 1) % 256];
    IndexedImage foreign(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            foreign.set(x, y, uint8_t(x * 8 + y * 3));
    Device small(8, 8, 0);
    Import first;
    ASSERT_EQ(first.run(encodeBmp8(foreign, shifted), small), JobResult::Success);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(small.image.at(x, y),
                      NearestColor(wolfensteinPalette(), shifted[foreign.at(x, y)]));

    IndexedImage source(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            source.set(x, y, uint8_t((x * 5 + y * 3) % 256));
    Device device(64, 64, 0);
    Import import;
    ASSERT_EQ(import.run(encodeBmp8(source, wolfensteinPalette()), device), JobResult::Success);
    EXPECT_TRUE(import.prompter.empty());
    EXPECT_EQ(device.records, 1);
    EXPECT_EQ(device.written, std::make_pair(64, 64));
    // Exported with the palette itself: the same indices, repeated colours included.
    EXPECT_EQ(device.image, source);
}

TEST(BmpImport, SmallerPictureCopiedIntoTheUpperLeftCorner) {
    Device device(64, 64, 200);
    Import import;
    Bytes file = bmp24(32, 32, [](int x, int y) { return wolf((x + y) % 2 ? 4 : 2); });
    ASSERT_EQ(import.run(file, device, {PromptAnswer::No}), JobResult::Success);
    ASSERT_EQ(import.prompter.prompts().size(), 1u);
    EXPECT_EQ(import.prompter.prompts()[0].title, "Resample picture?");
    EXPECT_EQ(device.written, std::make_pair(32, 32));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(device.image.at(x, y), x < 32 && y < 32 ? ((x + y) % 2 ? 4 : 2) : 200);
}

// 128 -> 64 steps by 510 ((128 * 256 - 128) / 64); device column 63 mixes bitmap columns 125
// and 127 with 130/256 of the latter.
TEST(BmpImport, ResamplingMixesTheFourNeighbours) {
    auto grey = [](int x, int) { return Rgb{uint8_t(x * 2), uint8_t(x * 2), uint8_t(x * 2)}; };
    Device device(64, 64, 0);
    Import import;
    ASSERT_EQ(import.run(bmp24(128, 128, grey), device, {PromptAnswer::Yes}), JobResult::Success);
    const int mixed = ((256 - 130) * 256 * 250 + 130 * 256 * 254) >> 16;
    EXPECT_EQ(device.image.at(63, 0),
              NearestColor(wolfensteinPalette(), uint8_t(mixed), uint8_t(mixed), uint8_t(mixed)));
    EXPECT_EQ(device.written, std::make_pair(64, 64));
}

TEST(BmpImport, White555MapsToTheNearestOf248InBothPaths) {
    Bytes file = bmp24(1, 1, [](int, int) { return Rgb{}; });
    // Turn it into a 16-bit picture of 2 x 2 white pixels.
    Bytes white;
    ByteWriter w(white);
    w.bytes(ByteView(file).first(54));
    w.fill(8, 0);
    for (size_t i = 54; i < 62; i += 2)
        ByteWriter(white).patchU16(i, 0x7FFF);
    ByteWriter(white).patchU32(18, 2);
    ByteWriter(white).patchU32(22, 2);
    ByteWriter(white).patchU16(28, 16);
    const uint8_t expected = NearestColor(wolfensteinPalette(), 248, 248, 248);
    for (PromptAnswer answer : {PromptAnswer::Yes, PromptAnswer::No}) {
        Device device(4, 4, 0);
        Import import;
        ASSERT_EQ(import.run(white, device, {answer}), JobResult::Success);
        EXPECT_EQ(device.image.at(0, 0), expected);
        EXPECT_EQ(device.image.at(1, 1), expected);
    }
}

TEST(BmpImport, QuestionsAndRefusals) {
    Bytes picture = bmp24(10, 5, [](int x, int) { return wolf(x + 1); });
    Bytes compressed = picture;
    ByteWriter(compressed).patchU32(30, 1);
    Bytes cut(picture.begin(), picture.begin() + 80);
    struct Case {
        const char* name;
        Bytes file;
        bool resizable;
        std::vector<PromptAnswer> answers;
        JobResult result;
        std::vector<std::string> titles;
        std::pair<int, int> size; // device size afterwards
    };
    const std::vector<Case> cases = {
        {"compressed",
         compressed,
         false,
         {},
         JobResult::Failure,
         {"Unsupported file format"},
         {4, 4}},
        {"notABitmap",
         Bytes(100, 'x'),
         false,
         {},
         JobResult::Failure,
         {"File format error!"},
         {4, 4}},
        {"cancelResample",
         picture,
         false,
         {PromptAnswer::Cancel},
         JobResult::Failure,
         {"Resample picture?"},
         {4, 4}},
        {"resized",
         picture,
         true,
         {PromptAnswer::Yes},
         JobResult::Success,
         {"Picture doesn't fit!"},
         {10, 5}},
        {"notResized",
         picture,
         true,
         {PromptAnswer::No, PromptAnswer::No},
         JobResult::Success,
         {"Picture doesn't fit!", "Resample picture?"},
         {4, 4}},
        {"cancelResize",
         picture,
         true,
         {PromptAnswer::Cancel},
         JobResult::Failure,
         {"Picture doesn't fit!"},
         {4, 4}},
        {"cutShort",
         cut,
         false,
         {PromptAnswer::No},
         JobResult::Success,
         {"Resample picture?", "Unexpected file end!"},
         {4, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Device device(4, 4, 99);
        device.canResize = c.resizable;
        Import import;
        EXPECT_EQ(import.run(c.file, device, c.answers), c.result);
        std::vector<std::string> titles;
        for (const Prompt& p : import.prompter.prompts())
            titles.push_back(p.title);
        EXPECT_EQ(titles, c.titles);
        EXPECT_EQ(std::make_pair(device.image.width, device.image.height), c.size);
        if (c.result == JobResult::Failure) {
            EXPECT_EQ(device.records, 0);
            EXPECT_EQ(device.image, IndexedImage(4, 4, 99));
        }
    }
    Device device(4, 4, 0);
    Import import;
    JobContext context(import.progress, import.prompter);
    EXPECT_EQ(importBmp("/nonexistent/x.bmp", device, wolfensteinPalette(), import.cache, context),
              JobResult::Failure);
    ASSERT_EQ(import.prompter.prompts().size(), 1u);
    EXPECT_EQ(import.prompter.prompts()[0].title, "Cannot open file:");
}

} // namespace
