#include "app/commands.h"
#include "app/tessarand_dlg.h"
#include "app/text_screen_preview.h"
#include "common/file_io.h"
#include "shell_fixture.h"

#include <QAction>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

struct Shell : ShellFixture {
    Shell() { prompter.clear(); }
};

} // namespace

TEST(VgaCommands, SaveEntriesFollowWhatIsLoaded) {
    REQUIRE_GAME_DATA();
    Shell shell;
    EXPECT_FALSE(shell.dialog->commandAction(command::SaveVgaGraph)->isEnabled());
    for (auto [id, enabled] : shell.dialog->vgaSaveMenuState())
        EXPECT_FALSE(enabled) << id;

    ASSERT_TRUE(shell.dialog->LoadVgaParts(VgaLoadKind::Fonts, shell.file("VGAGRAPH.WL1")));
    EXPECT_TRUE(shell.prompter.empty()) << shell.prompter.prompts()[0].text;
    EXPECT_TRUE(shell.dialog->commandAction(command::SaveVgaGraph)->isEnabled());
    QList<QPair<int, bool>> expected = {{108, true}, {32873, false}, {32893, true},
                                        {32875, false}, {109, false}};
    EXPECT_EQ(shell.dialog->vgaSaveMenuState(), expected);
    EXPECT_EQ(shell.dialog->graphics().fonts().size(), 2u);
}

TEST(VgaCommands, CompleteLoadAndSaveKeepTheGraphics) {
    REQUIRE_GAME_DATA();
    Shell shell;
    ASSERT_TRUE(shell.dialog->LoadVgaParts(VgaLoadKind::Complete, shell.file("VGAGRAPH.WL1")));
    EXPECT_TRUE(shell.dialog->state().loaded(DataKind::Graphics));
    EXPECT_TRUE(shell.dialog->state().loaded(DataKind::Screens));
    EXPECT_EQ(shell.dialog->graphics().screens().size(), 2u);
    shell.dialog->setChanged(DataKind::Fonts, true);
    ASSERT_TRUE(shell.dialog->SaveVgaParts(command::SaveVgaAll, shell.file("VGAGRAPH.WL1")));
    EXPECT_FALSE(shell.dialog->state().changed(DataKind::Fonts));
    EXPECT_TRUE(fs::exists(shell.game / "VGAGRAPH.WL1.bak"));
    ASSERT_TRUE(shell.dialog->LoadVgaParts(VgaLoadKind::Complete, shell.file("VGAGRAPH.WL1")));
    EXPECT_EQ(shell.dialog->graphics().pictures().pictures.size(), 144u);
}

TEST(VgaCommands, MissingDictionaryAsksForItAndStopsWhenCancelled) {
    REQUIRE_GAME_DATA();
    Shell shell;
    fs::remove(shell.game / "VGADICT.WL1");
    int asked = 0;
    shell.dialog->setFileChooser([&](int, const QString&) {
        ++asked;
        return QString();
    });
    EXPECT_FALSE(shell.dialog->LoadVgaParts(VgaLoadKind::Complete, shell.file("VGAGRAPH.WL1")));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(shell.dialog->state().loaded(DataKind::Graphics));
}

TEST(MusicCommand, LoadsTheElevenSongsAndReportsMissingFiles) {
    REQUIRE_GAME_DATA();
    Shell shell;
    ASSERT_TRUE(shell.dialog->LoadMusicFile(shell.file("AUDIOT.WL1")));
    EXPECT_EQ(shell.dialog->music().songCount(), 11u);
    EXPECT_TRUE(shell.dialog->state().loaded(DataKind::Music));
    EXPECT_FALSE(shell.dialog->commandAction(command::SaveMusic)->isEnabled());

    fs::remove(shell.game / "AUDIOHED.WL1");
    EXPECT_FALSE(shell.dialog->LoadMusicFile(shell.file("AUDIOT.WL1")));
    EXPECT_FALSE(shell.dialog->state().loaded(DataKind::Music));
    ASSERT_FALSE(shell.prompter.empty());
    EXPECT_EQ(shell.prompter.prompts().back().title,
              "CTessarandDlg::OnLoadMusic(): Unable to open audio head file:");
}

TEST(ScreensPage, ShowsTheBuiltInScreenUntilScreensAreLoaded) {
    REQUIRE_GAME_DATA();
    Shell shell;
    ASSERT_EQ(shell.dialog->builtinTextScreen().size(), 4000u);
    EXPECT_EQ(shell.dialog->screenPreview()->cells(), shell.dialog->builtinTextScreen());
    ASSERT_TRUE(shell.dialog->LoadVgaParts(VgaLoadKind::Screens, shell.file("VGAGRAPH.WL1")));
    auto first = shell.dialog->graphics().screens().front().cells();
    EXPECT_EQ(shell.dialog->screenPreview()->cells(), std::vector<uint8_t>(first.begin(), first.end()));
}
