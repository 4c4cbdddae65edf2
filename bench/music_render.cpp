// How much faster than real time a song renders into a buffer: the x_realtime counter is
// seconds of music per second of processor time spent rendering (one core).

#include "imf_sequencer.h"
#include "music/music_archive.h"
#include "support/test_data.h"

#include <benchmark/benchmark.h>

namespace {

const MusicArchive& sharewareMusic() {
    static MusicArchive archive = [] {
        MusicArchive loaded;
        RecordingPrompter prompter;
        if (!testdata::gameDataDir().empty())
            LoadMusic(loaded, GameFilePath{testdata::gameDataDir().string(), "AUDIOT", "WL1"},
                      prompter);
        return loaded;
    }();
    return archive;
}

void renderSong(benchmark::State& state) {
    const MusicArchive& archive = sharewareMusic();
    size_t index = size_t(state.range(0));
    if (index >= archive.songCount()) {
        state.SkipWithError("shareware songs not found (../shared/data/wl1)");
        return;
    }
    ByteView events = songEvents(archive.song(index));
    std::vector<int16_t> buffer(4096);
    double seconds = 0;
    for (auto _ : state) {
        ImfSequencer sequencer(kImfSampleRate);
        sequencer.start(events);
        while (sequencer.render(buffer.data(), buffer.size()) > 0)
            benchmark::DoNotOptimize(buffer.data());
        seconds = double(sequencer.length()) / kImfTickRate;
    }
    state.counters["song_seconds"] = seconds;
    state.counters["x_realtime"] =
        benchmark::Counter(seconds, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(renderSong)->DenseRange(0, 10)->Unit(benchmark::kMillisecond);

} // namespace
