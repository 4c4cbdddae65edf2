#include "app/map_navigation.h"

#include "app/commands.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

CMapNavigation::CMapNavigation(QWidget* parent) : QWidget(parent) {
    auto button = [this](const QString& text, const QString& tooltip) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setToolTip(tooltip);
        return b;
    };
    m_prev = button("<", "Prev Level");
    m_next = button(">", "Next Level");
    m_goto = button("Goto", "Goto Level");
    m_insert = button("Insert", "Insert a new map after this one");
    m_delete = button("Delete", "Delete this map");
    m_importExport = button("Import/Export Map", "Import/Export Map");
    m_importExport->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(m_importExport);
    menu->addAction("Export Map...", this, &CMapNavigation::exportMapRequested);
    menu->addAction("Import Map...", this, &CMapNavigation::importMapRequested);
    m_importExport->setMenu(menu);
    m_name = new QLabel(this);
    m_number = new QLabel(this);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    for (QWidget* w : std::initializer_list<QWidget*>{m_prev, m_next, m_goto, m_number, m_name})
        layout->addWidget(w);
    layout->addStretch(1);
    for (QWidget* w : std::initializer_list<QWidget*>{m_insert, m_delete, m_importExport})
        layout->addWidget(w);

    connect(m_prev, &QToolButton::clicked, this, [this] { emit commandTriggered(command::PrevLevel); });
    connect(m_next, &QToolButton::clicked, this, [this] { emit commandTriggered(command::NextLevel); });
    connect(m_goto, &QToolButton::clicked, this, [this] { emit commandTriggered(command::GotoLevel); });
    connect(m_insert, &QToolButton::clicked, this, &CMapNavigation::insertMapRequested);
    connect(m_delete, &QToolButton::clicked, this, &CMapNavigation::deleteMapRequested);

    for (QToolButton* b : {m_prev, m_next, m_goto, m_delete, m_importExport})
        b->setEnabled(false);
}

void CMapNavigation::setMapName(const QString& name) { m_name->setText(name); }
void CMapNavigation::setMapNumber(const QString& text) { m_number->setText(text); }
QString CMapNavigation::mapName() const { return m_name->text(); }
QString CMapNavigation::mapNumber() const { return m_number->text(); }
