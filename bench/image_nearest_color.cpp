// Converting a 128 x 128 24-bit bitmap to palette indices through the nearest-colour cache:
// with the cache emptied before every conversion (every bucket searched once), and warm.

#include "app/job.h"
#include "image/bmp_import.h"
#include "support/bmp_builder.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

// Many different colours, so that most pixels fall into buckets of their own.
Bytes noisyBmp24(int side) {
    std::mt19937 random(7);
    return testdata::bmp24(side, side, [&](int, int) {
        return Rgb{uint8_t(random()), uint8_t(random()), uint8_t(random())};
    });
}

void convert(benchmark::State& state, bool emptyCacheEachTime) {
    const BmpPicture picture = parseBmp(noisyBmp24(128)).value();
    const Palette& palette = wolfensteinPalette();
    NearestColorCache cache;
    NullProgress progress;
    RecordingPrompter prompter;
    JobContext context(progress, prompter);
    cache.prepare(palette);
    for (auto _ : state) {
        if (emptyCacheEachTime)
            cache.markStale();
        cache.prepare(palette);
        std::optional<IndexedImage> image = copyBmp(picture, 128, 128, palette, cache, context);
        benchmark::DoNotOptimize(image->pixels.data());
    }
}

void BM_NearestColor128x128EmptyCache(benchmark::State& state) {
    convert(state, true);
}
void BM_NearestColor128x128WarmCache(benchmark::State& state) {
    convert(state, false);
}
BENCHMARK(BM_NearestColor128x128EmptyCache)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NearestColor128x128WarmCache)->Unit(benchmark::kMicrosecond);

} // namespace
