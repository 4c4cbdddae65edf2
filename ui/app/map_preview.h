#pragma once
// Shows a level with its map symbols: the current map, or the built-in sample level while no
// maps are loaded.

#include <QImage>
#include <QWidget>

class CMapPreview : public QWidget {
    Q_OBJECT
public:
    explicit CMapPreview(QWidget* parent = nullptr);
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
