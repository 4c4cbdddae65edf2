#pragma once
// "Goto Level": asks for a 1-based level number.

#include <QDialog>

class QLineEdit;

class CGotoLevelDlg : public QDialog {
    Q_OBJECT
public:
    explicit CGotoLevelDlg(QWidget* parent = nullptr);
    QLineEdit* levelEdit() const { return m_level; }
    QString levelText() const;

private:
    QLineEdit* m_level;
};

// The map index a typed level number selects, or -1 when no such level exists
// (the number is read as decimal; leading digits count, none reads as 0).
int mapIndexForLevelText(const QString& text, int highestMapIndex);
