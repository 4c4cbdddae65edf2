#pragma once
// "Load All": one drop-down list of files per kind, preset to the extension with the most files.

#include "app/load_all_scan.h"

#include <QDialog>

class QComboBox;

class CLoadAllDlg : public QDialog {
    Q_OBJECT
public:
    CLoadAllDlg(const FolderScan& scan, const QString& folder, const QString& lastExtension,
                QWidget* parent = nullptr);

    // The files selected in the lists, one per control; a list without selection gives none.
    LoadAllSelection selection() const;
    bool compressAll() const { return m_compressAll; }

    QComboBox* extensionList() const { return m_extension; }
    // Selects, in every file list, the first file of the extension (none when it has none).
    void applyExtension(const QString& extension);
    QString selectedName(int controlId) const;

private:
    QComboBox* addList(int controlId, const QString& label, const std::vector<std::string>& names);

    FolderScan m_scan;
    QString m_folder;
    QComboBox* m_extension;
    QList<QPair<int, QComboBox*>> m_lists;
    bool m_compressAll = false;
};
