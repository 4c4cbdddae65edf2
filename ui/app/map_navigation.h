#pragma once
// The map controls the MapEdit page carries above its map: name, "Map n/m", Prev, Next and
// Goto Level, Insert and Delete map, and the Import/Export Map popup.

#include <QWidget>

class QLabel;
class QToolButton;

class CMapNavigation : public QWidget {
    Q_OBJECT
public:
    explicit CMapNavigation(QWidget* parent = nullptr);

    QToolButton* prevButton() const { return m_prev; }
    QToolButton* nextButton() const { return m_next; }
    QToolButton* gotoButton() const { return m_goto; }
    QToolButton* insertButton() const { return m_insert; }
    QToolButton* deleteButton() const { return m_delete; }
    QToolButton* importExportButton() const { return m_importExport; }

    void setMapName(const QString& name);
    void setMapNumber(const QString& text);
    QString mapName() const;
    QString mapNumber() const;

signals:
    void commandTriggered(int commandId);
    void insertMapRequested();
    void deleteMapRequested();
    void exportMapRequested();
    void importMapRequested();

private:
    QLabel* m_name;
    QLabel* m_number;
    QToolButton* m_prev;
    QToolButton* m_next;
    QToolButton* m_goto;
    QToolButton* m_insert;
    QToolButton* m_delete;
    QToolButton* m_importExport;
};
