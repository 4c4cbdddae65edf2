#pragma once
// Shows an 80 × 25 text screen (character and attribute per cell) as the PC's text mode did.

#include <QWidget>
#include <cstdint>
#include <span>
#include <vector>

class CTextScreenPreview : public QWidget {
    Q_OBJECT
public:
    explicit CTextScreenPreview(QWidget* parent = nullptr);
    // 4000 bytes: 80 × 25 cells of character, attribute.
    void setCells(std::span<const uint8_t> cells);
    const std::vector<uint8_t>& cells() const { return m_cells; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<uint8_t> m_cells;
};
