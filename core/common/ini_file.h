#pragma once
// A small sectioned key=value file that keeps the order of its sections and keys as written
// (the settings file is written in a fixed order). Lookups ignore case, as profile files do.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class IniFile {
public:
    static IniFile parse(std::string_view text);
    // A missing or unreadable file gives an empty IniFile.
    static IniFile read(const std::filesystem::path& path);

    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    // Replaces the value in place or appends the key (and its section) at the end.
    void set(const std::string& section, const std::string& key, const std::string& value);

    std::string format() const;
    bool write(const std::filesystem::path& path, std::string* error = nullptr) const;

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    Section* findSection(const std::string& name);
    const Section* findSection(const std::string& name) const;

    std::vector<Section> m_sections;
};
