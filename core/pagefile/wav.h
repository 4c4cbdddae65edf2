#pragma once
// WAV files for the digitized sounds: 8-bit mono export, and import of PCM files of any rate and
// sample size, converted to 8-bit unsigned samples at the rate the sounds are played with.

#include "common/byte_io.h"
#include "common/prompter.h"

#include <filesystem>
#include <optional>
#include <string>

constexpr int kDefaultSampleRate = 7042;
constexpr int kMinSampleRate = 4000;
constexpr int kMaxSampleRate = 44100;

// The rate text read as an integer; outside 4000..44100 "Illegal sample rate!" is told.
std::optional<int> checkSampleRate(const std::string& text, Prompter& prompter);

// 44-byte header (PCM, 1 channel, 8 bits) and the samples.
Bytes encodeWav8(ByteView samples, uint32_t rate);
bool writeWav8(const std::filesystem::path& path, ByteView samples, uint32_t rate,
               std::string* error = nullptr);

enum class WavProblem {
    None,
    NotPcmWave,  // no RIFF/WAVE/"fmt " or a format that cannot be read
    Compressed,  // format tag other than 1
    NoDataChunk, // no "data" chunk before the end of the file
};
Prompt wavProblemPrompt(WavProblem problem);

struct WavFile {
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    Bytes data; // as much of the data chunk as the file holds

    size_t frames() const { return blockAlign ? data.size() / blockAlign : 0; }
};

std::optional<WavFile> parseWav(ByteView file, WavProblem* problem = nullptr);

// The length the sound gets at `rate` (before any cut at 65535 samples).
size_t convertedLength(const WavFile& wav, int rate);
// The first channel resampled to `rate` by three-point quadratic interpolation, 8-bit unsigned;
// at most maxLength samples, always at the pitch of the full conversion.
Bytes convertToSound(const WavFile& wav, int rate, size_t maxLength);

// Import for the Sounds page: every message and the "Sound too long!" question go through the
// prompter. Nothing when the file cannot be used or the user cancels.
std::optional<Bytes> importWavSound(const std::filesystem::path& path, int rate,
                                    Prompter& prompter);
