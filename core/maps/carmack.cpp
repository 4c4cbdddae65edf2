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
constexpr int kHashBits = 14;

uint32_t pairHash(uint16_t first, uint16_t second) {
    const uint32_t key = uint32_t(first) | (uint32_t(second) << 16);
    return (key * 2654435761u) >> (32 - kHashBits);
}

} // namespace

Bytes CompressCarmack(std::span<const uint16_t> source, CarmackMode mode, CarmackTags tags) {
    const size_t size = source.size();
    const bool compatible = mode == CarmackMode::Compatible;
    Bytes out;
    out.reserve(size * 2 + 4);

    // Chains of earlier positions by the pair of words starting there, newest first. A copy is
    // only ever chosen with at least two words, so positions whose pair differs cannot win.
    std::vector<int32_t> head(size_t(1) << kHashBits, -1);
    std::vector<int32_t> previous(size, -1);
    size_t chained = 0;

    size_t p = 0;
    while (p < size) {
        for (; chained < p && chained + 1 < size; ++chained) {
            const uint32_t h = pairHash(source[chained], source[chained + 1]);
            previous[chained] = head[h];
            head[h] = int32_t(chained);
        }

        size_t nearLength = 0, nearDistance = 0, farLength = 0, farOffset = 0;
        if (p + 1 < size) {
            const size_t limit = std::min(kMaxCopy, size - p);
            // Back distances run from 1 to min(p, 255) - 1: position 0 is never a near source.
            const size_t nearLowest = p > kMaxNearDistance ? p - kMaxNearDistance : 1;
            const uint16_t first = source[p], second = source[p + 1];
            // Walking from the newest position down, the first of equal lengths is the smallest
            // distance (near) and the largest offset (far), as the exhaustive search prefers.
            for (int32_t c = head[pairHash(first, second)]; c >= 0; c = previous[size_t(c)]) {
                const size_t i = size_t(c);
                if (i < nearLowest && farLength >= limit)
                    break;
                if (source[i] != first || source[i + 1] != second)
                    continue;
                size_t length = 2;
                while (length < limit && source[i + length] == source[p + length])
                    ++length;
                const size_t distance = p - i;
                if (i >= nearLowest) {
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
            }
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
