#include "app/about_dialog.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QUrl>
#include <algorithm>

namespace {

constexpr int kScrollerLeft = 20;
constexpr int kScrollerWidth = 720;
constexpr int kScrollerY = 280;
// The scroller starts over once it has moved this far beyond its own width.
constexpr int kScrollerRestartGap = 133;

QFont linkFont() {
    QFont font("MS Sans Serif");
    font.setPixelSize(11);
    font.setWeight(QFont::DemiBold);
    font.setUnderline(true);
    return font;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Tessarand...");
    setFixedSize(760, 360);
    setMouseTracking(true);
    m_testers = {"the modders of the Wolfenstein 3D community", "everyone who sent a bug report",
                 "all testers of the preRelease"};
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    ok->setGeometry(width() - 100, height() - 34, 80, 26);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &CAboutDlg::advanceScroller);
    m_timer->start(40);
}

int CAboutDlg::testerLineWidth() const {
    return QFontMetrics(font()).horizontalAdvance(m_testers.join("   +++   "));
}

void CAboutDlg::advanceScroller() {
    m_scroll += 2;
    if (m_scroll > testerLineWidth() + kScrollerRestartGap) {
        m_scroll = 0;
        std::shuffle(m_testers.begin(), m_testers.end(), *QRandomGenerator::global());
    }
    update(QRect(kScrollerLeft, kScrollerY - 14, kScrollerWidth, 20));
}

void CAboutDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The program's picture: a stone wall fading into the night.
    QRect picture(20, 20, 200, 230);
    QLinearGradient sky(picture.topLeft(), picture.bottomLeft());
    sky.setColorAt(0, QColor(16, 16, 64));
    sky.setColorAt(1, QColor(96, 96, 128));
    painter.fillRect(picture, sky);
    for (int row = 0; row < 6; ++row)
        for (int column = 0; column < 4; ++column) {
            int offset = (row % 2) * 25;
            QRect stone(picture.left() + column * 50 - offset, picture.top() + 110 + row * 20, 48, 18);
            painter.fillRect(stone.intersected(picture), QColor(112 + (row * 7 + column * 13) % 40,
                                                                112, 112));
        }
    painter.setPen(Qt::white);
    QFont title = font();
    title.setPointSize(18);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(picture.adjusted(0, 20, 0, 0), Qt::AlignHCenter | Qt::AlignTop, "Tessarand");

    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    const QStringList credits = {
        QString("Tessarand V%1.%2 preRelease").arg(kVersionMajor).arg(kVersionMinor),
        "",
        "An editor for the data files of Wolfenstein 3D,",
        "Spear of Destiny and every game built on their engine:",
        "levels in 2D and 3D, textures, sprites, pictures, fonts,",
        "text screens, sounds, music and palettes.",
        "",
        "Thanks to:",
    };
    int y = 36;
    for (const QString& line : credits) {
        painter.drawText(240, y, line);
        y += 18;
    }

    painter.save();
    painter.setClipRect(QRect(kScrollerLeft, kScrollerY - 14, kScrollerWidth, 20));
    painter.drawText(kScrollerLeft + kScrollerWidth - m_scroll, kScrollerY,
                     m_testers.join("   +++   "));
    painter.restore();

    painter.setFont(linkFont());
    painter.setPen(m_linkHovered ? QColor(32, 80, 255) : QColor(0, 0, 192));
    painter.drawText(500, 304 + QFontMetrics(linkFont()).ascent(), kTessarandWebAddress);
}

void CAboutDlg::mouseMoveEvent(QMouseEvent* event) {
    bool hovered = linkArea().contains(event->position().toPoint());
    if (hovered != m_linkHovered) {
        m_linkHovered = hovered;
        setCursor(hovered ? Qt::PointingHandCursor : Qt::ArrowCursor);
        update();
    }
}

void CAboutDlg::mousePressEvent(QMouseEvent* event) {
    if (linkArea().contains(event->position().toPoint()))
        QDesktopServices::openUrl(QUrl(kTessarandWebAddress));
}
