// Maps in tessarand-cli: the count for `info`, maps/mapNNN.MAP for `export`, and MAPHEAD with
// GAMEMAPS/MAPTEMP rewritten for `compress-all`.

#include "app/settings.h"
#include "cli_registry.h"
#include "common/file_io.h"
#include "maps/map_exchange.h"
#include "maps/map_files.h"

#include <cstdio>
#include <memory>

namespace fs = std::filesystem;

namespace {

Settings cliSettings(const CliContext& context) {
    Settings settings = readSettingsFile(context.programFolder / kSettingsFileName);
    const std::string compress = context.option("carmack-compress");
    if (compress == "as-loaded")
        settings.carmackCompress = CarmackCompress::AsExpanded;
    else if (compress == "enable")
        settings.carmackCompress = CarmackCompress::Enable;
    else if (compress == "disable")
        settings.carmackCompress = CarmackCompress::Disable;
    const std::string mode = context.option("carmack-mode");
    if (mode == "compatible")
        settings.carmackMode = CarmackMode::Compatible;
    else if (mode == "best")
        settings.carmackMode = CarmackMode::BestResult;
    return settings;
}

// Nothing when the folder has no map file (skipped, like Load All does) or it could not be read
// (the loader has printed why; *failed is set).
std::unique_ptr<MapSet> loadMaps(CliContext& context, const Settings& settings, bool* failed) {
    *failed = false;
    if (!context.selection.mapData)
        return nullptr;
    auto maps = std::make_unique<MapSet>();
    if (!loadMapsHere(*maps, *context.selection.mapData, context.selection.mapHeader, settings,
                      context.prompter)) {
        *failed = true;
        return nullptr;
    }
    return maps;
}

bool mapsInfo(CliContext& context, InfoCounts& counts) {
    bool failed = false;
    std::unique_ptr<MapSet> maps = loadMaps(context, cliSettings(context), &failed);
    if (!maps)
        return !failed;
    counts["maps"] = maps->mapCount();
    return true;
}

bool exportMaps(CliContext& context, const fs::path& outDir, const std::set<std::string>& kinds) {
    if (!kinds.count("maps"))
        return true;
    bool failed = false;
    std::unique_ptr<MapSet> maps = loadMaps(context, cliSettings(context), &failed);
    if (!maps)
        return !failed;
    const fs::path folder = outDir / "maps";
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        context.prompter.tell("Cannot Open", folder.string());
        return false;
    }
    for (int i = 0; i < maps->mapCount(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "map%03d.MAP", i);
        if (!exportMap(*maps, i, folder / name, context.prompter))
            return false;
    }
    return true;
}

bool compressMaps(CliContext& context, const fs::path& outDir) {
    const Settings settings = cliSettings(context);
    bool failed = false;
    std::unique_ptr<MapSet> maps = loadMaps(context, settings, &failed);
    if (!maps)
        return !failed;
    GameFilePath mapsPath = maps->lastMapsPath();
    GameFilePath mapheadPath = maps->lastMapheadPath();
    mapsPath.folder = mapheadPath.folder = outDir.string();
    return saveMapsHere(*maps, mapsPath, mapheadPath, settings, context.prompter);
}

CliRegistration registration(KindHandler{"maps", mapsInfo, exportMaps, compressMaps});

} // namespace
