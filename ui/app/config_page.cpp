#include "app/config_page.h"

#include "common/prompter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kColumnExtension = 0;
constexpr int kColumnMapObjects = 1;
constexpr int kColumnPalette = 2;

QButtonGroup* radioGroup(QWidget* owner, QGroupBox* box,
                         const std::vector<std::pair<QString, QString>>& buttons) {
    auto* group = new QButtonGroup(owner);
    auto* layout = new QVBoxLayout(box);
    int id = 0;
    for (const auto& [text, tooltip] : buttons) {
        auto* radio = new QRadioButton(text, box);
        if (!tooltip.isEmpty())
            radio->setToolTip(tooltip);
        group->addButton(radio, id++);
        layout->addWidget(radio);
    }
    return group;
}

QLineEdit* hexEdit(QWidget* parent, int digits, const QString& tooltip) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(digits);
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QString("[0-9A-Fa-f]{0,%1}").arg(digits)), edit));
    edit->setToolTip(tooltip);
    edit->setMaximumWidth(60);
    return edit;
}

QString hexText(unsigned value, int digits) {
    return QString("%1").arg(value, digits, 16, QChar('0')).toUpper();
}

} // namespace

CPropConfig::CPropConfig(Settings& settings, DocumentState& state, Prompter& prompter,
                         QWidget* parent)
    : QWidget(parent), m_settings(settings), m_state(state), m_prompter(prompter) {
    setWindowTitle("Config");
    buildControls();
    loadFromSettings();
    fillExtensionList();
    m_pending = false;
}

void CPropConfig::buildControls() {
    auto* grid = new QGridLayout(this);

    auto* wheelLabel = new QLabel("MouseWheel scrolls", this);
    m_wheel = new QComboBox(this);
    for (int pages = 1; pages <= 5; ++pages)
        m_wheel->addItem(pages == 1 ? QString("1 Page") : QString("%1 Pages").arg(pages));
    grid->addWidget(wheelLabel, 0, 0);
    grid->addWidget(m_wheel, 0, 1);

    auto* compressBox = new QGroupBox("CarmarckCompress", this);
    m_compress = radioGroup(this, compressBox, {{"As expanded", "Save as it was loaded"},
                                                {"Enable", "Enable"},
                                                {"Disable", "Disable"}});
    auto* modeBox = new QGroupBox("Carmarck Mode", this);
    m_mode = radioGroup(this, modeBox, {{"Compatible", ""}, {"Best Result", ""}});
    auto* expandBox = new QGroupBox("CarmarckExpand", this);
    m_expand = radioGroup(this, expandBox,
                          {{"Auto Gamemaps/Maptemp", "Use Carmarck if name is Gamemaps.***"},
                           {"Enable", "Enable"},
                           {"Disable", "Disable"}});
    auto* spriteBox = new QGroupBox("Sprite Compression", this);
    m_sprites = radioGroup(this, spriteBox, {{"None", ""}, {"Good", ""}, {"Best", ""}});
    m_sprites->button(int(SpriteCompression::Best))->setEnabled(false);
    grid->addWidget(compressBox, 1, 0);
    grid->addWidget(modeBox, 1, 1);
    grid->addWidget(expandBox, 2, 0);
    grid->addWidget(spriteBox, 2, 1);

    auto* tagsBox = new QGroupBox(this);
    auto* tags = new QGridLayout(tagsBox);
    m_rlew = hexEdit(tagsBox, 4, "Edit RLEW-Tag");
    m_far = hexEdit(tagsBox, 2, "Edit FARTAG");
    m_near = hexEdit(tagsBox, 2, "Edit NEARTAG");
    tags->addWidget(new QLabel("RLEW-Tag :", tagsBox), 0, 0);
    tags->addWidget(m_rlew, 0, 1);
    tags->addWidget(new QLabel("FARTAG :", tagsBox), 1, 0);
    tags->addWidget(m_far, 1, 1);
    tags->addWidget(new QLabel("NEARTAG :", tagsBox), 2, 0);
    tags->addWidget(m_near, 2, 1);
    m_dontLoadRlew = new QCheckBox("Dont load RLEW-Tag", tagsBox);
    m_dontLoadRlew->setToolTip("Dont load RLEW from HeaderFile");
    m_defaults = new QPushButton("Set Defaults", tagsBox);
    m_defaults->setToolTip("Set Wolfenstein Defaults");
    tags->addWidget(m_dontLoadRlew, 3, 0, 1, 2);
    tags->addWidget(m_defaults, 4, 0, 1, 2);
    grid->addWidget(tagsBox, 3, 0);

    auto* optionsBox = new QGroupBox(this);
    auto* options = new QVBoxLayout(optionsBox);
    m_tryMaphead = new QCheckBox("Try first Maphead", optionsBox);
    m_tryMaphead->setToolTip("Try first load Maphead.***");
    m_mapsOnly = new QCheckBox("Gamemaps/Maptemp only", optionsBox);
    m_mapsOnly->setToolTip("Load only Gamemaps/Maptemp");
    m_tooltips = new QCheckBox("ToolTips", optionsBox);
    m_tooltips->setToolTip("Show ToolTips");
    options->addWidget(m_tryMaphead);
    options->addWidget(m_mapsOnly);
    options->addWidget(m_tooltips);
    grid->addWidget(optionsBox, 3, 1);

    m_extensions = new QTableWidget(0, 3, this);
    m_extensions->setHorizontalHeaderLabels({"Extension", "Mapsymbols", "Palette"});
    m_extensions->setColumnWidth(kColumnExtension, 70);
    m_extensions->setColumnWidth(kColumnMapObjects, 180);
    m_extensions->setColumnWidth(kColumnPalette, 160);
    m_extensions->setSelectionMode(QAbstractItemView::SingleSelection);
    m_extensions->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_extensions->verticalHeader()->hide();
    m_extensions->setEditTriggers(QAbstractItemView::DoubleClicked |
                                  QAbstractItemView::EditKeyPressed);
    grid->addWidget(m_extensions, 4, 0, 1, 2);

    auto pending = [this] { markPending(); };
    connect(m_wheel, &QComboBox::currentIndexChanged, this, pending);
    for (QButtonGroup* group : {m_compress, m_mode, m_expand, m_sprites})
        connect(group, &QButtonGroup::idClicked, this, pending);
    for (QLineEdit* edit : {m_rlew, m_far, m_near})
        connect(edit, &QLineEdit::textEdited, this, pending);
    for (QCheckBox* check : {m_dontLoadRlew, m_tryMaphead, m_mapsOnly, m_tooltips})
        connect(check, &QCheckBox::toggled, this, pending);
    connect(m_defaults, &QPushButton::clicked, this, [this] {
        m_far->setText("A8");
        m_near->setText("A7");
        m_rlew->setText("ABCD");
        markPending();
    });
    connect(m_extensions, &QTableWidget::itemChanged, this, &CPropConfig::onExtensionEdited);
    connect(m_extensions, &QTableWidget::cellClicked, this,
            [this](int row, int) { applyExtensionRow(row); });
}

void CPropConfig::markPending() {
    m_pending = true;
    emit pendingChanged();
}

void CPropConfig::loadFromSettings() {
    m_wheel->setCurrentIndex(m_settings.scrollDelta);
    m_compress->button(int(m_settings.carmackCompress))->setChecked(true);
    m_mode->button(int(m_settings.carmackMode))->setChecked(true);
    m_expand->button(int(m_settings.carmackExpand))->setChecked(true);
    m_sprites->button(int(m_settings.spriteCompression))->setChecked(true);
    m_rlew->setText(hexText(m_settings.rlewTag, 4));
    m_far->setText(hexText(m_settings.farTag, 2));
    m_near->setText(hexText(m_settings.nearTag, 2));
    m_dontLoadRlew->setChecked(m_settings.dontLoadRlew);
    m_tryMaphead->setChecked(m_settings.checkMaphead);
    m_mapsOnly->setChecked(m_settings.mapsOnly);
    m_tooltips->setChecked(m_settings.tooltips);
}

void CPropConfig::fillExtensionList() {
    m_filling = true;
    m_extensions->setRowCount(0);
    for (const ExtensionEntry& entry : m_state.extensions.entries)
        addExtensionRow(entry);
    addExtensionRow({"", kNoMapObjects, kNoPalette});
    m_filling = false;
}

void CPropConfig::addExtensionRow(const ExtensionEntry& entry) {
    bool filling = m_filling;
    m_filling = true;
    int row = m_extensions->rowCount();
    m_extensions->insertRow(row);
    auto* item = new QTableWidgetItem(QString::fromStdString(entry.extension));
    item->setData(Qt::UserRole, item->text());
    m_extensions->setItem(row, kColumnExtension, item);

    auto makeChoice = [&](const char* none, const std::vector<std::string>& names,
                          const std::string& current) {
        auto* combo = new QComboBox(m_extensions);
        combo->addItem(none);
        for (const std::string& name : names)
            combo->addItem(QString::fromStdString(name));
        int index = combo->findText(QString::fromStdString(current));
        if (index < 0 && !current.empty() && current != none) {
            combo->addItem(QString::fromStdString(current));
            index = combo->count() - 1;
        }
        combo->setCurrentIndex(std::max(index, 0));
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { markPending(); });
        return combo;
    };
    m_extensions->setCellWidget(row, kColumnMapObjects,
                                makeChoice(kNoMapObjects, m_state.mapObjectFolders,
                                           entry.mapObjectFolder));
    m_extensions->setCellWidget(row, kColumnPalette,
                                makeChoice(kNoPalette, m_state.paletteNames, entry.paletteName));
    m_filling = filling;
}

void CPropConfig::onExtensionEdited(QTableWidgetItem* item) {
    if (m_filling || item->column() != kColumnExtension)
        return;
    const int row = item->row();
    const bool lastRow = row == m_extensions->rowCount() - 1;
    const QString previous = item->data(Qt::UserRole).toString();
    const QString text = item->text().trimmed();
    m_filling = true;
    if (text.isEmpty()) {
        // An empty extension is never kept: on a real row it means "delete this row".
        if (!lastRow && m_prompter.askYesNo("Tessarand", "Do you really want to delete this extension ??")) {
            m_extensions->removeRow(row);
        } else {
            item->setText(previous);
        }
    } else {
        item->setText(text.toUpper());
        item->setData(Qt::UserRole, item->text());
        if (lastRow)
            addExtensionRow({"", kNoMapObjects, kNoPalette});
    }
    m_filling = false;
    markPending();
}

void CPropConfig::applyExtensionRow(int row) {
    if (m_extensions->rowCount() <= 1 || row < 0 || row >= m_extensions->rowCount())
        return;
    auto* folder = qobject_cast<QComboBox*>(m_extensions->cellWidget(row, kColumnMapObjects));
    auto* palette = qobject_cast<QComboBox*>(m_extensions->cellWidget(row, kColumnPalette));
    if (folder && folder->currentText() != kNoMapObjects)
        emit mapObjectsChosen(folder->currentText());
    if (palette && palette->currentText() != kNoPalette)
        emit paletteChosen(palette->currentText());
    m_extensions->selectRow(row);
    if (QTableWidgetItem* item = m_extensions->item(row, kColumnExtension))
        m_settings.lastExtension = item->text().toStdString().substr(0, kMaxLastExtensionLength);
}

bool CPropConfig::selectExtension(const QString& extension) {
    for (int row = 0; row + 1 < m_extensions->rowCount(); ++row) {
        QTableWidgetItem* item = m_extensions->item(row, kColumnExtension);
        if (item && item->text().compare(extension, Qt::CaseInsensitive) == 0) {
            applyExtensionRow(row);
            return true;
        }
    }
    return false;
}

void CPropConfig::takeOverSettings() {
    m_settings.scrollDelta = std::clamp(m_wheel->currentIndex(), 0, 4);
    m_settings.carmackCompress = CarmackCompress(std::max(m_compress->checkedId(), 0));
    m_settings.carmackMode = CarmackMode(std::max(m_mode->checkedId(), 0));
    m_settings.carmackExpand = CarmackExpand(std::max(m_expand->checkedId(), 0));
    m_settings.spriteCompression = SpriteCompression(std::max(m_sprites->checkedId(), 0));
    if (auto tag = readSettingHex(m_rlew->text().toStdString(), 4))
        m_settings.rlewTag = uint16_t(*tag);
    if (auto tag = readSettingHex(m_far->text().toStdString(), 2))
        m_settings.farTag = uint8_t(*tag);
    if (auto tag = readSettingHex(m_near->text().toStdString(), 2))
        m_settings.nearTag = uint8_t(*tag);
    m_settings.dontLoadRlew = m_dontLoadRlew->isChecked();
    m_settings.checkMaphead = m_tryMaphead->isChecked();
    m_settings.mapsOnly = m_mapsOnly->isChecked();
    m_settings.tooltips = m_tooltips->isChecked();

    m_state.wheelStep = m_settings.wheelStep();
    m_state.tooltipsEnabled = m_settings.tooltips;
    m_state.extensions.entries.clear();
    for (int row = 0; row + 1 < m_extensions->rowCount(); ++row) {
        auto* folder = qobject_cast<QComboBox*>(m_extensions->cellWidget(row, kColumnMapObjects));
        auto* palette = qobject_cast<QComboBox*>(m_extensions->cellWidget(row, kColumnPalette));
        QTableWidgetItem* item = m_extensions->item(row, kColumnExtension);
        m_state.extensions.entries.push_back(
            {item ? item->text().toStdString() : std::string(),
             folder ? folder->currentText().toStdString() : std::string(),
             palette ? palette->currentText().toStdString() : std::string()});
    }
    m_pending = false;
    emit settingsTakenOver();
}
