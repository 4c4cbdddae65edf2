#pragma once
// The decoder one bit at a time, exactly as the format is described: the yardstick for the
// table-driven decoder in tests and benchmarks.

#include "vgagraph/huffman.h"

#include <span>

namespace reference {

// Returns the number of bytes stored (or counted when destination is empty and counting).
inline size_t expandBitByBit(ByteView source, std::span<uint8_t> destination,
                             const HuffmanDictionary& dictionary, bool counting = false) {
    if ((!counting && destination.empty()) || source.empty())
        return 0;
    const auto& nodes = dictionary.nodes();
    size_t stored = 0;
    size_t next = 0;
    unsigned node = kHuffmanHead;
    uint8_t current = source[next++];
    unsigned mask = 1;
    auto store = [&](uint16_t value) {
        if (!counting)
            destination[stored] = uint8_t(value);
        ++stored;
    };
    for (;;) {
        uint16_t value = (current & mask) ? nodes[node].child1 : nodes[node].child0;
        mask <<= 1;
        if (mask == 0x100) {
            if (next == source.size()) {
                if (value < 256)
                    store(value);
                return stored;
            }
            current = source[next++];
            mask = 1;
        }
        if (value < 256) {
            store(value);
            node = kHuffmanHead;
            if (!counting && stored == destination.size())
                return stored;
        } else {
            node = value - 256u;
        }
    }
}

} // namespace reference
