// CompressCarmack against the plain exhaustive search it must match byte for byte, on the planes
// of the ten shareware maps (as the RLEW streams the map writer hands it).

#include "maps/carmack.h"
#include "maps/carmack_reference.h"
#include "maps/map_files.h"
#include "maps/rlew.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

std::filesystem::path sharewareFolder() {
    if (const char* env = std::getenv("TESSARAND_GAME_DATA"); env && *env)
        return env;
    return std::filesystem::path(TESSARAND_SOURCE_DIR) / ".." / "shared" / "data" / "wl1";
}

const std::vector<std::vector<uint16_t>>& sharewareStreams() {
    static const std::vector<std::vector<uint16_t>> streams = [] {
        std::vector<std::vector<uint16_t>> result;
        MapSet maps;
        RecordingPrompter prompter;
        if (!loadMapsHere(maps, GameFilePath{sharewareFolder().string(), "GAMEMAPS", "WL1"},
                          std::nullopt, Settings(), prompter))
            return result;
        for (int map = 0; map < maps.mapCount(); ++map)
            for (int p = 0; p < 2; ++p) {
                std::vector<uint16_t> stream{uint16_t(kPlaneBytes)};
                std::vector<uint16_t> runs = CompressRlew(maps.plane(map, p), maps.rlewTag());
                stream.insert(stream.end(), runs.begin(), runs.end());
                result.push_back(std::move(stream));
            }
        return result;
    }();
    return streams;
}

template <Bytes (*Compress)(std::span<const uint16_t>, CarmackMode, CarmackTags)>
void compressAllPlanes(benchmark::State& state, CarmackMode mode) {
    const auto& streams = sharewareStreams();
    if (streams.size() != 20) {
        state.SkipWithError("shareware maps not found (../shared/data/wl1 or TESSARAND_GAME_DATA)");
        return;
    }
    for (const auto& stream : streams)
        if (CompressCarmack(stream, mode, {}) != referenceCompressCarmack(stream, mode, {})) {
            state.SkipWithError("output differs from the exhaustive search");
            return;
        }
    size_t bytes = 0;
    for (auto _ : state) {
        for (const auto& stream : streams) {
            Bytes packed = Compress(stream, mode, CarmackTags{});
            bytes += packed.size();
            benchmark::DoNotOptimize(packed.data());
        }
    }
    state.counters["planes"] = double(streams.size());
    benchmark::DoNotOptimize(bytes);
}

Bytes fast(std::span<const uint16_t> source, CarmackMode mode, CarmackTags tags) {
    return CompressCarmack(source, mode, tags);
}
Bytes exhaustive(std::span<const uint16_t> source, CarmackMode mode, CarmackTags tags) {
    return referenceCompressCarmack(source, mode, tags);
}

void BM_CarmackBestResult(benchmark::State& state) {
    compressAllPlanes<fast>(state, CarmackMode::BestResult);
}
void BM_CarmackBestResultExhaustive(benchmark::State& state) {
    compressAllPlanes<exhaustive>(state, CarmackMode::BestResult);
}
void BM_CarmackCompatible(benchmark::State& state) {
    compressAllPlanes<fast>(state, CarmackMode::Compatible);
}
void BM_CarmackCompatibleExhaustive(benchmark::State& state) {
    compressAllPlanes<exhaustive>(state, CarmackMode::Compatible);
}

} // namespace

BENCHMARK(BM_CarmackBestResult)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CarmackBestResultExhaustive)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CarmackCompatible)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CarmackCompatibleExhaustive)->Unit(benchmark::kMillisecond);
