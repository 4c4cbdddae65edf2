#include "app/load_all_scan.h"
#include "common/file_io.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(LoadAllScan, SortsNamesIntoGroupsWithTheMainNameFirst) {
    FolderScan scan = sortFileNames({"vswap.wl6.old", "GFXTILES.WL6", "VSWAP.WL6", "MAPTEMP.WL6",
                                     "GAMEMAPS.WL6", "MAPHEAD.WL6", "VGAGRAPH.WL6", "VGAHEAD.WL6",
                                     "VGADICT.WL6", "AUDIOT.WL6", "AUDIOHED.WL6", "README.TXT",
                                     "WOLF3D.EXE"});
    EXPECT_EQ(scan.names(FileGroup::PageFiles),
              (std::vector<std::string>{"VSWAP.WL6", "vswap.wl6.old", "GFXTILES.WL6"}));
    EXPECT_EQ(scan.names(FileGroup::MapData),
              (std::vector<std::string>{"GAMEMAPS.WL6", "MAPTEMP.WL6"}));
    EXPECT_EQ(scan.names(FileGroup::MapHeaders), std::vector<std::string>{"MAPHEAD.WL6"});
    EXPECT_EQ(scan.names(FileGroup::AudioData), std::vector<std::string>{"AUDIOT.WL6"});
    EXPECT_EQ(scan.names(FileGroup::AudioHeaders), std::vector<std::string>{"AUDIOHED.WL6"});
    // Extensions are compared without case; "wl6.old" is its own extension.
    EXPECT_EQ(scan.extensions, (std::vector<std::string>{"wl6.old", "WL6"}));
}

TEST(LoadAllScan, GfxtilesAloneServesAllThreePageFileKinds) {
    FolderScan scan = sortFileNames({"GFXTILES.WL6"});
    LoadAllSelection selection = selectFilesForExtension(scan, "/games", "WL6");
    ASSERT_TRUE(selection.walls && selection.sprites && selection.sounds);
    EXPECT_EQ(selection.walls->fileName(), "GFXTILES.WL6");
    EXPECT_EQ(*selection.sounds, *selection.walls);
    EXPECT_FALSE(selection.mapData);
}

struct ChoiceCase {
    std::vector<std::string> names;
    std::string lastExtension;
    std::optional<std::string> expected;
};

class DefaultExtension : public testing::TestWithParam<ChoiceCase> {};

TEST_P(DefaultExtension, MostFilesThenLastExtension) {
    const ChoiceCase& c = GetParam();
    EXPECT_EQ(chooseDefaultExtension(sortFileNames(c.names), c.lastExtension), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    LoadAllScan, DefaultExtension,
    testing::Values(
        ChoiceCase{{"VSWAP.WL6", "VSWAP.SOD", "MAPHEAD.SOD"}, "WL6", "SOD"},
        ChoiceCase{{"VSWAP.WL6", "VSWAP.SOD"}, "SOD", "SOD"},
        ChoiceCase{{"VSWAP.WL6", "VSWAP.SOD"}, "sod", "SOD"},
        ChoiceCase{{"VSWAP.WL6", "VSWAP.SOD"}, "WL1", "WL6"},
        ChoiceCase{{"README.TXT", "VSWAP"}, "WL6", std::nullopt},
        ChoiceCase{{}, "WL6", std::nullopt}));

TEST(LoadAllScan, SelectionPicksTheFirstNameOfTheExtensionIgnoringCase) {
    FolderScan scan = sortFileNames({"vswap.sod", "VSWAP.WL6", "gamemaps.sod", "maphead.sod"});
    LoadAllSelection selection = selectFilesForExtension(scan, "/g", "SOD");
    ASSERT_TRUE(selection.mapData && selection.mapHeader && selection.walls);
    EXPECT_EQ(selection.mapData->fileName(), "gamemaps.sod");
    EXPECT_EQ(selection.mapHeader->baseName, "maphead");
    EXPECT_EQ(selection.walls->extension, "sod");
    EXPECT_FALSE(selection.vgaGraph);
}

TEST(LoadAllScan, SharewareFolderChoosesWl1AndListsTheEightFiles) {
    REQUIRE_GAME_DATA();
    std::optional<FolderScan> scan = scanFolder(testdata::gameDataDir());
    ASSERT_TRUE(scan);
    EXPECT_EQ(scan->extensions, std::vector<std::string>{"WL1"});
    size_t files = 0;
    for (const auto& names : scan->groups)
        files += names.size();
    EXPECT_EQ(files, 8u);
    EXPECT_EQ(chooseDefaultExtension(*scan, "WL6"), "WL1");
}

TEST(LoadAllScan, DirectoriesAreSkippedAndUnreadableFolderFails) {
    testdata::TempDir dir;
    fs::create_directory(dir / "VSWAP.WL6");
    ASSERT_TRUE(writeWholeFile(dir / "MAPHEAD.WL6", Bytes{1, 2}));
    std::optional<FolderScan> scan = scanFolder(dir.path());
    ASSERT_TRUE(scan);
    EXPECT_TRUE(scan->names(FileGroup::PageFiles).empty());
    EXPECT_EQ(scan->names(FileGroup::MapHeaders).size(), 1u);
    EXPECT_FALSE(scanFolder(dir / "missing"));
}
