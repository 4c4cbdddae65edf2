#include "app/map_navigation.h"
#include "app/tessarand_dlg.h"
#include "shell_fixture.h"

#include <QAction>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct Fixture : ShellFixture {
    Fixture() : ShellFixture(/*withGameCopy*/ false) { prompter.clear(); }
    CMapNavigation& nav() { return *dialog->mapNavigation(); }
    void insert(int times = 1) {
        for (int i = 0; i < times; ++i)
            dialog->sendAppMessage(AppMessage::InsertMap);
    }
    std::string lastMessage() const {
        return prompter.prompts().empty() ? std::string() : prompter.prompts().back().text;
    }
};

} // namespace

TEST(MapCommands, EmptySetHasNoLevelNavigation) {
    Fixture f;
    EXPECT_FALSE(f.nav().prevButton()->isEnabled());
    EXPECT_FALSE(f.nav().nextButton()->isEnabled());
    EXPECT_FALSE(f.nav().gotoButton()->isEnabled());
    EXPECT_FALSE(f.dialog->state().loaded(DataKind::Maps));
    EXPECT_EQ(f.dialog->builtinLevel().plane0.size(), 4096u);
}

TEST(MapCommands, FirstInsertSelectsMapZeroAndEnablesSaving) {
    Fixture f;
    f.insert();
    EXPECT_TRUE(f.dialog->state().loaded(DataKind::Maps));
    EXPECT_TRUE(f.dialog->state().changed(DataKind::Maps));
    EXPECT_EQ(f.dialog->state().currentMap, 0);
    EXPECT_EQ(f.nav().mapNumber(), "Map 1/1");
    EXPECT_TRUE(f.dialog->commandAction(32795)->isEnabled());
    EXPECT_TRUE(f.nav().importExportButton()->isEnabled());

    // The second map goes after the current one and is selected.
    f.dialog->maps().header(0).setName("first");
    f.insert();
    EXPECT_EQ(f.dialog->state().currentMap, 1);
    EXPECT_EQ(f.nav().mapNumber(), "Map 2/2");
    EXPECT_EQ(f.dialog->maps().header(0).nameText(), "first");
    EXPECT_TRUE(f.nav().prevButton()->isEnabled());
    EXPECT_FALSE(f.nav().nextButton()->isEnabled());
    EXPECT_TRUE(f.nav().gotoButton()->isEnabled());
    EXPECT_TRUE(f.nav().deleteButton()->isEnabled());
    EXPECT_TRUE(f.prompter.empty());
}

TEST(MapCommands, TheSetHoldsAtMostFiveHundredMaps) {
    Fixture f;
    f.insert(499);
    EXPECT_TRUE(f.nav().insertButton()->isEnabled());
    f.insert(); // with 499 maps the insert goes in and turns the button off
    EXPECT_FALSE(f.nav().insertButton()->isEnabled());
    EXPECT_EQ(f.dialog->maps().highestMapIndex(), 499);
    EXPECT_TRUE(f.prompter.empty());
    f.insert();
    EXPECT_EQ(f.dialog->maps().highestMapIndex(), 499);
    ASSERT_EQ(f.prompter.prompts().size(), 1u);
    EXPECT_EQ(f.prompter.prompts()[0].title, "Tessarand");
    EXPECT_EQ(f.lastMessage(), "      WADD IS ???\n  Iwwer fünfhunnert Levels ??\n\nDU BISCHD KRANK !!!");
}

TEST(MapCommands, DeletingKeepsAtLeastOneMap) {
    Fixture f;
    f.insert(3);
    f.dialog->maps().header(1).setName("middle");
    EXPECT_EQ(f.dialog->state().currentMap, 2);
    f.dialog->sendAppMessage(AppMessage::DeleteMap); // the last map
    EXPECT_EQ(f.dialog->state().currentMap, 1);
    EXPECT_EQ(f.nav().mapName(), "middle");
    EXPECT_TRUE(f.nav().deleteButton()->isEnabled());
    f.dialog->sendAppMessage(AppMessage::DeleteMap); // two remain: delete turns off
    EXPECT_FALSE(f.nav().deleteButton()->isEnabled());
    EXPECT_EQ(f.dialog->maps().highestMapIndex(), 0);
    f.dialog->sendAppMessage(AppMessage::DeleteMap);
    EXPECT_EQ(f.dialog->maps().highestMapIndex(), 0);
    EXPECT_EQ(f.lastMessage(), "You can't use a mapeditor without maps ;)");
}

TEST(MapCommands, PrevNextGotoAndInvalidNumbers) {
    Fixture f;
    f.insert(3);
    f.dialog->runCommand(32784); // Prev
    EXPECT_EQ(f.dialog->state().currentMap, 1);
    f.dialog->runCommand(32783); // Next
    f.dialog->runCommand(32783); // already last: nothing
    EXPECT_EQ(f.dialog->state().currentMap, 2);
    f.dialog->gotoLevel("1");
    EXPECT_EQ(f.dialog->state().currentMap, 0);
    EXPECT_FALSE(f.nav().prevButton()->isEnabled());
    for (const char* bad : {"0", "", "4"}) {
        f.prompter.clear();
        f.dialog->gotoLevel(bad);
        ASSERT_EQ(f.prompter.prompts().size(), 1u) << bad;
        EXPECT_EQ(f.prompter.prompts()[0].title, "Error");
        EXPECT_EQ(f.prompter.prompts()[0].text, "This level doesn't exist!");
        EXPECT_EQ(f.dialog->state().currentMap, 0);
    }
    f.prompter.clear();
    f.dialog->SetCurrentMap(7);
    ASSERT_EQ(f.prompter.prompts().size(), 1u);
    EXPECT_EQ(f.prompter.prompts()[0].title, "CTessarandDlg::SetCurrentMap()");
    EXPECT_EQ(f.prompter.prompts()[0].text, "Invalid map number: 7");
    EXPECT_EQ(f.dialog->state().currentMap, 0);
}

TEST(StartUp, ShippedDefinitionsLoadWithoutAnyMessage) {
    for (const char* extension : {"WL1", "SOD"}) {
        ShellFixture shell(/*withGameCopy*/ false);
        shell.dialog.reset(); // it writes its settings when it goes
        ASSERT_TRUE(writeSettingsFile(shell.program / "Tessarand.ini", [&] {
            Settings settings;
            settings.lastExtension = extension;
            return settings;
        }()));
        shell.prompter.clear();
        shell.open();
        EXPECT_TRUE(shell.prompter.empty()) << extension << ": " << shell.prompter.prompts()[0].text;
        EXPECT_EQ(shell.dialog->vocabulary().wallName(1), "Grey stone 1") << extension;
        EXPECT_FALSE(shell.dialog->vocabulary().objectName(23).empty()) << extension;
    }
    // The two games differ in one palette entry; each extension brings its own.
    ShellFixture wolf(false);
    ShellFixture spear(false);
    spear.dialog.reset();
    ASSERT_TRUE(writeSettingsFile(spear.program / "Tessarand.ini", [] {
        Settings settings;
        settings.lastExtension = "SOD";
        return settings;
    }()));
    spear.open();
    EXPECT_NE(wolf.dialog->palette()[166], spear.dialog->palette()[166]);
}
