#include "app/load_all_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace {
// Control ids of the file lists, as the dialog has always had them.
constexpr int kMapData = 1281, kMapHeaders = 1096, kWalls = 1097, kSprites = 1098,
              kSounds = 1287, kVgaData = 1100, kVgaHeaders = 1290, kHuffman = 1102,
              kAudioData = 1124, kAudioHeaders = 1104;
} // namespace

CLoadAllDlg::CLoadAllDlg(const FolderScan& scan, const QString& folder,
                         const QString& lastExtension, QWidget* parent)
    : QDialog(parent), m_scan(scan), m_folder(folder) {
    setWindowTitle("Load All");
    auto* form = new QFormLayout(this);
    m_extension = new QComboBox(this);
    for (const std::string& extension : scan.extensions)
        m_extension->addItem(QString::fromStdString(extension));
    form->addRow("Extension:", m_extension);
    auto add = [&](int id, const char* label, FileGroup group) {
        form->addRow(label, addList(id, label, scan.names(group)));
    };
    add(kMapData, "Map-Data", FileGroup::MapData);
    add(kMapHeaders, "Map-Headers", FileGroup::MapHeaders);
    add(kWalls, "Walltextures", FileGroup::PageFiles);
    add(kSprites, "Sprites", FileGroup::PageFiles);
    add(kSounds, "Sounds", FileGroup::PageFiles);
    add(kVgaData, "VGA-Data", FileGroup::VgaData);
    add(kVgaHeaders, "VGA-Headers", FileGroup::VgaHeaders);
    add(kHuffman, "Huffman-Table", FileGroup::HuffmanTables);
    add(kAudioData, "Audio-Data", FileGroup::AudioData);
    add(kAudioHeaders, "Audio-Headers", FileGroup::AudioHeaders);

    auto* buttons = new QHBoxLayout;
    auto* load = new QPushButton("Load All", this);
    auto* compress = new QPushButton("Compress all", this);
    auto* cancel = new QPushButton("Cancel", this);
    load->setDefault(true);
    buttons->addWidget(load);
    buttons->addWidget(compress);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    connect(load, &QPushButton::clicked, this, &QDialog::accept);
    connect(compress, &QPushButton::clicked, this, [this] {
        m_compressAll = true;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_extension, &QComboBox::currentTextChanged, this, &CLoadAllDlg::applyExtension);

    std::optional<std::string> chosen = chooseDefaultExtension(scan, lastExtension.toStdString());
    m_extension->setCurrentIndex(chosen ? m_extension->findText(QString::fromStdString(*chosen)) : -1);
    applyExtension(chosen ? QString::fromStdString(*chosen) : QString());
}

QComboBox* CLoadAllDlg::addList(int controlId, const QString& label,
                                const std::vector<std::string>& names) {
    auto* list = new QComboBox(this);
    list->setObjectName(QString("list%1").arg(controlId));
    list->setAccessibleName(label);
    for (const std::string& name : names)
        list->addItem(QString::fromStdString(name));
    m_lists << qMakePair(controlId, list);
    return list;
}

void CLoadAllDlg::applyExtension(const QString& extension) {
    for (auto& [id, list] : m_lists) {
        int index = -1;
        if (!extension.isEmpty()) {
            for (int i = 0; i < list->count() && index < 0; ++i)
                if (QString::fromStdString(extensionOfScannedName(list->itemText(i).toStdString()))
                        .compare(extension, Qt::CaseInsensitive) == 0)
                    index = i;
        }
        list->setCurrentIndex(index);
    }
}

QString CLoadAllDlg::selectedName(int controlId) const {
    for (const auto& [id, list] : m_lists)
        if (id == controlId)
            return list->currentIndex() >= 0 ? list->currentText() : QString();
    return {};
}

LoadAllSelection CLoadAllDlg::selection() const {
    LoadAllSelection selection;
    selection.folder = m_folder.toStdString();
    selection.extension = m_extension->currentText().toStdString();
    auto pick = [&](int id) -> std::optional<GameFilePath> {
        QString name = selectedName(id);
        if (name.isEmpty())
            return std::nullopt;
        return GameFilePath::fromFolderAndName(selection.folder, name.toStdString());
    };
    selection.mapData = pick(kMapData);
    selection.mapHeader = pick(kMapHeaders);
    selection.walls = pick(kWalls);
    selection.sprites = pick(kSprites);
    selection.sounds = pick(kSounds);
    selection.vgaGraph = pick(kVgaData);
    selection.vgaHead = pick(kVgaHeaders);
    selection.vgaDict = pick(kHuffman);
    selection.audioData = pick(kAudioData);
    selection.audioHeader = pick(kAudioHeaders);
    return selection;
}
