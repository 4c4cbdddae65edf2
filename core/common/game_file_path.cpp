#include "common/game_file_path.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace fs = std::filesystem;

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

bool startsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::string toUpper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string toLower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

GameFilePath GameFilePath::fromPath(const fs::path& path) {
    GameFilePath result;
    result.folder = path.parent_path().string();
    std::string name = path.filename().string();
    size_t dot = name.rfind('.');
    if (dot == std::string::npos) {
        result.baseName = name;
    } else {
        result.baseName = name.substr(0, dot);
        result.extension = name.substr(dot + 1);
    }
    return result;
}

GameFilePath GameFilePath::fromFolderAndName(const std::string& folder, const std::string& name) {
    return fromPath(fs::path(folder) / name);
}

std::string GameFilePath::fileName() const {
    return extension.empty() ? baseName : baseName + "." + extension;
}

fs::path GameFilePath::fullPath() const { return fs::path(folder) / fileName(); }

fs::path GameFilePath::withSuffix(const std::string& suffix) const {
    return fs::path(fullPath().string() + suffix);
}

std::optional<fs::path> findFileIgnoringCase(const fs::path& folder, const std::string& name) {
    std::error_code error;
    fs::path exact = (folder.empty() ? fs::path(".") : folder) / name;
    if (fs::is_regular_file(exact, error))
        return folder / name;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error);
    if (error)
        return std::nullopt;
    for (const fs::directory_entry& entry : it) {
        std::string entryName = entry.path().filename().string();
        if (equalsIgnoringCase(entryName, name) && entry.is_regular_file(error))
            return folder / entryName;
    }
    return std::nullopt;
}

static bool isAllLower(const std::string& text) {
    return std::none_of(text.begin(), text.end(),
                        [](unsigned char c) { return std::isupper(c); }) &&
           std::any_of(text.begin(), text.end(), [](unsigned char c) { return std::islower(c); });
}

GameFilePath GameFilePath::sibling(const std::string& otherBaseName) const {
    if (auto existing = existingSibling(otherBaseName))
        return *existing;
    GameFilePath result = *this;
    result.baseName = isAllLower(baseName) ? toLower(otherBaseName) : toUpper(otherBaseName);
    return result;
}

std::optional<GameFilePath> GameFilePath::existingSibling(const std::string& otherBaseName) const {
    GameFilePath wanted = *this;
    wanted.baseName = otherBaseName;
    std::optional<fs::path> found = findFileIgnoringCase(folder, wanted.fileName());
    if (!found)
        return std::nullopt;
    return fromPath(*found);
}
