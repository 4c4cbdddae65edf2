#include "app/config_page.h"
#include "app/map_navigation.h"
#include "app/tessarand_dlg.h"
#include "common/file_io.h"
#include "shell_fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QToolButton>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

struct ShellWithGame : ShellFixture {
    ShellWithGame() { prompter.clear(); }
};

} // namespace

TEST(MapFiles, LoadingTheSharewareMapsShowsMapOneAndAppliesTheExtension) {
    REQUIRE_GAME_DATA();
    ShellWithGame shell;
    shell.dialog->settings().lastExtension = "WL6";
    ASSERT_EQ(shell.dialog->LoadMaps(shell.gameFile("GAMEMAPS.WL1"), std::nullopt), 1);
    EXPECT_TRUE(shell.prompter.empty()) << shell.prompter.prompts()[0].text;
    MapSet& maps = shell.dialog->maps();
    EXPECT_EQ(maps.mapCount(), 10);
    EXPECT_EQ(shell.dialog->mapNavigation()->mapName(), "Wolf1 Map1");
    EXPECT_EQ(shell.dialog->mapNavigation()->mapNumber(), "Map 1/10");
    EXPECT_TRUE(shell.dialog->state().loaded(DataKind::Maps));
    EXPECT_FALSE(shell.dialog->state().changed(DataKind::Maps));
    EXPECT_TRUE(shell.dialog->commandAction(32795)->isEnabled());
    EXPECT_TRUE(shell.dialog->mapNavigation()->nextButton()->isEnabled());
    EXPECT_EQ(shell.dialog->settings().lastExtension, "WL1");
    EXPECT_EQ(shell.dialog->settings().stdPath, shell.game.path().string());
    EXPECT_EQ(shell.dialog->configPage()->rlewEdit()->text(), "ABCD");
    EXPECT_GT(shell.dialog->state().lastFileOperationMs, 0u);
}

TEST(MapFiles, SaveKeepsOneBackupAndReloadsTheSameMaps) {
    REQUIRE_GAME_DATA();
    ShellWithGame shell;
    ASSERT_EQ(shell.dialog->LoadMaps(shell.gameFile("GAMEMAPS.WL1"), std::nullopt), 1);
    shell.dialog->maps().plane(3, 0)[100] = 2;
    shell.dialog->setChanged(DataKind::Maps, true);
    ASSERT_EQ(shell.dialog->SaveMaps(shell.gameFile("GAMEMAPS.WL1"), std::nullopt), 1);
    EXPECT_FALSE(shell.dialog->state().changed(DataKind::Maps));
    EXPECT_TRUE(fs::exists(shell.game / "GAMEMAPS.WL1.bak"));
    EXPECT_TRUE(fs::exists(shell.game / "MAPHEAD.WL1.bak"));
    EXPECT_FALSE(fs::exists(shell.game / "GAMEMAPS.WL1.tmp"));

    std::vector<uint16_t> before(shell.dialog->maps().plane(3, 0).begin(),
                                 shell.dialog->maps().plane(3, 0).end());
    ASSERT_EQ(shell.dialog->LoadMaps(shell.gameFile("GAMEMAPS.WL1"), std::nullopt), 1);
    std::vector<uint16_t> after(shell.dialog->maps().plane(3, 0).begin(),
                                shell.dialog->maps().plane(3, 0).end());
    EXPECT_EQ(after, before);
    EXPECT_EQ(after[100], 2);
}

TEST(MapFiles, MissingMapheadIsRestoredWhenTheUserSaysYes) {
    REQUIRE_GAME_DATA();
    ShellWithGame shell;
    fs::remove(shell.game / "MAPHEAD.WL1");
    // No MAPHEAD beside the file: the shell offers its open dialog, the user cancels it.
    shell.dialog->setFileChooser([](int, const QString&) { return QString(); });
    shell.prompter.script(PromptAnswer::Yes);
    ASSERT_EQ(shell.dialog->LoadMaps(shell.gameFile("GAMEMAPS.WL1"), std::nullopt), 1);
    ASSERT_FALSE(shell.prompter.prompts().empty());
    EXPECT_EQ(shell.prompter.prompts()[0].text, "Should I try to restore the maphead-file ?");
    EXPECT_EQ(shell.dialog->maps().mapCount(), 10);
    EXPECT_EQ(shell.dialog->maps().header(9).nameText(), "Wolf1 Secret");
}

TEST(MapFiles, MissingMapsFileSaysCannotOpenAndKeepsTheMaps) {
    REQUIRE_GAME_DATA();
    ShellWithGame shell;
    ASSERT_EQ(shell.dialog->LoadMaps(shell.gameFile("GAMEMAPS.WL1"), std::nullopt), 1);
    EXPECT_EQ(shell.dialog->LoadMaps(shell.gameFile("GAMEMAPS.WL9"), std::nullopt), 0);
    ASSERT_FALSE(shell.prompter.prompts().empty());
    EXPECT_EQ(shell.prompter.prompts()[0].title, "Cannot Open");
    EXPECT_EQ(shell.dialog->maps().mapCount(), 10);
}

TEST(MapFiles, ExportAndImportMoveALevelWithItsName) {
    REQUIRE_GAME_DATA();
    ShellWithGame shell;
    ASSERT_EQ(shell.dialog->LoadMaps(shell.gameFile("GAMEMAPS.WL1"), std::nullopt), 1);
    shell.dialog->SetCurrentMap(2);
    QString file = QString::fromStdString((shell.game / "level3.MAP").string());
    shell.dialog->ExportMap(file);
    EXPECT_EQ(fs::file_size(shell.game / "level3.MAP"), 16418u);
    std::vector<uint16_t> level3(shell.dialog->maps().plane(2, 0).begin(),
                                 shell.dialog->maps().plane(2, 0).end());
    shell.dialog->SetCurrentMap(5);
    shell.dialog->ImportMap(file);
    EXPECT_TRUE(shell.dialog->state().changed(DataKind::Maps));
    EXPECT_EQ(shell.dialog->mapNavigation()->mapName(), "Wolf1 Map3");
    EXPECT_EQ(std::vector<uint16_t>(shell.dialog->maps().plane(5, 0).begin(),
                                    shell.dialog->maps().plane(5, 0).end()),
              level3);
}

TEST(MapFiles, SingleKindLoadEndsTheLoadAllSession) {
    REQUIRE_GAME_DATA();
    ShellWithGame shell;
    shell.dialog->state().loadAllUsed = true;
    shell.dialog->setChanged(DataKind::Fonts, true);
    ASSERT_TRUE(shell.dialog->commandAction(32794)->isEnabled());
    shell.dialog->LoadMaps(shell.gameFile("GAMEMAPS.WL1"), std::nullopt);
    EXPECT_FALSE(shell.dialog->state().loadAllUsed);
    EXPECT_FALSE(shell.dialog->commandAction(32794)->isEnabled());
}
