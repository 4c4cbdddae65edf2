#include "app/extensions.h"

#include "common/file_io.h"
#include "common/game_file_path.h"
#include "common/text_lines.h"

const ExtensionEntry* ExtensionTable::findIgnoringCase(const std::string& extension) const {
    for (const ExtensionEntry& entry : entries)
        if (equalsIgnoringCase(entry.extension, extension))
            return &entry;
    return nullptr;
}

ExtensionEntry ExtensionTable::startupChoice(const std::string& lastExtension) const {
    for (const ExtensionEntry& entry : entries)
        if (entry.extension == lastExtension)
            return entry;
    if (!entries.empty())
        return entries.front();
    return {"", kDefaultMapObjectFolder, kDefaultPaletteName};
}

ExtensionTable parseExtensions(std::string_view text, Prompter& prompter) {
    // Lines longer than this are read in pieces, as the file format always has.
    constexpr size_t kMaxLineLength = 347;
    ExtensionTable table;
    LineReader lines(text, kMaxLineLength);
    std::string line;
    while (table.entries.size() < kMaxExtensions) {
        if (!lines.next(line)) {
            prompter.tell("Tessarand", "Can't load Extensions.txt");
            break;
        }
        if (!line.empty() && line[0] == '#')
            break;
        size_t first = line.find(',');
        size_t second = first == std::string::npos ? first : line.find(',', first + 1);
        if (second == std::string::npos)
            continue;
        table.entries.push_back({line.substr(0, first), line.substr(first + 1, second - first - 1),
                                 line.substr(second + 1)});
    }
    return table;
}

ExtensionTable readExtensionsFile(const std::filesystem::path& path, Prompter& prompter) {
    std::optional<Bytes> data = readWholeFile(path, nullptr, 1 << 20);
    if (!data)
        return {};
    return parseExtensions(std::string_view(reinterpret_cast<const char*>(data->data()), data->size()),
                           prompter);
}

std::string formatExtensions(const ExtensionTable& table) {
    std::string text;
    for (const ExtensionEntry& entry : table.entries)
        text += entry.extension + "," + entry.mapObjectFolder + "," + entry.paletteName + "\n";
    text += "#\n";
    return text;
}

bool writeExtensionsFile(const std::filesystem::path& path, const ExtensionTable& table,
                         std::string* error) {
    std::string text = formatExtensions(table);
    return writeWholeFile(path, ByteView(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                          error);
}
