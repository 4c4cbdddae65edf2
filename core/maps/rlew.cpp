#include "maps/rlew.h"

#include <algorithm>

std::vector<uint16_t> CompressRlew(std::span<const uint16_t> source, uint16_t tag) {
    constexpr size_t kMaxRun = 0xFFFF;
    std::vector<uint16_t> out;
    out.reserve(source.size() + 3);
    size_t i = 0;
    while (i < source.size()) {
        const uint16_t value = source[i];
        size_t count = 1;
        while (i + count < source.size() && count < kMaxRun && source[i + count] == value)
            ++count;
        if (count > 3 || value == tag) {
            out.push_back(tag);
            out.push_back(uint16_t(count));
            out.push_back(value);
        } else {
            out.insert(out.end(), count, value);
        }
        i += count;
    }
    return out;
}

void ExpandRlew(std::span<const uint16_t> source, std::span<uint16_t> destination, uint16_t tag) {
    size_t in = 0;
    size_t out = 0;
    while (out < destination.size()) {
        if (in >= source.size())
            return;
        const uint16_t word = source[in++];
        if (word != tag) {
            destination[out++] = word;
            continue;
        }
        if (source.size() - in < 2)
            return;
        const size_t count = std::min<size_t>(source[in], destination.size() - out);
        const uint16_t value = source[in + 1];
        in += 2;
        std::fill_n(destination.begin() + ptrdiff_t(out), count, value);
        out += count;
    }
}
