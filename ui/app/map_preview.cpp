#include "app/map_preview.h"

#include <QPainter>

CMapPreview::CMapPreview(QWidget* parent) : QWidget(parent) { setMinimumSize(448, 448); }

void CMapPreview::setPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

void CMapPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_picture.isNull())
        painter.drawImage(QPoint((width() - m_picture.width()) / 2, 0), m_picture);
}
