#include "app/text_screen_preview.h"

#include "vgagraph/cp437.h"
#include "vgagraph/text_screen.h"

#include <QPainter>

namespace {
constexpr int kCellWidth = 8;
constexpr int kCellHeight = 16;
} // namespace

CTextScreenPreview::CTextScreenPreview(QWidget* parent) : QWidget(parent) {
    setFixedSize(kScreenColumns * kCellWidth, kScreenRows * kCellHeight);
}

void CTextScreenPreview::setCells(std::span<const uint8_t> cells) {
    m_cells.assign(cells.begin(), cells.end());
    m_cells.resize(kScreenCellBytes, 0);
    update();
}

void CTextScreenPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_cells.size() < kScreenCellBytes)
        return;
    QFont font("DejaVu Sans Mono");
    font.setPixelSize(13);
    font.setStyleHint(QFont::Monospace);
    painter.setFont(font);
    const auto& colours = textModeColours();
    auto colour = [&](int index) {
        const Rgb& c = colours[size_t(index & 15)];
        return QColor(c.r, c.g, c.b);
    };
    for (int row = 0; row < kScreenRows; ++row)
        for (int column = 0; column < kScreenColumns; ++column) {
            size_t at = TextScreen::cellOffset(column, row);
            uint8_t character = m_cells[at];
            uint8_t attribute = m_cells[at + 1];
            QRect cell(column * kCellWidth, row * kCellHeight, kCellWidth, kCellHeight);
            painter.fillRect(cell, colour((attribute >> 4) & 7)); // bit 7 blinks
            QColor foreground = colour(attribute & 15);
            // Block characters fill their cell exactly, which a font does not promise.
            switch (character) {
            case 0xDB: painter.fillRect(cell, foreground); continue;
            case 0xDC: painter.fillRect(cell.adjusted(0, kCellHeight / 2, 0, 0), foreground); continue;
            case 0xDF: painter.fillRect(cell.adjusted(0, 0, 0, -kCellHeight / 2), foreground); continue;
            case 0xDD: painter.fillRect(cell.adjusted(0, 0, -kCellWidth / 2, 0), foreground); continue;
            case 0xDE: painter.fillRect(cell.adjusted(kCellWidth / 2, 0, 0, 0), foreground); continue;
            default: break;
            }
            if (character == 0 || character == ' ')
                continue;
            char32_t glyph = cp437ToUnicode(character);
            painter.setPen(foreground);
            painter.drawText(cell, Qt::AlignCenter, QString::fromUcs4(&glyph, 1));
        }
}
