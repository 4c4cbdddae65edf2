#include "common/file_io.h"
#include "support/cli_runner.h"
#include "support/test_data.h"

#include <gtest/gtest.h>


namespace fs = std::filesystem;

namespace {

using testdata::cliBinary;
using testdata::quoted;
using testdata::runCli;

std::vector<std::string> mapFileNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(MapsCli, CompressAllThenExportGivesTheSameMapFiles) {
    REQUIRE_GAME_DATA();
    if (!fs::exists(cliBinary()))
        GTEST_SKIP() << "build tessarand-cli to run this test (" << cliBinary() << ")";
    testdata::TempDir dir;
    const fs::path data = testdata::gameDataDir();

    std::string info;
    ASSERT_EQ(runCli("info " + quoted(data) + " --json", &info), 0);
    EXPECT_NE(info.find("\"maps\":10"), std::string::npos) << info;

    ASSERT_EQ(runCli("export " + quoted(data) + " " + quoted(dir / "original") + " --kinds maps"),
              0);
    const std::vector<std::string> names = mapFileNames(dir / "original" / "maps");
    ASSERT_EQ(names.size(), 10u);
    EXPECT_EQ(names.front(), "map000.MAP");
    EXPECT_EQ(names.back(), "map009.MAP");
    EXPECT_EQ(fs::file_size(dir / "original" / "maps" / "map009.MAP"), 16418u);

    const std::vector<std::string> optionSets = {
        "",
        "--carmack-compress as-loaded --carmack-mode compatible",
        "--carmack-compress enable --carmack-mode best",
    };
    for (size_t k = 0; k < optionSets.size(); ++k) {
        const fs::path out = dir / ("out" + std::to_string(k));
        const fs::path again = dir / ("again" + std::to_string(k));
        ASSERT_EQ(runCli("compress-all " + quoted(data) + " " + quoted(out) + " " + optionSets[k]),
                  0)
            << optionSets[k];
        EXPECT_EQ(fs::file_size(out / "MAPHEAD.WL1"), 42u);
        ASSERT_EQ(runCli("export " + quoted(out) + " " + quoted(again) + " --kinds maps"), 0);
        ASSERT_EQ(mapFileNames(again / "maps"), names) << optionSets[k];
        for (const std::string& name : names)
            EXPECT_EQ(readWholeFile(again / "maps" / name),
                      readWholeFile(dir / "original" / "maps" / name))
                << optionSets[k] << " " << name;
    }
    // Best result never makes the file bigger than compatible.
    EXPECT_LE(fs::file_size(dir / "out2" / "GAMEMAPS.WL1"),
              fs::file_size(dir / "out1" / "GAMEMAPS.WL1"));
}

TEST(MapsCli, UnreadableMapsFailWithoutACount) {
    if (!fs::exists(cliBinary()))
        GTEST_SKIP() << "build tessarand-cli to run this test (" << cliBinary() << ")";
    testdata::TempDir dir;
    ASSERT_TRUE(writeWholeFile(dir / "GAMEMAPS.WL6", Bytes(100, 0x33)));
    ASSERT_TRUE(writeWholeFile(dir / "MAPHEAD.WL6", Bytes{0xCD, 0xAB}));
    std::string info;
    // Unreadable data: the count is left out and the exit code tells.
    EXPECT_EQ(runCli("info " + quoted(dir.path()) + " --json", &info), 1);
    EXPECT_EQ(info.find("\"maps\""), std::string::npos) << info;
    EXPECT_EQ(runCli("export " + quoted(dir.path()) + " " + quoted(dir / "x") + " --kinds maps"),
              1);
    std::string errors;
    EXPECT_EQ(runCli("compress-all " + quoted(dir.path()) + " " + quoted(dir / "y"), &errors, true),
              1);
    EXPECT_NE(errors.find("Tessarand: The map header does not point to any maps!"),
              std::string::npos)
        << errors;
    EXPECT_FALSE(fs::exists(dir / "y" / "GAMEMAPS.WL6"));
    EXPECT_EQ(runCli("compress-all " + quoted(dir.path()) + " " + quoted(dir / "z") +
                     " --carmack-mode fastest"),
              2);
}
