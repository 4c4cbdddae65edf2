#pragma once
// The main window: toolbar of load and save commands, the eleven pages, the status panel, and
// the shared document state every page works on.

#include "app/app_messages.h"
#include "app/document_state.h"
#include "app/job.h"
#include "app/load_all_scan.h"
#include "app/settings.h"
#include "image/palette.h"
#include "level/builtin_resources.h"
#include "level/symbol_image.h"
#include "level/tile_vocabulary.h"
#include "maps/map_set.h"
#include "pagefile/page_file.h"
#include "music/music_archive.h"
#include "vgagraph/graphics_archive.h"
#include "vgagraph/vga_load.h"
#include "vgagraph/vga_save.h"

#include <QHash>
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class CAboutDlg;
class CMapNavigation;
class CMapPreview;
class CTextScreenPreview;
class CProgressDlg;
class CPropConfig;
class CStatusPanel;
class QAction;
class QScrollArea;
class QTabWidget;
class QToolBar;
class Prompter;

// The codes on one mouse button.
struct PenPair {
    uint16_t wall = 0;
    uint16_t object = 0;
    uint16_t floor = 0;
};

enum class MapEditMode { Walls, Objects, Floors };

class CTessarandDlg : public QWidget {
    Q_OBJECT
public:
    struct Options {
        QString programFolder;           // resources and settings; default: the program's folder
        Prompter* prompter = nullptr;    // default: message boxes
        bool allowAboutOnStart = true;   // tests switch the first-run About dialog off
    };

    explicit CTessarandDlg(const Options& options, QWidget* parent = nullptr);
    ~CTessarandDlg() override;

    // The one main dialog of the process, valid from the start of its construction to its end.
    static CTessarandDlg* instance();

    DocumentState& state() { return m_state; }
    Settings& settings() { return m_settings; }
    const Palette& palette() const { return m_palette; }
    Prompter& prompter() { return *m_prompter; }
    CProgressDlg& progress() { return *m_Progress; }
    QString programFolder() const { return m_programFolder; }

    // Changed flags change only here: locks respected, Save All follows.
    void setChanged(DataKind kind, bool changed);
    void setLocked(DataKind kind, bool locked);

    // The private message protocol; every handler returns 0.
    int sendAppMessage(AppMessage message, quintptr wParam = 0, const void* lParam = nullptr);

    bool loadPalette(const QString& name);
    void loadMapObjects(const QString& folder);

    MapSet& maps() { return m_maps; }
    const TileVocabulary& vocabulary() const { return m_vocabulary; }
    const SymbolImage& symbols() const { return m_symbolImage; }
    const BuiltinLevel& builtinLevel() const { return m_builtinLevel; }
    const std::vector<uint8_t>& builtinTextScreen() const { return m_builtinScreen; }
    CMapNavigation* mapNavigation() const { return m_mapNavigation; }
    CMapPreview* mapPreview() const { return m_mapPreview; }
    CTextScreenPreview* screenPreview() const { return m_screenPreview; }

    // Selects map n for the map editor and the 3D view; out of range: message, no change.
    void SetCurrentMap(int n);
    // The level number typed into Goto Level, as the dialog's OK does.
    void gotoLevel(const QString& levelText);

    // Map files. LoadMaps: 1 when the job ran, 0 when nothing was loaded. SaveMaps: 1 after a
    // completed save or when the temporary files could not be made, 0 when refused or cancelled.
    int LoadMaps(const GameFilePath& mapsPath, const std::optional<GameFilePath>& mapheadPath);
    int SaveMaps(const GameFilePath& mapsPath, const std::optional<GameFilePath>& mapheadPath);
    void ExportMap(const QString& path);
    void ImportMap(const QString& path);

    // Page file kinds; true on success.
    bool LoadTextures(const QString& path);
    bool LoadSprites(const QString& path);
    bool LoadSounds(const QString& path);
    bool SaveTextures(const QString& path);
    bool SaveSprites(const QString& path);
    bool SaveSounds(const QString& path);
    PageFile& pageFile() { return m_pageFile; }

    // VGAGRAPH parts: the popup entries of "Load VGAGRAPH parts" and "Save VGAGRAPH parts".
    bool LoadVgaParts(VgaLoadKind kind, const QString& graphPath);
    bool SaveVgaParts(int saveCommand, const QString& graphPath);
    // Entries of the save popup with their greying, as the menu shows them now.
    QList<QPair<int, bool>> vgaSaveMenuState() const;
    GraphicsArchive& graphics() { return m_graphics; }

    // Load All with the files chosen in its dialog; Compress all saves them all again at once.
    void LoadAllFiles(const LoadAllSelection& selection, bool compressAll);
    // Writes every changed kind back to the files Load All read.
    void SaveAll();

    // AUDIOT songs (no job: the songs are few and small).
    bool LoadMusicFile(const QString& audioDataPath);
    MusicArchive& music() { return m_music; }

    // Where open dialogs start and what a file dialog answers; tests replace the dialogs.
    using FileDialogOverride = std::function<QString(int dialogKind, const QString& startPath)>;
    void setFileChooser(FileDialogOverride chooser) { m_chooseFile = std::move(chooser); }

    // Runs one command of the toolbars as if its button was clicked.
    void runCommand(int commandId);
    QAction* commandAction(int commandId) const { return m_actions.value(commandId); }
    QToolBar* mainToolbar() const { return m_toolbar; }
    CStatusPanel* statusPanel() const { return m_status; }
    QTabWidget* sheet() const { return m_sheet; }
    QTabWidget* nestedSheet(const QString& pageCaption) const;
    CPropConfig* configPage() const { return m_config; }
    bool wideMode() const { return m_wideMode; }
    QScrollArea* scrollArea() const { return m_scroll; }
    const QImage& paletteGrid() const { return m_paletteGrid; }
    PenPair pen(bool left) const { return left ? m_leftPen : m_rightPen; }
    MapEditMode editMode() const { return m_editMode; }
    void setEditMode(MapEditMode mode) { m_editMode = mode; }

    void showAbout();
    // The text a toolbar tooltip request gets: nothing while tooltips are off.
    QString tooltipFor(int commandId) const;

signals:
    void currentMapChanged(int index);
    void paletteChanged();
    void symbolsChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createToolbar();
    void createPages();
    void buildPaletteGrid();
    void readExtensionsAndStartupFolder();
    void listMapObjectFolders();
    void listPalettes();
    void updateTooltips();
    void updateSaveAllButton();
    void takeOverPendingSettings();
    void setWideMode(bool wide);
    void onCursorMoved(const CellReport& cell);
    void onPenChanged(const CellReport& pick, bool leftButton);
    void refreshStatusPanel();
    QImage symbolPicture(int symbol) const;
    void writeSettingsAndExtensions();
    void onLoadAll();
    void insertMap();
    void deleteMap();
    void askGotoLevel();
    void updateLevelButtons();
    void refreshMapPreview();
    void refreshScreenPreview();
    QString chooseFile(int dialogKind, const QString& startPath = {});
    // Every load of a single kind ends the Load All session.
    void beginSingleKindLoad();
    void setStandardPath(const QString& folder);
    void markFileOperation();
    void applyExtensionOf(const GameFilePath& path);
    void mapsLoaded();
    void reportUnexpectedResult(JobResult result, const char* operation);
    bool loadPageKind(PageKind kind, const QString& path);
    bool savePageKind(PageKind kind, const QString& path);
    void runPageFileCommand(int commandId);
    void refreshStatusPictures();
    void showVgaLoadMenu();
    void showVgaSaveMenu();
    void runVgaLoadCommand(int entryCommand);
    void runVgaSaveCommand(int entryCommand);
    QString chooseFileFor(const FileDialogRequest& request);
    // The VGAGRAPH loaders ask for a missing VGAHEAD or VGADICT through this.
    ::FileChooser vgaFileChooser();
    bool loadVgaFiles(VgaLoadKind kind, const VgaFiles& files, bool rereadDictionary);
    bool saveVgaFiles(VgaPartSet parts, const VgaFiles& files);
    void updateVgaSaveButton();

    QString m_programFolder;
    std::unique_ptr<Prompter> m_ownPrompter;
    Prompter* m_prompter = nullptr;
    Settings m_settings;
    DocumentState m_state;
    Palette m_palette;
    bool m_allowAboutOnStart = true;
    bool m_shownOnce = false;
    bool m_shutDown = false;

    QScrollArea* m_scroll = nullptr;
    QWidget* m_content = nullptr;
    QToolBar* m_toolbar = nullptr;
    QHash<int, QAction*> m_actions;
    CStatusPanel* m_status = nullptr;
    QTabWidget* m_sheet = nullptr;
    QHash<QString, QTabWidget*> m_nestedSheets;
    QWidget* m_screensPage = nullptr;
    CPropConfig* m_config = nullptr;
    CProgressDlg* m_Progress = nullptr;
    bool m_wideMode = false;

    MapSet m_maps;
    PageFile m_pageFile;
    GraphicsArchive m_graphics;
    GameFilePath m_lastVgaGraph, m_lastVgaHead;
    MusicArchive m_music;
    TileVocabulary m_vocabulary;
    SymbolImage m_symbolImage;
    BuiltinLevel m_builtinLevel;
    std::vector<uint8_t> m_builtinScreen;
    CMapNavigation* m_mapNavigation = nullptr;
    CMapPreview* m_mapPreview = nullptr;
    CTextScreenPreview* m_screenPreview = nullptr;
    FileDialogOverride m_chooseFile;
    QImage m_paletteGrid;  // 72 × 288 colour picker grid
    PenPair m_leftPen, m_rightPen;
    bool m_penChosen = false;
    MapEditMode m_editMode = MapEditMode::Walls;
};
