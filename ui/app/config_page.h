#pragma once
// The Config page: the options of "Tessarand.ini" and the table of game extensions. While the
// page exists its controls are the authority: takeOverSettings() copies them into the settings.

#include "app/document_state.h"
#include "app/settings.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class Prompter;

class CPropConfig : public QWidget {
    Q_OBJECT
public:
    CPropConfig(Settings& settings, DocumentState& state, Prompter& prompter,
                QWidget* parent = nullptr);

    // Copies every control into the settings and the extension table (every row but the last).
    void takeOverSettings();
    bool hasPendingChanges() const { return m_pending; }

    // Selects the first row whose extension equals the text without regard to case and applies it.
    bool selectExtension(const QString& extension);
    void applyExtensionRow(int row);

    QTableWidget* extensionList() const { return m_extensions; }
    QComboBox* wheelCombo() const { return m_wheel; }
    QLineEdit* rlewEdit() const { return m_rlew; }
    QLineEdit* farEdit() const { return m_far; }
    QLineEdit* nearEdit() const { return m_near; }
    QPushButton* defaultsButton() const { return m_defaults; }
    QButtonGroup* carmackCompressGroup() const { return m_compress; }
    QButtonGroup* carmackModeGroup() const { return m_mode; }
    QButtonGroup* carmackExpandGroup() const { return m_expand; }
    QButtonGroup* spriteCompressionGroup() const { return m_sprites; }

    static constexpr const char* kNoMapObjects = " N/A";
    static constexpr const char* kNoPalette = " No Change";

signals:
    // A row was applied: load these (empty: keep what is loaded).
    void mapObjectsChosen(const QString& folder);
    void paletteChosen(const QString& name);
    void settingsTakenOver();
    // A control changed: the main dialog takes the settings over when it is next idle.
    void pendingChanged();

private:
    void buildControls();
    void loadFromSettings();
    void fillExtensionList();
    void addExtensionRow(const ExtensionEntry& entry);
    void onExtensionEdited(QTableWidgetItem* item);
    void markPending();

    Settings& m_settings;
    DocumentState& m_state;
    Prompter& m_prompter;
    bool m_pending = false;
    bool m_filling = false;

    QComboBox* m_wheel = nullptr;
    QButtonGroup* m_compress = nullptr;
    QButtonGroup* m_mode = nullptr;
    QButtonGroup* m_expand = nullptr;
    QButtonGroup* m_sprites = nullptr;
    QLineEdit* m_rlew = nullptr;
    QLineEdit* m_far = nullptr;
    QLineEdit* m_near = nullptr;
    QCheckBox* m_dontLoadRlew = nullptr;
    QPushButton* m_defaults = nullptr;
    QCheckBox* m_tryMaphead = nullptr;
    QCheckBox* m_mapsOnly = nullptr;
    QCheckBox* m_tooltips = nullptr;
    QTableWidget* m_extensions = nullptr;
};
