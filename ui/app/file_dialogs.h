#pragma once
// The open and save dialogs of the load and save commands: titles, default names and filters
// as the program has always had them ("Description|pattern;pattern|...||"), shown with
// patterns that match without regard to case.

#include <QString>
#include <QStringList>

class QWidget;

enum class GameFileDialog {
    LoadMaps, SaveMaps,
    LoadWalls, SaveWalls, LoadSprites, SaveSprites, LoadSounds, SaveSounds,
    LoadMusic,
    LoadFonts, LoadScreens, LoadTile8s, LoadGraphics, LoadCompleteVgaGraph,
    SaveGraphics, SaveFonts, SaveTile8s, SaveScreens,
    FindMaphead, FindVgaHead, FindVgaDict,
    ExportMap, ImportMap,
};

struct FileDialogSpec {
    QString title;
    QString defaultName; // open dialogs only
    QString filter;      // "Description|patterns|...||"
    bool save = false;
    QString defaultSuffix; // added when the typed name has none
};

FileDialogSpec fileDialogSpec(GameFileDialog kind);

// "A|a.*;b.*|B|*.x||" -> {"A (…)", "B (…)"}; every pattern is spelled to match any case.
QStringList qtNameFilters(const QString& filter);
// "*.WL6" -> "*.[wW][lL]6"
QString caseInsensitivePattern(const QString& pattern);

// Runs the dialog; empty when cancelled. startPath: the last path of the kind (save dialogs).
QString runGameFileDialog(QWidget* parent, GameFileDialog kind, const QString& startPath = {});
QString runFileDialog(QWidget* parent, const FileDialogSpec& spec, const QString& startPath = {});
