#include "app/load_all_scan.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace {

struct GroupRule {
    FileGroup group;
    const char* mainWord; // the name put first: MAINWORD.EXT
    const char* otherWord;
    const char* label;
};

// Tested in this order; a name joins the first group that matches.
constexpr GroupRule kRules[] = {
    {FileGroup::PageFiles, "VSWAP", "GFXTILES", "page files"},
    {FileGroup::MapData, "GAMEMAPS", "MAPTEMP", "map data"},
    {FileGroup::MapHeaders, "MAPHEAD", nullptr, "map headers"},
    {FileGroup::VgaData, "VGAGRAPH", nullptr, "VGA data"},
    {FileGroup::VgaHeaders, "VGAHEAD", nullptr, "VGA headers"},
    {FileGroup::HuffmanTables, "VGADICT", nullptr, "Huffman tables"},
    {FileGroup::AudioData, "AUDIOT", nullptr, "audio data"},
    {FileGroup::AudioHeaders, "AUDIOHED", nullptr, "audio headers"},
};

const GroupRule* ruleOf(const std::string& name) {
    for (const GroupRule& rule : kRules) {
        if (startsWithIgnoringCase(name, rule.mainWord) ||
            (rule.otherWord && startsWithIgnoringCase(name, rule.otherWord)))
            return &rule;
    }
    return nullptr;
}

bool containsIgnoringCase(const std::vector<std::string>& list, const std::string& text) {
    return std::any_of(list.begin(), list.end(),
                       [&](const std::string& item) { return equalsIgnoringCase(item, text); });
}

} // namespace

const char* fileGroupLabel(FileGroup group) { return kRules[static_cast<size_t>(group)].label; }

std::optional<FileGroup> fileGroupOf(const std::string& fileName) {
    const GroupRule* rule = ruleOf(fileName);
    return rule ? std::optional(rule->group) : std::nullopt;
}

std::string extensionOfScannedName(const std::string& fileName) {
    size_t dot = fileName.substr(0, 13).find('.');
    return dot == std::string::npos ? std::string() : fileName.substr(dot + 1);
}

FolderScan sortFileNames(const std::vector<std::string>& fileNames) {
    FolderScan scan;
    for (const std::string& name : fileNames) {
        const GroupRule* rule = ruleOf(name);
        if (!rule)
            continue;
        std::vector<std::string>& list = scan.groups[static_cast<size_t>(rule->group)];
        size_t dot = name.find('.');
        bool isMainName = dot != std::string::npos &&
                          equalsIgnoringCase(name.substr(0, dot), rule->mainWord) &&
                          name.find('.', dot + 1) == std::string::npos;
        if (isMainName)
            list.insert(list.begin(), name);
        else
            list.push_back(name);
        std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
        if (!extension.empty() && !containsIgnoringCase(scan.extensions, extension))
            scan.extensions.push_back(extension);
    }
    return scan;
}

std::optional<FolderScan> scanFolder(const fs::path& folder) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error)
        return std::nullopt;
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : it) {
        if (entry.is_directory(error))
            continue;
        names.push_back(entry.path().filename().string());
    }
    // Directory order is arbitrary on Linux; sorting keeps the lists the same on every run.
    std::sort(names.begin(), names.end());
    return sortFileNames(names);
}

std::optional<std::string> chooseDefaultExtension(const FolderScan& scan,
                                                  const std::string& lastExtension) {
    std::optional<std::string> chosen;
    int bestCount = 0;
    for (const std::string& extension : scan.extensions) {
        int count = 0;
        for (const auto& names : scan.groups)
            for (const std::string& name : names)
                if (equalsIgnoringCase(extensionOfScannedName(name), extension))
                    ++count;
        if (count > bestCount ||
            (count == bestCount && count > 0 && equalsIgnoringCase(extension, lastExtension))) {
            bestCount = count;
            chosen = extension;
        }
    }
    return chosen;
}

std::optional<std::string> firstNameWithExtension(const std::vector<std::string>& names,
                                                  const std::string& extension) {
    for (const std::string& name : names)
        if (equalsIgnoringCase(extensionOfScannedName(name), extension))
            return name;
    return std::nullopt;
}

LoadAllSelection selectFilesForExtension(const FolderScan& scan, const std::string& folder,
                                         const std::string& extension) {
    LoadAllSelection selection;
    selection.folder = folder;
    selection.extension = extension;
    auto pick = [&](FileGroup group) -> std::optional<GameFilePath> {
        std::optional<std::string> name = firstNameWithExtension(scan.names(group), extension);
        if (!name)
            return std::nullopt;
        return GameFilePath::fromFolderAndName(folder, *name);
    };
    selection.mapData = pick(FileGroup::MapData);
    selection.mapHeader = pick(FileGroup::MapHeaders);
    selection.walls = pick(FileGroup::PageFiles);
    selection.sprites = selection.walls;
    selection.sounds = selection.walls;
    selection.vgaGraph = pick(FileGroup::VgaData);
    selection.vgaHead = pick(FileGroup::VgaHeaders);
    selection.vgaDict = pick(FileGroup::HuffmanTables);
    selection.audioData = pick(FileGroup::AudioData);
    selection.audioHeader = pick(FileGroup::AudioHeaders);
    return selection;
}
