#pragma once
// RLEW: run-length encoding of 16-bit words; a run is the tag word, a count and the value.

#include <cstdint>
#include <span>
#include <vector>

// Runs of more than 3 words, and every word equal to the tag, become runs; runs longer than
// 65535 words are split.
std::vector<uint16_t> CompressRlew(std::span<const uint16_t> source, uint16_t tag);

// Fills destination from source until either ends; a truncated run stops the expansion.
void ExpandRlew(std::span<const uint16_t> source, std::span<uint16_t> destination, uint16_t tag);
