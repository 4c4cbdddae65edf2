#pragma once
// A game data file named by folder, base name and extension (GAMEMAPS + WL6), and the lookup of
// the other files of its set. Real sets come as VSWAP.WL6 and as vswap.wl6, so lookups ignore case.

#include <filesystem>
#include <optional>
#include <string>

struct GameFilePath {
    std::string folder;    // without a trailing separator
    std::string baseName;  // GAMEMAPS
    std::string extension; // WL6, without the dot; may be empty

    // Splits at the last "." of the file name.
    static GameFilePath fromPath(const std::filesystem::path& path);
    static GameFilePath fromFolderAndName(const std::string& folder, const std::string& name);

    bool empty() const { return baseName.empty() && extension.empty(); }
    std::string fileName() const;
    std::filesystem::path fullPath() const;
    std::filesystem::path withSuffix(const std::string& suffix) const;

    // The file of the same set with another base name, as it exists on disk (any case), or
    // spelled in the case of this file's base name when there is none yet.
    GameFilePath sibling(const std::string& otherBaseName) const;
    // Like sibling(), but only when such a file exists.
    std::optional<GameFilePath> existingSibling(const std::string& otherBaseName) const;

    bool operator==(const GameFilePath&) const = default;
};

bool equalsIgnoringCase(const std::string& a, const std::string& b);
bool startsWithIgnoringCase(const std::string& text, const std::string& prefix);
std::string toUpper(std::string text);
std::string toLower(std::string text);

// The entry of folder whose name equals name without regard to case; an exact match wins.
std::optional<std::filesystem::path> findFileIgnoringCase(const std::filesystem::path& folder,
                                                          const std::string& name);
