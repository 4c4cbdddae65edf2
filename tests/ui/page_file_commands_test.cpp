#include "app/status_panel.h"
#include "common/file_io.h"
#include "shell_fixture.h"

#include <QAction>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

struct Shell : ShellFixture {
    Shell() { prompter.clear(); }
    QString vswap() const { return file("VSWAP.WL1"); }
};

} // namespace

TEST(PageFileCommands, LoadedWallsAndSpritesAppearInTheStatusPanel) {
    REQUIRE_GAME_DATA();
    Shell shell;
    CellReport wall{1, 0, 0, 1};
    shell.dialog->sendAppMessage(AppMessage::PenChanged, 1, &wall);
    EXPECT_TRUE(shell.dialog->statusPanel()->picture(status::LeftWallPicture).isNull());

    ASSERT_TRUE(shell.dialog->LoadTextures(shell.vswap()));
    ASSERT_TRUE(shell.dialog->LoadSprites(shell.vswap()));
    ASSERT_TRUE(shell.dialog->LoadSounds(shell.vswap()));
    EXPECT_TRUE(shell.prompter.empty()) << shell.prompter.prompts()[0].text;
    for (int saveCommand : {32798, 32792, 32883})
        EXPECT_TRUE(shell.dialog->commandAction(saveCommand)->isEnabled()) << saveCommand;
    EXPECT_EQ(shell.dialog->pageFile().walls.count(), 106u);
    EXPECT_EQ(shell.dialog->pageFile().sprites.count(), 436u);

    QImage wallPicture = shell.dialog->statusPanel()->picture(status::LeftWallPicture);
    ASSERT_FALSE(wallPicture.isNull());
    EXPECT_EQ(wallPicture.size(), QSize(64, 64));

    CellReport barrel{2, 0, 58, 0}; // a static object with a sprite of its own
    shell.dialog->sendAppMessage(AppMessage::PenChanged, 2, &barrel);
    EXPECT_FALSE(shell.dialog->statusPanel()->picture(status::RightSpritePicture).isNull());
    EXPECT_EQ(shell.dialog->statusPanel()->text(status::RightObjectName).left(3), "58 ");
}

TEST(PageFileCommands, SavingSpritesKeepsABackupAndClearsTheFlag) {
    REQUIRE_GAME_DATA();
    Shell shell;
    ASSERT_TRUE(shell.dialog->LoadSprites(shell.vswap()));
    Bytes original = *readWholeFile(shell.game / "VSWAP.WL1");
    shell.dialog->setChanged(DataKind::Sprites, true);
    shell.dialog->setLocked(DataKind::Sprites, true);
    ASSERT_TRUE(shell.dialog->SaveSprites(shell.vswap()));
    EXPECT_FALSE(shell.dialog->state().changed(DataKind::Sprites));
    EXPECT_FALSE(shell.dialog->state().locked(DataKind::Sprites));
    EXPECT_EQ(*readWholeFile(shell.game / "VSWAP.WL1.bak"), original);
    ASSERT_TRUE(shell.dialog->LoadSprites(shell.vswap()));
    EXPECT_EQ(shell.dialog->pageFile().sprites.count(), 436u);
}

TEST(PageFileCommands, UnreadableFileSaysSoAndKeepsWhatWasLoaded) {
    REQUIRE_GAME_DATA();
    Shell shell;
    ASSERT_TRUE(shell.dialog->LoadTextures(shell.vswap()));
    ASSERT_TRUE(writeWholeFile(shell.game / "VSWAP.BAD", Bytes(20, 0xFF)));
    EXPECT_FALSE(shell.dialog->LoadTextures(QString::fromStdString((shell.game / "VSWAP.BAD").string())));
    EXPECT_FALSE(shell.prompter.empty());
    EXPECT_EQ(shell.dialog->pageFile().walls.count(), 106u);
    EXPECT_FALSE(shell.dialog->LoadSprites(QString::fromStdString((shell.game / "NONE.WL1").string())));
    EXPECT_EQ(shell.prompter.prompts().back().title, "CTessarandDlg::LoadSprites(): Cannot open file:");
}
