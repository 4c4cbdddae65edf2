#include "image/nearest_color.h"

#include <algorithm>
#include <climits>

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
    for (size_t i = 0; i < 256; ++i) {
        m_red[i] = palette[i].r;
        m_green[i] = palette[i].g;
        m_blue[i] = palette[i].b;
    }
    m_stale = false;
}

// The same answer as NearestColor, in two passes the compiler can vectorise: all distances and
// their minimum, then the first index reaching it.
uint8_t NearestColorCache::search(uint8_t red, uint8_t green, uint8_t blue) const {
    if (m_table.empty())
        return NearestColor(m_palette, red, green, blue);
    alignas(32) std::array<int32_t, 256> distance;
    int32_t best = INT32_MAX;
    for (size_t i = 0; i < 256; ++i) {
        const int32_t dr = m_red[i] - red, dg = m_green[i] - green, db = m_blue[i] - blue;
        distance[i] = dr * dr + dg * dg + db * db;
    }
    for (size_t i = 0; i < 256; ++i)
        best = std::min(best, distance[i]);
    for (size_t i = 0; i < 256; ++i)
        if (distance[i] == best)
            return uint8_t(i);
    return 0;
}
