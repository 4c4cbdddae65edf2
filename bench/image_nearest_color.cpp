// Converting a 128 x 128 24-bit bitmap to palette indices through the nearest-colour cache:
// with the cache emptied before every conversion (every bucket searched once), and warm.

#include "app/job.h"
#include "image/bmp_import.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

// Many different colours, so that most pixels fall into buckets of their own.
Bytes noisyBmp24(int side) {
    const int rowSize = (side * 3 + 3) & ~3;
    Bytes out;
    ByteWriter w(out);
    w.u16(0x4D42);
    w.u32(uint32_t(54 + rowSize * side));
    w.u32(0);
    w.u32(54);
    w.u32(40);
    w.i32(side);
    w.i32(side);
    w.u16(1);
    w.u16(24);
    for (int i = 0; i < 6; ++i)
        w.u32(0);
    std::mt19937 random(7);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side * 3; ++x)
            w.u8(uint8_t(random()));
        w.fill(size_t(rowSize - side * 3), 0);
    }
    return out;
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
