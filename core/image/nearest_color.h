#pragma once
// Mapping true colours to palette indices: the exact search and the cache that imports and
// resolution conversions go through.

#include "image/palette.h"

#include <array>
#include <cstdint>
#include <vector>

// The index whose colour is nearest by squared distance; ties go to the lowest index.
uint8_t NearestColor(const Palette& palette, uint8_t red, uint8_t green, uint8_t blue);
inline uint8_t NearestColor(const Palette& palette, Rgb color) {
    return NearestColor(palette, color.r, color.g, color.b);
}

// One entry per bucket of colours with equal red / 4, green / 4 and blue / 4 (2^18 buckets): the
// first colour looked up in a bucket decides the index for the whole bucket, as it always has.
class NearestColorCache {
public:
    static constexpr size_t kBuckets = size_t(1) << 18;

    // Call whenever the current palette changes.
    void markStale() { m_stale = true; }
    bool stale() const { return m_stale; }
    // Before a conversion: empties the table when it is stale or was filled for another palette.
    void prepare(const Palette& palette);

    uint8_t lookup(uint8_t red, uint8_t green, uint8_t blue) {
        const size_t key = size_t(red >> 2) << 12 | size_t(green >> 2) << 6 | size_t(blue >> 2);
        if (key < m_table.size() && m_table[key] >= 0)
            return uint8_t(m_table[key]);
        const uint8_t index = search(red, green, blue);
        if (key < m_table.size())
            m_table[key] = index;
        return index;
    }
    uint8_t lookup(Rgb color) { return lookup(color.r, color.g, color.b); }

private:
    uint8_t search(uint8_t red, uint8_t green, uint8_t blue) const;

    void buildCells();

    std::vector<int16_t> m_table; // -1: not computed yet
    Palette m_palette{};
    bool m_stale = true;
    // The colour cube in 8 x 8 x 8 cells. A cell lists the palette entries that can be nearest
    // to some colour inside it, closest to the cell first, with their distance to the cell.
    struct Candidate {
        int32_t cellDistance;
        uint8_t r, g, b, index;
    };
    static constexpr int kCellBits = 5;
    static constexpr size_t kCellsPerAxis = 256 >> kCellBits;
    static constexpr size_t kCells = kCellsPerAxis * kCellsPerAxis * kCellsPerAxis;
    struct Range {
        uint32_t first, count;
    };
    std::array<Range, kCells> m_cellRange{};
    std::vector<Candidate> m_candidates;
};
