#pragma once
// The editor's main window in a program folder of its own (with the shipped resources) and,
// when asked, a writable copy of the shareware files, with scripted message boxes.

#include "app/tessarand_dlg.h"
#include "support/test_data.h"

#include <memory>

struct ShellFixture {
    testdata::TempDir program;
    testdata::TempDir game;
    RecordingPrompter prompter;
    std::unique_ptr<CTessarandDlg> dialog;

    explicit ShellFixture(bool withGameCopy = true) {
        std::filesystem::copy(testdata::resourcesDir(), program.path(),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        if (withGameCopy && !testdata::gameDataDir().empty())
            testdata::copyGameData(game.path());
        open();
    }
    // Builds the main window (again), as a new start of the program would.
    void open() {
        dialog.reset();
        CTessarandDlg::Options options;
        options.programFolder = QString::fromStdString(program.path().string());
        options.prompter = &prompter;
        options.allowAboutOnStart = false;
        dialog = std::make_unique<CTessarandDlg>(options);
    }
    QString file(const std::string& name) const {
        return QString::fromStdString((game / name).string());
    }
    GameFilePath gameFile(const std::string& name) const {
        return GameFilePath::fromPath(game / name);
    }
};
