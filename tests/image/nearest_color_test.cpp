#include "image/nearest_color.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The plain search, written out here: squared distance, lowest index on ties.
uint8_t bruteForce(const Palette& palette, Rgb c) {
    int best = 1 << 30, index = 0;
    for (int i = 0; i < 256; ++i) {
        const Rgb& p = palette[size_t(i)];
        const int d =
            (p.r - c.r) * (p.r - c.r) + (p.g - c.g) * (p.g - c.g) + (p.b - c.b) * (p.b - c.b);
        if (d < best) {
            best = d;
            index = i;
        }
    }
    return uint8_t(index);
}

Palette randomPalette(unsigned seed, int distinct) {
    std::mt19937 random(seed);
    std::vector<Rgb> colors;
    for (int i = 0; i < distinct; ++i)
        colors.push_back({uint8_t(random()), uint8_t(random()), uint8_t(random())});
    Palette palette;
    for (size_t i = 0; i < 256; ++i)
        palette[i] = colors[random() % colors.size()]; // many repeated entries: ties
    return palette;
}

TEST(NearestColor, ExactColoursGiveTheirLowestIndex) {
    const Palette& wolf = wolfensteinPalette();
    // Entries 7 and 21 are both (168, 168, 168), 8 and 27 both (84, 84, 84).
    ASSERT_EQ(wolf[7], wolf[21]);
    EXPECT_EQ(NearestColor(wolf, 168, 168, 168), 7);
    EXPECT_EQ(NearestColor(wolf, 84, 84, 84), 8);
    EXPECT_EQ(NearestColor(wolf, 152, 0, 136), 255);
    for (size_t i = 0; i < 256; ++i)
        EXPECT_EQ(wolf[NearestColor(wolf, wolf[i])], wolf[i]);
}

// The cache's own search must agree with the plain one for the first colour of every bucket,
// on the game palette and on palettes full of ties.
TEST(NearestColor, CacheAgreesWithTheSearchOnFirstLookups) {
    std::vector<Palette> palettes = {wolfensteinPalette(), randomPalette(1, 256),
                                     randomPalette(2, 12), randomPalette(3, 2)};
    Palette grey;
    for (size_t i = 0; i < 256; ++i)
        grey[i] = {uint8_t(i / 4 * 4), uint8_t(i / 4 * 4), uint8_t(i / 4 * 4)};
    palettes.push_back(grey);
    std::mt19937 random(99);
    for (size_t p = 0; p < palettes.size(); ++p) {
        SCOPED_TRACE(p);
        NearestColorCache cache;
        cache.prepare(palettes[p]);
        std::vector<bool> used(NearestColorCache::kBuckets);
        for (int n = 0; n < 40000; ++n) {
            const Rgb c{uint8_t(random()), uint8_t(random()), uint8_t(random())};
            const size_t key = size_t(c.r / 4) * 4096 + size_t(c.g / 4) * 64 + size_t(c.b / 4);
            if (used[key])
                continue;
            used[key] = true;
            ASSERT_EQ(cache.lookup(c), bruteForce(palettes[p], c));
            ASSERT_EQ(NearestColor(palettes[p], c), bruteForce(palettes[p], c));
        }
    }
}

TEST(NearestColor, FirstColourOfABucketDecidesUntilThePaletteChanges) {
    Palette palette;
    palette[0] = {0, 0, 0};
    palette[1] = {3, 3, 3};
    for (size_t i = 2; i < 256; ++i)
        palette[i] = {255, 255, 255};
    NearestColorCache cache;
    cache.prepare(palette);
    EXPECT_EQ(cache.lookup(0, 0, 0), 0);
    EXPECT_EQ(cache.lookup(3, 3, 3), 0); // same bucket (0, 0, 0)
    cache.prepare(palette);              // not stale: kept
    EXPECT_EQ(cache.lookup(3, 3, 3), 0);
    cache.markStale();
    cache.prepare(palette);
    EXPECT_EQ(cache.lookup(3, 3, 3), 1);
    // Another palette empties the table even when nobody marked it stale.
    palette[1] = {0, 0, 0};
    palette[0] = {3, 3, 3};
    cache.prepare(palette);
    EXPECT_EQ(cache.lookup(3, 3, 3), 0);
}

} // namespace
