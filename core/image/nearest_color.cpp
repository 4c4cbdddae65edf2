#include "image/nearest_color.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

uint8_t NearestColor(const Palette& palette, uint8_t red, uint8_t green, uint8_t blue) {
    int best = INT_MAX;
    uint8_t bestIndex = 0;
    for (int i = 0; i < 256; ++i) {
        const Rgb& c = palette[size_t(i)];
        const int dr = c.r - red, dg = c.g - green, db = c.b - blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < best) {
            best = distance;
            bestIndex = uint8_t(i);
            if (distance == 0)
                break;
        }
    }
    return bestIndex;
}

void NearestColorCache::prepare(const Palette& palette) {
    if (!m_stale && palette == m_palette && m_table.size() == kBuckets)
        return;
    m_table.assign(kBuckets, -1);
    m_palette = palette;
    buildCells();
    m_stale = false;
}

// An entry can be nearest to a colour in a cell only if its distance to the cell is no more
// than the farthest distance of the entry whose farthest distance is smallest. Entries that
// tie with the nearest one pass the same test. A cell inside a larger one can only have
// candidates of the larger one, so the cells are found from 4 x 4 x 4 cells of 64 values.
void NearestColorCache::buildCells() {
    constexpr int kParentBits = kCellBits + 1;
    constexpr size_t kParentsPerAxis = kCellsPerAxis / 2;
    // Per axis, cell and entry: squared distance of the component to the cell's range, the
    // nearest and the farthest; cells of both sizes, the small ones first.
    struct AxisTables {
        std::array<std::array<int32_t, 256>, kCellsPerAxis + kParentsPerAxis> nearest, farthest;
    };
    std::array<AxisTables, 3> axes;
    for (size_t axis = 0; axis < 3; ++axis) {
        for (size_t cell = 0; cell < kCellsPerAxis + kParentsPerAxis; ++cell) {
            const bool parent = cell >= kCellsPerAxis;
            const int bits = parent ? kParentBits : kCellBits;
            const int low = int((parent ? cell - kCellsPerAxis : cell) << bits);
            const int high = low + (1 << bits) - 1;
            for (size_t i = 0; i < 256; ++i) {
                const Rgb& c = m_palette[i];
                const int v = axis == 0 ? c.r : axis == 1 ? c.g : c.b;
                const int below = v < low ? low - v : v > high ? v - high : 0;
                const int far = std::max(std::abs(v - low), std::abs(v - high));
                axes[axis].nearest[cell][i] = below * below;
                axes[axis].farthest[cell][i] = far * far;
            }
        }
    }
    // The candidates of a cell among `entries` (given by index), sorted by distance to the cell.
    std::array<uint8_t, 256> all;
    std::array<Candidate, 256> entry;
    for (size_t i = 0; i < 256; ++i) {
        all[i] = uint8_t(i);
        entry[i] = {0, m_palette[i].r, m_palette[i].g, m_palette[i].b, uint8_t(i)};
    }
    auto candidatesOf = [&](size_t r, size_t g, size_t b, const uint8_t* entries, size_t count,
                            Candidate* out) {
        const int32_t* farR = axes[0].farthest[r].data();
        const int32_t* farG = axes[1].farthest[g].data();
        const int32_t* farB = axes[2].farthest[b].data();
        int32_t bound = INT32_MAX;
        for (size_t k = 0; k < count; ++k) {
            const uint8_t i = entries[k];
            bound = std::min(bound, farR[i] + farG[i] + farB[i]);
        }
        const int32_t* nearR = axes[0].nearest[r].data();
        const int32_t* nearG = axes[1].nearest[g].data();
        const int32_t* nearB = axes[2].nearest[b].data();
        size_t found = 0;
        for (size_t k = 0; k < count; ++k) {
            const uint8_t i = entries[k];
            const int32_t distance = nearR[i] + nearG[i] + nearB[i];
            out[found] = entry[i];
            out[found].cellDistance = distance;
            found += distance <= bound;
        }
        std::sort(out, out + found, [](const Candidate& x, const Candidate& y) {
            return x.cellDistance < y.cellDistance;
        });
        return found;
    };

    m_candidates.clear();
    m_candidates.reserve(kCells * 32);
    std::array<Candidate, 256> parentCandidates, cellCandidates;
    std::array<uint8_t, 256> parentEntries;
    for (size_t pr = 0; pr < kParentsPerAxis; ++pr)
        for (size_t pg = 0; pg < kParentsPerAxis; ++pg)
            for (size_t pb = 0; pb < kParentsPerAxis; ++pb) {
                const size_t parentCount =
                    candidatesOf(kCellsPerAxis + pr, kCellsPerAxis + pg, kCellsPerAxis + pb,
                                 all.data(), 256, parentCandidates.data());
                for (size_t k = 0; k < parentCount; ++k)
                    parentEntries[k] = parentCandidates[k].index;
                for (size_t child = 0; child < 8; ++child) {
                    const size_t cr = 2 * pr + (child >> 2), cg = 2 * pg + ((child >> 1) & 1),
                                 cb = 2 * pb + (child & 1);
                    const size_t count = candidatesOf(cr, cg, cb, parentEntries.data(), parentCount,
                                                      cellCandidates.data());
                    const size_t cell = (cr * kCellsPerAxis + cg) * kCellsPerAxis + cb;
                    m_cellRange[cell] = {uint32_t(m_candidates.size()), uint32_t(count)};
                    m_candidates.insert(m_candidates.end(), cellCandidates.begin(),
                                        cellCandidates.begin() + long(count));
                }
            }
}

// Candidates come closest to the cell first: once one is farther from the cell than the best
// distance found, no later one can beat or tie it.
uint8_t NearestColorCache::search(uint8_t red, uint8_t green, uint8_t blue) const {
    if (m_candidates.empty())
        return NearestColor(m_palette, red, green, blue);
    const size_t cell =
        (size_t(red >> kCellBits) * kCellsPerAxis + size_t(green >> kCellBits)) * kCellsPerAxis +
        size_t(blue >> kCellBits);
    int best = INT_MAX;
    uint8_t bestIndex = 0;
    const Candidate* candidate = m_candidates.data() + m_cellRange[cell].first;
    const Candidate* end = candidate + m_cellRange[cell].count;
    for (; candidate != end && candidate->cellDistance <= best; ++candidate) {
        const int dr = candidate->r - red, dg = candidate->g - green, db = candidate->b - blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < best || (distance == best && candidate->index < bestIndex)) {
            best = distance;
            bestIndex = candidate->index;
        }
    }
    return bestIndex;
}
