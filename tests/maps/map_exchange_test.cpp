#include "common/file_io.h"
#include "maps/map_exchange.h"
#include "maps/maps_test_support.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// A small set of four maps whose planes differ everywhere.
MapSet patternedSet(bool thirdPlane) {
    MapSet maps;
    maps.setThirdPlaneEnabled(thirdPlane);
    maps.setHighestMapIndex(3);
    for (int map = 0; map < 4; ++map) {
        maps.header(map).setName("Level " + std::to_string(map));
        for (int p = 0; p < (thirdPlane ? 3 : 2); ++p)
            for (size_t cell = 0; cell < kPlaneCodes; ++cell)
                maps.plane(map, p)[cell] = uint16_t(cell * (p + 1) + map * 1000);
    }
    return maps;
}

std::vector<uint16_t> planeOf(const MapSet& maps, int map, int p) {
    std::span<const uint16_t> plane = maps.plane(map, p);
    return {plane.begin(), plane.end()};
}

// The exchange file built by hand, field by field.
Bytes exchangeFile(uint8_t planes, uint16_t count, uint16_t width, uint16_t height,
                   const std::string& name, uint16_t fill) {
    Bytes bytes;
    ByteWriter out(bytes);
    out.bytes(ByteView(reinterpret_cast<const uint8_t*>("TRv1.23"), 8));
    out.u8(planes);
    out.u16(count);
    out.u16(7);
    out.u16(width);
    out.u16(height);
    out.u8(uint8_t(name.size()));
    out.bytes(ByteView(reinterpret_cast<const uint8_t*>(name.data()), name.size()));
    for (size_t i = 0; i < planes * kPlaneCodes; ++i)
        out.u16(uint16_t(fill + i / kPlaneCodes));
    return bytes;
}

} // namespace

TEST(MapExchange, ExportAndImportCarryPlanesAndName) {
    for (bool third : {false, true}) {
        testdata::TempDir dir;
        MapSet maps = patternedSet(third);
        RecordingPrompter prompter;
        const fs::path file = dir / "level.MAP";
        ASSERT_TRUE(exportMap(maps, 2, file, prompter));
        EXPECT_EQ(fs::file_size(file), third ? 24610u : 16418u);
        const Bytes bytes = readWholeFile(file).value();
        EXPECT_EQ(bytes[8], third ? 3 : 2);
        EXPECT_EQ(readU16At(bytes, 11), 2); // the exported map's index

        MapSet target = patternedSet(third);
        ASSERT_EQ(importMap(target, 0, file, prompter), MapImportResult::Imported);
        EXPECT_TRUE(prompter.empty());
        EXPECT_EQ(target.header(0).nameText(), "Level 2");
        for (int p = 0; p < (third ? 3 : 2); ++p)
            EXPECT_EQ(planeOf(target, 0, p), planeOf(maps, 2, p)) << "plane " << p;
        EXPECT_EQ(planeOf(target, 1, 0), planeOf(maps, 1, 0));
    }
}

TEST(MapExchange, SharewareMapRoundTrip) {
    REQUIRE_GAME_DATA();
    auto original = mapstest::sharewareMaps();
    ASSERT_TRUE(original);
    testdata::TempDir dir;
    RecordingPrompter prompter;
    ASSERT_TRUE(exportMap(*original, 9, dir / "secret.MAP", prompter));
    MapSet maps = *original;
    ASSERT_EQ(importMap(maps, 0, dir / "secret.MAP", prompter), MapImportResult::Imported);
    EXPECT_EQ(maps.header(0).nameText(), "Wolf1 Secret");
    EXPECT_EQ(planeOf(maps, 0, 0), planeOf(*original, 9, 0));
    EXPECT_EQ(planeOf(maps, 0, 1), planeOf(*original, 9, 1));
}

TEST(MapExchange, RefusedFilesLeaveTheMapAsItWas) {
    struct Case {
        const char* name;
        Bytes file;
        std::string text;
    };
    Bytes badMagic = exchangeFile(2, 1, 64, 64, "x", 5);
    badMagic[6] = '4';
    const Bytes whole = exchangeFile(2, 1, 64, 64, "Name", 5);
    const Bytes threePlanes = exchangeFile(3, 1, 64, 64, "x", 5);
    const std::vector<Case> cases = {
        {"wrong magic", badMagic, "Unknown map format!"},
        {"empty file", {}, "Unknown map format!"},
        {"shorter than the magic", Bytes(whole.begin(), whole.begin() + 5), "Unknown map format!"},
        {"four planes", exchangeFile(4, 1, 64, 64, "x", 5), "Only two or three planes supported!"},
        {"one plane", exchangeFile(1, 1, 64, 64, "x", 5), "Only two or three planes supported!"},
        {"two maps", exchangeFile(2, 2, 64, 64, "x", 5),
         "Importing multiple maps is not implemented yet!"},
        {"width 32", exchangeFile(2, 1, 32, 64, "x", 5), "Only 64x64 maps supported yet!"},
        {"height 128", exchangeFile(2, 1, 64, 128, "x", 5), "Only 64x64 maps supported yet!"},
        {"header cut short", Bytes(whole.begin(), whole.begin() + 12),
         "The map file is incomplete!"},
        {"planes cut short", Bytes(whole.begin(), whole.end() - 1), "The map file is incomplete!"},
        {"third plane missing", Bytes(threePlanes.begin(), threePlanes.end() - 8192),
         "The map file is incomplete!"},
    };
    for (const Case& c : cases) {
        MapSet maps = patternedSet(false);
        const MapSet before = maps;
        RecordingPrompter prompter;
        EXPECT_EQ(importMapBytes(maps, 1, c.file, c.file.size(), prompter),
                  MapImportResult::Refused)
            << c.name;
        ASSERT_EQ(prompter.prompts().size(), 1u) << c.name;
        EXPECT_EQ(prompter.prompts()[0].title, "Unable to import map!") << c.name;
        EXPECT_EQ(prompter.prompts()[0].text, c.text) << c.name;
        EXPECT_FALSE(maps.thirdPlaneEnabled()) << c.name;
        EXPECT_EQ(maps.header(1), before.header(1)) << c.name;
        for (int p = 0; p < 2; ++p)
            EXPECT_EQ(planeOf(maps, 1, p), planeOf(before, 1, p)) << c.name;
    }
}

TEST(MapExchange, ThreePlaneFileAsksWhetherToEnableTheThirdPlane) {
    struct Case {
        PromptAnswer answer;
        MapImportResult result;
        bool thirdPlane;
    };
    const std::vector<Case> cases = {
        {PromptAnswer::Yes, MapImportResult::Imported, true},
        {PromptAnswer::No, MapImportResult::Imported, false},
        {PromptAnswer::Cancel, MapImportResult::Cancelled, false},
    };
    const Bytes file = exchangeFile(3, 1, 64, 64, "Three", 40);
    for (const Case& c : cases) {
        MapSet maps = patternedSet(false);
        const MapSet before = maps;
        RecordingPrompter prompter;
        prompter.script(c.answer);
        EXPECT_EQ(importMapBytes(maps, 3, file, file.size(), prompter), c.result);
        ASSERT_EQ(prompter.prompts().size(), 1u);
        EXPECT_EQ(prompter.prompts()[0].title, "The map uses a third plane!");
        EXPECT_EQ(prompter.prompts()[0].text,
                  "The third plane is currently not enabled.\nShall it be enabled now?");
        EXPECT_EQ(prompter.prompts()[0].buttons, PromptButtons::YesNoCancel);
        EXPECT_EQ(maps.thirdPlaneEnabled(), c.thirdPlane);
        if (c.result == MapImportResult::Cancelled) {
            EXPECT_EQ(maps.header(3), before.header(3));
            EXPECT_EQ(planeOf(maps, 3, 0), planeOf(before, 3, 0));
            continue;
        }
        EXPECT_EQ(maps.header(3).nameText(), "Three");
        EXPECT_EQ(planeOf(maps, 3, 0), std::vector<uint16_t>(kPlaneCodes, 40));
        EXPECT_EQ(planeOf(maps, 3, 1), std::vector<uint16_t>(kPlaneCodes, 41));
        if (c.thirdPlane) {
            EXPECT_EQ(planeOf(maps, 3, 2), std::vector<uint16_t>(kPlaneCodes, 42));
            EXPECT_EQ(planeOf(maps, 0, 2), std::vector<uint16_t>(kPlaneCodes, 0));
        }
    }
}

TEST(MapExchange, NameLengthsAndRawPlaneFiles) {
    struct Case {
        const char* name;
        Bytes file;
        std::string expectedName;
        uint16_t plane0, plane1;
    };
    Bytes raw;
    ByteWriter out(raw);
    for (size_t i = 0; i < 2 * kPlaneCodes; ++i)
        out.u16(i < kPlaneCodes ? 70 : 71);
    Bytes rawPlusOne = raw;
    rawPlusOne.push_back(0);
    const std::vector<Case> cases = {
        {"name of 20 bytes keeps 16 and skips 4",
         exchangeFile(2, 1, 64, 64, "ABCDEFGHIJKLMNOPQRST", 9), "ABCDEFGHIJKLMNOP", 9, 10},
        {"short name replaces the whole field", exchangeFile(2, 1, 64, 64, "Ab", 11), "Ab", 11, 12},
        {"empty name", exchangeFile(2, 1, 64, 64, "", 13), "", 13, 14},
        {"raw planes keep the map's name", raw, "Level 2", 70, 71},
    };
    for (const Case& c : cases) {
        MapSet maps = patternedSet(false);
        RecordingPrompter prompter;
        ASSERT_EQ(importMapBytes(maps, 2, c.file, c.file.size(), prompter),
                  MapImportResult::Imported)
            << c.name;
        EXPECT_EQ(maps.header(2).nameText(), c.expectedName) << c.name;
        EXPECT_EQ(maps.header(2).nameTerminator, 0) << c.name;
        EXPECT_EQ(planeOf(maps, 2, 0), std::vector<uint16_t>(kPlaneCodes, c.plane0)) << c.name;
        EXPECT_EQ(planeOf(maps, 2, 1), std::vector<uint16_t>(kPlaneCodes, c.plane1)) << c.name;
    }
    // One byte more and it is no raw file: its start is no exchange file either.
    MapSet maps = patternedSet(false);
    RecordingPrompter prompter;
    EXPECT_EQ(importMapBytes(maps, 2, rawPlusOne, rawPlusOne.size(), prompter),
              MapImportResult::Refused);
}

TEST(MapExchange, FilesThatCannotBeOpenedOrCreatedAreReported) {
    testdata::TempDir dir;
    MapSet maps = patternedSet(false);
    RecordingPrompter prompter;
    EXPECT_EQ(importMap(maps, 0, dir / "missing.MAP", prompter), MapImportResult::Refused);
    EXPECT_FALSE(exportMap(maps, 0, dir / "no folder" / "x.MAP", prompter));
    EXPECT_FALSE(exportMap(maps, 7, dir / "x.MAP", prompter)); // no such map
    ASSERT_EQ(prompter.prompts().size(), 3u);
    EXPECT_EQ(prompter.prompts()[0].title, "Unable to open file:");
    EXPECT_EQ(prompter.prompts()[0].text, (dir / "missing.MAP").string());
    EXPECT_EQ(prompter.prompts()[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(prompter.prompts()[1].title, "Unable to create file:");
    EXPECT_EQ(prompter.prompts()[1].text, (dir / "no folder" / "x.MAP").string());
    EXPECT_EQ(prompter.prompts()[1].icon, PromptIcon::Exclamation);
    EXPECT_EQ(prompter.prompts()[2].title, "Unable to create file:");

    // An oversized file: only its start is read, and it imports when that start is good.
    Bytes big = exchangeFile(2, 1, 64, 64, "Big", 3);
    big.resize(size_t(8) << 20, 0x5A);
    ASSERT_TRUE(writeWholeFile(dir / "big.MAP", big));
    prompter.clear();
    EXPECT_EQ(importMap(maps, 1, dir / "big.MAP", prompter), MapImportResult::Imported);
    EXPECT_EQ(maps.header(1).nameText(), "Big");
    EXPECT_TRUE(prompter.empty());
}
