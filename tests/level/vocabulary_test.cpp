#include "level/level_planes.h"
#include "level/level_statistics.h"
#include "level/tile_vocabulary.h"

#include "common/prompter.h"
#include "maps/map_set.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TileNames, LabelledNamesArePaddedAsTheStatusPanelShowsThem) {
    TileVocabulary vocabulary;
    vocabulary.addWall(1, "Grey stone");
    vocabulary.addObject(23, "Puddle");
    EXPECT_EQ(vocabulary.labelledWallName(1), "1 Grey stone                 ");
    EXPECT_EQ(vocabulary.labelledObjectName(23), "23 Puddle                 ");
    EXPECT_EQ(vocabulary.labelledWallName(23), "23 Unknown            ");
    EXPECT_EQ(vocabulary.labelledObjectName(65535), "65535 Unknown            ");
    EXPECT_EQ(vocabulary.wallName(23), "");
}

TEST(TileCodeList, HoldsAtMost4095CodesAndEndsWithMinusOne) {
    TileCodeList list;
    EXPECT_EQ(list[0], kTileListEnd);
    for (int i = 0; i < 4095; ++i)
        ASSERT_TRUE(list.append(uint16_t(i)));
    EXPECT_FALSE(list.append(7));
    EXPECT_EQ(list.size(), 4095u);
    EXPECT_EQ(list[4094], 4094);
    EXPECT_EQ(list[4095], kTileListEnd);
    EXPECT_EQ(list[5000], kTileListEnd);
}

TEST(DoorTable, FirstDefinitionOfACodeIsTheOneFound) {
    DoorTable doors;
    doors.add({90, -7, true, 0, -6});
    doors.add({90, -1, true, 1, -6});
    doors.add({91, -8, false, 0, -5});
    EXPECT_EQ(doors.size(), 3u);
    EXPECT_EQ(doors.indexOf(90), 0);
    EXPECT_EQ(doors.indexOf(91), 2);
    doors.clear();
    EXPECT_FALSE(doors.isDoor(90));
    EXPECT_EQ(doors.indexOf(91), -1);
}

TEST(DoorTable, NegativeTexturesCountBackFromTheWalls) {
    EXPECT_EQ(resolveDoorTexture(-1, 106), 105);
    EXPECT_EQ(resolveDoorTexture(-8, 106), 98);
    EXPECT_EQ(resolveDoorTexture(12, 106), 12);
    EXPECT_EQ(resolveDoorTexture(-200, 106), -94); // stays invalid for the caller to check
}

namespace {

struct Level {
    std::vector<uint16_t> plane0 = std::vector<uint16_t>(kLevelCells, 0);
    std::vector<uint16_t> plane1 = std::vector<uint16_t>(kLevelCells, 0);
    void fill(std::vector<uint16_t>& plane, uint16_t code, int count, size_t from = 100) {
        for (int i = 0; i < count; ++i)
            plane[from + size_t(i)] = code;
    }
};

TileVocabulary statisticsVocabulary() {
    TileVocabulary v;
    v.defineObject(23, 2, 1, 0, 0);    // static
    v.defineObject(49, 28, 1, 8, 0);   // static giving 8 shots
    v.defineObject(19, 0, 2, 1, 0);    // player start
    v.defineObject(214, 296, 3, 0, 0); // boss
    v.defineObject(108, 50, 4, 0, 1);  // enemy, level 1
    v.defineObject(144, 50, 4, 0, 3);  // enemy, level 3
    v.defineObject(180, 50, 4, 0, 4);  // enemy, level 4
    v.defineObject(300, 50, 4, 0, 9);  // enemy of a level outside 1..5
    v.defineObject(90, 0, 5, 0, 0);    // turning point
    v.defineObject(98, 0, 6, 0, 0);    // pushwall
    v.applyDefaults();
    return v;
}

} // namespace

TEST(LevelStatistics, CountsEachKindOfCode) {
    TileVocabulary v = statisticsVocabulary();
    Level level;
    level.fill(level.plane0, 90, 3, 0);
    level.fill(level.plane0, 101, 2, 10);
    level.fill(level.plane0, 1, 20, 20); // walls count for nothing
    size_t at = 0;
    auto put = [&](uint16_t code, int count) {
        level.fill(level.plane1, code, count, at);
        at += size_t(count);
    };
    put(23, 5);
    put(49, 3);
    put(19, 1);
    put(214, 2);
    put(108, 4);
    put(144, 3);
    put(180, 1);
    put(300, 2);
    put(90, 6);
    put(98, 2);
    put(555, 9); // no object information: not counted

    LevelStatistics s = countLevelStatistics(level.plane0, level.plane1, v);
    EXPECT_EQ(s.doors, 5);
    EXPECT_EQ(s.statics, 8);
    EXPECT_EQ(s.ammo, 3);
    EXPECT_EQ(s.shots, 24);
    EXPECT_EQ(s.players, 1);
    EXPECT_EQ(s.bosses, 2);
    EXPECT_EQ(s.guards, 2 + 4 + 3 + 1 + 2);
    EXPECT_EQ(s.enemies, (std::array<int, 6>{0, 4, 0, 3, 1, 0}));
    EXPECT_EQ(s.turningPoints, 6);
    EXPECT_EQ(s.secretDoors, 2);
    EXPECT_EQ(s.objects, 8 + 1 + 2 + 10 + 6 + 2);
}

TEST(LevelStatistics, LimitsDecideTheColour) {
    TileVocabulary v = statisticsVocabulary();
    struct Case {
        uint16_t code;
        int count;
        bool (LevelStatistics::*within)() const;
        bool expected;
    } cases[] = {
        {23, 400, &LevelStatistics::staticsWithinLimit, true},
        {23, 401, &LevelStatistics::staticsWithinLimit, false},
        {19, 0, &LevelStatistics::playersWithinLimit, false},
        {19, 1, &LevelStatistics::playersWithinLimit, true},
        {19, 2, &LevelStatistics::playersWithinLimit, false},
        {108, 150, &LevelStatistics::guardsWithinLimit, true},
        {108, 151, &LevelStatistics::guardsWithinLimit, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.code << " x " << c.count);
        Level level;
        level.fill(level.plane1, c.code, c.count, 0);
        LevelStatistics s = countLevelStatistics(level.plane0, level.plane1, v);
        EXPECT_EQ((s.*c.within)(), c.expected);
        EXPECT_EQ(limitColour((s.*c.within)()), c.expected ? (Rgb{0, 150, 0}) : (Rgb{255, 0, 0}));
    }
    Level doors;
    doors.fill(doors.plane0, 91, 64, 0);
    EXPECT_TRUE(countLevelStatistics(doors.plane0, doors.plane1, v).doorsWithinLimit());
    doors.plane0[64] = 91;
    EXPECT_FALSE(countLevelStatistics(doors.plane0, doors.plane1, v).doorsWithinLimit());
}

TEST(LevelPlanes, FloorAndCeilingEachKeepTheOtherByte) {
    std::vector<uint16_t> plane0(kLevelCells, 0);
    plane0[0] = 0x1234;
    setFloorValue(plane0, 0xAB);
    EXPECT_EQ(plane0[0], 0x12AB);
    setCeilingValue(plane0, 0xCD);
    EXPECT_EQ(plane0[0], 0xCDAB);
    EXPECT_EQ(floorValue(plane0), 0xAB);
    EXPECT_EQ(ceilingValue(plane0), 0xCD);
    EXPECT_EQ(plane0[1], 0); // nothing else moves
}

TEST(LevelPlanes, FeatureFlagsChangeOneBitOnly) {
    struct Case {
        FeatureFlag flag;
        bool on;
        uint16_t before, after;
    } cases[] = {
        {kStarSky, true, 0x0000, 0x0001},  {kParallaxSky, true, 0x8001, 0x8003},
        {kRain, true, 0x0020, 0x0030},     {kSnow, false, 0xFFFF, 0xFFDF},
        {kStarSky, false, 0xFFFF, 0xFFFE}, {kRain, false, 0x0000, 0x0000},
    };
    for (const Case& c : cases) {
        std::vector<uint16_t> plane0(kLevelCells, 0x5555);
        plane0[kFeatureFlagsCell] = c.before;
        setFeatureFlag(plane0, c.flag, c.on);
        EXPECT_EQ(plane0[63], c.after);
        EXPECT_EQ(featureFlag(plane0, c.flag), c.on);
        EXPECT_EQ(plane0[62], 0x5555);
        EXPECT_EQ(plane0[64], 0x5555);
    }
    std::vector<uint16_t> empty;
    setFeatureFlag(empty, kRain, true); // a missing plane is left alone
    EXPECT_FALSE(featureFlag(empty, kRain));
}

TEST(LevelPlanes, SplitModesReadAndWriteTheirByte) {
    struct Case {
        SplitMode mode;
        uint16_t word, read, code, written;
    } cases[] = {
        {SplitMode::Whole, 0x1234, 0x1234, 0x0056, 0x0056},
        {SplitMode::Bottom, 0x1234, 0x0034, 0x0056, 0x1256},
        {SplitMode::Bottom, 0x1234, 0x0034, 0x0156, 0x1256},
        {SplitMode::Top, 0x1234, 0x0012, 0x0056, 0x5634},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(splitRead(c.word, c.mode), c.read);
        EXPECT_EQ(splitWrite(c.word, c.code, c.mode), c.written);
    }
    EXPECT_EQ(splitModeFor(false, true), SplitMode::Whole);
    EXPECT_EQ(splitModeFor(true, false), SplitMode::Bottom);
    EXPECT_EQ(splitModeFor(true, true), SplitMode::Top);
    EXPECT_FALSE(floorCeilingModeUsable(FloorCeilingMode::PlaneTextures, false));
    EXPECT_TRUE(floorCeilingModeUsable(FloorCeilingMode::PlaneTextures, true));
    EXPECT_TRUE(floorCeilingModeUsable(FloorCeilingMode::SingleTextures, false));
}

TEST(ThirdPlane, EnableGivesEveryLevelAPlaneAndCancelledDisableKeepsThem) {
    MapSet maps;
    maps.setHighestMapIndex(2);
    enableThirdPlane(maps);
    ASSERT_TRUE(maps.thirdPlaneEnabled());
    for (int map = 0; map <= 2; ++map)
        ASSERT_EQ(maps.plane(map, 2).size(), kLevelCells);
    maps.plane(1, 2)[5] = 0x0A0B;

    RecordingPrompter prompter;
    prompter.script(PromptAnswer::Cancel);
    EXPECT_FALSE(disableThirdPlane(maps, prompter));
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].text,
              "Do you want really do that? You will lose all your data in the 3rd plane!");
    EXPECT_EQ(prompter.prompts()[0].buttons, PromptButtons::OkCancel);
    EXPECT_TRUE(maps.thirdPlaneEnabled());
    EXPECT_EQ(maps.plane(1, 2)[5], 0x0A0B);

    prompter.script(PromptAnswer::Ok);
    EXPECT_TRUE(disableThirdPlane(maps, prompter));
    EXPECT_FALSE(maps.thirdPlaneEnabled());
    EXPECT_TRUE(maps.plane(1, 2).empty());
}

TEST(ThirdPlane, EditingHidesObjectsAndRestoresTheSwitch) {
    ThirdPlaneEditing editing;
    bool showObjects = true;
    EXPECT_EQ(editing.wallsPlane(), 0);
    editing.setActive(true, showObjects);
    EXPECT_EQ(editing.wallsPlane(), 2);
    EXPECT_FALSE(showObjects);
    editing.setActive(false, showObjects);
    EXPECT_EQ(editing.wallsPlane(), 0);
    EXPECT_TRUE(showObjects);

    showObjects = false;
    editing.setActive(true, showObjects);
    editing.setActive(false, showObjects);
    EXPECT_FALSE(showObjects);
    EXPECT_EQ(ThirdPlaneEditing::objectsPlane(), 1);
}
