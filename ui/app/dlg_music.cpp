// The main dialog's "Load music" command.

#include "app/tessarand_dlg.h"

bool CTessarandDlg::LoadMusicFile(const QString& audioDataPath) {
    beginSingleKindLoad();
    m_state.setLoaded(DataKind::Music, false);
    const GameFilePath audioData = GameFilePath::fromPath(audioDataPath.toStdString());
    if (!LoadMusic(m_music, audioData, *m_prompter))
        return false;
    setStandardPath(QString::fromStdString(audioData.folder));
    markFileOperation();
    m_state.setLoaded(DataKind::Music, true);
    return true;
}
