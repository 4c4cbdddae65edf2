#pragma once
// Small hand-made VSWAP files for the tests.

#include "common/byte_io.h"

#include <vector>

namespace vswap {

// Chunks in table order; empty chunks get offset 0 and length 0 as the game's files have them.
// `dataOrder` may lay the data out in another order than the table's.
inline Bytes build(const std::vector<Bytes>& chunks, uint16_t firstSprite, uint16_t firstSound,
                   std::vector<size_t> dataOrder = {}) {
    const size_t n = chunks.size();
    if (dataOrder.empty())
        for (size_t i = 0; i < n; ++i)
            dataOrder.push_back(i);
    std::vector<uint32_t> offsets(n, 0);
    size_t offset = 6 * (n + 1);
    for (size_t i : dataOrder) {
        if (!chunks[i].empty())
            offsets[i] = uint32_t(offset);
        offset += chunks[i].size();
    }
    Bytes out;
    ByteWriter w(out);
    w.u16(uint16_t(n));
    w.u16(firstSprite);
    w.u16(firstSound);
    for (uint32_t at : offsets)
        w.u32(at);
    for (const Bytes& chunk : chunks)
        w.u16(uint16_t(chunk.size()));
    for (size_t i : dataOrder)
        w.bytes(chunks[i]);
    return out;
}

// Sound pages and the info chunk for sounds given by their lengths; sample j of sound k is
// (k * 31 + j) & 0xFF.
inline std::vector<Bytes> soundChunks(const std::vector<size_t>& lengths) {
    std::vector<Bytes> chunks;
    Bytes info;
    ByteWriter w(info);
    for (size_t k = 0; k < lengths.size(); ++k) {
        w.u16(uint16_t(chunks.size()));
        w.u16(uint16_t(lengths[k]));
        size_t left = lengths[k], j = 0;
        do {
            const size_t page = left > 4096 ? 4096 : left;
            Bytes chunk;
            for (size_t i = 0; i < page; ++i, ++j)
                chunk.push_back(uint8_t((k * 31 + j) & 0xFF));
            chunks.push_back(chunk);
            left -= page;
        } while (left > 0);
    }
    chunks.push_back(info);
    return chunks;
}

inline Bytes filled(size_t size, uint8_t seed) {
    Bytes data(size);
    for (size_t i = 0; i < size; ++i)
        data[i] = uint8_t(seed + i * 7 + i / 64);
    return data;
}

} // namespace vswap
