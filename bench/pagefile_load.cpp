// The page file on the shareware VSWAP: loading all three kinds, saving sprites with each
// compressor, and the sizes the compressors reach compared with the file's own sprite chunks.

#include "common/file_io.h"
#include "pagefile/page_file_jobs.h"
#include "pagefile/sprite_shape.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path vswapPath() {
    if (const char* env = std::getenv("TESSARAND_GAME_DATA"); env && *env)
        return fs::path(env) / "VSWAP.WL1";
    return fs::path(TESSARAND_SOURCE_DIR) / ".." / "shared" / "data" / "wl1" / "VSWAP.WL1";
}

bool loadAll(PageFile& pageFile, const fs::path& path) {
    NullProgress progress;
    RecordingPrompter prompter;
    for (PageKind kind : {PageKind::Walls, PageKind::Sprites, PageKind::Sounds})
        if (loadPageFileKind(pageFile, kind, path, prompter, progress) != JobResult::Success)
            return false;
    return true;
}

void BM_LoadWallsSpritesAndSounds(benchmark::State& state) {
    const fs::path path = vswapPath();
    for (auto _ : state) {
        PageFile pageFile;
        if (!loadAll(pageFile, path)) {
            state.SkipWithError("VSWAP.WL1 not found");
            return;
        }
        benchmark::DoNotOptimize(pageFile.sprites.images.data());
    }
}
BENCHMARK(BM_LoadWallsSpritesAndSounds)->Unit(benchmark::kMillisecond);

// The whole save: read the existing file, compress every sprite, write the .tmp, rename.
void saveSprites(benchmark::State& state, SpriteCompression compression) {
    PageFile pageFile;
    if (!loadAll(pageFile, vswapPath())) {
        state.SkipWithError("VSWAP.WL1 not found");
        return;
    }
    const fs::path dir = fs::temp_directory_path() / "tessarand-bench-pagefile";
    fs::create_directories(dir);
    const fs::path target = dir / "VSWAP.WL1";
    fs::copy_file(vswapPath(), target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
    for (auto _ : state) {
        NullProgress progress;
        RecordingPrompter prompter;
        if (savePageFileKind(pageFile, PageKind::Sprites, target, compression, prompter,
                             progress) != JobResult::Success) {
            state.SkipWithError("save failed");
            break;
        }
    }
    fs::remove_all(dir);
}

void BM_SaveSpritesFull(benchmark::State& state) {
    saveSprites(state, SpriteCompression::Good);
}
void BM_SaveSpritesSimple(benchmark::State& state) {
    saveSprites(state, SpriteCompression::None);
}
BENCHMARK(BM_SaveSpritesFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveSpritesSimple)->Unit(benchmark::kMillisecond);

// Total bytes of all sprite shapes: as stored in the file, and as each compressor writes them.
void BM_SpriteSizes(benchmark::State& state) {
    const fs::path path = vswapPath();
    std::optional<Bytes> file = readWholeFile(path);
    PageFile pageFile;
    if (!file || !loadAll(pageFile, path)) {
        state.SkipWithError("VSWAP.WL1 not found");
        return;
    }
    const PageFileHeader header = readPageFileHeader(*file).value();
    double original = 0, simple = 0, full = 0;
    for (size_t k = 0; k < pageFile.sprites.count(); ++k)
        original += header.lengths[header.firstSprite + k];
    for (auto _ : state) {
        simple = full = 0;
        for (const Bytes& image : pageFile.sprites.images) {
            if (image.empty())
                continue;
            simple += double(CompressShapeSimple(image, pageFile.sprites.side).size());
            full += double(CompressShapeFull(image, pageFile.sprites.side).size());
        }
    }
    state.counters["original_bytes"] = original;
    state.counters["simple_bytes"] = simple;
    state.counters["full_bytes"] = full;
}
BENCHMARK(BM_SpriteSizes)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
