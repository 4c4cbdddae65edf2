#include "app/commands.h"
#include "app/config_page.h"
#include "app/status_panel.h"
#include "app/tessarand_dlg.h"
#include "common/file_io.h"
#include "support/test_data.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QHelpEvent>
#include <QLineEdit>
#include <QToolBar>
#include <QToolTip>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// A program folder of its own, with the shipped resources, so tests never touch the build's.
class ProgramFolder {
public:
    ProgramFolder() {
        fs::copy(testdata::resourcesDir(), m_dir.path(),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
    QString path() const { return QString::fromStdString(m_dir.path().string()); }
    fs::path operator/(const std::string& name) const { return m_dir / name; }

private:
    testdata::TempDir m_dir;
};

std::unique_ptr<CTessarandDlg> makeDialog(const ProgramFolder& folder, RecordingPrompter& prompter) {
    CTessarandDlg::Options options;
    options.programFolder = folder.path();
    options.prompter = &prompter;
    options.allowAboutOnStart = false;
    return std::make_unique<CTessarandDlg>(options);
}

std::string fileText(const fs::path& path) {
    auto data = readWholeFile(path);
    return data ? std::string(data->begin(), data->end()) : std::string();
}

} // namespace

TEST(MainDialog, CaptionToolbarAndPagesAsAUserMeetsThem) {
    ProgramFolder folder;
    RecordingPrompter prompter;
    auto dialog = makeDialog(folder, prompter);
    EXPECT_EQ(dialog->windowTitle(), "Tessarand V1.27 preRelease");
    EXPECT_TRUE(prompter.empty()) << prompter.prompts()[0].text;

    QList<int> ids;
    int separators = 0;
    for (QAction* action : dialog->mainToolbar()->actions()) {
        if (action->isSeparator())
            ++separators;
        else
            ids << action->data().toInt();
    }
    EXPECT_EQ(separators, 7);
    EXPECT_EQ(ids, (QList<int>{32806, 32794, 32791, 32795, 32797, 32798, 32793, 32792, 32907,
                                32910, 32881, 32883, 32908, 32909, 32911}));
    EXPECT_EQ(dialog->mainToolbar()->orientation(), Qt::Vertical);
    for (int id : {32794, 32795, 32798, 32792, 32883, 32910, 32909})
        EXPECT_FALSE(dialog->commandAction(id)->isEnabled()) << id;
    for (int id : {32806, 32791, 32797, 32793, 32907, 32881, 32908, 32911})
        EXPECT_TRUE(dialog->commandAction(id)->isEnabled()) << id;
    EXPECT_EQ(dialog->tooltipFor(32794), "Save all changes (only when Load All was used)");
    EXPECT_EQ(dialog->tooltipFor(32911), "Show infos about Tessarand!");

    QStringList tabs;
    for (int i = 0; i < dialog->sheet()->count(); ++i)
        tabs << dialog->sheet()->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"MapEdit", "3DEdit", "Walls", "Objects", "Floors", "Textures",
                                 "Sprites", "VGAGraph", "Audio", "Screens", "Customize"}));
    auto nestedTabs = [&](const QString& caption) {
        QStringList names;
        QTabWidget* inner = dialog->nestedSheet(caption);
        for (int i = 0; inner && i < inner->count(); ++i)
            names << inner->tabText(i);
        return names;
    };
    EXPECT_EQ(nestedTabs("VGAGraph"), (QStringList{"Graphics", "Fonts", "Tile 8s"}));
    EXPECT_EQ(nestedTabs("Audio"), (QStringList{"Sounds", "Music"}));
    EXPECT_EQ(nestedTabs("Customize"), (QStringList{"Config", "Palette", "Symbols"}));

    EXPECT_EQ(dialog->minimumSize(), QSize(640, 480));
    EXPECT_EQ(dialog->maximumSize(), QSize(800, 635));
    for (int id : {status::LeftWallName, status::RightWallName, status::LeftObjectName,
                   status::RightObjectName, status::LeftFloorName, status::RightFloorName,
                   status::CursorWallName, status::CursorObjectName})
        EXPECT_EQ(dialog->statusPanel()->text(id), "0 --- Nothing ---") << id;
}

TEST(MainDialog, SmallWindowScrollsTheWholeFaceInFiveAndFifteenPixelSteps) {
    ProgramFolder folder;
    RecordingPrompter prompter;
    auto dialog = makeDialog(folder, prompter);
    dialog->resize(640, 480);
    dialog->show();
    QScrollBar* vertical = dialog->scrollArea()->verticalScrollBar();
    EXPECT_GT(vertical->maximum(), 0);
    EXPECT_EQ(vertical->singleStep(), 5);
    EXPECT_EQ(vertical->pageStep(), 15);
    // The whole 800 × 635 face stays reachable, and no more than that.
    QWidget* viewport = dialog->scrollArea()->viewport();
    EXPECT_EQ(vertical->maximum(), 635 - viewport->height());
    EXPECT_EQ(dialog->scrollArea()->horizontalScrollBar()->maximum(), 800 - viewport->width());
    vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(vertical->value(), 5);
    vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(vertical->value(), 20);
}

TEST(MainDialog, SettingsAndExtensionsAreReadAtStartAndWrittenAtTheEnd) {
    ProgramFolder folder;
    ASSERT_TRUE(writeWholeFile(folder / "Tessarand.ini",
                               Bytes{'[', 'G', 'l', 'o', 'b', 'a', 'l', ']', '\n', 'T', 'o', 'o',
                                     'l', 't', 'i', 'p', 's', '=', '0', '\n'}));
    RecordingPrompter prompter;
    {
        auto dialog = makeDialog(folder, prompter);
        EXPECT_FALSE(dialog->state().tooltipsEnabled);
        EXPECT_EQ(dialog->tooltipFor(32806), "");
        EXPECT_EQ(dialog->state().extensions.entries.size(), 4u);
        EXPECT_EQ(dialog->state().paletteNames,
                  (std::vector<std::string>{"SpearOfDestiny", "Wolfenstein3D"}));
        dialog->state().extensions.entries.push_back({"OZ6", "Wolfenstein 3D", "Wolfenstein3D"});
    }
    std::string ini = fileText(folder / "Tessarand.ini");
    EXPECT_NE(ini.find("Tooltips=0\n"), std::string::npos);
    EXPECT_NE(ini.find("ShowAbout=0\n"), std::string::npos);
    EXPECT_NE(fileText(folder / "extensions.txt").find("OZ6,Wolfenstein 3D,Wolfenstein3D\n#\n"),
              std::string::npos);
}

TEST(MainDialog, MissingDefinitionFilesAreReportedAndStartGoesOn) {
    testdata::TempDir empty;
    RecordingPrompter prompter;
    CTessarandDlg::Options options;
    options.programFolder = QString::fromStdString(empty.path().string());
    options.prompter = &prompter;
    options.allowAboutOnStart = false;
    CTessarandDlg dialog(options);
    ASSERT_FALSE(prompter.prompts().empty());
    EXPECT_EQ(prompter.prompts().back().text, "Can't find palette!");
    EXPECT_EQ(dialog.palette(), wolfensteinPalette());
    EXPECT_EQ(dialog.sheet()->count(), 11);
}

TEST(MainDialog, HundredPalettesStopTheListWithAWarning) {
    ProgramFolder folder;
    for (int i = 0; i < 105; ++i)
        ASSERT_TRUE(writeWholeFile(folder / ("palette/P" + std::to_string(1000 + i) + ".pal"),
                                   Bytes(768, 7)));
    RecordingPrompter prompter;
    auto dialog = makeDialog(folder, prompter);
    EXPECT_EQ(dialog->state().paletteNames.size(), 100u);
    ASSERT_FALSE(prompter.empty());
    EXPECT_EQ(prompter.prompts().back().title, "Warning: Too many palettes!");
    EXPECT_EQ(prompter.prompts().back().icon, PromptIcon::Exclamation);
}

TEST(MainDialog, WideModeHidesTheStatusPanelAndWidensTheSheet) {
    ProgramFolder folder;
    RecordingPrompter prompter;
    auto dialog = makeDialog(folder, prompter);
    dialog->show();
    EXPECT_EQ(dialog->sheet()->width(), 644);
    EXPECT_EQ(dialog->sendAppMessage(AppMessage::WideMode, 1), 0);
    EXPECT_TRUE(dialog->wideMode());
    EXPECT_FALSE(dialog->statusPanel()->isVisible());
    EXPECT_EQ(dialog->sheet()->size(), QSize(740, 600));
    dialog->sendAppMessage(AppMessage::WideMode, 0);
    EXPECT_TRUE(dialog->statusPanel()->isVisible());
    EXPECT_EQ(dialog->sheet()->size(), QSize(644, 600));
}

TEST(MainDialog, CursorAndPenMessagesUpdateTheStatusPanel) {
    ProgramFolder folder;
    RecordingPrompter prompter;
    auto dialog = makeDialog(folder, prompter);
    CellReport cursor{3, 4, 0, 0};
    dialog->sendAppMessage(AppMessage::CursorMoved, 0, &cursor);
    EXPECT_EQ(dialog->statusPanel()->text(status::CursorPosition), "X: 3  Y: 4    ");

    struct Case {
        uint16_t mode;
        MapEditMode editMode;
        bool left;
        PenPair expected;
    };
    const Case cases[] = {
        {1, MapEditMode::Objects, true, {7, 0, 0}},
        {2, MapEditMode::Walls, false, {0, 40, 0}},
        {3, MapEditMode::Walls, true, {0, 0, 7}},
        {0, MapEditMode::Objects, true, {0, 40, 0}},
        {0, MapEditMode::Floors, false, {0, 0, 7}},
    };
    for (const Case& c : cases) {
        auto fresh = makeDialog(folder, prompter);
        fresh->setEditMode(c.editMode);
        CellReport pick{c.mode, 0, 40, 7};
        fresh->sendAppMessage(AppMessage::PenChanged, c.left ? 1 : 2, &pick);
        PenPair pen = fresh->pen(c.left);
        EXPECT_EQ(pen.wall, c.expected.wall) << c.mode;
        EXPECT_EQ(pen.object, c.expected.object) << c.mode;
        EXPECT_EQ(pen.floor, c.expected.floor) << c.mode;
    }

    prompter.clear();
    CellReport bad{9, 0, 1, 1};
    dialog->sendAppMessage(AppMessage::PenChanged, 1, &bad);
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].title, "Tessarand");
    EXPECT_EQ(prompter.prompts()[0].text, "Error 28:OnPenChanged");
}

TEST(MainDialog, ClosingWithUnsavedChanges) {
    ProgramFolder folder;
    struct Case {
        PromptAnswer answer;
        bool closes;
    };
    for (Case c : {Case{PromptAnswer::Cancel, false}, Case{PromptAnswer::No, true},
                   Case{PromptAnswer::Yes, false}}) {
        RecordingPrompter prompter;
        auto dialog = makeDialog(folder, prompter);
        dialog->setChanged(DataKind::Screens, true);
        prompter.script(c.answer);
        QCloseEvent event;
        QCoreApplication::sendEvent(dialog.get(), &event);
        EXPECT_EQ(event.isAccepted(), c.closes);
        ASSERT_EQ(prompter.prompts().size(), 1u);
        EXPECT_EQ(prompter.prompts()[0].title, "Changes unsaved!");
        EXPECT_EQ(prompter.prompts()[0].text, "Do you want to save your changes ?");
        EXPECT_EQ(prompter.prompts()[0].buttons, PromptButtons::YesNoCancel);
        EXPECT_TRUE(dialog->state().changed(DataKind::Screens));
    }
    RecordingPrompter quiet;
    auto saved = makeDialog(folder, quiet);
    QCloseEvent event;
    QCoreApplication::sendEvent(saved.get(), &event);
    EXPECT_TRUE(event.isAccepted());
    EXPECT_TRUE(quiet.empty());
}

TEST(MainDialog, SaveAllFollowsLoadAllAndTheChangedFlags) {
    ProgramFolder folder;
    RecordingPrompter prompter;
    auto dialog = makeDialog(folder, prompter);
    dialog->setChanged(DataKind::Fonts, true);
    EXPECT_FALSE(dialog->commandAction(command::SaveAll)->isEnabled());
    dialog->state().loadAllUsed = true;
    dialog->setChanged(DataKind::Tile8s, true);
    EXPECT_TRUE(dialog->commandAction(command::SaveAll)->isEnabled());
    dialog->setChanged(DataKind::Fonts, false);
    dialog->setChanged(DataKind::Tile8s, false);
    EXPECT_FALSE(dialog->commandAction(command::SaveAll)->isEnabled());
    dialog->setLocked(DataKind::Walls, true);
    dialog->setChanged(DataKind::Walls, true);
    EXPECT_FALSE(dialog->state().changed(DataKind::Walls));
}

TEST(MainDialog, SwitchedOffTooltipsStaySilentOnThePagesToo) {
    ProgramFolder folder;
    RecordingPrompter prompter;
    auto dialog = makeDialog(folder, prompter);
    dialog->show();
    dialog->sheet()->setCurrentIndex(10);
    QWidget* control = dialog->configPage()->rlewEdit();
    auto tooltipShown = [&] {
        QHelpEvent event(QEvent::ToolTip, QPoint(1, 1), control->mapToGlobal(QPoint(1, 1)));
        QCoreApplication::sendEvent(control, &event);
        return QToolTip::isVisible() && QToolTip::text() == "Edit RLEW-Tag";
    };
    // Hiding a tooltip takes a moment, so the silent case comes first.
    dialog->state().tooltipsEnabled = false;
    EXPECT_FALSE(tooltipShown());
    dialog->state().tooltipsEnabled = true;
    EXPECT_TRUE(tooltipShown());
}
