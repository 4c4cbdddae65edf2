#include "app/tessarand_dlg.h"

#include "app/about_dialog.h"
#include "app/commands.h"
#include "app/config_page.h"
#include "app/extensions.h"
#include "app/program_info.h"
#include "app/file_dialogs.h"
#include "app/goto_level_dialog.h"
#include "app/map_navigation.h"
#include "app/map_preview.h"
#include "app/text_screen_preview.h"
#include "level/level_symbol_render.h"
#include "image/palette_files.h"
#include "level/map_objects.h"
#include "app/progress_dialog.h"
#include "app/qt_prompter.h"
#include "app/status_panel.h"
#include "app/status_texts.h"
#include "app/toolbar_icons.h"

#include <QAction>
#include <QApplication>
#include <cstring>
#include <utility>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QHelpEvent>
#include <QTimer>
#include <QToolTip>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

CTessarandDlg* g_mainDialog = nullptr;

constexpr int kFaceWidth = 800;
constexpr int kFaceHeight = 635;
constexpr QSize kMinimumSize(640, 480);
constexpr QSize kMaximumSize(kFaceWidth, kFaceHeight);
constexpr QRect kSheetNormal(45, 5, 644, 600);
constexpr QRect kSheetWide(45, 5, 740, 600);
constexpr QRect kStatusPanel(697, 5, 103, 600);

// The dialog's face: everything scrolls together when the window is smaller than the face.
// In wide mode it draws the sunken frame around the area right of the sheet.
class CDialogFace : public QWidget {
public:
    CDialogFace(const bool& wide, QWidget* parent) : QWidget(parent), m_wide(wide) {
        setFixedSize(kFaceWidth, kFaceHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!m_wide)
            return;
        QPainter painter(this);
        const QRect frame(QPoint(666, 25), QPoint(785, 592));
        const QPalette& colours = palette();
        painter.setPen(colours.color(QPalette::Dark));
        painter.drawLine(frame.topLeft(), frame.topRight());
        painter.drawLine(frame.topLeft(), frame.bottomLeft());
        painter.setPen(colours.color(QPalette::Light));
        painter.drawLine(frame.bottomLeft(), frame.bottomRight());
        painter.drawLine(frame.topRight(), frame.bottomRight());
    }

private:
    const bool& m_wide;
};

QWidget* placeholderPage(const QString& caption) {
    auto* page = new QWidget;
    page->setObjectName(caption);
    auto* layout = new QVBoxLayout(page);
    auto* label = new QLabel(QString("%1\n\nThis page is not available in this version yet.").arg(caption), page);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    return page;
}

// Scrolls in steps of 5 pixels per line and 15 per page, whatever the window size.
class CFaceScroller : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

protected:
    // The scroll area sets its own steps whenever it lays itself out.
    void resizeEvent(QResizeEvent* event) override {
        QScrollArea::resizeEvent(event);
        keepSteps();
    }
    bool event(QEvent* event) override {
        bool handled = QScrollArea::event(event);
        if (event->type() == QEvent::LayoutRequest)
            keepSteps();
        return handled;
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        bool handled = QScrollArea::eventFilter(watched, event);
        keepSteps();
        return handled;
    }

private:
    void keepSteps() {
        for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
            bar->setSingleStep(5);
            bar->setPageStep(15);
        }
    }
};

} // namespace

CTessarandDlg* CTessarandDlg::instance() { return g_mainDialog; }

CTessarandDlg::CTessarandDlg(const Options& options, QWidget* parent) : QWidget(parent) {
    // 1. Caption and the process-wide pointer.
    g_mainDialog = this;
    setWindowTitle(QString("Tessarand V%1.%2 preRelease").arg(kVersionMajor).arg(kVersionMinor));
    m_allowAboutOnStart = options.allowAboutOnStart;
    if (options.prompter) {
        m_prompter = options.prompter;
    } else {
        m_ownPrompter = std::make_unique<QtPrompter>(this);
        m_prompter = m_ownPrompter.get();
    }
    m_palette = wolfensteinPalette();

    m_scroll = new CFaceScroller(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_content = new CDialogFace(m_wideMode, m_scroll);
    m_scroll->setWidget(m_content);
    m_scroll->setWidgetResizable(false);
    m_scroll->horizontalScrollBar()->setSingleStep(5);
    m_scroll->horizontalScrollBar()->setPageStep(15);
    m_scroll->verticalScrollBar()->setSingleStep(5);
    m_scroll->verticalScrollBar()->setPageStep(15);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    setMinimumSize(kMinimumSize);
    setMaximumSize(kMaximumSize);
    resize(kMaximumSize);

    // 2. The toolbar, with nothing to save yet.
    createToolbar();

    // 5. The palette grid of the colour pickers.
    buildPaletteGrid();

    m_status = new CStatusPanel(m_content);
    m_status->setGeometry(kStatusPanel);
    m_Progress = new CProgressDlg(this);

    // 6, 7. Program folder, settings, standard path, wheel step.
    // Absolute, since every load makes the game folder the current directory.
    m_programFolder = QDir(options.programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                           : options.programFolder)
                          .absolutePath();
    // 4. No maps yet: the built-in sample level and text screen stand in.
    m_builtinLevel = loadBuiltinLevel(m_programFolder.toStdString());
    m_builtinScreen = loadBuiltinTextScreen(m_programFolder.toStdString());
    m_state.programFolder = QDir(m_programFolder).absolutePath().toStdString() + "/";
    m_settings = readSettingsFile(QDir(m_programFolder).filePath(kSettingsFileName).toStdString());
    if (!m_settings.stdPath.empty() && QDir(QString::fromStdString(m_settings.stdPath)).exists())
        QDir::setCurrent(QString::fromStdString(m_settings.stdPath));
    m_state.wheelStep = m_settings.wheelStep();
    m_state.tooltipsEnabled = m_settings.tooltips;

    // 9, 10. Extensions, then the start-up extension's map objects and palette.
    readExtensionsAndStartupFolder();
    // 11, 12. The map-object folders and palettes the Config page offers.
    listMapObjectFolders();
    listPalettes();

    // 13. The pages.
    createPages();
    updateTooltips();
    refreshMapPreview();
    refreshScreenPreview();

    m_state.onChangedFlag = [this](DataKind) { updateSaveAllButton(); };
}

CTessarandDlg::~CTessarandDlg() {
    writeSettingsAndExtensions();
    if (g_mainDialog == this)
        g_mainDialog = nullptr;
}

void CTessarandDlg::createToolbar() {
    m_toolbar = new QToolBar(m_content);
    m_toolbar->setOrientation(Qt::Vertical);
    m_toolbar->setIconSize(QSize(16, 15));
    m_toolbar->setMovable(false);
    for (int id : kMainToolbarLayout) {
        if (id == 0) {
            m_toolbar->addSeparator();
            continue;
        }
        QAction* action = m_toolbar->addAction(mainToolbarIcon(id), QString::fromStdString(commandTooltip(id)));
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        m_actions.insert(id, action);
    }
    for (int id : kInitiallyDisabledCommands)
        m_actions.value(id)->setEnabled(false);
    m_toolbar->setGeometry(5, 35, m_toolbar->sizeHint().width() + 12, 465);
    m_toolbar->installEventFilter(this);
    qApp->installEventFilter(this);
}

void CTessarandDlg::createPages() {
    m_sheet = new QTabWidget(m_content);
    m_sheet->setGeometry(kSheetNormal);
    auto nested = [this](const QString& caption, const QList<QPair<QString, QWidget*>>& pages) {
        auto* page = new QWidget;
        page->setObjectName(caption);
        auto* inner = new QTabWidget(page);
        inner->setObjectName(caption + "Sheet");
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(inner);
        for (const auto& [title, widget] : pages)
            inner->addTab(widget, title);
        m_nestedSheets.insert(caption, inner);
        return page;
    };

    m_config = new CPropConfig(m_settings, m_state, *m_prompter);
    connect(m_config, &CPropConfig::pendingChanged, this,
            [this] { QTimer::singleShot(0, this, &CTessarandDlg::takeOverPendingSettings); });
    connect(m_config, &CPropConfig::mapObjectsChosen, this, &CTessarandDlg::loadMapObjects);
    connect(m_config, &CPropConfig::paletteChosen, this, &CTessarandDlg::loadPalette);

    auto* mapEdit = placeholderPage("MapEdit");
    m_mapNavigation = new CMapNavigation(mapEdit);
    auto* mapEditLayout = static_cast<QVBoxLayout*>(mapEdit->layout());
    mapEditLayout->insertWidget(0, m_mapNavigation);
    // Until the map editor comes, the page shows the level read-only with its symbols.
    delete mapEditLayout->itemAt(1)->widget();
    m_mapPreview = new CMapPreview(mapEdit);
    mapEditLayout->addWidget(m_mapPreview, 1);
    connect(m_mapNavigation, &CMapNavigation::commandTriggered, this, &CTessarandDlg::runCommand);
    connect(m_mapNavigation, &CMapNavigation::insertMapRequested, this,
            [this] { sendAppMessage(AppMessage::InsertMap); });
    connect(m_mapNavigation, &CMapNavigation::deleteMapRequested, this,
            [this] { sendAppMessage(AppMessage::DeleteMap); });
    connect(m_mapNavigation, &CMapNavigation::exportMapRequested, this, [this] {
        QString path = chooseFile(int(GameFileDialog::ExportMap));
        if (!path.isEmpty())
            ExportMap(path);
    });
    connect(m_mapNavigation, &CMapNavigation::importMapRequested, this, [this] {
        QString path = chooseFile(int(GameFileDialog::ImportMap));
        if (!path.isEmpty())
            ImportMap(path);
    });
    m_sheet->addTab(mapEdit, "MapEdit");
    m_sheet->addTab(placeholderPage("3DEdit"), "3DEdit");
    m_sheet->addTab(placeholderPage("Walls"), "Walls");
    m_sheet->addTab(placeholderPage("Objects"), "Objects");
    m_sheet->addTab(placeholderPage("Floors"), "Floors");
    m_sheet->addTab(placeholderPage("Textures"), "Textures");
    m_sheet->addTab(placeholderPage("Sprites"), "Sprites");
    m_sheet->addTab(nested("VGAGraph", {{"Graphics", placeholderPage("Graphics")},
                                        {"Fonts", placeholderPage("Fonts")},
                                        {"Tile 8s", placeholderPage("Tile 8s")}}),
                    "VGAGraph");
    m_sheet->addTab(nested("Audio", {{"Sounds", placeholderPage("Sounds")},
                                     {"Music", placeholderPage("Music")}}),
                    "Audio");
    m_screensPage = placeholderPage("Screens");
    // Until the screen editor comes, the page shows the first screen, or the built-in one.
    auto* screensLayout = static_cast<QVBoxLayout*>(m_screensPage->layout());
    delete screensLayout->itemAt(0)->widget();
    m_screenPreview = new CTextScreenPreview(m_screensPage);
    screensLayout->addWidget(m_screenPreview, 0, Qt::AlignCenter);
    m_sheet->addTab(m_screensPage, "Screens");
    m_sheet->addTab(nested("Customize", {{"Config", m_config},
                                         {"Palette", placeholderPage("Palette")},
                                         {"Symbols", placeholderPage("Symbols")}}),
                    "Customize");
}

QTabWidget* CTessarandDlg::nestedSheet(const QString& pageCaption) const {
    return m_nestedSheets.value(pageCaption);
}

void CTessarandDlg::buildPaletteGrid() {
    // 32 rows of 8 cells of 9 × 9 pixels; row r, column c shows colour 8r + c.
    m_paletteGrid = QImage(72, 288, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (const Rgb& c : m_palette.colors)
        colours << qRgb(c.r, c.g, c.b);
    m_paletteGrid.setColorTable(colours);
    for (int y = 0; y < 288; ++y)
        for (int x = 0; x < 72; ++x)
            m_paletteGrid.setPixel(x, y, uint((y / 9) * 8 + x / 9));
}

void CTessarandDlg::readExtensionsAndStartupFolder() {
    const QDir folder(m_programFolder);
    m_state.extensions =
        readExtensionsFile(folder.filePath(kExtensionsFileName).toStdString(), *m_prompter);
    ExtensionEntry chosen = m_state.extensions.startupChoice(m_settings.lastExtension);
    loadMapObjects(QString::fromStdString(chosen.mapObjectFolder));
    loadPalette(QString::fromStdString(chosen.paletteName));
}

void CTessarandDlg::listMapObjectFolders() {
    m_state.mapObjectFolders = ::listMapObjectFolders(m_programFolder.toStdString());
}

void CTessarandDlg::listPalettes() {
    m_state.paletteNames =
        scanPaletteFolder(std::filesystem::path(m_programFolder.toStdString()) / kPaletteFolderName, *m_prompter);
}

bool CTessarandDlg::loadPalette(const QString& name) {
    const QString path = QDir(m_programFolder).filePath("palette/" + name + ".pal");
    std::optional<Palette> palette = readPaletteFile(path.toStdString());
    if (!palette) {
        m_prompter->tell("Tessarand", "Can't find palette!");
        return false;
    }
    m_palette = *palette;
    sendAppMessage(AppMessage::PaletteChanged);
    return true;
}

void CTessarandDlg::loadMapObjects(const QString& folder) {
    MapObjectsLoadResult result =
        ::loadMapObjects(mapObjectFolderPath(m_programFolder.toStdString(), folder.toStdString()),
                         m_vocabulary, m_symbolImage, *m_prompter);
    if (result.symbolsLoaded)
        sendAppMessage(AppMessage::SymbolsChanged);
    refreshStatusPanel();
}

void CTessarandDlg::updateTooltips() {
    for (auto it = m_actions.begin(); it != m_actions.end(); ++it)
        it.value()->setToolTip(QString::fromStdString(commandTooltip(it.key())));
}

QString CTessarandDlg::tooltipFor(int commandId) const {
    if (!m_state.tooltipsEnabled)
        return {};
    return QString::fromStdString(tooltipForRequest(commandId, true));
}

bool CTessarandDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_toolbar && event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        QAction* action = m_toolbar->actionAt(help->pos());
        QString text = action ? tooltipFor(action->data().toInt()) : QString();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, m_toolbar);
        return true;
    }
    // With tooltips switched off, the pages' controls keep theirs to themselves too.
    if (event->type() == QEvent::ToolTip && !m_state.tooltipsEnabled) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && isAncestorOf(widget)) {
            QToolTip::hideText();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CTessarandDlg::updateSaveAllButton() {
    if (m_state.loadAllUsed)
        m_actions.value(command::SaveAll)->setEnabled(m_state.anythingUnsaved());
}

void CTessarandDlg::setChanged(DataKind kind, bool changed) { m_state.setChanged(kind, changed); }

void CTessarandDlg::setLocked(DataKind kind, bool locked) { m_state.setLocked(kind, locked); }

void CTessarandDlg::takeOverPendingSettings() {
    if (!m_config || !m_config->hasPendingChanges())
        return;
    m_config->takeOverSettings();
    // The RLEW tag typed on the Config page is the one the maps are written with.
    if (m_state.loaded(DataKind::Maps))
        m_maps.setRlewTag(m_settings.rlewTag);
    updateTooltips();
}

void CTessarandDlg::runCommand(int commandId) {
    switch (commandId) {
    case command::ShowAbout:
        showAbout();
        break;
    case command::LoadMaps: {
        QString path = chooseFile(int(GameFileDialog::LoadMaps));
        if (!path.isEmpty())
            LoadMaps(GameFilePath::fromPath(path.toStdString()), std::nullopt);
        break;
    }
    case command::SaveMaps: {
        QString path = chooseFile(int(GameFileDialog::SaveMaps),
                                  QString::fromStdString(m_maps.lastMapsPath().fullPath().string()));
        if (!path.isEmpty())
            SaveMaps(GameFilePath::fromPath(path.toStdString()), std::nullopt);
        break;
    }
    case command::LoadWalls:
    case command::SaveWalls:
    case command::LoadSprites:
    case command::SaveSprites:
    case command::LoadSounds:
    case command::SaveSounds:
        runPageFileCommand(commandId);
        break;
    case command::LoadAll:
        onLoadAll();
        break;
    case command::SaveAll:
        SaveAll();
        break;
    case command::LoadMusic: {
        QString path = chooseFile(int(GameFileDialog::LoadMusic));
        if (!path.isEmpty())
            LoadMusicFile(path);
        break;
    }
    case command::LoadVgaGraph:
        showVgaLoadMenu();
        break;
    case command::SaveVgaGraph:
        showVgaSaveMenu();
        break;
    case command::PrevLevel:
        if (m_state.currentMap > 0)
            SetCurrentMap(m_state.currentMap - 1);
        break;
    case command::NextLevel:
        if (m_state.currentMap < m_maps.highestMapIndex())
            SetCurrentMap(m_state.currentMap + 1);
        break;
    case command::GotoLevel:
        askGotoLevel();
        break;
    default:
        break;
    }
}

int CTessarandDlg::sendAppMessage(AppMessage message, quintptr wParam, const void* lParam) {
    switch (message) {
    case AppMessage::CursorMoved:
        if (lParam)
            onCursorMoved(*static_cast<const CellReport*>(lParam));
        break;
    case AppMessage::PenChanged:
        if (lParam)
            onPenChanged(*static_cast<const CellReport*>(lParam), wParam == 1);
        break;
    case AppMessage::PaletteChanged:
        buildPaletteGrid();
        refreshStatusPictures();
        emit paletteChanged();
        break;
    case AppMessage::SymbolsChanged:
        refreshStatusPanel();
        refreshMapPreview();
        emit symbolsChanged();
        break;
    case AppMessage::WideMode:
        setWideMode(wParam == 1);
        break;
    case AppMessage::RedrawFrame:
        m_content->update(QRect(666, 25, 120, 568));
        break;
    case AppMessage::InsertMap:
        insertMap();
        break;
    case AppMessage::DeleteMap:
        deleteMap();
        break;
    case AppMessage::ShowIn3D:
        m_sheet->setCurrentIndex(1);
        break;
    }
    return 0;
}

void CTessarandDlg::onCursorMoved(const CellReport& cell) {
    m_status->setText(status::CursorPosition,
                      QString::fromStdString(cursorPositionText(cell.first, cell.y)));
    m_status->setText(status::CursorWallName,
                      QString::fromStdString(m_vocabulary.labelledWallName(cell.wallCode)));
    m_status->setText(status::CursorObjectName,
                      QString::fromStdString(m_vocabulary.labelledObjectName(cell.objectCode)));
    m_status->setPicture(status::CursorWallSymbol, symbolPicture(wallSymbolIndex(cell.wallCode)));
    m_status->setPicture(status::CursorObjectSymbol,
                         symbolPicture(objectSymbolIndex(cell.objectCode)));
}

QImage CTessarandDlg::symbolPicture(int symbol) const {
    QImage image(kSymbolSize, kSymbolSize, QImage::Format_RGB555);
    for (int y = 0; y < kSymbolSize; ++y)
        for (int x = 0; x < kSymbolSize; ++x) {
            uint16_t c = m_symbolImage.symbolPixel(symbol, x, y);
            image.setPixel(x, y, qRgb(((c >> 10) & 31) << 3, ((c >> 5) & 31) << 3, (c & 31) << 3));
        }
    return image;
}

void CTessarandDlg::onPenChanged(const CellReport& pick, bool leftButton) {
    PenPair& pen = leftButton ? m_leftPen : m_rightPen;
    int mode = pick.first;
    if (mode == 0)
        mode = m_editMode == MapEditMode::Walls ? 1 : m_editMode == MapEditMode::Objects ? 2 : 3;
    switch (mode) {
    case 1:
        pen.wall = pick.wallCode;
        break;
    case 2:
        pen.object = pick.objectCode;
        break;
    case 3:
        pen.floor = pick.wallCode;
        break;
    default:
        m_prompter->tell("Tessarand", "Error 28:OnPenChanged");
        break;
    }
    m_penChosen = true;
    refreshStatusPanel();
}

void CTessarandDlg::refreshStatusPanel() {
    // Until a pen is chosen the panel keeps its "Nothing" texts.
    if (!m_penChosen)
        return;
    auto wall = [this](uint16_t code) {
        return QString::fromStdString(m_vocabulary.labelledWallName(code));
    };
    auto object = [this](uint16_t code) {
        return QString::fromStdString(m_vocabulary.labelledObjectName(code));
    };
    m_status->setText(status::LeftWallName, wall(m_leftPen.wall));
    m_status->setText(status::RightWallName, wall(m_rightPen.wall));
    m_status->setText(status::LeftObjectName, object(m_leftPen.object));
    m_status->setText(status::RightObjectName, object(m_rightPen.object));
    m_status->setText(status::LeftFloorName, wall(m_leftPen.floor));
    m_status->setText(status::RightFloorName, wall(m_rightPen.floor));
    m_status->setPicture(status::LeftWallSymbol, symbolPicture(wallSymbolIndex(m_leftPen.wall)));
    m_status->setPicture(status::RightWallSymbol, symbolPicture(wallSymbolIndex(m_rightPen.wall)));
    m_status->setPicture(status::LeftObjectSymbol, symbolPicture(objectSymbolIndex(m_leftPen.object)));
    m_status->setPicture(status::RightObjectSymbol,
                         symbolPicture(objectSymbolIndex(m_rightPen.object)));
    m_status->setPicture(status::LeftFloorSymbol, symbolPicture(wallSymbolIndex(m_leftPen.floor)));
    m_status->setPicture(status::RightFloorSymbol, symbolPicture(wallSymbolIndex(m_rightPen.floor)));
    refreshStatusPictures();
}

void CTessarandDlg::setWideMode(bool wide) {
    m_wideMode = wide;
    m_status->setVisible(!wide);
    m_sheet->setGeometry(wide ? kSheetWide : kSheetNormal);
    if (m_screensPage)
        m_screensPage->resize(wide ? 740 : m_screensPage->width(), m_screensPage->height());
    m_content->update(QRect(697, 0, 104, 641));
    m_content->update();
}

void CTessarandDlg::showAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CTessarandDlg::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    if (m_allowAboutOnStart && m_settings.showAbout)
        QTimer::singleShot(0, this, &CTessarandDlg::showAbout);
}

void CTessarandDlg::closeEvent(QCloseEvent* event) {
    if (!m_state.anythingUnsaved()) {
        event->accept();
        return;
    }
    PromptAnswer answer = m_prompter->ask({"Changes unsaved!", "Do you want to save your changes ?",
                                           PromptIcon::Question, PromptButtons::YesNoCancel});
    if (answer == PromptAnswer::No) {
        event->accept();
        return;
    }
    if (answer == PromptAnswer::Yes && m_state.loadAllUsed)
        SaveAll();
    // Never close while something is still unsaved after Yes or Cancel.
    if (answer == PromptAnswer::Yes && !m_state.anythingUnsaved())
        event->accept();
    else
        event->ignore();
}


void CTessarandDlg::updateLevelButtons() {
    const int n = m_state.currentMap;
    const int highest = m_maps.highestMapIndex();
    m_mapNavigation->prevButton()->setEnabled(highest >= 0 && n >= 1);
    m_mapNavigation->nextButton()->setEnabled(n < highest);
    m_mapNavigation->gotoButton()->setEnabled(highest > 0);
}

void CTessarandDlg::SetCurrentMap(int n) {
    if (n < 0 || n > m_maps.highestMapIndex()) {
        m_prompter->tell("CTessarandDlg::SetCurrentMap()", "Invalid map number: " + std::to_string(n),
                         PromptIcon::Exclamation);
        return;
    }
    m_state.currentMap = uint16_t(n);
    m_mapNavigation->setMapName(QString::fromStdString(m_maps.header(n).nameText()));
    m_mapNavigation->setMapNumber(
        QString::fromStdString(mapNumberText(unsigned(n), unsigned(m_maps.mapCount()))));
    updateLevelButtons();
    refreshMapPreview();
    emit currentMapChanged(n);
}

void CTessarandDlg::refreshMapPreview() {
    if (!m_mapPreview)
        return;
    const bool haveMap = m_maps.hasMap(m_state.currentMap);
    std::span<const uint16_t> plane0 =
        haveMap ? std::as_const(m_maps).plane(m_state.currentMap, 0) : std::span<const uint16_t>(m_builtinLevel.plane0);
    std::span<const uint16_t> plane1 =
        haveMap ? std::as_const(m_maps).plane(m_state.currentMap, 1) : std::span<const uint16_t>(m_builtinLevel.plane1);
    std::vector<uint16_t> pixels =
        renderLevelSymbols(plane0, plane1, m_symbolImage, m_settings.showObjects);
    QImage image(kLevelSymbolImageSide, kLevelSymbolImageSide, QImage::Format_RGB555);
    for (int y = 0; y < kLevelSymbolImageSide; ++y)
        std::memcpy(image.scanLine(y), &pixels[size_t(y) * kLevelSymbolImageSide],
                    kLevelSymbolImageSide * sizeof(uint16_t));
    m_mapPreview->setPicture(image);
}

void CTessarandDlg::refreshScreenPreview() {
    if (!m_screenPreview)
        return;
    if (m_state.loaded(DataKind::Screens) && !m_graphics.screens().empty())
        m_screenPreview->setCells(m_graphics.screens().front().cells());
    else
        m_screenPreview->setCells(m_builtinScreen);
}

void CTessarandDlg::insertMap() {
    const int highest = m_maps.highestMapIndex();
    if (highest + 2 == kMaxMaps)
        m_mapNavigation->insertButton()->setEnabled(false);
    if (highest >= 0)
        m_mapNavigation->deleteButton()->setEnabled(true);
    if (highest + 1 == kMaxMaps) {
        m_prompter->tell("Tessarand",
                         "      WADD IS ???\n  Iwwer fünfhunnert Levels ??\n\nDU BISCHD KRANK !!!");
        return;
    }
    const bool wasEmpty = highest < 0;
    const int index = wasEmpty ? 0 : m_state.currentMap + 1;
    if (!m_maps.insertMap(index))
        return;
    if (!wasEmpty)
        ++m_state.currentMap;
    setChanged(DataKind::Maps, true);
    if (!m_state.loaded(DataKind::Maps)) {
        m_state.setLoaded(DataKind::Maps, true);
        SetCurrentMap(0);
        m_mapNavigation->importExportButton()->setEnabled(true);
        m_actions.value(command::SaveMaps)->setEnabled(true);
    } else {
        SetCurrentMap(m_state.currentMap);
    }
}

void CTessarandDlg::deleteMap() {
    const int highest = m_maps.highestMapIndex();
    if (highest == 1)
        m_mapNavigation->deleteButton()->setEnabled(false);
    m_mapNavigation->insertButton()->setEnabled(true);
    if (highest < 1) {
        m_prompter->tell("Tessarand", "You can't use a mapeditor without maps ;)");
        return;
    }
    m_maps.removeMap(m_state.currentMap);
    setChanged(DataKind::Maps, true);
    if (m_state.currentMap > m_maps.highestMapIndex())
        m_state.currentMap = uint16_t(m_maps.highestMapIndex());
    SetCurrentMap(m_state.currentMap);
}

void CTessarandDlg::askGotoLevel() {
    CGotoLevelDlg dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        gotoLevel(dialog.levelText());
}

void CTessarandDlg::gotoLevel(const QString& levelText) {
    int index = mapIndexForLevelText(levelText, m_maps.highestMapIndex());
    if (index < 0) {
        m_prompter->tell("Error", "This level doesn't exist!");
        return;
    }
    SetCurrentMap(index);
}

void CTessarandDlg::writeSettingsAndExtensions() {
    if (m_shutDown)
        return;
    m_shutDown = true;
    if (m_config && m_config->hasPendingChanges())
        m_config->takeOverSettings();
    const QDir folder(m_programFolder);
    writeSettingsFile(folder.filePath(kSettingsFileName).toStdString(), m_settings);
    writeExtensionsFile(folder.filePath(kExtensionsFileName).toStdString(), m_state.extensions);
}
