#include "vga_fixtures.h"

#include "vgagraph/font.h"
#include "vgagraph/picture.h"
#include "vgagraph/text_screen.h"
#include "vgagraph/tile8.h"
#include "vgagraph/vga_commands.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace vgatest;

TEST(VgaPictures, FourPlaneLayoutPutsEachPixelInItsPlane) {
    EXPECT_EQ(planarOffset(5, 2, 64, 64), 1057u);
    IndexedImage image(64, 64);
    image.set(5, 2, 99);
    Bytes planar = pictureToPlanar(image);
    ASSERT_EQ(planar.size(), 4096u);
    EXPECT_EQ(planar[1057], 99);
    EXPECT_EQ(std::count(planar.begin(), planar.end(), 0), 4095);
    // Any width, also one that is not a multiple of 4, comes back as it was stored.
    for (auto [width, height] : {std::pair{8, 2}, std::pair{6, 3}, std::pair{2, 5}}) {
        Bytes stored = pattern(size_t(width * height), 1);
        IndexedImage picture = pictureFromPlanar(stored, width, height);
        EXPECT_EQ(pictureToPlanar(picture), stored);
        // Plane 1 follows the (width + 3) / 4 pixels per row of plane 0.
        EXPECT_EQ(picture.at(1, 0), stored[size_t((width + 3) / 4 * height)]);
    }
}

TEST(VgaPictures, ResizeKeepsTheTopLeftAndFillsTheRest) {
    IndexedImage original(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            original.set(x, y, uint8_t(x + y));
    IndexedImage narrow = original;
    resizePicture(narrow, 30, 64, 7);
    ASSERT_EQ(narrow.width, 32);
    ASSERT_EQ(narrow.height, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(narrow.at(x, y), original.at(x, y));
    IndexedImage tall = original;
    resizePicture(tall, 64, 100, 7);
    ASSERT_EQ(tall.height, 100);
    EXPECT_EQ(tall.at(10, 63), original.at(10, 63));
    for (int y = 64; y < 100; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(tall.at(x, y), 7);
}

TEST(VgaPictures, InsertAndRemoveKeepAValidCurrentIndex) {
    PicturePart part;
    EXPECT_EQ(insertPicture(part, 0, 5), 0u);
    EXPECT_EQ(part.pictures[0], IndexedImage(64, 64, 5));
    EXPECT_EQ(insertPicture(part, 0, 6), 1u);
    EXPECT_EQ(insertPicture(part, 0, 7), 1u);
    EXPECT_EQ(part.count(), 3);
    EXPECT_EQ(part.pictures[2].at(0, 0), 6);
    EXPECT_EQ(removePicture(part, 2), 1);
    EXPECT_EQ(removePicture(part, 0), 0);
    EXPECT_EQ(removePicture(part, 0), -1);
}

TEST(VgaTile8s, TilePixelsUseTheFourPlaneOrder) {
    EXPECT_EQ(tile8Offset(3, 5, 2), 213u);
    Bytes tiles(kTile8ChunkSize, 0);
    IndexedImage tile(8, 8);
    tile.set(5, 2, 44);
    ASSERT_TRUE(setTile8Image(tiles, 3, tile));
    EXPECT_EQ(tiles[213], 44);
    EXPECT_EQ(tile8Image(tiles, 3), tile);
    EXPECT_EQ(usedTile8Count(tiles), 4);
    EXPECT_EQ(usedTile8Count(Bytes(kTile8ChunkSize, 0)), 0);
    EXPECT_EQ(tile8Image(Bytes(10, 1), 1), IndexedImage(8, 8, 0));
}

TEST(VgaFonts, WidthChangesMoveTheCharactersBehind) {
    Bytes font = fontContent(4, {{65, 5}, {66, 3}, {67, 2}});
    const IndexedImage b = fontCharacterImage(font, 66);
    const IndexedImage a = fontCharacterImage(font, 65);
    ASSERT_EQ(fontNeededSize(font), font.size());

    ASSERT_TRUE(setFontCharacterWidth(font, 65, 8));
    EXPECT_EQ(fontCharacterWidth(font, 65), 8);
    EXPECT_EQ(fontNeededSize(font), font.size());
    EXPECT_EQ(fontCharacterImage(font, 66), b);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(fontPixel(font, 65, x, y), x < 5 ? a.at(x, y) : 0);
    }

    ASSERT_TRUE(setFontCharacterWidth(font, 65, 0));
    EXPECT_FALSE(fontCharacterShown(font, 65));
    EXPECT_EQ(fontCharacterLocation(font, 65), 0);
    EXPECT_EQ(fontCharacterImage(font, 66), b);
    ASSERT_TRUE(setFontCharacterWidth(font, 65, 2));
    EXPECT_TRUE(fontCharacterShown(font, 65));
    EXPECT_EQ(fontCharacterImage(font, 65), IndexedImage(2, 4, 0));
    EXPECT_EQ(fontNeededSize(font), font.size());

    EXPECT_FALSE(setFontCharacterWidth(font, 256, 3));
    EXPECT_FALSE(setFontCharacterWidth(font, 66, 65535));
}

TEST(VgaFonts, HeightChangesKeepTheTopRows) {
    Bytes font = fontContent(10, {{65, 5}, {66, 3}});
    const IndexedImage a = fontCharacterImage(font, 65);
    for (int height : {12, 8}) {
        SCOPED_TRACE(height);
        Bytes changed = font;
        ASSERT_TRUE(setFontHeight(changed, height));
        EXPECT_EQ(fontHeight(changed), height);
        EXPECT_EQ(fontNeededSize(changed), changed.size());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < 5; ++x)
                ASSERT_EQ(fontPixel(changed, 65, x, y), y < 10 ? a.at(x, y) : 0);
    }
}

TEST(VgaFonts, LocationsOutsideTheChunkReadAsEmpty) {
    Bytes font = fontContent(4, {{65, 5}});
    font[2 + 2 * 66] = 0xFF;
    font[3 + 2 * 66] = 0xFF;
    font[514 + 66] = 9;
    EXPECT_EQ(fontCharacterImage(font, 66), IndexedImage(9, 4, 0));
    EXPECT_FALSE(setFontPixel(font, 66, 1, 1, 3));
    ASSERT_TRUE(setFontCharacterWidth(font, 66, 2));
    EXPECT_EQ(fontCharacterImage(font, 66), IndexedImage(2, 4, 0));
    EXPECT_EQ(fontHeight(Bytes{}), 0);
    EXPECT_EQ(fontCharacterImage(Bytes{1}, 65), IndexedImage());
}

TEST(VgaScreens, ScreenFilesHoldTheCellsAlone) {
    testdata::TempDir dir;
    TextScreen screen = TextScreen::blank();
    screen.setCell(79, 24, 'Z', 0x4E);
    RecordingPrompter prompter;
    ASSERT_TRUE(exportScreenFile(screen, dir / "out.SCR", prompter));
    Bytes written = fileBytes(dir / "out.SCR");
    ASSERT_EQ(written.size(), kScreenCellBytes);
    EXPECT_EQ(written[3998], 'Z');
    EXPECT_EQ(written[3999], 0x4E);

    struct Case {
        const char* name;
        Bytes file;
        size_t taken;
    };
    Bytes longer(5000, 0x21);
    const Case cases[] = {
        {"whole screen", written, kScreenCellBytes},
        {"short file", Bytes{'A', 0x1F, 'B'}, 3},
        {"empty file", {}, 0},
        {"longer file", longer, kScreenCellBytes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeWholeFile(dir / "in.SCR", c.file));
        TextScreen target = TextScreen::blank();
        target.setCell(5, 5, 'k', 3);
        TextScreen expected = target;
        for (size_t i = 0; i < c.taken; ++i)
            expected.cells()[i] = c.file[i];
        EXPECT_EQ(importScreenFile(target, dir / "in.SCR", prompter), c.taken);
        EXPECT_TRUE(target == expected);
    }
    EXPECT_TRUE(prompter.empty());
    TextScreen untouched = TextScreen::blank();
    EXPECT_FALSE(importScreenFile(untouched, dir / "missing.SCR", prompter).has_value());
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].title, "Cannot Open");
    EXPECT_TRUE(untouched == TextScreen::blank());
}

TEST(VgaCommands, SaveEntriesAreGreyedUntilTheirPartIsLoaded) {
    struct Case {
        std::vector<DataKind> loaded;
        std::vector<bool> enabled; // Save all, graphics, fonts, screens, tile8s
    };
    const Case cases[] = {
        {{}, {false, false, false, false, false}},
        {{DataKind::Fonts}, {true, false, true, false, false}},
        {{DataKind::Graphics, DataKind::Screens}, {true, true, false, true, false}},
        {{DataKind::Graphics, DataKind::Fonts, DataKind::Tile8s, DataKind::Screens},
         {true, true, true, true, true}},
    };
    for (const Case& c : cases) {
        DocumentState state;
        for (DataKind kind : c.loaded)
            state.setLoaded(kind, true);
        std::vector<VgaMenuEntry> menu = vgaSaveMenu(state);
        ASSERT_EQ(menu.size(), 5u);
        for (size_t i = 0; i < menu.size(); ++i)
            EXPECT_EQ(menu[i].enabled, c.enabled[i]) << menu[i].text;
    }
    EXPECT_EQ(vgaSaveKindOfCommand(109), VgaSaveKind::Tile8s);
    EXPECT_EQ(vgaLoadKindOfCommand(32919), VgaLoadKind::Complete);
    for (const VgaMenuEntry& entry : vgaLoadMenu())
        EXPECT_TRUE(entry.enabled);
}

TEST(VgaCommands, LoadsAskOnlyWhenTheirChangesWouldBeLost) {
    struct Case {
        VgaLoadKind kind;
        DataKind changed;
        bool asks;
        const char* title;
    };
    const Case cases[] = {
        {VgaLoadKind::Pictures, DataKind::Graphics, true, "Graphics changes unsaved!"},
        {VgaLoadKind::Pictures, DataKind::Fonts, false, nullptr},
        {VgaLoadKind::Fonts, DataKind::Fonts, true, "Font changes unsaved!"},
        {VgaLoadKind::Screens, DataKind::Screens, true, "Screen changes unsaved!"},
        {VgaLoadKind::Tile8s, DataKind::Tile8s, true, "Tile8s changes unsaved!"},
        {VgaLoadKind::Tile8s, DataKind::Maps, false, nullptr},
        {VgaLoadKind::Complete, DataKind::Screens, true, "VGAGRAPH changes unsaved!"},
        {VgaLoadKind::Complete, DataKind::Walls, false, nullptr},
    };
    for (const Case& c : cases) {
        for (PromptAnswer answer : {PromptAnswer::Yes, PromptAnswer::No}) {
            DocumentState state;
            state.setChanged(c.changed, true);
            RecordingPrompter prompter;
            prompter.script(answer);
            bool goOn = confirmVgaLoad(c.kind, state, prompter);
            EXPECT_EQ(goOn, !c.asks || answer == PromptAnswer::Yes);
            ASSERT_EQ(prompter.prompts().size(), c.asks ? 1u : 0u);
            if (c.asks) {
                EXPECT_EQ(prompter.prompts()[0].title, c.title);
                EXPECT_EQ(prompter.prompts()[0].buttons, PromptButtons::YesNo);
            }
        }
    }
}
