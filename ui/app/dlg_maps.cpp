// The main dialog's map file commands: Load Maps, Save Maps, Export Map and Import Map.

#include "app/commands.h"
#include "app/config_page.h"
#include "app/file_dialogs.h"
#include "app/map_navigation.h"
#include "app/progress_dialog.h"
#include "app/status_texts.h"
#include "app/tessarand_dlg.h"
#include "maps/map_exchange.h"
#include "maps/map_files.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QToolButton>

QString CTessarandDlg::chooseFile(int dialogKind, const QString& startPath) {
    if (m_chooseFile)
        return m_chooseFile(dialogKind, startPath);
    return runGameFileDialog(this, GameFileDialog(dialogKind), startPath);
}

void CTessarandDlg::beginSingleKindLoad() {
    if (!m_state.loadAllUsed)
        return;
    m_state.loadAllUsed = false;
    m_actions.value(command::SaveAll)->setEnabled(false);
}

void CTessarandDlg::setStandardPath(const QString& folder) {
    m_settings.stdPath = folder.toStdString().substr(0, kMaxStdPathLength);
    QDir::setCurrent(folder);
    // The standard path is kept in the settings file at once, not only at exit.
    const std::string iniPath = QDir(m_programFolder).filePath(kSettingsFileName).toStdString();
    IniFile ini = IniFile::read(iniPath);
    ini.set("Global", "StdPath", m_settings.stdPath);
    ini.write(iniPath);
}

void CTessarandDlg::markFileOperation() {
    m_state.lastFileOperationMs = uint64_t(QDateTime::currentMSecsSinceEpoch());
}

void CTessarandDlg::applyExtensionOf(const GameFilePath& path) {
    // Through the Config page, whose rows are the extension table.
    m_config->selectExtension(QString::fromStdString(path.extension));
}

void CTessarandDlg::reportUnexpectedResult(JobResult result, const char* operation) {
    if (result != JobResult::Success && result != JobResult::Failure)
        m_prompter->tell(operation, "Unexpected m_Progress response!");
}

int CTessarandDlg::LoadMaps(const GameFilePath& mapsPath,
                            const std::optional<GameFilePath>& mapheadPath) {
    beginSingleKindLoad();
    takeOverPendingSettings();
    MapLoad load;
    MapheadChooser chooseMaphead = [this]() -> std::optional<GameFilePath> {
        QString chosen = chooseFile(int(GameFileDialog::FindMaphead));
        if (chosen.isEmpty())
            return std::nullopt;
        return GameFilePath::fromPath(chosen.toStdString());
    };
    if (!load.prepare(mapsPath, mapheadPath, m_settings, *m_prompter, chooseMaphead))
        return 0;
    JobResult result =
        m_Progress->runJob([&load](JobContext& job) { return load.run(job); }, *m_prompter);
    m_settings.rlewTag = load.rlewTagInUse();
    m_config->rlewEdit()->setText(QString("%1").arg(load.rlewTagInUse(), 4, 16, QChar('0')).toUpper());
    reportUnexpectedResult(result, "CTessarandDlg::LoadMaps()");
    // The maps in memory are replaced only by a complete load; a cancelled one leaves them whole.
    if (!load.finish(result, m_maps)) {
        if (m_maps.highestMapIndex() >= 0)
            m_mapNavigation->setMapNumber(QString::fromStdString(
                mapNumberText(m_state.currentMap, unsigned(m_maps.mapCount()))));
        return 0;
    }
    setStandardPath(QString::fromStdString(load.mapsPath().folder));
    markFileOperation();
    setChanged(DataKind::Maps, false);
    mapsLoaded();
    applyExtensionOf(load.mapsPath());
    SetCurrentMap(0);
    return 1;
}

void CTessarandDlg::mapsLoaded() {
    m_state.setLoaded(DataKind::Maps, true);
    m_state.thirdPlaneEnabled = m_maps.thirdPlaneEnabled();
    m_actions.value(command::SaveMaps)->setEnabled(true);
    m_mapNavigation->importExportButton()->setEnabled(true);
    m_mapNavigation->insertButton()->setEnabled(m_maps.mapCount() < kMaxMaps);
    m_mapNavigation->deleteButton()->setEnabled(m_maps.mapCount() > 1);
}

int CTessarandDlg::SaveMaps(const GameFilePath& mapsPath,
                            const std::optional<GameFilePath>& mapheadPath) {
    takeOverPendingSettings();
    MapSave save;
    switch (save.prepare(m_maps, mapsPath, mapheadPath, m_settings, *m_prompter)) {
    case MapSavePreparation::Refused:
        return 0;
    case MapSavePreparation::CannotCreate:
        return 1;
    case MapSavePreparation::Ready:
        break;
    }
    JobResult result =
        m_Progress->runJob([&save](JobContext& job) { return save.run(job); }, *m_prompter);
    reportUnexpectedResult(result, "CTessarandDlg::SaveMaps()");
    if (!save.finish(result, m_maps, *m_prompter))
        return 0;
    markFileOperation();
    setChanged(DataKind::Maps, false);
    return 1;
}

void CTessarandDlg::ExportMap(const QString& path) {
    if (m_maps.hasMap(m_state.currentMap) &&
        exportMap(m_maps, m_state.currentMap, path.toStdString(), *m_prompter))
        markFileOperation();
}

void CTessarandDlg::ImportMap(const QString& path) {
    if (!m_maps.hasMap(m_state.currentMap))
        return;
    if (importMap(m_maps, m_state.currentMap, path.toStdString(), *m_prompter) !=
        MapImportResult::Imported)
        return;
    m_state.thirdPlaneEnabled = m_maps.thirdPlaneEnabled();
    markFileOperation();
    setChanged(DataKind::Maps, true);
    SetCurrentMap(m_state.currentMap);
}
