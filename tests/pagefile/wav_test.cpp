#include "pagefile/wav.h"

#include "common/file_io.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Chunk {
    std::string tag;
    Bytes data;
};

// A RIFF file of the given chunks; `format` is the 16-byte PCM format chunk unless replaced.
Bytes riff(const std::vector<Chunk>& chunks) {
    Bytes out;
    ByteWriter w(out);
    w.bytes(ByteView(reinterpret_cast<const uint8_t*>("RIFF"), 4));
    w.u32(0);
    w.bytes(ByteView(reinterpret_cast<const uint8_t*>("WAVE"), 4));
    for (const Chunk& c : chunks) {
        w.bytes(ByteView(reinterpret_cast<const uint8_t*>(c.tag.data()), 4));
        w.u32(uint32_t(c.data.size()));
        w.bytes(c.data);
        if (c.data.size() % 2)
            w.u8(0);
    }
    w.patchU32(4, uint32_t(out.size() - 8));
    return out;
}

Bytes pcmFormat(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1) {
    Bytes f;
    ByteWriter w(f);
    w.u16(tag);
    w.u16(channels);
    w.u32(rate);
    w.u32(rate * channels * bits / 8);
    w.u16(uint16_t(channels * bits / 8));
    w.u16(bits);
    return f;
}

Bytes stereo16(size_t frames, int16_t left, int16_t right) {
    Bytes data;
    ByteWriter w(data);
    for (size_t i = 0; i < frames; ++i) {
        w.i16(left);
        w.i16(right);
    }
    return data;
}

struct Import {
    testdata::TempDir dir;
    RecordingPrompter prompter;
    std::optional<Bytes> run(const Bytes& file, int rate, std::vector<PromptAnswer> answers = {}) {
        writeWholeFile(dir / "in.wav", file);
        for (PromptAnswer a : answers)
            prompter.script(a);
        return importWavSound(dir / "in.wav", rate, prompter);
    }
};

TEST(Wav, ExportedSoundImportsBackAtTheSameRate) {
    Bytes sound;
    for (int i = 0; i < 5000; ++i)
        sound.push_back(uint8_t((i * 37) ^ (i >> 3)));
    sound.front() = 0;
    sound.back() = 255;
    const Bytes file = encodeWav8(sound, 7042);
    ASSERT_EQ(file.size(), 44 + sound.size());
    EXPECT_EQ(std::memcmp(file.data(), "RIFF", 4), 0);
    EXPECT_EQ(readU32At(file, 4), sound.size() + 36);
    EXPECT_EQ(readU32At(file, 24), 7042u);
    EXPECT_EQ(readU32At(file, 40), sound.size());
    Import import;
    std::optional<Bytes> back = import.run(file, 7042);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, sound);
    EXPECT_TRUE(import.prompter.empty());
}

TEST(Wav, StereoSixteenBitIsResampledFromTheLeftChannel) {
    // 22050 frames at 22050 Hz: one second, which is 7042 samples at 7042 Hz.
    const Bytes file =
        riff({{"fmt ", pcmFormat(2, 22050, 16)}, {"data", stereo16(22050, 0x4000, -32768)}});
    Import import;
    std::optional<Bytes> sound = import.run(file, 7042);
    ASSERT_TRUE(sound);
    ASSERT_EQ(sound->size(), 7042u);
    for (size_t i = 0; i + 1 < sound->size(); ++i)
        ASSERT_EQ((*sound)[i], 0x40 + 128) << i;
}

TEST(Wav, TooLongSoundIsCutAtTheSamePitchOrCancelled) {
    // 70000 samples at the same rate.
    Bytes samples(70000);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = uint8_t(i * 7);
    const Bytes file = encodeWav8(samples, 8000);
    Import ok;
    std::optional<Bytes> cut = ok.run(file, 8000, {PromptAnswer::Ok});
    ASSERT_TRUE(cut);
    EXPECT_EQ(*cut, Bytes(samples.begin(), samples.begin() + 65535));
    ASSERT_EQ(ok.prompter.prompts().size(), 1u);
    EXPECT_EQ(ok.prompter.prompts()[0].title, "Sound too long!");
    EXPECT_EQ(ok.prompter.prompts()[0].buttons, PromptButtons::OkCancel);
    Import cancel;
    EXPECT_FALSE(cancel.run(file, 8000, {PromptAnswer::Cancel}));
}

TEST(Wav, ChunksBeforeTheDataAreSkipped) {
    Bytes samples = {10, 20, 30, 40, 50};
    Bytes longFormat = pcmFormat(1, 11025, 8);
    longFormat.insert(longFormat.end(), {0, 0}); // an 18-byte format chunk
    const Bytes file = riff({{"fmt ", longFormat}, {"LIST", Bytes(7, 'i')}, {"data", samples}});
    Import import;
    std::optional<Bytes> sound = import.run(file, 11025);
    ASSERT_TRUE(sound);
    EXPECT_EQ(*sound, samples);
}

// Interpolation overshoots between a silent sample and two loud ones; the result stays loud
// instead of wrapping round to a click at the other end of the range.
TEST(Wav, OvershootIsHeldAtTheEdgeOfTheRange) {
    const Bytes samples = {128, 128, 255, 255, 255, 255};
    Import import;
    std::optional<Bytes> sound = import.run(encodeWav8(samples, 4000), 8000);
    ASSERT_TRUE(sound);
    ASSERT_EQ(sound->size(), 12u);
    // Halfway between samples 2 and 3 the curve through 0, 127, 127 reaches 143: held at 255
    // (wrapped round it would be 15).
    EXPECT_EQ((*sound)[5], 255);
    for (size_t i = 4; i < 11; ++i)
        EXPECT_GE((*sound)[i], 128) << i;
}

TEST(Wav, BadFilesAreRefused) {
    Bytes good = encodeWav8(Bytes{1, 2, 3}, 8000);
    Bytes compressed = good;
    ByteWriter(compressed).patchU16(20, 3);
    Bytes noBlocks = good;
    ByteWriter(noBlocks).patchU16(32, 0);
    Bytes noRate = good;
    ByteWriter(noRate).patchU32(24, 0);
    struct Case {
        const char* name;
        Bytes file;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"empty", {}, "Not a PCM wave file!"},
        {"short", Bytes(good.begin(), good.begin() + 30), "Not a PCM wave file!"},
        {"garbage", Bytes(100, 0x5A), "Not a PCM wave file!"},
        {"compressed", compressed, "Sorry, but compressed waves are not supported."},
        {"noData", riff({{"fmt ", pcmFormat(1, 8000, 8)}, {"LIST", Bytes(9, 1)}}),
         "Data chunk not found!"},
        {"chunkSizePastTheEnd", Bytes(good.begin(), good.begin() + 36), "Data chunk not found!"},
        {"zeroBlockAlign", noBlocks, "Not a PCM wave file!"},
        {"zeroRate", noRate, "Not a PCM wave file!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Import import;
        EXPECT_FALSE(import.run(c.file, 7042));
        ASSERT_EQ(import.prompter.prompts().size(), 1u);
        EXPECT_EQ(import.prompter.prompts()[0].title, "File error");
        EXPECT_EQ(import.prompter.prompts()[0].text, c.text);
    }
    // A data chunk claiming more than the file holds gives what is there.
    Bytes cut = good;
    cut.resize(cut.size() - 1);
    Import import;
    std::optional<Bytes> sound = import.run(cut, 8000);
    ASSERT_TRUE(sound);
    EXPECT_EQ(*sound, (Bytes{1, 2}));
    RecordingPrompter prompter;
    EXPECT_FALSE(importWavSound("/nonexistent/in.wav", 7042, prompter));
    EXPECT_EQ(prompter.prompts().at(0).title, "Couldn't open file:");
}

TEST(Wav, SampleRateMustLieBetween4000And44100) {
    const std::vector<std::pair<std::string, std::optional<int>>> cases = {
        {"3999", std::nullopt},  {"4000", 4000},        {"7042", 7042},     {"44100", 44100},
        {"44101", std::nullopt}, {"abc", std::nullopt}, {"", std::nullopt}, {"-5000", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        RecordingPrompter prompter;
        EXPECT_EQ(checkSampleRate(text, prompter), expected);
        EXPECT_EQ(prompter.empty(), expected.has_value());
        if (!expected) {
            EXPECT_EQ(prompter.prompts()[0].title, "Illegal sample rate!");
            EXPECT_EQ(prompter.prompts()[0].text,
                      "Only sample rates between 4000 and 44100 allowed!");
        }
    }
}

} // namespace
