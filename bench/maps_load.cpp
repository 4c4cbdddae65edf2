// Loading the ten shareware maps from disk: MAPHEAD, GAMEMAPS, Carmack and RLEW expansion.

#include "maps/map_files.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

std::filesystem::path sharewareFolder() {
    if (const char* env = std::getenv("TESSARAND_GAME_DATA"); env && *env)
        return env;
    return std::filesystem::path(TESSARAND_SOURCE_DIR) / ".." / "shared" / "data" / "wl1";
}

void BM_LoadSharewareMaps(benchmark::State& state) {
    const GameFilePath path{sharewareFolder().string(), "GAMEMAPS", "WL1"};
    MapSet maps;
    for (auto _ : state) {
        RecordingPrompter prompter;
        if (!loadMapsHere(maps, path, std::nullopt, Settings(), prompter) ||
            maps.mapCount() != 10) {
            state.SkipWithError("shareware maps not found (../shared/data/wl1 or "
                                "TESSARAND_GAME_DATA)");
            return;
        }
        benchmark::DoNotOptimize(maps.plane(9, 1).data());
    }
}

} // namespace

BENCHMARK(BM_LoadSharewareMaps)->Unit(benchmark::kMillisecond);
