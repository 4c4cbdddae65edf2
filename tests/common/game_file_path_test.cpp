#include "common/file_io.h"
#include "common/game_file_path.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

TEST(GameFilePath, SplitsAtTheLastDot) {
    GameFilePath path = GameFilePath::fromPath("/games/wolf/MAPTEMP.SOD");
    EXPECT_EQ(path.folder, "/games/wolf");
    EXPECT_EQ(path.baseName, "MAPTEMP");
    EXPECT_EQ(path.extension, "SOD");
    EXPECT_EQ(path.sibling("MAPHEAD").fullPath(), std::filesystem::path("/games/wolf/MAPHEAD.SOD"));
    GameFilePath dotted = GameFilePath::fromFolderAndName("/g", "vswap.wl6.old");
    EXPECT_EQ(dotted.baseName, "vswap.wl6");
    EXPECT_EQ(dotted.extension, "old");
    EXPECT_EQ(dotted.withSuffix(".tmp"), std::filesystem::path("/g/vswap.wl6.old.tmp"));
}

TEST(GameFilePath, NoExtensionLooksUpSiblingsWithoutExtension) {
    testdata::TempDir dir;
    ASSERT_TRUE(writeWholeFile(dir / "maphead", Bytes{1}));
    GameFilePath maps = GameFilePath::fromPath(dir / "gamemaps");
    EXPECT_EQ(maps.extension, "");
    std::optional<GameFilePath> head = maps.existingSibling("MAPHEAD");
    ASSERT_TRUE(head);
    EXPECT_EQ(head->fullPath(), dir / "maphead");
}

TEST(GameFilePath, SiblingsAreFoundWhateverTheirCase) {
    testdata::TempDir dir;
    ASSERT_TRUE(writeWholeFile(dir / "vgahead.wl6", Bytes{1}));
    ASSERT_TRUE(writeWholeFile(dir / "VGADict.WL6", Bytes{1}));
    GameFilePath graph = GameFilePath::fromPath(dir / "VGAGRAPH.WL6");
    EXPECT_EQ(graph.sibling("VGAHEAD").fileName(), "vgahead.wl6");
    EXPECT_EQ(graph.sibling("VGADICT").fileName(), "VGADict.WL6");
    EXPECT_FALSE(graph.existingSibling("AUDIOHED"));
    // A file not there yet is spelled in the case of the file we have.
    EXPECT_EQ(graph.sibling("AUDIOHED").fileName(), "AUDIOHED.WL6");
    EXPECT_EQ(GameFilePath::fromPath(dir / "gamemaps.wl6").sibling("MAPHEAD").fileName(),
              "maphead.wl6");
}
