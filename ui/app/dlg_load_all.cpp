// The main dialog's Load All, Compress all and Save All.

#include "app/commands.h"
#include "app/load_all_dialog.h"
#include "app/tessarand_dlg.h"
#include "vgagraph/huffman.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>

void CTessarandDlg::onLoadAll() {
    const QString folder = QFileDialog::getExistingDirectory(this, "Select a Wolf3D folder...",
                                                             QDir::currentPath());
    if (folder.isEmpty())
        return;
    std::optional<FolderScan> scan = scanFolder(folder.toStdString());
    if (!scan) {
        m_prompter->tell("Unable to find files in directory!", "Please select another directory!");
        return;
    }
    CLoadAllDlg dialog(*scan, folder, QString::fromStdString(m_settings.lastExtension), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    LoadAllFiles(dialog.selection(), dialog.compressAll());
}

void CTessarandDlg::LoadAllFiles(const LoadAllSelection& selection, bool compressAll) {
    // Kinds without a file are passed over quietly; each loader reports its own failures.
    if (selection.vgaDict)
        LoadHuffman(m_graphics.dictionary(), selection.vgaDict->fullPath(), *m_prompter);
    if (selection.mapData)
        LoadMaps(*selection.mapData, selection.mapHeader);
    if (selection.walls)
        LoadTextures(QString::fromStdString(selection.walls->fullPath().string()));
    if (selection.sprites)
        LoadSprites(QString::fromStdString(selection.sprites->fullPath().string()));
    if (selection.sounds)
        LoadSounds(QString::fromStdString(selection.sounds->fullPath().string()));
    if (selection.vgaGraph) {
        VgaFiles files = VgaFiles::forGraph(*selection.vgaGraph);
        if (selection.vgaHead)
            files.head = *selection.vgaHead;
        if (selection.vgaDict)
            files.dictionary = *selection.vgaDict;
        loadVgaFiles(VgaLoadKind::Complete, files, /*rereadDictionary*/ !selection.vgaDict);
    }
    if (selection.audioData)
        LoadMusicFile(QString::fromStdString(selection.audioData->fullPath().string()));
    m_state.loadAllUsed = true;
    updateSaveAllButton();
    if (!compressAll)
        return;
    // Every kind but music is written again with the current compression settings.
    if (m_state.loaded(DataKind::Maps))
        SaveMaps(m_maps.lastMapsPath(), m_maps.lastMapheadPath());
    if (m_pageFile.isLoaded(PageKind::Walls))
        SaveTextures(QString::fromStdString(m_pageFile.lastPath[size_t(PageKind::Walls)].string()));
    if (m_pageFile.isLoaded(PageKind::Sprites))
        SaveSprites(QString::fromStdString(m_pageFile.lastPath[size_t(PageKind::Sprites)].string()));
    if (m_pageFile.isLoaded(PageKind::Sounds))
        SaveSounds(QString::fromStdString(m_pageFile.lastPath[size_t(PageKind::Sounds)].string()));
    VgaPartSet parts = vgaPartsToSave(m_state, /*onlyChanged*/ false);
    if (parts.any())
        saveVgaFiles(parts, VgaFiles::forGraphAndHead(m_lastVgaGraph, m_lastVgaHead));
}

void CTessarandDlg::SaveAll() {
    if (!m_state.loadAllUsed)
        return;
    if (m_state.changed(DataKind::Maps))
        SaveMaps(m_maps.lastMapsPath(), m_maps.lastMapheadPath());
    if (m_state.changed(DataKind::Walls))
        SaveTextures(QString::fromStdString(m_pageFile.lastPath[size_t(PageKind::Walls)].string()));
    if (m_state.changed(DataKind::Sprites))
        SaveSprites(QString::fromStdString(m_pageFile.lastPath[size_t(PageKind::Sprites)].string()));
    if (m_state.changed(DataKind::Sounds))
        SaveSounds(QString::fromStdString(m_pageFile.lastPath[size_t(PageKind::Sounds)].string()));
    VgaPartSet parts = vgaPartsToSave(m_state, /*onlyChanged*/ true);
    if (parts.any())
        saveVgaFiles(parts, VgaFiles::forGraphAndHead(m_lastVgaGraph, m_lastVgaHead));
}
