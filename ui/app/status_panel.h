#pragma once
// The right-hand status panel: the walls, objects and floors on the two mouse buttons, the
// cursor position and the two codes under the cursor. Each control keeps its historic id as
// its object name ("status1032"), so pages and tests can address it.

#include <QImage>
#include <QWidget>

class QLabel;

namespace status {
// texts
constexpr int LeftWallName = 1032, RightWallName = 1034, LeftObjectName = 1035,
              RightObjectName = 1036, LeftFloorName = 1037, RightFloorName = 1038,
              CursorPosition = 1039, CursorWallName = 1029, CursorObjectName = 1030;
// pictures
constexpr int LeftWallPicture = 1031, RightWallPicture = 1033, LeftSpritePicture = 1272,
              RightSpritePicture = 1279;
// tile symbols
constexpr int LeftWallSymbol = 1254, RightWallSymbol = 1256, LeftObjectSymbol = 1023,
              RightObjectSymbol = 1267, LeftFloorSymbol = 1025, RightFloorSymbol = 1263,
              CursorWallSymbol = 1028, CursorObjectSymbol = 1269;
} // namespace status

class CStatusPanel : public QWidget {
    Q_OBJECT
public:
    explicit CStatusPanel(QWidget* parent = nullptr);

    void setText(int controlId, const QString& text);
    QString text(int controlId) const;
    // A null image clears the slot.
    void setPicture(int controlId, const QImage& image);
    QImage picture(int controlId) const;

    static QString objectNameFor(int controlId) { return QString("status%1").arg(controlId); }

private:
    QLabel* label(int controlId) const;
};
