#include "app/commands.h"
#include "app/load_all_dialog.h"
#include "shell_fixture.h"

#include <QAction>
#include <QComboBox>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(LoadAllDialog, PresetsTheExtensionWithTheMostFilesAndItsFiles) {
    FolderScan scan = sortFileNames({"GFXTILES.WL6", "VSWAP.SOD", "MAPHEAD.SOD", "GAMEMAPS.SOD"});
    CLoadAllDlg dialog(scan, "/games", "WL6");
    EXPECT_EQ(dialog.windowTitle(), "Load All");
    EXPECT_EQ(dialog.extensionList()->currentText(), "SOD");
    LoadAllSelection selection = dialog.selection();
    ASSERT_TRUE(selection.walls && selection.mapData && selection.mapHeader);
    EXPECT_EQ(selection.walls->fileName(), "VSWAP.SOD");
    EXPECT_FALSE(selection.vgaGraph);

    // Picking WL6 selects GFXTILES for all three page-file lists, and nothing where WL6 has no file.
    dialog.extensionList()->setCurrentText("WL6");
    for (int id : {1097, 1098, 1287})
        EXPECT_EQ(dialog.selectedName(id), "GFXTILES.WL6") << id;
    EXPECT_EQ(dialog.selectedName(1281), "");
    EXPECT_FALSE(dialog.selection().mapData);
}

TEST(LoadAll, LoadsEveryKindAndSaveAllWritesOnlyWhatChanged) {
    REQUIRE_GAME_DATA();
    ShellFixture shell;
    std::optional<FolderScan> scan = scanFolder(shell.game.path());
    ASSERT_TRUE(scan);
    CLoadAllDlg dialog(*scan, QString::fromStdString(shell.game.path().string()), "WL6");
    shell.prompter.clear();
    shell.dialog->LoadAllFiles(dialog.selection(), /*compressAll*/ false);
    EXPECT_TRUE(shell.prompter.empty()) << shell.prompter.prompts()[0].text;
    for (DataKind kind : {DataKind::Maps, DataKind::Walls, DataKind::Sprites, DataKind::Sounds,
                          DataKind::Graphics, DataKind::Fonts, DataKind::Tile8s, DataKind::Screens,
                          DataKind::Music})
        EXPECT_TRUE(shell.dialog->state().loaded(kind)) << int(kind);
    EXPECT_TRUE(shell.dialog->state().loadAllUsed);
    QAction* saveAll = shell.dialog->commandAction(command::SaveAll);
    EXPECT_FALSE(saveAll->isEnabled());

    shell.dialog->maps().plane(0, 0)[70] = 3;
    shell.dialog->setChanged(DataKind::Maps, true);
    EXPECT_TRUE(saveAll->isEnabled());
    shell.dialog->runCommand(command::SaveAll);
    EXPECT_FALSE(shell.dialog->state().changed(DataKind::Maps));
    EXPECT_FALSE(saveAll->isEnabled());
    EXPECT_TRUE(fs::exists(shell.game / "GAMEMAPS.WL1.bak"));
    EXPECT_FALSE(fs::exists(shell.game / "VSWAP.WL1.bak"));
    EXPECT_FALSE(fs::exists(shell.game / "VGAGRAPH.WL1.bak"));

    // Loading one kind on its own ends the Load All session.
    shell.dialog->LoadMusicFile(shell.file("AUDIOT.WL1"));
    shell.dialog->setChanged(DataKind::Maps, true);
    EXPECT_FALSE(saveAll->isEnabled());
}

TEST(LoadAll, CompressAllRewritesEveryKindButMusic) {
    REQUIRE_GAME_DATA();
    ShellFixture shell;
    LoadAllSelection selection =
        selectFilesForExtension(*scanFolder(shell.game.path()), shell.game.path().string(), "WL1");
    shell.prompter.clear();
    shell.dialog->LoadAllFiles(selection, /*compressAll*/ true);
    EXPECT_TRUE(shell.prompter.empty()) << shell.prompter.prompts()[0].text;
    for (const char* name : {"GAMEMAPS.WL1.bak", "MAPHEAD.WL1.bak", "VSWAP.WL1.bak",
                             "VGAGRAPH.WL1.bak", "VGAHEAD.WL1.bak"})
        EXPECT_TRUE(fs::exists(shell.game / name)) << name;
    EXPECT_FALSE(fs::exists(shell.game / "AUDIOT.WL1.bak"));
    // What was written loads again to the same content.
    std::vector<uint16_t> before(shell.dialog->maps().plane(4, 1).begin(),
                                 shell.dialog->maps().plane(4, 1).end());
    shell.dialog->LoadAllFiles(selection, false);
    EXPECT_EQ(std::vector<uint16_t>(shell.dialog->maps().plane(4, 1).begin(),
                                    shell.dialog->maps().plane(4, 1).end()),
              before);
    EXPECT_EQ(shell.dialog->pageFile().sprites.count(), 436u);
    EXPECT_EQ(shell.dialog->graphics().pictures().pictures.size(), 144u);
}
