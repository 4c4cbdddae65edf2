#include "app/status_panel.h"

#include "app/status_texts.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>

namespace {

constexpr int kPictureSize = 40;
constexpr int kSymbolSize = 14;

QLabel* makeLabel(QWidget* parent, int id, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(CStatusPanel::objectNameFor(id));
    return label;
}

QLabel* makeSlot(QWidget* parent, int id, int size) {
    QLabel* label = makeLabel(parent, id);
    label->setFixedSize(size, size);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setScaledContents(true);
    return label;
}

QLabel* makeName(QWidget* parent, int id) {
    QLabel* label = makeLabel(parent, id, kNothingText);
    QFont small = label->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    label->setFont(small);
    label->setWordWrap(true);
    label->setMinimumWidth(60);
    return label;
}

} // namespace

CStatusPanel::CStatusPanel(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(2);
    int row = 0;
    auto caption = [&](int id, const char* text) {
        grid->addWidget(makeLabel(this, id, text), row++, 0, 1, 2);
    };
    auto pictureRow = [&](int pictureId, int symbolId, int nameId) {
        grid->addWidget(makeSlot(this, pictureId, kPictureSize), row, 0, 2, 1);
        grid->addWidget(makeSlot(this, symbolId, kSymbolSize), row, 1);
        grid->addWidget(makeName(this, nameId), row + 1, 1);
        row += 2;
    };
    auto symbolRow = [&](int symbolId, int nameId) {
        grid->addWidget(makeSlot(this, symbolId, kSymbolSize), row, 0, Qt::AlignRight);
        grid->addWidget(makeName(this, nameId), row, 1);
        ++row;
    };
    caption(1076, "Walls");
    pictureRow(status::LeftWallPicture, status::LeftWallSymbol, status::LeftWallName);
    pictureRow(status::RightWallPicture, status::RightWallSymbol, status::RightWallName);
    caption(1077, "Objects");
    pictureRow(status::LeftSpritePicture, status::LeftObjectSymbol, status::LeftObjectName);
    pictureRow(status::RightSpritePicture, status::RightObjectSymbol, status::RightObjectName);
    caption(1078, "Floors");
    symbolRow(status::LeftFloorSymbol, status::LeftFloorName);
    symbolRow(status::RightFloorSymbol, status::RightFloorName);
    grid->addWidget(makeLabel(this, status::CursorPosition, QString::fromStdString(cursorPositionText(0, 0))),
                    row++, 0, 1, 2);
    symbolRow(status::CursorWallSymbol, status::CursorWallName);
    symbolRow(status::CursorObjectSymbol, status::CursorObjectName);
    grid->setRowStretch(row, 1);
}

QLabel* CStatusPanel::label(int controlId) const {
    return findChild<QLabel*>(objectNameFor(controlId));
}

void CStatusPanel::setText(int controlId, const QString& text) {
    if (QLabel* target = label(controlId))
        target->setText(text);
}

QString CStatusPanel::text(int controlId) const {
    QLabel* target = label(controlId);
    return target ? target->text() : QString();
}

void CStatusPanel::setPicture(int controlId, const QImage& image) {
    QLabel* target = label(controlId);
    if (!target)
        return;
    if (image.isNull())
        target->clear();
    else
        target->setPixmap(QPixmap::fromImage(image));
}

QImage CStatusPanel::picture(int controlId) const {
    QLabel* target = label(controlId);
    return target ? target->pixmap().toImage() : QImage();
}
