#pragma once
// The header of a plain 16-bit PCM WAV file, for rendered music written block by block.

#include "common/byte_io.h"

#include <cstdint>
#include <optional>

constexpr size_t kPcm16WavHeaderSize = 44;

// Nothing when the sample data would not fit into a WAV file's 32-bit sizes.
std::optional<Bytes> pcm16WavHeader(uint32_t sampleRate, uint16_t channels, uint64_t frames);
