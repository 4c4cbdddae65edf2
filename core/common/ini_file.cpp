#include "common/ini_file.h"

#include "common/file_io.h"
#include "common/game_file_path.h"

namespace {

std::string_view trim(std::string_view text) {
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

} // namespace

IniFile IniFile::parse(std::string_view text) {
    IniFile ini;
    Section* current = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            if (close == std::string_view::npos)
                continue;
            std::string name(trim(line.substr(1, close - 1)));
            current = ini.findSection(name);
            if (!current) {
                ini.m_sections.push_back({name, {}});
                current = &ini.m_sections.back();
            }
            continue;
        }
        size_t equals = line.find('=');
        if (!current || equals == std::string_view::npos)
            continue;
        std::string key(trim(line.substr(0, equals)));
        std::string value(trim(line.substr(equals + 1)));
        // Profile readers drop one pair of surrounding quotes.
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        bool replaced = false;
        for (auto& entry : current->entries)
            if (equalsIgnoringCase(entry.first, key)) {
                if (!replaced)
                    entry.second = value;
                replaced = true;
            }
        if (!replaced)
            current->entries.emplace_back(key, value);
    }
    return ini;
}

IniFile IniFile::read(const std::filesystem::path& path) {
    // Settings files are tiny; a huge file is not ours and is read as empty.
    std::optional<Bytes> data = readWholeFile(path, nullptr, 1 << 20);
    if (!data)
        return {};
    return parse(std::string_view(reinterpret_cast<const char*>(data->data()), data->size()));
}

IniFile::Section* IniFile::findSection(const std::string& name) {
    for (Section& section : m_sections)
        if (equalsIgnoringCase(section.name, name))
            return &section;
    return nullptr;
}

const IniFile::Section* IniFile::findSection(const std::string& name) const {
    return const_cast<IniFile*>(this)->findSection(name);
}

std::optional<std::string> IniFile::value(const std::string& section,
                                          const std::string& key) const {
    const Section* found = findSection(section);
    if (!found)
        return std::nullopt;
    for (const auto& entry : found->entries)
        if (equalsIgnoringCase(entry.first, key))
            return entry.second;
    return std::nullopt;
}

void IniFile::set(const std::string& section, const std::string& key, const std::string& value) {
    Section* found = findSection(section);
    if (!found) {
        m_sections.push_back({section, {}});
        found = &m_sections.back();
    }
    for (auto& entry : found->entries)
        if (equalsIgnoringCase(entry.first, key)) {
            entry.second = value;
            return;
        }
    found->entries.emplace_back(key, value);
}

std::string IniFile::format() const {
    std::string text;
    for (const Section& section : m_sections) {
        text += "[" + section.name + "]\n";
        for (const auto& entry : section.entries)
            text += entry.first + "=" + entry.second + "\n";
    }
    return text;
}

bool IniFile::write(const std::filesystem::path& path, std::string* error) const {
    std::string text = format();
    return writeWholeFile(path, ByteView(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                          error);
}
