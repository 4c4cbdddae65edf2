#include "pagefile/wav.h"

#include "common/file_io.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

bool tagAt(ByteView data, size_t at, const char* tag) {
    return at + 4 <= data.size() && std::memcmp(data.data() + at, tag, 4) == 0;
}

} // namespace

std::optional<int> checkSampleRate(const std::string& text, Prompter& prompter) {
    const long rate = std::strtol(text.c_str(), nullptr, 10);
    if (rate >= kMinSampleRate && rate <= kMaxSampleRate)
        return int(rate);
    prompter.tell("Illegal sample rate!", "Only sample rates between 4000 and 44100 allowed!");
    return std::nullopt;
}

Bytes encodeWav8(ByteView samples, uint32_t rate) {
    Bytes out;
    out.reserve(44 + samples.size());
    ByteWriter w(out);
    w.bytes(ByteView(reinterpret_cast<const uint8_t*>("RIFF"), 4));
    w.u32(uint32_t(samples.size() + 36));
    w.bytes(ByteView(reinterpret_cast<const uint8_t*>("WAVEfmt "), 8));
    w.u32(16);
    w.u16(1);
    w.u16(1);
    w.u32(rate);
    w.u32(rate);
    w.u16(1);
    w.u16(8);
    w.bytes(ByteView(reinterpret_cast<const uint8_t*>("data"), 4));
    w.u32(uint32_t(samples.size()));
    w.bytes(samples);
    return out;
}

bool writeWav8(const std::filesystem::path& path, ByteView samples, uint32_t rate,
               std::string* error) {
    return writeWholeFile(path, encodeWav8(samples, rate), error);
}

Prompt wavProblemPrompt(WavProblem problem) {
    switch (problem) {
    case WavProblem::None:
        break;
    case WavProblem::NotPcmWave:
        return {"File error", "Not a PCM wave file!"};
    case WavProblem::Compressed:
        return {"File error", "Sorry, but compressed waves are not supported."};
    case WavProblem::NoDataChunk:
        return {"File error", "Data chunk not found!"};
    }
    return {};
}

std::optional<WavFile> parseWav(ByteView file, WavProblem* problem) {
    auto fail = [&](WavProblem why) -> std::optional<WavFile> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    if (problem)
        *problem = WavProblem::None;
    if (file.size() < 36 || !tagAt(file, 0, "RIFF") || !tagAt(file, 8, "WAVE") ||
        !tagAt(file, 12, "fmt "))
        return fail(WavProblem::NotPcmWave);
    if (readU16At(file, 20) != 1)
        return fail(WavProblem::Compressed);
    WavFile wav;
    wav.channels = readU16At(file, 22);
    wav.rate = readU32At(file, 24);
    wav.blockAlign = readU16At(file, 32);
    wav.bitsPerSample = readU16At(file, 34);
    // Nothing can be taken from frames of no size or a rate of 0.
    if (wav.blockAlign == 0 || wav.rate == 0)
        return fail(WavProblem::NotPcmWave);

    const uint32_t formatSize = std::max<uint32_t>(readU32At(file, 16), 16);
    size_t at = 20 + size_t(formatSize) + (formatSize & 1);
    while (at + 8 <= file.size()) {
        const size_t size = readU32At(file, at + 4);
        if (tagAt(file, at, "data")) {
            const size_t start = at + 8;
            const size_t taken = std::min(size, file.size() - start);
            wav.data.assign(file.begin() + long(start), file.begin() + long(start + taken));
            return wav;
        }
        // Chunks are padded to an even size.
        at += 8 + size + (size & 1);
    }
    return fail(WavProblem::NoDataChunk);
}

size_t convertedLength(const WavFile& wav, int rate) {
    if (wav.rate == 0 || rate <= 0)
        return 0;
    return size_t(double(wav.frames()) * double(rate) / double(wav.rate));
}

Bytes convertToSound(const WavFile& wav, int rate, size_t maxLength) {
    const size_t frames = wav.frames();
    const size_t length = convertedLength(wav, rate);
    Bytes out(std::min(length, maxLength));
    const int bits = wav.bitsPerSample;
    auto sample = [&](int64_t frame) -> double {
        if (frame < 0 || size_t(frame) >= frames)
            return 0;
        const size_t at = size_t(frame) * wav.blockAlign;
        if (bits == 8)
            return at < wav.data.size() ? int(wav.data[at]) - 128 : 0;
        if (bits == 16)
            return at + 2 <= wav.data.size() ? int16_t(readU16At(wav.data, at)) : 0;
        return 0;
    };
    const double scale = bits == 16 ? 256.0 : 1.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double p = double(frames) * double(i) / double(length);
        const int64_t k = int64_t(p);
        const double t = p - double(k);
        const double a = sample(k - 1), b = sample(k), c = sample(k + 1);
        const double v = a * t * (t - 1) / 2 - (t * t - 1) * b + (t + 1) * c * t / 2;
        // Rounded, so that a steady signal stays steady through floating-point error; an
        // overshoot of the sample range is held at its edge instead of wrapping round.
        const double scaled = std::floor(double(std::llround(v)) / scale);
        out[i] = uint8_t(std::clamp(scaled, -128.0, 127.0) + 128);
    }
    return out;
}

std::optional<Bytes> importWavSound(const std::filesystem::path& path, int rate,
                                    Prompter& prompter) {
    std::optional<Bytes> file = readWholeFile(path);
    if (!file) {
        prompter.tell("Couldn't open file:", path.string());
        return std::nullopt;
    }
    WavProblem problem = WavProblem::None;
    std::optional<WavFile> wav = parseWav(*file, &problem);
    if (!wav) {
        prompter.ask(wavProblemPrompt(problem));
        return std::nullopt;
    }
    const size_t length = convertedLength(*wav, rate);
    constexpr size_t kMaxLength = 65535;
    if (length > kMaxLength &&
        prompter.ask({"Sound too long!",
                      "This wave file will result in a sound bigger than 64K!\nDo you want it to "
                      "be cut at 64K or do you want to cancel ?",
                      PromptIcon::None, PromptButtons::OkCancel}) != PromptAnswer::Ok)
        return std::nullopt;
    return convertToSound(*wav, rate, kMaxLength);
}
