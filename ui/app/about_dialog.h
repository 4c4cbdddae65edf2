#pragma once
// "About Tessarand...": the program's picture, credits, a line of tester names scrolling from
// right to left, and the web address that opens in the browser.

#include "app/program_info.h"

#include <QDialog>
#include <QStringList>

class QTimer;


class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    int scrollOffset() const { return m_scroll; }
    bool linkHovered() const { return m_linkHovered; }
    QRect linkArea() const { return QRect(500, 306, 141, 11); }
    void advanceScroller();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int testerLineWidth() const;

    QStringList m_testers;
    int m_scroll = 0;
    bool m_linkHovered = false;
    QTimer* m_timer;
};
