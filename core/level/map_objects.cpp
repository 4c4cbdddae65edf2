#include "level/map_objects.h"

#include "common/game_file_path.h"
#include "level/lists_file.h"
#include "level/sprinfo_file.h"

#include <algorithm>
#include <fstream>
#include <optional>

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxMapObjectFolderCount = 100;

std::optional<fs::path> findInFolder(const fs::path& folder, const std::string& name) {
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return std::nullopt;
    return findFileIgnoringCase(folder, name);
}

} // namespace

fs::path mapObjectFolderPath(const fs::path& programFolder, const std::string& folderName) {
    return programFolder / kMapObjectsFolderName / folderName;
}

std::vector<std::string> listMapObjectFolders(const fs::path& programFolder) {
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(programFolder / kMapObjectsFolderName, error);
    if (error)
        return names;
    for (const fs::directory_entry& entry : it) {
        std::string name = entry.path().filename().string();
        if (!name.empty() && name[0] != '.' && entry.is_directory(error))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    if (names.size() > kMaxMapObjectFolderCount)
        names.resize(kMaxMapObjectFolderCount);
    return names;
}

MapObjectsLoadResult loadMapObjects(const fs::path& folder, TileVocabulary& vocabulary,
                                    SymbolImage& symbols, Prompter& prompter) {
    MapObjectsLoadResult result;
    vocabulary.clearDefinitions();
    vocabulary.clearCodeLists();

    std::optional<fs::path> listsPath = findInFolder(folder, kListsFileName);
    std::ifstream lists;
    if (listsPath)
        lists.open(*listsPath, std::ios::binary);
    if (!lists.is_open()) {
        prompter.tell("Tessarand: Lists.txt not available!",
                      "The names for walls/objects/floors won't be correct!",
                      PromptIcon::Exclamation);
    } else {
        readListsFile(lists, vocabulary, prompter);
        result.listsRead = true;
    }

    std::optional<fs::path> symbolsPath = findInFolder(folder, kSymbolsFileName);
    std::optional<SymbolImage> picture;
    if (symbolsPath)
        picture = readSymbolsBmp(*symbolsPath);
    if (picture) {
        symbols = std::move(*picture);
        result.symbolsLoaded = true;
    } else {
        prompter.tell("Tessarand: Symbols.bmp not available!",
                      "The symbols for walls/objects/floors won't be correct!",
                      PromptIcon::Exclamation);
    }

    std::optional<fs::path> sprinfoPath = findInFolder(folder, kSprinfoFileName);
    std::ifstream sprinfo;
    if (sprinfoPath)
        sprinfo.open(*sprinfoPath, std::ios::binary);
    if (!sprinfo.is_open()) {
        prompter.tell("Tessarand: SprInfo.txt not available!",
                      "3DEdit won't be able to display the objects correctly!",
                      PromptIcon::Exclamation);
        return result;
    }
    vocabulary.tileInfo.clear();
    readSprinfoFile(sprinfo, vocabulary, prompter);
    vocabulary.applyDefaults();
    result.sprinfoRead = true;
    return result;
}
