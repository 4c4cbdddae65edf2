#include "app/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

const QString kMapsFilter =
    "All GAMEMAPS/MAPTEMP files|GAMEMAPS.*;MAPTEMP.*|All GAMEMAPS files (GAMEMAPS.*)|GAMEMAPS.*|"
    "All MAPTEMP files (MAPTEMP.*)|MAPTEMP.*|Wolf3D (*.WL6)|*.WL6|Wolf3D Demo (*.WL1)|*.WL1|"
    "Spear of Destiny (*.SOD)|*.SOD|Operation Zusammenkunft (*.OZ6)|*.OZ6|All files (*.*)|*.*||";
const QString kPageFileFilterA =
    "All VSWAP/GFXTILES files|VSWAP.*;GFXTILES.*|All VSWAP files (VSWAP.*)|VSWAP.*|"
    "All GFXTILES files (GFXTILES.*)|GFXTILES.*|Wolf3D (*.WL6)|*.WL6|Wolf3D Demo (*.WL1)|*.WL1|"
    "Spear of Destiny (*.SOD)|*.SOD|Operation Zusammenkunft (*.OZ6)|*.OZ6|All files (*.*)|*.*||";
const QString kPageFileFilterB =
    "All VSWAP files (VSWAP.*)|VSWAP.*|Wolf3D (*.WL6)|*.WL6|Wolf3D Demo (*.WL1)|*.WL1|"
    "Spear of Destiny (*.SOD)|*.SOD|Operation Zusammenkunft (*.OZ6)|*.OZ6|All files (*.*)|*.*||";
const QString kGameSuffixes =
    "Wolf3D (*.WL6)|*.WL6|Wolf3D Demo (*.WL1)|*.WL1|Spear of Destiny (*.SOD)|*.SOD|"
    "Operation Zusammenkunft (*.OZ6)|*.OZ6|All files (*.*)|*.*||";
const QString kMusicFilter = "All AUDIOT files (AUDIOT.*)|AUDIOT.*|" + kGameSuffixes;
const QString kVgaFilterNamed = "All VGAGRAPH files (VGAGRAPH.*)|VGAGRAPH.*|" + kGameSuffixes;
const QString kVgaFilterPlain = "All VGAGRAPH files|VGAGRAPH.*|" + kGameSuffixes;
const QString kMapheadFilter =
    "Wolf3D(WL6)|*.WL6|Wolf3D Demo(WL1)|*.WL1|Spear of Destiny(SOD)|*.SOD|"
    "Operation Zusammenkunft(OZ6)|*.OZ6|All files(*.*)|*.*||";
const QString kVgaHeadFilter =
    "Wolf3D(WL6)|*.WL6|Wolf3D Demo(WL1)|*.WL1|Spear of Destiny(SOD)|*.SOD|"
    "Operation Zusammenkunft(OZ6)|*.OZ6|All files|*.*||";

const QString kLevelMapFilter = "Level Maps|*.MAP|Alle Dateien|*.*||";

} // namespace

FileDialogSpec fileDialogSpec(GameFileDialog kind) {
    switch (kind) {
    case GameFileDialog::LoadMaps:
        return {"Load maps...", "GAMEMAPS.*;MAPTEMP.*", kMapsFilter};
    case GameFileDialog::SaveMaps:
        return {"Save maps...", "", kMapsFilter, true};
    case GameFileDialog::LoadWalls:
        return {"Load textures...", "VSWAP.*;GFXTILES.*", kPageFileFilterA};
    case GameFileDialog::SaveWalls:
        return {"Save textures...", "", kPageFileFilterA, true};
    case GameFileDialog::LoadSprites:
        return {"Load sprites...", "VSWAP.*;GFXTILES.*", kPageFileFilterA};
    case GameFileDialog::SaveSprites:
        return {"Save sprites...", "", kPageFileFilterB, true};
    case GameFileDialog::LoadSounds:
        return {"Load sounds...", "VSWAP.*", kPageFileFilterB};
    case GameFileDialog::SaveSounds:
        return {"Save sounds...", "", kPageFileFilterB, true};
    case GameFileDialog::LoadMusic:
        return {"Load music...", "AUDIOT.*", kMusicFilter};
    case GameFileDialog::LoadFonts:
        return {"Load fonts...", "VGAGRAPH.*", kVgaFilterNamed};
    case GameFileDialog::LoadScreens:
        return {"Load screens...", "VGAGRAPH.*", kVgaFilterNamed};
    case GameFileDialog::LoadTile8s:
        return {"Load tile8s...", "VGAGRAPH.*", kVgaFilterPlain};
    case GameFileDialog::LoadGraphics:
        return {"Load graphics...", "VGAGRAPH.*", kVgaFilterPlain};
    case GameFileDialog::LoadCompleteVgaGraph:
        return {"Load complete VGAGRAPH...", "VGAGRAPH.*", kVgaFilterPlain};
    case GameFileDialog::SaveGraphics:
        return {"Save graphics...", "", kVgaFilterNamed, true};
    case GameFileDialog::SaveFonts:
        return {"Save fonts...", "", kVgaFilterNamed, true};
    case GameFileDialog::SaveTile8s:
        return {"Save tile8s...", "", kVgaFilterNamed, true};
    case GameFileDialog::SaveScreens:
        return {"Save screens...", "", kVgaFilterNamed, true};
    case GameFileDialog::FindMaphead:
        return {"", "Maphead.*", kMapheadFilter};
    case GameFileDialog::FindVgaHead:
    case GameFileDialog::FindVgaDict:
        return {"", "", kVgaHeadFilter};
    case GameFileDialog::ExportMap:
        return {"Export Map...", "", kLevelMapFilter, true, "MAP"};
    case GameFileDialog::ImportMap:
        return {"Import Map...", "*.MAP", kLevelMapFilter, false, "MAP"};
    }
    return {};
}

QString caseInsensitivePattern(const QString& pattern) {
    QString out;
    for (QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            out += QString("[%1%2]").arg(c.toLower()).arg(c.toUpper());
        else
            out += c;
    }
    return out;
}

QStringList qtNameFilters(const QString& filter) {
    QStringList parts = filter.split('|');
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts))
            patterns << (pattern == "*.*" ? QString("*") : caseInsensitivePattern(pattern));
        result << QString("%1 (%2)").arg(parts[i], patterns.join(' '));
    }
    return result;
}

QString runGameFileDialog(QWidget* parent, GameFileDialog kind, const QString& startPath) {
    return runFileDialog(parent, fileDialogSpec(kind), startPath);
}

QString runFileDialog(QWidget* parent, const FileDialogSpec& spec, const QString& startPath) {
    QFileDialog dialog(parent, spec.title);
    // Our patterns carry character classes; show the descriptions as they are written.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setNameFilters(qtNameFilters(spec.filter));
    if (!spec.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(spec.defaultSuffix);
    if (spec.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!startPath.isEmpty())
            dialog.selectFile(startPath);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDirectory(startPath.isEmpty() ? QDir::currentPath() : QFileInfo(startPath).path());
        // A default name with wildcards narrows the list, as typing it would.
        if (!spec.defaultName.isEmpty() && !spec.defaultName.contains('*'))
            dialog.selectFile(spec.defaultName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}
