#include "app/toolbar_icons.h"

#include "app/commands.h"

#include <QPainter>
#include <QPixmap>

namespace {

struct IconStyle {
    const char* letter;
    QColor colour;
    bool save;
};

IconStyle styleFor(int id) {
    using namespace command;
    switch (id) {
    case LoadAll: return {"*", QColor(0, 96, 0), false};
    case SaveAll: return {"*", QColor(0, 96, 0), true};
    case LoadMaps: return {"M", QColor(0, 64, 160), false};
    case SaveMaps: return {"M", QColor(0, 64, 160), true};
    case LoadWalls: return {"W", QColor(128, 64, 0), false};
    case SaveWalls: return {"W", QColor(128, 64, 0), true};
    case LoadSprites: return {"S", QColor(128, 0, 128), false};
    case SaveSprites: return {"S", QColor(128, 0, 128), true};
    case LoadVgaGraph: return {"V", QColor(0, 128, 128), false};
    case SaveVgaGraph: return {"V", QColor(0, 128, 128), true};
    case LoadSounds: return {"D", QColor(160, 0, 0), false};
    case SaveSounds: return {"D", QColor(160, 0, 0), true};
    case LoadMusic: return {"A", QColor(96, 96, 0), false};
    case SaveMusic: return {"A", QColor(96, 96, 0), true};
    default: return {"?", QColor(0, 0, 128), false};
    }
}

} // namespace

QIcon mainToolbarIcon(int commandId) {
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    if (commandId == command::ShowAbout) {
        painter.setBrush(QColor(255, 255, 192));
        painter.setPen(QColor(0, 0, 128));
        painter.drawEllipse(1, 0, 13, 13);
        painter.drawText(QRect(1, 0, 14, 14), Qt::AlignCenter, "i");
        return QIcon(pixmap);
    }
    IconStyle style = styleFor(commandId);
    // Load: a folder; save: a disk. The letter names the kind of data.
    if (style.save) {
        painter.setBrush(QColor(64, 64, 80));
        painter.setPen(Qt::black);
        painter.drawRect(0, 0, 14, 13);
        painter.fillRect(3, 1, 8, 4, Qt::white);
    } else {
        painter.setBrush(QColor(240, 200, 80));
        painter.setPen(QColor(120, 90, 0));
        painter.drawRect(0, 3, 14, 10);
        painter.drawRect(0, 1, 6, 2);
    }
    painter.setPen(style.save ? QColor(255, 255, 255) : style.colour);
    painter.drawText(QRect(0, 4, 15, 11), Qt::AlignCenter, style.letter);
    return QIcon(pixmap);
}
