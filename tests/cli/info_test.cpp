#include "common/file_io.h"
#include "support/cli_runner.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using testdata::quoted;
using testdata::runCli;

namespace {
bool haveCli() { return fs::exists(testdata::cliBinary()); }
} // namespace

TEST(CliInfo, SharewareFolderListsItsEightFilesAndEveryCount) {
    REQUIRE_GAME_DATA();
    if (!haveCli())
        GTEST_SKIP() << "tessarand-cli is not built";
    std::string text;
    ASSERT_EQ(runCli("info " + quoted(testdata::gameDataDir()), &text), 0);
    for (const char* line : {"page files: VSWAP.WL1\n", "map data: GAMEMAPS.WL1\n",
                             "map headers: MAPHEAD.WL1\n", "VGA data: VGAGRAPH.WL1\n",
                             "VGA headers: VGAHEAD.WL1\n", "Huffman tables: VGADICT.WL1\n",
                             "audio data: AUDIOT.WL1\n", "audio headers: AUDIOHED.WL1\n",
                             "Chosen extension: WL1\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;

    ASSERT_EQ(runCli("info " + quoted(testdata::gameDataDir()) + " --json", &text), 0);
    EXPECT_NE(text.find("\"extension\":\"WL1\""), std::string::npos);
    EXPECT_NE(text.find("\"maps\":10,\"walls\":106,\"wall_side\":64,\"sprites\":436,"
                        "\"sprite_side\":64,\"sounds\":46,\"pictures\":144,\"fonts\":2,"
                        "\"tile8s\":72,\"screens\":2,\"songs\":11}"),
              std::string::npos)
        << text;
}

TEST(CliInfo, KindsThatAreMissingOrUnreadableAreLeftOut) {
    REQUIRE_GAME_DATA();
    if (!haveCli())
        GTEST_SKIP() << "tessarand-cli is not built";
    testdata::TempDir folder;
    fs::copy_file(testdata::gameDataDir() / "GAMEMAPS.WL1", folder / "GAMEMAPS.WL1");
    fs::copy_file(testdata::gameDataDir() / "MAPHEAD.WL1", folder / "MAPHEAD.WL1");
    std::string text;
    ASSERT_EQ(runCli("info " + quoted(folder.path()) + " --json", &text), 0);
    EXPECT_NE(text.find("\"maps\":10}"), std::string::npos) << text;
    EXPECT_EQ(text.find("\"walls\""), std::string::npos);
    EXPECT_EQ(text.find("\"songs\""), std::string::npos);

    // A damaged VSWAP: its counts are left out (never printed as zero) and the exit code says so.
    ASSERT_TRUE(writeWholeFile(folder / "VSWAP.WL1", Bytes(100, 0x41)));
    EXPECT_EQ(runCli("info " + quoted(folder.path()) + " --json", &text), 1);
    EXPECT_EQ(text.find("\"walls\""), std::string::npos);
    EXPECT_NE(text.find("\"maps\":10"), std::string::npos);
}

TEST(CliInfo, UsageErrorsAndMissingFolders) {
    if (!haveCli())
        GTEST_SKIP() << "tessarand-cli is not built";
    std::string text;
    EXPECT_EQ(runCli("", &text, true), 2);
    EXPECT_NE(text.find("usage:"), std::string::npos);
    EXPECT_EQ(runCli("info", nullptr), 2);
    EXPECT_EQ(runCli("frobnicate x", nullptr), 2);
    EXPECT_EQ(runCli("export /tmp --kinds bogus", nullptr), 2);
    EXPECT_EQ(runCli("info /nonexistent/folder", &text, true), 1);
    EXPECT_NE(text.find("Unable to find files in directory!"), std::string::npos);
}
