#pragma once
// Carmack compression of map planes: 16-bit words with back-references to earlier output,
// marked by a near and a far tag in the high byte of a word.

#include "app/settings.h"
#include "common/byte_io.h"

#include <cstdint>
#include <span>

struct CarmackTags {
    uint8_t nearTag = 0xA7;
    uint8_t farTag = 0xA8;
};

// Expands source into destination, at most expandedSize bytes (and at most the destination).
// Stops at the first unit that does not fit: a truncated unit, a copy longer than what is left
// to produce, or a copy that reads output not produced yet. The rest of destination is left as
// the caller filled it.
void ExpandCarmack(ByteView source, std::span<uint16_t> destination, size_t expandedSize,
                   CarmackTags tags);

// Compresses the words. The result is byte-identical to the exhaustive search over every near
// distance and far position, with its preferences on ties, but only visits positions whose first
// two words match.
Bytes CompressCarmack(std::span<const uint16_t> source, CarmackMode mode, CarmackTags tags);
