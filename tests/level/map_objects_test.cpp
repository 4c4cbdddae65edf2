#include "level/map_objects.h"

#include "common/file_io.h"
#include "image/palette.h"
#include "support/bmp_builder.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* kLists = "1,\"Stone\",\n90,\"Door\",\n*\n23,\"Puddle\",\n*\n108,\"Area 1\",\n*\n";
const char* kSprinfo = "23 2 1 0\n98 0 6 0\n90 -7 7 1 0 -6\n";

const std::string kListsTitle = "Tessarand: Lists.txt not available!";
const std::string kSymbolsTitle = "Tessarand: Symbols.bmp not available!";
const std::string kSprinfoTitle = "Tessarand: SprInfo.txt not available!";

void writeText(const fs::path& path, const std::string& text) {
    ASSERT_TRUE(
        writeWholeFile(path, ByteView(reinterpret_cast<const uint8_t*>(text.data()), text.size())));
}

SymbolImage pictureWithMark(uint16_t colour) {
    SymbolImage image;
    image.set(0, 0, colour);
    image.set(447, 111, colour);
    return image;
}

// A 24-bit bitmap of the given size, every pixel the same colour.
Bytes bitmap24(int width, int height, Rgb colour) {
    return testdata::bmp24(width, height, [colour](int, int) { return colour; });
}

std::vector<std::string> titles(const RecordingPrompter& prompter) {
    std::vector<std::string> result;
    for (const Prompt& prompt : prompter.prompts())
        result.push_back(prompt.title);
    return result;
}

} // namespace

TEST(MapObjects, EachMissingFileIsReportedAndTheRestStillLoads) {
    struct Case {
        bool lists, symbols, sprinfo;
        std::vector<std::string> messages;
    } cases[] = {
        {true, true, true, {}},
        {false, true, true, {kListsTitle}},
        {true, false, true, {kSymbolsTitle}},
        {true, true, false, {kSprinfoTitle}},
        {false, false, false, {kListsTitle, kSymbolsTitle, kSprinfoTitle}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.lists << c.symbols << c.sprinfo);
        testdata::TempDir dir;
        if (c.lists) {
            writeText(dir / "Lists.txt", kLists);
        }
        if (c.symbols) {
            ASSERT_TRUE(
                writeWholeFile(dir / "symbols.bmp", encodeSymbolsBmp(pictureWithMark(0x7C00))));
        }
        if (c.sprinfo) {
            writeText(dir / "sprinfo.txt", kSprinfo);
        }

        // What a previous folder left behind.
        TileVocabulary vocabulary;
        vocabulary.addWall(7, "Old wall");
        vocabulary.addFloor(120, "Old floor");
        vocabulary.defineObject(50, 33, 1, 0, 0);
        vocabulary.doors.add({91, -8, false, 0, -5});
        vocabulary.pushwalls.insert(99);
        SymbolImage symbols = pictureWithMark(0x03E0);
        RecordingPrompter prompter;

        MapObjectsLoadResult result = loadMapObjects(dir.path(), vocabulary, symbols, prompter);

        EXPECT_EQ(titles(prompter), c.messages);
        EXPECT_EQ(result.listsRead, c.lists);
        EXPECT_EQ(result.symbolsLoaded, c.symbols);
        EXPECT_EQ(result.sprinfoRead, c.sprinfo);
        // The old names and lists are gone in every case.
        EXPECT_EQ(vocabulary.wallName(7), "");
        EXPECT_EQ(vocabulary.wallName(120), "");
        EXPECT_EQ(vocabulary.wallCodes.size(), c.lists ? 2u : 0u);
        EXPECT_EQ(vocabulary.objectCodes.size(), c.lists ? 1u : 0u);
        EXPECT_EQ(vocabulary.wallName(90), c.lists ? "Door" : "");
        EXPECT_EQ(symbols.at(0, 0), c.symbols ? 0x7C00 : 0x03E0);
        EXPECT_EQ(symbols.at(447, 111), c.symbols ? 0x7C00 : 0x03E0);
        if (c.sprinfo) {
            EXPECT_EQ(vocabulary.info(50), TileInfo{}); // cleared before reading
            EXPECT_TRUE(vocabulary.info(23).is(ObjectType::Static));
            ASSERT_EQ(vocabulary.doors.size(), 1u);
            EXPECT_EQ(vocabulary.door(0).code, 90);
            EXPECT_EQ(vocabulary.pushwalls.codes(), std::vector<uint16_t>{98});
            // Floors come from Lists.txt, or the defaults when it gave none.
            EXPECT_EQ(vocabulary.floors.size(), c.lists ? 1u : 38u);
        } else {
            // Without sprinfo.txt the object information stays and no defaults come in.
            EXPECT_TRUE(vocabulary.info(50).is(ObjectType::Static));
            EXPECT_TRUE(vocabulary.doors.empty());
            EXPECT_TRUE(vocabulary.pushwalls.empty());
            EXPECT_EQ(vocabulary.floors.size(), c.lists ? 1u : 0u);
        }
    }
}

TEST(MapObjects, MessagesReadAsTheUserSeesThem) {
    testdata::TempDir dir;
    TileVocabulary vocabulary;
    SymbolImage symbols;
    RecordingPrompter prompter;
    loadMapObjects(dir / "no such folder", vocabulary, symbols, prompter);
    ASSERT_EQ(prompter.prompts().size(), 3u);
    EXPECT_EQ(prompter.prompts()[0].text, "The names for walls/objects/floors won't be correct!");
    EXPECT_EQ(prompter.prompts()[1].text, "The symbols for walls/objects/floors won't be correct!");
    EXPECT_EQ(prompter.prompts()[2].text, "3DEdit won't be able to display the objects correctly!");
}

TEST(MapObjects, FileNamesMatchWithoutRegardToCase) {
    testdata::TempDir dir;
    writeText(dir / "LISTS.TXT", kLists);
    ASSERT_TRUE(writeWholeFile(dir / "Symbols.BMP", encodeSymbolsBmp(pictureWithMark(0x001F))));
    writeText(dir / "SprInfo.txt", kSprinfo);
    TileVocabulary vocabulary;
    SymbolImage symbols;
    RecordingPrompter prompter;
    loadMapObjects(dir.path(), vocabulary, symbols, prompter);
    EXPECT_TRUE(prompter.empty());
    EXPECT_EQ(symbols.at(0, 0), 0x001F);
}

TEST(MapObjects, SymbolsFileThatIsNoBitmapKeepsThePicture) {
    const Bytes whole = encodeSymbolsBmp(SymbolImage());
    struct Case {
        std::string name;
        Bytes data;
    } cases[] = {
        {"empty", {}},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o'}},
        {"truncated header", Bytes(whole.begin(), whole.begin() + 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testdata::TempDir dir;
        ASSERT_TRUE(writeWholeFile(dir / "symbols.bmp", c.data));
        TileVocabulary vocabulary;
        SymbolImage symbols = pictureWithMark(0x1234);
        RecordingPrompter prompter;
        MapObjectsLoadResult result = loadMapObjects(dir.path(), vocabulary, symbols, prompter);
        EXPECT_FALSE(result.symbolsLoaded);
        EXPECT_EQ(symbols, pictureWithMark(0x1234));
        EXPECT_EQ(titles(prompter),
                  (std::vector<std::string>{kListsTitle, kSymbolsTitle, kSprinfoTitle}));
    }
}

TEST(SymbolImage, SavedFileIsThe16BitBitmapAndReadsBack) {
    SymbolImage image;
    for (int s = 0; s < kSymbolCount; ++s)
        image.set(SymbolImage::symbolLeft(s) + 3, SymbolImage::symbolTop(s) + 3,
                  uint16_t((s * 37) & 0x7FFF));
    Bytes file = encodeSymbolsBmp(image);
    ASSERT_EQ(file.size(), kSymbolsBmpFileSize);
    EXPECT_EQ(readU32At(file, 2), 100406u);
    EXPECT_EQ(readU32At(file, 10), 54u);
    EXPECT_EQ(readU32At(file, 18), 448u);
    EXPECT_EQ(readU32At(file, 22), 112u);
    EXPECT_EQ(readU16At(file, 28), 16u);
    EXPECT_EQ(readU32At(file, 38), 1u);
    // The first stored row is the bottom row: symbol 960's centre lies in image row 108.
    EXPECT_EQ(readU16At(file, 54 + 2 * ((111 - 108) * 448 + 3)), uint16_t((960 * 37) & 0x7FFF));

    std::optional<SymbolImage> back = decodeSymbolsBmp(file);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, image);
    // Object code 130 is drawn by symbol 642, whose pixels start at (14, 70).
    EXPECT_EQ(objectSymbolIndex(130), 642);
    EXPECT_EQ(SymbolImage::symbolLeft(642), 14);
    EXPECT_EQ(SymbolImage::symbolTop(642), 70);
    EXPECT_EQ(objectSymbolIndex(70000), 1023);
    EXPECT_EQ(wallSymbolIndex(600), 511);
}

TEST(SymbolImage, OtherBitmapsGiveTheirTopLeftCorner) {
    // A 24-bit bitmap smaller than the picture: its pixels go to the top left, the rest is black.
    std::optional<SymbolImage> small = decodeSymbolsBmp(bitmap24(10, 5, {255, 128, 8}));
    ASSERT_TRUE(small);
    EXPECT_EQ(small->at(0, 0), toRgb555(255, 128, 8));
    EXPECT_EQ(small->at(9, 4), toRgb555(255, 128, 8));
    EXPECT_EQ(small->at(10, 4), 0);
    EXPECT_EQ(small->at(9, 5), 0);
    // A larger one is cut.
    std::optional<SymbolImage> large = decodeSymbolsBmp(bitmap24(500, 130, {0, 0, 255}));
    ASSERT_TRUE(large);
    EXPECT_EQ(large->at(447, 111), 0x001F);
}
