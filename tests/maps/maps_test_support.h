#pragma once
// Shared helpers of the map tests: the shareware maps loaded once, their planes as RLEW streams.

#include "common/prompter.h"
#include "maps/map_files.h"
#include "maps/rlew.h"
#include "support/test_data.h"

#include <memory>
#include <vector>

namespace mapstest {

inline GameFilePath sharewareMapsPath(const std::filesystem::path& folder) {
    return GameFilePath{folder.string(), "GAMEMAPS", "WL1"};
}

// The shareware map set read with default settings; null when the data is absent.
inline std::shared_ptr<const MapSet> sharewareMaps() {
    static std::shared_ptr<const MapSet> cached = [] {
        std::shared_ptr<MapSet> maps;
        if (testdata::gameDataDir().empty())
            return maps;
        maps = std::make_shared<MapSet>();
        RecordingPrompter prompter;
        if (!loadMapsHere(*maps, sharewareMapsPath(testdata::gameDataDir()), std::nullopt,
                          Settings(), prompter))
            maps.reset();
        return maps;
    }();
    return cached;
}

// Each plane of each map as the stream Carmack compression works on: 8192, then the RLEW words.
inline std::vector<std::vector<uint16_t>> rlewStreams(const MapSet& maps) {
    std::vector<std::vector<uint16_t>> streams;
    for (int map = 0; map < maps.mapCount(); ++map)
        for (int p = 0; p < (maps.thirdPlaneEnabled() ? 3 : 2); ++p) {
            std::vector<uint16_t> stream{uint16_t(kPlaneBytes)};
            std::vector<uint16_t> runs = CompressRlew(maps.plane(map, p), maps.rlewTag());
            stream.insert(stream.end(), runs.begin(), runs.end());
            streams.push_back(std::move(stream));
        }
    return streams;
}

} // namespace mapstest
