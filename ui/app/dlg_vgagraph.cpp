// The main dialog's VGAGRAPH commands: the "Load VGAGRAPH parts" and "Save VGAGRAPH parts"
// popups and the loads and saves behind their entries.

#include "app/commands.h"
#include "app/file_dialogs.h"
#include "app/progress_dialog.h"
#include "app/tessarand_dlg.h"
#include "vgagraph/vga_commands.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

namespace {

GameFileDialog loadDialogOf(VgaLoadKind kind) {
    switch (kind) {
    case VgaLoadKind::Complete: return GameFileDialog::LoadCompleteVgaGraph;
    case VgaLoadKind::Pictures: return GameFileDialog::LoadGraphics;
    case VgaLoadKind::Fonts: return GameFileDialog::LoadFonts;
    case VgaLoadKind::Screens: return GameFileDialog::LoadScreens;
    case VgaLoadKind::Tile8s: return GameFileDialog::LoadTile8s;
    }
    return GameFileDialog::LoadCompleteVgaGraph;
}

GameFileDialog saveDialogOf(VgaSaveKind kind) {
    switch (kind) {
    case VgaSaveKind::Complete: return GameFileDialog::SaveGraphics;
    case VgaSaveKind::Pictures: return GameFileDialog::SaveGraphics;
    case VgaSaveKind::Fonts: return GameFileDialog::SaveFonts;
    case VgaSaveKind::Screens: return GameFileDialog::SaveScreens;
    case VgaSaveKind::Tile8s: return GameFileDialog::SaveTile8s;
    }
    return GameFileDialog::SaveGraphics;
}

} // namespace

QString CTessarandDlg::chooseFileFor(const FileDialogRequest& request) {
    const bool dictionary = QString::fromStdString(request.title).contains("dictionary", Qt::CaseInsensitive);
    const auto kind = dictionary ? GameFileDialog::FindVgaDict : GameFileDialog::FindVgaHead;
    if (m_chooseFile)
        return m_chooseFile(int(kind), {});
    FileDialogSpec spec{QString::fromStdString(request.title), QString::fromStdString(request.initialName),
                        QString::fromStdString(request.filter), false,
                        QString::fromStdString(request.defaultExtension)};
    return runFileDialog(this, spec, {});
}

::FileChooser CTessarandDlg::vgaFileChooser() {
    return [this](const FileDialogRequest& request) -> std::optional<std::filesystem::path> {
        QString chosen = chooseFileFor(request);
        if (chosen.isEmpty())
            return std::nullopt;
        return chosen.toStdString();
    };
}

void CTessarandDlg::showVgaLoadMenu() {
    QMenu menu(this);
    for (const VgaMenuEntry& entry : vgaLoadMenu()) {
        QAction* action = menu.addAction(QString::fromStdString(entry.text));
        action->setEnabled(entry.enabled);
        int id = entry.command;
        connect(action, &QAction::triggered, this, [this, id] { runVgaLoadCommand(id); });
    }
    menu.exec(m_content->mapToGlobal(QPoint(31, 236)));
}

void CTessarandDlg::showVgaSaveMenu() {
    QMenu menu(this);
    for (const VgaMenuEntry& entry : vgaSaveMenu(m_state)) {
        QAction* action = menu.addAction(QString::fromStdString(entry.text));
        action->setEnabled(entry.enabled);
        int id = entry.command;
        connect(action, &QAction::triggered, this, [this, id] { runVgaSaveCommand(id); });
    }
    menu.exec(m_content->mapToGlobal(QPoint(31, 258)));
}

QList<QPair<int, bool>> CTessarandDlg::vgaSaveMenuState() const {
    QList<QPair<int, bool>> entries;
    for (const VgaMenuEntry& entry : vgaSaveMenu(m_state))
        entries << qMakePair(entry.command, entry.enabled);
    return entries;
}

void CTessarandDlg::runVgaLoadCommand(int entryCommand) {
    std::optional<VgaLoadKind> kind = vgaLoadKindOfCommand(entryCommand);
    if (!kind || !confirmVgaLoad(*kind, m_state, *m_prompter))
        return;
    QString path = chooseFile(int(loadDialogOf(*kind)));
    if (!path.isEmpty())
        LoadVgaParts(*kind, path);
}

void CTessarandDlg::runVgaSaveCommand(int entryCommand) {
    std::optional<VgaSaveKind> kind = vgaSaveKindOfCommand(entryCommand);
    if (!kind || !vgaSaveEnabled(*kind, m_state))
        return;
    QString last = m_lastVgaGraph.empty() ? QString()
                                          : QString::fromStdString(m_lastVgaGraph.fullPath().string());
    QString path = chooseFile(int(saveDialogOf(*kind)), last);
    if (!path.isEmpty())
        SaveVgaParts(entryCommand, path);
}

bool CTessarandDlg::LoadVgaParts(VgaLoadKind kind, const QString& graphPath) {
    return loadVgaFiles(kind, VgaFiles::forGraph(GameFilePath::fromPath(graphPath.toStdString())),
                        /*rereadDictionary*/ true);
}

bool CTessarandDlg::loadVgaFiles(VgaLoadKind kind, const VgaFiles& files, bool rereadDictionary) {
    beginSingleKindLoad();
    ::FileChooser chooser = vgaFileChooser();
    std::optional<VgaLoadJob> job =
        prepareVgaLoad(m_graphics, m_state, kind, files, rereadDictionary, *m_prompter, chooser);
    if (!job)
        return false;
    auto routine = [&job](JobContext& context) { return runVgaLoad(*job, context); };
    JobResult result = vgaLoadRunsOnWorker(kind) ? m_Progress->runJob(routine, *m_prompter)
                                                 : runJobHere(routine, *m_Progress, *m_prompter);
    reportUnexpectedResult(result, "CTessarandDlg::LoadGraphics()");
    if (!finishVgaLoad(m_graphics, m_state, *job, result))
        return false;
    m_lastVgaGraph = job->files.graph;
    m_lastVgaHead = job->files.head;
    setStandardPath(QString::fromStdString(files.graph.folder));
    markFileOperation();
    updateVgaSaveButton();
    refreshScreenPreview();
    return true;
}

bool CTessarandDlg::SaveVgaParts(int saveCommand, const QString& graphPath) {
    std::optional<VgaSaveKind> kind = vgaSaveKindOfCommand(saveCommand);
    if (!kind)
        return false;
    return saveVgaFiles(vgaPartsOfSave(*kind, m_state, /*onlyChanged*/ false),
                        VgaFiles::forGraph(GameFilePath::fromPath(graphPath.toStdString())));
}

bool CTessarandDlg::saveVgaFiles(VgaPartSet parts, const VgaFiles& files) {
    std::optional<VgaSaveJob> job =
        prepareVgaSave(m_graphics, m_state, parts, files, *m_prompter, vgaFileChooser());
    if (!job)
        return false;
    JobResult result =
        m_Progress->runJob([&job](JobContext& context) { return runVgaSave(*job, context); }, *m_prompter);
    if (!finishVgaSave(*job, result, m_state, *m_prompter))
        return false;
    markFileOperation();
    return true;
}

void CTessarandDlg::updateVgaSaveButton() {
    bool anyLoaded = false;
    for (DataKind kind : {DataKind::Graphics, DataKind::Fonts, DataKind::Tile8s, DataKind::Screens})
        anyLoaded = anyLoaded || m_state.loaded(kind);
    m_actions.value(command::SaveVgaGraph)->setEnabled(anyLoaded);
}
