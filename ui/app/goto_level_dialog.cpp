#include "app/goto_level_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

CGotoLevelDlg::CGotoLevelDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Goto Level");
    m_level = new QLineEdit(this);
    m_level->setMaxLength(4);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QFormLayout(this);
    layout->addRow("Level :", m_level);
    layout->addRow(buttons);
}

QString CGotoLevelDlg::levelText() const { return m_level->text(); }

int mapIndexForLevelText(const QString& text, int highestMapIndex) {
    int number = 0;
    for (QChar c : text.trimmed()) {
        if (!c.isDigit())
            break;
        number = number * 10 + c.digitValue();
    }
    int index = number - 1;
    if (index < 0 || index > highestMapIndex)
        return -1;
    return index;
}
