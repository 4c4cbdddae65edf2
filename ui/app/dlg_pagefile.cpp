// The main dialog's page file commands: load and save walls, sprites and sounds.

#include "app/commands.h"
#include "app/file_dialogs.h"
#include "app/progress_dialog.h"
#include "app/qt_images.h"
#include "app/status_panel.h"
#include "app/tessarand_dlg.h"
#include "level/tile_picture_choice.h"
#include "pagefile/page_file_jobs.h"

#include <QAction>

namespace {

struct PageKindCommands {
    PageKind kind;
    DataKind dataKind;
    int loadCommand;
    int saveCommand;
    GameFileDialog loadDialog;
    GameFileDialog saveDialog;
    const char* saveOperation;
};

constexpr PageKindCommands kPageKinds[] = {
    {PageKind::Walls, DataKind::Walls, command::LoadWalls, command::SaveWalls,
     GameFileDialog::LoadWalls, GameFileDialog::SaveWalls, "CTessarandDlg::SaveTextures()"},
    {PageKind::Sprites, DataKind::Sprites, command::LoadSprites, command::SaveSprites,
     GameFileDialog::LoadSprites, GameFileDialog::SaveSprites, "CTessarandDlg::SaveSprites()"},
    {PageKind::Sounds, DataKind::Sounds, command::LoadSounds, command::SaveSounds,
     GameFileDialog::LoadSounds, GameFileDialog::SaveSounds, "CTessarandDlg::SaveSounds()"},
};

const PageKindCommands& commandsOf(PageKind kind) { return kPageKinds[size_t(kind)]; }

} // namespace

bool CTessarandDlg::loadPageKind(PageKind kind, const QString& path) {
    beginSingleKindLoad();
    PageFileLoad load(kind, path.toStdString());
    if (!load.open(*m_prompter))
        return false;
    JobResult result =
        m_Progress->runJob([&load](JobContext& job) { return load.run(job); }, *m_prompter);
    if (result != JobResult::NothingDone)
        reportUnexpectedResult(result, "CTessarandDlg::LoadTextures()");
    // A failed or cancelled load leaves what was loaded before.
    if (!load.finish(result, m_pageFile))
        return false;
    const PageKindCommands& commands = commandsOf(kind);
    setStandardPath(QString::fromStdString(load.path().parent_path().string()));
    markFileOperation();
    m_state.setLoaded(commands.dataKind, true);
    setChanged(commands.dataKind, false);
    m_actions.value(commands.saveCommand)->setEnabled(true);
    refreshStatusPictures();
    return true;
}

bool CTessarandDlg::savePageKind(PageKind kind, const QString& path) {
    const PageKindCommands& commands = commandsOf(kind);
    PageFileSave save(kind, path.toStdString(), m_pageFile, m_settings.spriteCompression);
    if (!save.begin(*m_prompter))
        return false;
    JobResult result =
        m_Progress->runJob([&save](JobContext& job) { return save.run(job); }, *m_prompter);
    reportUnexpectedResult(result, commands.saveOperation);
    if (!save.finish(result, m_pageFile, *m_prompter))
        return false;
    markFileOperation();
    setLocked(commands.dataKind, false);
    setChanged(commands.dataKind, false);
    return true;
}

bool CTessarandDlg::LoadTextures(const QString& path) { return loadPageKind(PageKind::Walls, path); }
bool CTessarandDlg::LoadSprites(const QString& path) { return loadPageKind(PageKind::Sprites, path); }
bool CTessarandDlg::LoadSounds(const QString& path) { return loadPageKind(PageKind::Sounds, path); }
bool CTessarandDlg::SaveTextures(const QString& path) { return savePageKind(PageKind::Walls, path); }
bool CTessarandDlg::SaveSprites(const QString& path) { return savePageKind(PageKind::Sprites, path); }
bool CTessarandDlg::SaveSounds(const QString& path) { return savePageKind(PageKind::Sounds, path); }

void CTessarandDlg::runPageFileCommand(int commandId) {
    for (const PageKindCommands& commands : kPageKinds) {
        if (commandId == commands.loadCommand) {
            QString path = chooseFile(int(commands.loadDialog));
            if (!path.isEmpty())
                loadPageKind(commands.kind, path);
            return;
        }
        if (commandId == commands.saveCommand) {
            QString last = QString::fromStdString(m_pageFile.lastPath[size_t(commands.kind)].string());
            QString path = chooseFile(int(commands.saveDialog), last);
            if (!path.isEmpty())
                savePageKind(commands.kind, path);
            return;
        }
    }
}

void CTessarandDlg::refreshStatusPictures() {
    auto wallPicture = [this](uint16_t code) -> QImage {
        if (!m_pageFile.isLoaded(PageKind::Walls))
            return {};
        int texture = wallTextureOfCode(code, m_vocabulary, int(m_pageFile.walls.count()));
        if (texture < 0 || !m_pageFile.walls.hasImage(size_t(texture)))
            return {};
        return toQImage(m_pageFile.walls.picture(size_t(texture)), m_palette);
    };
    auto spritePicture = [this](uint16_t code) -> QImage {
        if (!m_pageFile.isLoaded(PageKind::Sprites))
            return {};
        int sprite = spriteOfObject(code, m_vocabulary, int(m_pageFile.sprites.count()));
        if (sprite < 0 || !m_pageFile.sprites.hasImage(size_t(sprite)))
            return {};
        return toQImage(m_pageFile.sprites.picture(size_t(sprite)), m_palette, 255, qRgb(0, 0, 0));
    };
    m_status->setPicture(status::LeftWallPicture, wallPicture(m_leftPen.wall));
    m_status->setPicture(status::RightWallPicture, wallPicture(m_rightPen.wall));
    m_status->setPicture(status::LeftSpritePicture, spritePicture(m_leftPen.object));
    m_status->setPicture(status::RightSpritePicture, spritePicture(m_rightPen.object));
}
