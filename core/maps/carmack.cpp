#include "maps/carmack.h"

#include <algorithm>
#include <vector>

void ExpandCarmack(ByteView source, std::span<uint16_t> destination, size_t expandedSize,
                   CarmackTags tags) {
    const size_t total = std::min(expandedSize / 2, destination.size());
    const size_t size = source.size();
    size_t in = 0;
    size_t out = 0;
    while (out < total) {
        if (size - in < 2)
            return;
        const uint16_t word = uint16_t(source[in] | (source[in + 1] << 8));
        in += 2;
        const size_t count = word & 0xFF;
        const uint8_t kind = uint8_t(word >> 8);
        if (kind == tags.nearTag) {
            if (in >= size)
                return;
            const size_t distance = source[in++];
            if (count == 0) {
                destination[out++] = uint16_t((word & 0xFF00) | distance);
                continue;
            }
            // A distance of 0 or beyond the start would read words that do not exist yet.
            if (count > total - out || distance == 0 || distance > out)
                return;
            for (size_t from = out - distance, end = out + count; out < end;)
                destination[out++] = destination[from++];
        } else if (kind == tags.farTag) {
            if (count == 0) {
                if (in >= size)
                    return;
                destination[out++] = uint16_t((word & 0xFF00) | source[in++]);
                continue;
            }
            if (size - in < 2)
                return;
            const size_t from = size_t(source[in] | (source[in + 1] << 8));
            in += 2;
            if (count > total - out || 2 * (from + count) >= expandedSize || from + count > out)
                return;
            std::copy_n(destination.begin() + ptrdiff_t(from), count,
                        destination.begin() + ptrdiff_t(out));
            out += count;
        } else {
            destination[out++] = word;
        }
    }
}

namespace {

constexpr size_t kMaxCopy = 255;
constexpr size_t kMaxNearDistance = 254;
constexpr size_t kMaxFarOffset = 65535;

// Earlier positions by the words starting there, newest first. The table has about one slot per
// source word, small enough to stay in the first-level cache for a map plane.
class Chains {
public:
    explicit Chains(size_t size) : m_previous(size, -1) {
        while (m_bits < 14 && (size_t(1) << m_bits) < size)
            ++m_bits;
        m_head.assign(size_t(1) << m_bits, -1);
    }
    uint32_t hash(uint64_t key) const {
        return uint32_t((key * 0x9E3779B97F4A7C15ull) >> (64 - m_bits));
    }
    void add(size_t position, uint64_t key) {
        const uint32_t h = hash(key);
        m_previous[position] = m_head[h];
        m_head[h] = int32_t(position);
    }
    int32_t first(uint64_t key) const { return m_head[hash(key)]; }
    int32_t next(int32_t position) const { return m_previous[size_t(position)]; }

private:
    int m_bits = 8;
    std::vector<int32_t> m_head;
    std::vector<int32_t> m_previous;
};

uint64_t pairKey(std::span<const uint16_t> s, size_t i) {
    return s[i] | uint64_t(s[i + 1]) << 16;
}
uint64_t tripleKey(std::span<const uint16_t> s, size_t i) {
    return pairKey(s, i) | uint64_t(s[i + 2]) << 32;
}

} // namespace

// Only copies of at least two words (near) or three words (far) are ever emitted, and a shorter
// best length never changes the choice. So near sources are looked up among positions starting
// with the same two words, far sources beyond near reach among those with the same three words.
// Walking each chain from the newest position down, the first of equal lengths is the smallest
// distance (near) and the largest offset (far), the preferences of the exhaustive search.
Bytes CompressCarmack(std::span<const uint16_t> source, CarmackMode mode, CarmackTags tags) {
    const size_t size = source.size();
    const bool compatible = mode == CarmackMode::Compatible;
    Bytes out;
    out.reserve(size * 2 + 4);

    Chains pairs(size), triples(size);
    size_t chained = 0;

    size_t p = 0;
    while (p < size) {
        for (; chained < p; ++chained) {
            pairs.add(chained, pairKey(source, chained));
            if (chained + 2 < size)
                triples.add(chained, tripleKey(source, chained));
        }

        size_t nearLength = 0, nearDistance = 0, farLength = 0, farOffset = 0;
        const size_t limit = std::min(kMaxCopy, size - p);
        // Back distances run from 1 to min(p, 255) - 1: position 0 is never a near source.
        const size_t nearLowest = p > kMaxNearDistance ? p - kMaxNearDistance : 1;
        auto consider = [&](size_t i, size_t known) {
            for (size_t k = 0; k < known; ++k)
                if (source[i + k] != source[p + k])
                    return;
            // A candidate wins only with more words than the best it could replace, so the word
            // just past that length must match before the rest is worth comparing.
            const bool nearSource = i >= nearLowest;
            const size_t toBeat = nearSource ? std::min(nearLength, farLength) : farLength;
            if (toBeat >= known && toBeat < limit && source[i + toBeat] != source[p + toBeat])
                return;
            size_t length = known;
            while (length < limit && source[i + length] == source[p + length])
                ++length;
            const size_t distance = p - i;
            if (nearSource) {
                const size_t near = compatible ? std::min(length, distance) : length;
                if (near > nearLength) {
                    nearLength = near;
                    nearDistance = distance;
                }
            }
            if (i <= kMaxFarOffset) {
                const size_t far = std::min(length, distance);
                if (far > farLength) {
                    farLength = far;
                    farOffset = i;
                }
            }
        };
        if (p + 1 < size) {
            for (int32_t c = pairs.first(pairKey(source, p)); c >= 0 && size_t(c) >= nearLowest;
                 c = pairs.next(c))
                consider(size_t(c), 2);
        }
        if (p + 2 < size) {
            for (int32_t c = triples.first(tripleKey(source, p)); c >= 0 && farLength < limit;
                 c = triples.next(c))
                if (size_t(c) < nearLowest)
                    consider(size_t(c), 3);
        }

        if (nearLength > 1 && nearLength >= farLength) {
            out.push_back(uint8_t(nearLength));
            out.push_back(tags.nearTag);
            out.push_back(uint8_t(nearDistance));
            p += nearLength;
        } else if (farLength > 2) {
            out.push_back(uint8_t(farLength));
            out.push_back(tags.farTag);
            out.push_back(uint8_t(farOffset));
            out.push_back(uint8_t(farOffset >> 8));
            p += farLength;
        } else {
            const uint16_t word = source[p];
            const uint8_t high = uint8_t(word >> 8);
            if (high == tags.nearTag || high == tags.farTag) {
                out.push_back(0);
                out.push_back(high);
                out.push_back(uint8_t(word));
            } else {
                out.push_back(uint8_t(word));
                out.push_back(high);
            }
            ++p;
        }
    }
    return out;
}
