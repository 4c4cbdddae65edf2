#include "imf_fixture.h"
#include "imf_sequencer.h"
#include "music/music_archive.h"
#include "music/song_model.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using imf::Event;

// The pitch of a note on the OPL2: its clock divided by 72, scaled by the frequency number.
double noteHz(int frequency, int block) {
    return frequency * (3579545.0 / 72.0) / double(1 << (20 - block));
}

// Frequency of the loudest sine in samples[from, to), from its zero crossings.
double measuredHz(const std::vector<int16_t>& samples, size_t from, size_t to, int rate) {
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i)
        if ((samples[i - 1] < 0) != (samples[i] < 0))
            ++crossings;
    return crossings / 2.0 / (double(to - from) / rate);
}

int peak(const std::vector<int16_t>& samples, size_t from, size_t to) {
    int result = 0;
    for (size_t i = from; i < to && i < samples.size(); ++i)
        result = std::max(result, std::abs(int(samples[i])));
    return result;
}

TEST(ImfSequencer, PlaysEachNoteAtItsPitchFromItsTick) {
    struct Case {
        int frequency, block, channel;
        uint32_t start, length;
    } cases[] = {
        {0x244, 4, 1, 350, 700},
        {0x244, 5, 3, 0, 700},
        {0x159, 3, 8, 70, 1400},
        {0x2B0, 6, 5, 7, 350},
    };
    const uint32_t tail = 350;
    for (const Case& c : cases) {
        std::vector<Event> song = imf::sineInstrument(c.channel);
        song.back().delay = uint16_t(c.start);
        uint8_t high = uint8_t(c.frequency >> 8 | c.block << 2);
        Bytes events =
            imf::join(song, {{uint8_t(0xA0 + c.channel), uint8_t(c.frequency), 0},
                             {uint8_t(0xB0 + c.channel), uint8_t(high | 0x20), uint16_t(c.length)},
                             {uint8_t(0xB0 + c.channel), high, tail}});
        std::vector<int16_t> samples = renderImf(events);
        const size_t perTick = kImfSampleRate / kImfTickRate;
        ASSERT_EQ(samples.size(), (c.start + c.length + tail) * perTick);
        size_t on = c.start * perTick, off = (c.start + c.length) * perTick;
        EXPECT_EQ(peak(samples, 0, on), 0) << c.frequency;
        EXPECT_GT(peak(samples, on, on + 2 * perTick), 1000) << "sounds from its first tick";
        double expected = noteHz(c.frequency, c.block);
        EXPECT_NEAR(measuredHz(samples, on + 20 * perTick, off, kImfSampleRate), expected,
                    expected * 0.01);
        EXPECT_LT(peak(samples, off + 70 * perTick, samples.size()), 50) << "released";
    }
}

// Notes the sample count at each register write.
class RecordingOpl : public Copl {
public:
    struct Write {
        uint64_t sample;
        int reg, value;
    };
    std::vector<Write>* writes;
    uint64_t samples = 0;

    explicit RecordingOpl(std::vector<Write>* log) : writes(log) {}
    void write(int reg, int val) override { writes->push_back({samples, reg, val}); }
    void init() override {}
    void update(short* buf, int count) override {
        std::fill(buf, buf + count, short(0));
        samples += uint64_t(count);
    }
};

Bytes sharewareSong(size_t index) {
    MusicArchive archive;
    RecordingPrompter prompter;
    if (!LoadMusic(archive, GameFilePath{testdata::gameDataDir().string(), "AUDIOT", "WL1"},
                   prompter))
        return {};
    ByteView song = archive.song(index);
    return Bytes(song.begin(), song.end());
}

TEST(ImfSequencer, EveryWriteReachesTheChipOnItsTick) {
    REQUIRE_GAME_DATA();
    Bytes song = sharewareSong(0);
    ByteView events = songEvents(song);
    for (int rate : {44100, 48000, 11025}) {
        std::vector<RecordingOpl::Write> writes;
        ImfSequencer sequencer(std::make_unique<RecordingOpl>(&writes), rate);
        sequencer.start(events);
        std::vector<int16_t> buffer(777); // not a multiple of a tick
        while (sequencer.render(buffer.data(), buffer.size()) > 0) {
        }
        ASSERT_TRUE(sequencer.finished());
        EXPECT_EQ(sequencer.position(), ParseSong(song).totalTime);

        // The first writes set up the card; the song's follow in order.
        ASSERT_EQ(writes.size(), events.size() / 4 + 2) << rate;
        uint64_t tick = 0;
        for (size_t i = 0; i < events.size() / 4; ++i) {
            const RecordingOpl::Write& write = writes[i + 2];
            ASSERT_EQ(write.reg, events[i * 4]) << rate << " event " << i;
            ASSERT_EQ(write.value, events[i * 4 + 1]) << rate << " event " << i;
            ASSERT_EQ(write.sample, tick * uint64_t(rate) / kImfTickRate) << rate << " event " << i;
            tick += readU16At(events, i * 4 + 2);
        }
    }
}

// The song with the key-on bit of one channel cleared in every write.
Bytes withoutKeys(ByteView events, int channel) {
    Bytes out(events.begin(), events.end());
    for (size_t i = 0; i + 1 < out.size(); i += 4)
        if (out[i] == 0xB0 + channel)
            out[i + 1] &= ~0x20;
    return out;
}

TEST(ImfSequencer, MutingAChannelRemovesItsNotesAndNothingElse) {
    REQUIRE_GAME_DATA();
    Bytes song = sharewareSong(1);
    ByteView events = songEvents(song);
    SongModel model = ParseSong(song);
    const uint32_t ticks = 10 * kImfTickRate;
    std::vector<int16_t> full = renderImf(events, kImfSampleRate, ticks);
    for (int channel = 0; channel < kOplChannels; ++channel) {
        const int muted[] = {channel};
        std::vector<int16_t> withMute = renderImf(events, kImfSampleRate, ticks, muted);
        EXPECT_EQ(withMute, renderImf(withoutKeys(events, channel), kImfSampleRate, ticks))
            << channel;
        bool playsInTheseTicks = channel > 0 && !model.notes(channel).empty() &&
                                 model.notes(channel).front().start < ticks;
        EXPECT_EQ(withMute != full, playsInTheseTicks) << channel;
    }
}

TEST(ImfSequencer, MutingASoundingChannelReleasesItAtOnce) {
    Bytes events = imf::join(imf::sineInstrument(2), {{0xA2, 0x44, 0}, {0xB2, 0x32, 2100}});
    ImfSequencer sequencer;
    sequencer.start(events);
    std::vector<int16_t> before(kImfSampleRate / 2), after(kImfSampleRate / 2);
    sequencer.render(before.data(), before.size());
    sequencer.setMuted(2, true);
    sequencer.render(after.data(), after.size());
    EXPECT_GT(peak(before, before.size() - 100, before.size()), 1000);
    EXPECT_LT(peak(after, after.size() / 4, after.size()), 50);
    EXPECT_TRUE(sequencer.muted(2));
    EXPECT_FALSE(sequencer.muted(1));
}

TEST(ImfSequencer, StartingLaterSetsTheSongUpSilently) {
    Bytes events =
        imf::join(imf::sineInstrument(4), {{0xA4, 0x44, 0}, {0xB4, 0x32, 1400}, {0xB4, 0x12, 140}});
    std::vector<RecordingOpl::Write> writes;
    ImfSequencer recorder(std::make_unique<RecordingOpl>(&writes), kImfSampleRate);
    recorder.start(events, 700);
    EXPECT_EQ(recorder.position(), 700u);
    EXPECT_EQ(writes.size(), 2u + 11u) << "setup and key-on written before the first sample";

    ImfSequencer sequencer;
    sequencer.start(events, 700);
    std::vector<int16_t> samples(kImfSampleRate * 2);
    size_t played = sequencer.render(samples.data(), samples.size());
    EXPECT_EQ(played, size_t(1540 - 700) * kImfSampleRate / kImfTickRate);
    EXPECT_GT(peak(samples, 0, 630), 1000) << "the held note sounds at once";
    EXPECT_TRUE(sequencer.finished());
    EXPECT_EQ(sequencer.position(), 1540u);

    sequencer.start(events, 5000);
    EXPECT_TRUE(sequencer.finished()) << "past the end";
}

TEST(ImfSequencer, ShortAndGarbageStreamsPlaySafely) {
    std::mt19937 random(99);
    Bytes garbage(4003);
    for (uint8_t& b : garbage)
        b = uint8_t(random());
    // Random registers and values; short waits, so the test stays quick.
    for (size_t i = 3; i < garbage.size(); i += 4)
        garbage[i] = 0;
    uint64_t garbageTicks = 0;
    for (size_t i = 0; i + 4 <= garbage.size(); i += 4)
        garbageTicks += readU16At(garbage, i + 2);
    struct Case {
        const char* name;
        Bytes events;
        uint64_t ticks;
    } cases[] = {
        {"empty", {}, 0},
        {"one byte", {0xB1}, 0},
        {"an event without delay", {0xB1, 0x32}, 0},
        {"an event with half a delay", {0xB1, 0x32, 0x10}, 0},
        {"garbage", garbage, garbageTicks},
    };
    for (const Case& c : cases) {
        ImfSequencer sequencer(11025);
        sequencer.start(c.events);
        EXPECT_EQ(sequencer.length(), c.ticks) << c.name;
        std::vector<int16_t> buffer(11025);
        uint64_t played = 0;
        for (size_t n; (n = sequencer.render(buffer.data(), buffer.size())) > 0;)
            played += n;
        EXPECT_EQ(played, c.ticks * 11025 / kImfTickRate) << c.name;
        EXPECT_TRUE(sequencer.finished()) << c.name;
        EXPECT_EQ(peak(buffer, 0, buffer.size()), 0) << "silence after the end";
    }
}

} // namespace
