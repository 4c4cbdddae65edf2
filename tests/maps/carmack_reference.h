#pragma once
// The plain exhaustive Carmack search: every near distance and every far position at every step,
// each compared word by word. CompressCarmack must produce exactly these bytes; the benchmark
// measures it against this.

#include "maps/carmack.h"

#include <span>

inline Bytes referenceCompressCarmack(std::span<const uint16_t> source, CarmackMode mode,
                                      CarmackTags tags) {
    const size_t end = source.size();
    const bool best = mode == CarmackMode::BestResult;
    Bytes out;
    size_t p = 0;
    while (p < end) {
        size_t nearLength = 0, nearBack = 0, farLength = 0, farOffset = 0;
        const size_t start = p < 255 ? p : 255;
        for (size_t d = start; d >= 2; --d) {
            const size_t back = d - 1;
            size_t length = 0;
            while (length < 255 && p + length < end && (best || length < back) &&
                   source[p - back + length] == source[p + length])
                ++length;
            if (length >= nearLength) {
                nearLength = length;
                nearBack = back;
            }
        }
        for (size_t o = 0; o <= p && o <= 65535; ++o) {
            size_t length = 0;
            while (length < 255 && o + length < p && p + length < end &&
                   source[o + length] == source[p + length])
                ++length;
            if (length >= farLength) {
                farLength = length;
                farOffset = o;
            }
        }
        if (nearLength > 1 && nearLength >= farLength) {
            out.insert(out.end(), {uint8_t(nearLength), tags.nearTag, uint8_t(nearBack)});
            p += nearLength;
        } else if (farLength > 2) {
            out.insert(out.end(), {uint8_t(farLength), tags.farTag, uint8_t(farOffset),
                                   uint8_t(farOffset >> 8)});
            p += farLength;
        } else {
            const uint8_t high = uint8_t(source[p] >> 8), low = uint8_t(source[p]);
            if (high == tags.nearTag || high == tags.farTag)
                out.insert(out.end(), {0, high, low});
            else
                out.insert(out.end(), {low, high});
            ++p;
        }
    }
    return out;
}
