#include "image/palette_export.h"
#include "image/palette_files.h"

#include "common/file_io.h"
#include "common/text_lines.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream stream(text);
    std::string line;
    while (std::getline(stream, line))
        lines.push_back(line);
    return lines;
}

std::string readText(const fs::path& path) {
    std::optional<Bytes> data = readWholeFile(path);
    return data ? std::string(data->begin(), data->end()) : std::string();
}

// Every number in the text, in order.
std::vector<int> numbersIn(const std::string& text) {
    std::vector<int> numbers;
    for (size_t i = 0; i < text.size();) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) {
            size_t end = i;
            while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
                ++end;
            numbers.push_back(std::stoi(text.substr(i, end - i)));
            i = end;
        } else {
            ++i;
        }
    }
    return numbers;
}

fs::path gameFactsPalette() {
    return fs::path(TESSARAND_SOURCE_DIR) / ".." / "shared" / "gamefacts" / "wolf3d-palette.pal";
}

TEST(PaletteExport, GamePaletteGivesTheGamesSixBitValues) {
    if (!fs::exists(gameFactsPalette()))
        GTEST_SKIP() << "gamefacts palette not found";
    const Bytes bytes = readWholeFile(gameFactsPalette()).value();
    const Palette palette = paletteFromBytes(bytes).value();
    EXPECT_EQ(palette, wolfensteinPalette());
    std::vector<int> sixBit;
    for (uint8_t b : bytes) {
        ASSERT_EQ(b % 4, 0);
        sixBit.push_back(b / 4);
    }
    testdata::TempDir dir;
    for (const char* name : {"gamepal.c", "wolfpal.inc", "WOLFPAL.INC"}) {
        SCOPED_TRACE(name);
        RecordingPrompter prompter;
        ASSERT_TRUE(exportPalette(dir / name, palette, prompter));
        const std::string text = readText(dir / name);
        const bool inc = std::string(name).find("inc") != std::string::npos ||
                         std::string(name).find("INC") != std::string::npos;
        std::vector<int> numbers = numbersIn(text);
        if (!inc)
            numbers.erase(numbers.begin()); // the 768 of "gamepal[768]"
        EXPECT_EQ(numbers, sixBit);
        ASSERT_EQ(prompter.prompts().size(), 1u);
        EXPECT_EQ(prompter.prompts()[0].title, "Palette export...");
        EXPECT_EQ(prompter.prompts()[0].text,
                  inc ? "Successfully exported to Wolf4SDL format!"
                      : "Successfully exported to Wolfenstein 3D format!");
    }
}

TEST(PaletteExport, LayoutOfBothFormats) {
    const std::vector<std::string> inc = linesOf(paletteAsWolf4sdlInclude(wolfensteinPalette()));
    ASSERT_EQ(inc.size(), 65u); // 64 lines and the empty one at the end
    EXPECT_EQ(inc[0], "RGB(  0,  0,  0),RGB(  0,  0, 42),RGB(  0, 42,  0),RGB(  0, 42, 42),");
    // The last entry, (152, 0, 136), ends the last line without a comma.
    const std::string last = inc[63];
    EXPECT_EQ(last.substr(last.size() - 17), ",RGB( 38,  0, 34)");
    EXPECT_EQ(std::count(last.begin(), last.end(), ','), 4 * 2 + 3);
    EXPECT_EQ(inc[64], "");
    const std::vector<std::string> c = linesOf(paletteAsGameSource(wolfensteinPalette()));
    ASSERT_EQ(c.size(), 66u);
    EXPECT_EQ(c.front(), "unsigned char gamepal[768]={");
    EXPECT_EQ(c[1], "  0,  0,  0,  0,  0, 42,  0, 42,  0,  0, 42, 42,");
    EXPECT_EQ(c.back(), "};");
}

TEST(PaletteExport, UnwritablePathIsTold) {
    RecordingPrompter prompter;
    EXPECT_FALSE(exportPalette("/nonexistent/folder/pal.c", wolfensteinPalette(), prompter));
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].title, "Palette export...");
    EXPECT_EQ(prompter.prompts()[0].text,
              "Unable to create palette file:\n/nonexistent/folder/pal.c");
}

// A BMP with a colour table of 2^bits entries (blue, green, red, 0) and one pixel row.
Bytes paletteBmp(uint16_t bits, uint32_t compression = 0) {
    const size_t entries = bits <= 8 ? size_t(1) << bits : 0;
    Bytes out;
    ByteWriter w(out);
    w.u16(0x4D42);
    w.u32(0);
    w.u32(0);
    w.u32(uint32_t(54 + 4 * entries));
    w.u32(40);
    w.i32(1);
    w.i32(1);
    w.u16(1);
    w.u16(bits);
    w.u32(compression);
    for (int i = 0; i < 5; ++i)
        w.u32(0);
    for (size_t i = 0; i < entries; ++i) {
        w.u8(uint8_t(i + 2)); // blue
        w.u8(uint8_t(i + 1)); // green
        w.u8(uint8_t(i));     // red
        w.u8(0);
    }
    w.u32(0);
    return out;
}

TEST(PaletteImport, BitmapAndPaletteFiles) {
    testdata::TempDir dir;
    const Palette current = wolfensteinPalette();
    Bytes pal(768);
    for (size_t i = 0; i < 768; ++i)
        pal[i] = uint8_t(255 - i % 256);
    struct Case {
        const char* name;
        Bytes data;
        size_t replaced; // entries taken from the file; 0 = refused
        std::string title, text;
    };
    const std::vector<Case> cases = {
        {"four.bmp", paletteBmp(4), 16, "", ""},
        {"eight.BMP", paletteBmp(8), 256, "", ""},
        {"mono.bmp", paletteBmp(1), 2, "", ""},
        {"true.bmp", paletteBmp(24), 0, "Unable to import palette!",
         "The bitmap does not contain a palette!"},
        {"rle.bmp", paletteBmp(8, 1), 0, "Unsupported file format",
         "Sorry, but compressed bitmaps aren't supported!\nPlease save as uncompressed bitmap."},
        {"text.bmp", Bytes(60, 'a'), 0, "File format error!", "Not a bitmap!"},
        {"empty.bmp", {}, 0, "File format error!", "Not a bitmap!"},
        {"full.pal", pal, 256, "", ""},
        {"short.PAL", Bytes(pal.begin(), pal.begin() + 700), 0, "Unable to import palette!",
         "The given file is not a valid Tessarand palette file!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeWholeFile(dir / c.name, c.data));
        RecordingPrompter prompter;
        std::optional<Palette> result = importPalette(dir / c.name, current, prompter);
        if (c.replaced == 0) {
            EXPECT_FALSE(result);
            ASSERT_EQ(prompter.prompts().size(), 1u);
            EXPECT_EQ(prompter.prompts()[0].title, c.title);
            EXPECT_EQ(prompter.prompts()[0].text, c.text);
            continue;
        }
        ASSERT_TRUE(result);
        EXPECT_TRUE(prompter.empty());
        const bool isPal = std::string(c.name).find(".pal") != std::string::npos;
        for (size_t i = 0; i < 256; ++i) {
            const Rgb expected = i >= c.replaced ? current[i]
                                 : isPal         ? Rgb{pal[3 * i], pal[3 * i + 1], pal[3 * i + 2]}
                                                 : Rgb{uint8_t(i), uint8_t(i + 1), uint8_t(i + 2)};
            ASSERT_EQ((*result)[i], expected) << i;
        }
    }
    RecordingPrompter prompter;
    EXPECT_FALSE(importPalette(dir / "notes.txt", current, prompter));
    EXPECT_TRUE(prompter.empty());
    EXPECT_FALSE(importPalette(dir / "missing.pal", current, prompter));
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].title, "Unable to open palette file:");
}

TEST(PaletteFiles, FolderScanSaveAndLoad) {
    testdata::TempDir dir;
    Palette custom = wolfensteinPalette();
    custom[3] = {1, 2, 3};
    RecordingPrompter prompter;
    ASSERT_TRUE(savePaletteFile(dir / "Mine.pal", custom, prompter));
    ASSERT_TRUE(writeWholeFile(dir / "notes.txt", Bytes{1}));
    ASSERT_TRUE(writeWholeFile(dir / "Other.PAL", paletteToBytes(wolfensteinPalette())));
    EXPECT_EQ(scanPaletteFolder(dir.path(), prompter), (std::vector<std::string>{"Mine", "Other"}));
    EXPECT_EQ(loadPaletteByName(dir.path(), "Mine", prompter), custom);
    EXPECT_TRUE(prompter.empty());
    EXPECT_FALSE(loadPaletteByName(dir.path(), "Gone", prompter));
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].title, "Cannot Open");
    EXPECT_EQ(prompter.prompts()[0].text, (dir / "Gone.pal").string());
    EXPECT_FALSE(
        savePaletteFile(dir / "no" / "x.pal", custom, prompter, "Unable to create palette file:"));
    EXPECT_EQ(prompter.prompts().back().title, "Unable to create palette file:");
}

TEST(PaletteFiles, ScanStopsAtOneHundredWithAWarning) {
    testdata::TempDir dir;
    for (int i = 0; i < 101; ++i)
        ASSERT_TRUE(writeWholeFile(dir / ("p" + std::to_string(1000 + i) + ".pal"), Bytes(768)));
    RecordingPrompter prompter;
    std::vector<std::string> names = scanPaletteFolder(dir.path(), prompter);
    EXPECT_EQ(names.size(), 100u);
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].title, "Warning: Too many palettes!");
}

} // namespace
