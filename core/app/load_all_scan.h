#pragma once
// Load All's view of a folder: the game files sorted into their eight groups, the extensions
// found, and which file of each group belongs to a chosen extension.

#include "common/game_file_path.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

enum class FileGroup {
    PageFiles,     // VSWAP, GFXTILES
    MapData,       // GAMEMAPS, MAPTEMP
    MapHeaders,    // MAPHEAD
    VgaData,       // VGAGRAPH
    VgaHeaders,    // VGAHEAD
    HuffmanTables, // VGADICT
    AudioData,     // AUDIOT
    AudioHeaders,  // AUDIOHED
};
constexpr size_t kFileGroupCount = 8;

const char* fileGroupLabel(FileGroup group);

struct FolderScan {
    std::vector<std::string> extensions; // in order of discovery, unique without regard to case
    std::array<std::vector<std::string>, kFileGroupCount> groups;

    const std::vector<std::string>& names(FileGroup group) const {
        return groups[static_cast<size_t>(group)];
    }
};

// The group a file name belongs to, by the start of the name without regard to case.
std::optional<FileGroup> fileGroupOf(const std::string& fileName);
// The part after the first "." (looked for within the first 13 characters), or "".
std::string extensionOfScannedName(const std::string& fileName);

// Sorts the names into groups as the folder scan does (exact "MAIN.EXT" names go first).
FolderScan sortFileNames(const std::vector<std::string>& fileNames);
// Lists the folder's files (not directories); nothing when the folder cannot be listed.
std::optional<FolderScan> scanFolder(const std::filesystem::path& folder);

// The extension with the most files; on a tie the one equal to lastExtension wins, else the
// earlier one. Nothing when no extension has a file.
std::optional<std::string> chooseDefaultExtension(const FolderScan& scan,
                                                  const std::string& lastExtension);
// The first name of the list whose extension equals the chosen one without regard to case.
std::optional<std::string> firstNameWithExtension(const std::vector<std::string>& names,
                                                  const std::string& extension);

// The files Load All would load, one per dialog control.
struct LoadAllSelection {
    std::string folder;
    std::string extension;
    std::optional<GameFilePath> mapData, mapHeader, walls, sprites, sounds, vgaGraph, vgaHead,
        vgaDict, audioData, audioHeader;
};

LoadAllSelection selectFilesForExtension(const FolderScan& scan, const std::string& folder,
                                         const std::string& extension);
