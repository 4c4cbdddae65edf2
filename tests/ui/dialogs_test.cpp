#include "app/config_page.h"
#include "app/file_dialogs.h"
#include "app/goto_level_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

TEST(FileDialogs, FiltersKeepTheirDescriptionsAndMatchAnyCase) {
    QStringList filters = qtNameFilters(fileDialogSpec(GameFileDialog::LoadMaps).filter);
    ASSERT_EQ(filters.size(), 8);
    EXPECT_EQ(filters[0], "All GAMEMAPS/MAPTEMP files ([gG][aA][mM][eE][mM][aA][pP][sS].* "
                          "[mM][aA][pP][tT][eE][mM][pP].*)");
    EXPECT_TRUE(filters[3].startsWith("Wolf3D (*.WL6) (*.[wW][lL]6)"));
    EXPECT_EQ(filters.last(), "All files (*.*) (*)");
    EXPECT_EQ(caseInsensitivePattern("VSWAP.*"), "[vV][sS][wW][aA][pP].*");
}

TEST(FileDialogs, TitlesAndDefaultNames) {
    struct Case {
        GameFileDialog kind;
        const char* title;
        const char* defaultName;
        bool save;
    };
    const Case cases[] = {
        {GameFileDialog::LoadMaps, "Load maps...", "GAMEMAPS.*;MAPTEMP.*", false},
        {GameFileDialog::SaveMaps, "Save maps...", "", true},
        {GameFileDialog::LoadWalls, "Load textures...", "VSWAP.*;GFXTILES.*", false},
        {GameFileDialog::SaveSprites, "Save sprites...", "", true},
        {GameFileDialog::LoadSounds, "Load sounds...", "VSWAP.*", false},
        {GameFileDialog::LoadMusic, "Load music...", "AUDIOT.*", false},
        {GameFileDialog::LoadCompleteVgaGraph, "Load complete VGAGRAPH...", "VGAGRAPH.*", false},
        {GameFileDialog::SaveScreens, "Save screens...", "", true},
    };
    for (const Case& c : cases) {
        FileDialogSpec spec = fileDialogSpec(c.kind);
        EXPECT_EQ(spec.title, c.title);
        EXPECT_EQ(spec.defaultName, c.defaultName);
        EXPECT_EQ(spec.save, c.save);
    }
    EXPECT_TRUE(fileDialogSpec(GameFileDialog::SaveSprites).filter.startsWith("All VSWAP files (VSWAP.*)|"));
    EXPECT_TRUE(fileDialogSpec(GameFileDialog::SaveWalls).filter.startsWith("All VSWAP/GFXTILES files|"));
}

TEST(GotoLevel, OnlyExistingLevelsAreSelected) {
    struct Case {
        const char* text;
        int highest;
        int expected;
    };
    for (Case c : {Case{"1", 9, 0}, Case{"10", 9, 9}, Case{"11", 9, -1}, Case{"0", 9, -1},
                   Case{"", 9, -1}, Case{"abc", 9, -1}, Case{"3x", 9, 2}, Case{"1", -1, -1}})
        EXPECT_EQ(mapIndexForLevelText(c.text, c.highest), c.expected) << c.text;
    CGotoLevelDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "Goto Level");
    EXPECT_EQ(dialog.levelEdit()->maxLength(), 4);
}

namespace {
struct ConfigFixture {
    Settings settings;
    DocumentState state;
    RecordingPrompter prompter;
    ConfigFixture() {
        state.extensions.entries = {{"WL6", "Wolfenstein 3D", "Wolfenstein3D"},
                                    {"SOD", "Spear of Destiny", "SpearOfDestiny"}};
        state.mapObjectFolders = {"Spear of Destiny", "Wolfenstein 3D"};
        state.paletteNames = {"SpearOfDestiny", "Wolfenstein3D"};
    }
};
} // namespace

TEST(ConfigPage, ShowsTheSettingsAndTakesThemOver) {
    ConfigFixture f;
    f.settings.carmackMode = CarmackMode::BestResult;
    f.settings.rlewTag = 0x1234;
    CPropConfig page(f.settings, f.state, f.prompter);
    EXPECT_EQ(page.windowTitle(), "Config");
    EXPECT_EQ(page.carmackModeGroup()->checkedId(), 1);
    EXPECT_EQ(page.rlewEdit()->text(), "1234");
    EXPECT_EQ(page.wheelCombo()->itemText(0), "1 Page");
    EXPECT_EQ(page.wheelCombo()->itemText(4), "5 Pages");
    EXPECT_FALSE(page.spriteCompressionGroup()->button(2)->isEnabled());
    EXPECT_EQ(page.extensionList()->rowCount(), 3); // two entries and the empty row

    page.defaultsButton()->click();
    page.wheelCombo()->setCurrentIndex(2);
    EXPECT_TRUE(page.hasPendingChanges());
    page.takeOverSettings();
    EXPECT_EQ(f.settings.rlewTag, 0xABCD);
    EXPECT_EQ(f.settings.farTag, 0xA8);
    EXPECT_EQ(f.settings.nearTag, 0xA7);
    EXPECT_EQ(f.state.wheelStep, 40);
    EXPECT_EQ(f.state.extensions.entries.size(), 2u);
    EXPECT_FALSE(page.hasPendingChanges());
}

TEST(ConfigPage, ExtensionsAreUpperCasedAndAnEmptyRowAlwaysFollows) {
    ConfigFixture f;
    CPropConfig page(f.settings, f.state, f.prompter);
    QTableWidget* list = page.extensionList();
    list->item(2, 0)->setText("oz6");
    EXPECT_EQ(list->item(2, 0)->text(), "OZ6");
    EXPECT_EQ(list->rowCount(), 4);
    page.takeOverSettings();
    ASSERT_EQ(f.state.extensions.entries.size(), 3u);
    EXPECT_EQ(f.state.extensions.entries[2].extension, "OZ6");
    EXPECT_EQ(f.state.extensions.entries[2].mapObjectFolder, " N/A");
}

TEST(ConfigPage, EmptyingAnExtensionAsksBeforeDeleting) {
    ConfigFixture f;
    CPropConfig page(f.settings, f.state, f.prompter);
    QTableWidget* list = page.extensionList();
    f.prompter.script(PromptAnswer::No);
    list->item(0, 0)->setText("");
    EXPECT_EQ(list->item(0, 0)->text(), "WL6");
    EXPECT_EQ(list->rowCount(), 3);
    f.prompter.script(PromptAnswer::Yes);
    list->item(0, 0)->setText("");
    EXPECT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->item(0, 0)->text(), "SOD");
    ASSERT_EQ(f.prompter.prompts().size(), 2u);
    EXPECT_EQ(f.prompter.prompts()[0].text, "Do you really want to delete this extension ??");
    EXPECT_EQ(f.prompter.prompts()[0].title, "Tessarand");
    // The empty last row is never a candidate for deletion.
    list->item(1, 0)->setText("");
    EXPECT_EQ(f.prompter.prompts().size(), 2u);
    EXPECT_EQ(list->rowCount(), 2);
}

TEST(ConfigPage, ApplyingARowLoadsItsFolderAndPaletteAndSetsLastExtension) {
    ConfigFixture f;
    CPropConfig page(f.settings, f.state, f.prompter);
    QStringList folders, palettes;
    QObject::connect(&page, &CPropConfig::mapObjectsChosen, [&](const QString& s) { folders << s; });
    QObject::connect(&page, &CPropConfig::paletteChosen, [&](const QString& s) { palettes << s; });
    EXPECT_TRUE(page.selectExtension("sod"));
    EXPECT_EQ(folders, QStringList{"Spear of Destiny"});
    EXPECT_EQ(palettes, QStringList{"SpearOfDestiny"});
    EXPECT_EQ(f.settings.lastExtension, "SOD");
    auto* paletteChoice = qobject_cast<QComboBox*>(page.extensionList()->cellWidget(0, 2));
    paletteChoice->setCurrentIndex(0); // " No Change"
    page.applyExtensionRow(0);
    EXPECT_EQ(palettes.size(), 1);
    EXPECT_EQ(folders.size(), 2);
    EXPECT_FALSE(page.selectExtension("XYZ"));
}
