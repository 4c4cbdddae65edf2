#pragma once
// Rebuilding lost MAPHEAD offsets from the maps file alone: every map header holds width 64 and
// height 64 side by side (the bytes 40 00 40 00 at header byte 18).

#include "common/byte_io.h"

#include <cstdint>
#include <vector>

// The header offsets found, in file order, at most 500. A match counts only when the whole header
// lies in the file and its first two planes start inside it, so plane data that happens to hold
// the pattern does not add a false map.
std::vector<int32_t> restoreMapOffsets(ByteView mapsFile);
