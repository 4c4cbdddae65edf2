// The shareware VGAGRAPH set: the complete load (dictionary and all four parts) and the
// complete save (all four parts rebuilt and written through the safe-writing protocol), and the
// table decoder beside the bit-by-bit decoder on every chunk.

#include "vgagraph/reference_huffman.h"

#include "common/file_io.h"
#include "vgagraph/vga_load.h"
#include "vgagraph/vga_save.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {

fs::path sharewareFolder() {
    if (const char* env = std::getenv("TESSARAND_GAME_DATA"); env && *env)
        return env;
    return fs::path(TESSARAND_SOURCE_DIR) / ".." / "shared" / "data" / "wl1";
}

VgaFiles sharewareFiles(const fs::path& folder) {
    return VgaFiles::forGraph(GameFilePath::fromPath(folder / "VGAGRAPH.WL1"));
}

bool haveData(benchmark::State& state) {
    if (fs::exists(sharewareFolder() / "VGAGRAPH.WL1"))
        return true;
    state.SkipWithError("shareware data not found");
    return false;
}

void BM_LoadCompleteSet(benchmark::State& state) {
    if (!haveData(state))
        return;
    VgaFiles files = sharewareFiles(sharewareFolder());
    RecordingPrompter prompter;
    NullProgress progress;
    for (auto _ : state) {
        GraphicsArchive archive;
        DocumentState document;
        if (loadVgaParts(archive, document, VgaLoadKind::Complete, files, true, prompter,
                         progress) != JobResult::Success)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(archive.pictures().count());
    }
}
BENCHMARK(BM_LoadCompleteSet)->Unit(benchmark::kMillisecond);

void BM_SaveCompleteSet(benchmark::State& state) {
    if (!haveData(state))
        return;
    fs::path folder = fs::temp_directory_path() /
                      ("tessarand-bench-vga-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    for (const char* name : {"VGAGRAPH.WL1", "VGAHEAD.WL1", "VGADICT.WL1"}) {
        fs::copy_file(sharewareFolder() / name, folder / name);
        fs::permissions(folder / name, fs::perms::owner_write, fs::perm_options::add);
    }
    VgaFiles files = sharewareFiles(folder);
    GraphicsArchive archive;
    DocumentState document;
    RecordingPrompter prompter;
    NullProgress progress;
    if (loadVgaParts(archive, document, VgaLoadKind::Complete, files, true, prompter, progress) !=
        JobResult::Success) {
        state.SkipWithError("load failed");
        return;
    }
    for (auto _ : state) {
        if (saveVgaParts(archive, document, vgaPartsToSave(document, false), files, prompter,
                         progress) != JobResult::Success)
            state.SkipWithError("save failed");
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
BENCHMARK(BM_SaveCompleteSet)->Unit(benchmark::kMillisecond);

struct Chunks {
    HuffmanDictionary dictionary;
    VgaChunks chunks;
    size_t expanded = 0;
};

const Chunks& sharewareChunks() {
    static const Chunks loaded = [] {
        Chunks result;
        RecordingPrompter prompter;
        LoadHuffman(result.dictionary, sharewareFolder() / "VGADICT.WL1", prompter);
        std::vector<int64_t> offsets =
            readVgaHead(readWholeFile(sharewareFolder() / "VGAHEAD.WL1").value_or(Bytes{}));
        Bytes graph = readWholeFile(sharewareFolder() / "VGAGRAPH.WL1").value_or(Bytes{});
        ValidateChunkOffsets(offsets, graph.size());
        result.chunks = VgaChunks::fromFile(offsets, graph);
        for (int chunk = 0; chunk < result.chunks.count(); ++chunk)
            if (chunk != 147)
                result.expanded += readU32At(result.chunks.chunks[size_t(chunk)], 0);
        return result;
    }();
    return loaded;
}

// Every chunk but the tile8 chunk (147) by its length field.
template <typename Expand> void expandAll(benchmark::State& state, Expand expand) {
    if (!haveData(state))
        return;
    const Chunks& data = sharewareChunks();
    Bytes out;
    for (auto _ : state) {
        for (int chunk = 0; chunk < data.chunks.count(); ++chunk) {
            if (chunk == 147)
                continue;
            ByteView raw = data.chunks.chunks[size_t(chunk)];
            out.assign(readU32At(raw, 0), 0);
            expand(raw.subspan(4), out, data.dictionary);
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.expanded));
}

void BM_ExpandAllChunksTable(benchmark::State& state) {
    expandAll(state, [](ByteView source, std::span<uint8_t> out, const HuffmanDictionary& d) {
        HuffmanExpand(source, out, d);
    });
}
BENCHMARK(BM_ExpandAllChunksTable)->Unit(benchmark::kMillisecond);

void BM_ExpandAllChunksBitByBit(benchmark::State& state) {
    expandAll(state, [](ByteView source, std::span<uint8_t> out, const HuffmanDictionary& d) {
        reference::expandBitByBit(source, out, d);
    });
}
BENCHMARK(BM_ExpandAllChunksBitByBit)->Unit(benchmark::kMillisecond);

} // namespace
