#include "imf_fixture.h"
#include "music/music_archive.h"
#include "music/song_model.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using imf::Event;

struct ExpectedNote {
    uint16_t frequency;
    uint8_t block;
    uint32_t start, length;
    bool retrigger;
};

void expectNotes(const std::vector<Note>& notes, const std::vector<ExpectedNote>& expected,
                 const std::string& name) {
    ASSERT_EQ(notes.size(), expected.size()) << name;
    for (size_t i = 0; i < notes.size(); ++i) {
        EXPECT_EQ(notes[i].frequency, expected[i].frequency) << name << " note " << i;
        EXPECT_EQ(notes[i].block, expected[i].block) << name << " note " << i;
        EXPECT_EQ(notes[i].start, expected[i].start) << name << " note " << i;
        EXPECT_EQ(notes[i].length, expected[i].length) << name << " note " << i;
        EXPECT_EQ(notes[i].endedByRetrigger, expected[i].retrigger) << name << " note " << i;
    }
}

// Everything the model keeps of channels 1..8, and the song's length.
void expectSameModel(const SongModel& a, const SongModel& b, const std::string& name) {
    for (int c = kFirstSongChannel; c <= kLastSongChannel; ++c) {
        ASSERT_EQ(a.notes(c).size(), b.notes(c).size()) << name << " channel " << c;
        for (size_t i = 0; i < a.notes(c).size(); ++i) {
            const Note& x = a.notes(c)[i];
            const Note& y = b.notes(c)[i];
            EXPECT_TRUE(x.start == y.start && x.length == y.length && x.frequency == y.frequency &&
                        x.block == y.block)
                << name << " channel " << c << " note " << i << ": " << x.start << "+" << x.length
                << " " << x.frequency << "/" << int(x.block) << " became " << y.start << "+"
                << y.length << " " << y.frequency << "/" << int(y.block);
        }
        EXPECT_EQ(a.generators(c), b.generators(c)) << name << " channel " << c;
    }
    EXPECT_EQ(a.miscellaneous(), b.miscellaneous()) << name;
    EXPECT_EQ(a.totalTime, b.totalTime) << name;
}

struct NoteCase {
    const char* name;
    Bytes events;
    int channel;
    std::vector<ExpectedNote> notes;
};

TEST(SongModel, KeyWritesBecomeNotes) {
    const NoteCase cases[] = {
        {"key on at 0, off at 350",
         imf::events({{0xA3, 0x44, 0}, {0xB3, 0x32, 350}, {0xB3, 0x12, 0}}),
         3,
         {{0x244, 4, 0, 350, false}}},
        {"second key on without key off is a retrigger",
         imf::events({{0xA3, 0x44, 0}, {0xB3, 0x32, 350}, {0xB3, 0x2D, 350}, {0xB3, 0x0D, 0}}),
         3,
         {{0x244, 4, 0, 350, true}, {0x144, 3, 350, 350, false}}},
        {"frequency change while sounding starts a new note",
         imf::events({{0xA1, 0x44, 0}, {0xB1, 0x32, 200}, {0xA1, 0x80, 100}, {0xB1, 0x12, 0}}),
         1,
         {{0x244, 4, 0, 200, true}, {0x280, 4, 200, 100, false}}},
        {"key on twice at one tick is one note",
         imf::events({{0xA8, 0x10, 0}, {0xB8, 0x21, 0}, {0xB8, 0x2E, 70}, {0xB8, 0x0E, 0}}),
         8,
         {{0x210, 3, 0, 70, false}}},
        {"frequency written before the key counts",
         imf::events({{0xA2, 0x01, 10}, {0xA2, 0xFF, 10}, {0xB2, 0x3F, 5}, {0xB2, 0x1F, 0}}),
         2,
         {{0x3FF, 7, 20, 5, false}}},
        {"a note still held at the end has no length",
         imf::events({{0xB4, 0x20, 100}}),
         4,
         {{0, 0, 0, 0, false}}},
        {"key off without a note changes nothing", imf::events({{0xB5, 0x10, 100}}), 5, {}},
        {"channel 0 is not kept", imf::events({{0xA0, 0x44, 0}, {0xB0, 0x32, 100}}), 0, {}},
    };
    for (const NoteCase& c : cases) {
        SongModel model = ParseSong(imf::withLengthWord(c.events));
        if (c.channel == 0) {
            for (int ch = kFirstSongChannel; ch <= kLastSongChannel; ++ch)
                EXPECT_TRUE(model.notes(ch).empty()) << c.name;
            continue;
        }
        expectNotes(model.notes(c.channel), c.notes, c.name);
    }
}

TEST(SongModel, RegistersGoToTheirChannelLists) {
    struct Case {
        uint8_t reg;
        int list; // 1..8 generator list, 0 miscellaneous, -1 not kept, -2 debugging output
    } cases[] = {
        {0x20, -1}, {0x23, -1}, {0x21, 1},  {0x24, 1},  {0x42, 2},  {0x45, 2},  {0x68, 3},
        {0x6B, 3},  {0x89, 4},  {0x8C, 4},  {0xEA, 5},  {0xED, 5},  {0x30, 6},  {0x33, 6},
        {0x51, 7},  {0x54, 7},  {0x72, 8},  {0x75, 8},  {0xC1, 1},  {0xC8, 8},  {0xC0, -1},
        {0xA0, -1}, {0xB0, -1}, {0x26, -2}, {0x2F, -2}, {0x36, -2}, {0xFF, -2}, {0x01, 0},
        {0x08, 0},  {0xBD, 0},  {0xA9, 0},  {0xBF, 0},  {0xC9, 0},  {0xDF, 0},
    };
    for (const auto& c : cases) {
        SongModel model =
            ParseSong(imf::withLengthWord(imf::events({{0x01, 0, 7}, {c.reg, 0x5A, 3}})));
        std::vector<RegisterWrite> expectedMisc = {{0x01, 0, 0}};
        if (c.list == 0)
            expectedMisc.push_back({c.reg, 0x5A, 7});
        EXPECT_EQ(model.miscellaneous(), expectedMisc) << std::hex << int(c.reg);
        for (int ch = kFirstSongChannel; ch <= kLastSongChannel; ++ch) {
            std::vector<RegisterWrite> expected;
            if (c.list == ch)
                expected.push_back({c.reg, 0x5A, 7});
            EXPECT_EQ(model.generators(ch), expected)
                << std::hex << int(c.reg) << " channel " << ch;
        }
        EXPECT_EQ(model.diagnostics.size(), c.list == -2 ? 1u : 0u) << std::hex << int(c.reg);
        EXPECT_EQ(model.totalTime, 10u);
    }
}

TEST(SongModel, ShortAndGarbageEventsParseSafely) {
    struct Case {
        const char* name;
        Bytes song;
        uint32_t totalTime;
        size_t miscWrites;
    } cases[] = {
        {"last event without delay", Bytes{6, 0, 0x01, 1, 9, 0, 0x08, 2}, 9, 2},
        {"last event with one delay byte", Bytes{7, 0, 0x01, 1, 9, 0, 0x08, 2, 0xFF}, 9, 2},
        {"a single stray byte is dropped", Bytes{5, 0, 0x01, 1, 9, 0, 0x08}, 9, 1},
        {"length word longer than the song", Bytes{0xFF, 0xFF, 0x01, 1, 9, 0}, 9, 1},
        {"only a length word", Bytes{4, 0}, 0, 0},
        {"empty", Bytes{}, 0, 0},
    };
    for (const auto& c : cases) {
        SongModel model = ParseSong(c.song);
        EXPECT_EQ(model.totalTime, c.totalTime) << c.name;
        EXPECT_EQ(model.miscellaneous().size(), c.miscWrites) << c.name;
        EXPECT_EQ(model.song(), c.song) << c.name;
    }
}

TEST(SongModel, SongLengthIsShownInMinutesAndSeconds) {
    EXPECT_EQ(songLengthText(1400, 123), "Song length: 0:02 mins (123 bytes)");
    EXPECT_EQ(songLengthText(42000, 7546), "Song length: 1:00 mins (7546 bytes)");
    EXPECT_EQ(songLengthText(42699, 10), "Song length: 1:00 mins (10 bytes)");
    EXPECT_EQ(songLengthText(0, 0), "Song length: 0:00 mins (0 bytes)");
}

TEST(RebuildImf, SongWithoutNotesKeepsItsWritesAndWaits) {
    Bytes song = imf::withLengthWord(imf::events({
        {0xBD, 0x00, 10},
        {0x20, 0x11, 5}, // channel 0 belongs to the sound effects
        {0x21, 0x22, 0},
        {0xC2, 0x33, 20},
        {0xA0, 0x44, 0},
        {0x01, 0x20, 0},
    }));
    SongModel model = ParseSong(song);
    Bytes rebuilt = buildImfSong(model);
    EXPECT_EQ(rebuilt, imf::withLengthWord(imf::events({
                           {0xBD, 0x00, 15},
                           {0x21, 0x22, 0},
                           {0xC2, 0x33, 20},
                           {0x01, 0x20, 0},
                       })));
}

TEST(RebuildImf, RetriggeredNotesGetAKeyOffAndRepeatsAreDropped) {
    Bytes song = imf::withLengthWord(imf::events({
        {0xA3, 0x44, 0},
        {0xB3, 0x32, 350},
        {0xB3, 0x32, 350}, // retrigger with the same values
        {0xB3, 0x12, 0},
    }));
    SongModel model = ParseSong(song);
    EXPECT_EQ(buildImfSong(model), imf::withLengthWord(imf::events({
                                       {0xA3, 0x44, 0},
                                       {0xB3, 0x32, 350},
                                       {0xB3, 0x12, 0},
                                       {0xB3, 0x32, 350},
                                       {0xB3, 0x12, 0},
                                   })));
    expectSameModel(model, ParseSong(buildImfSong(model)), "retrigger");
}

TEST(RebuildImf, EverySharewareSongKeepsItsNotesAndWrites) {
    REQUIRE_GAME_DATA();
    RecordingPrompter prompter;
    MusicArchive archive;
    ASSERT_TRUE(LoadMusic(archive, GameFilePath{testdata::gameDataDir().string(), "AUDIOT", "WL1"},
                          prompter));
    testdata::TempDir dir;
    for (size_t s = 0; s < archive.songCount(); ++s) {
        SongModel original = ParseSong(archive.song(s));
        SongModel rebuilt = original;
        ASSERT_TRUE(RebuildImf(rebuilt, prompter, dir.path()));
        std::string name = "song " + std::to_string(s);
        size_t notes = 0;
        for (int c = kFirstSongChannel; c <= kLastSongChannel; ++c)
            notes += original.notes(c).size();
        EXPECT_GT(notes, 100u) << name;
        expectSameModel(original, rebuilt, name);
        EXPECT_EQ(imf::readFile(dir / "test.imf"), rebuilt.song()) << name;
        EXPECT_EQ(rebuilt.events().size() + 2, rebuilt.song().size()) << name;
    }
    EXPECT_TRUE(prompter.empty());
}

// A model as the editor leaves it after moving notes: built from a short song, then changed.
SongModel modelWithNotes(std::vector<std::pair<uint32_t, uint32_t>> startAndLength) {
    SongModel model = ParseSong(
        imf::withLengthWord(imf::events({{0xA1, 0x44, 0}, {0xB1, 0x32, 10}, {0xB1, 0x12, 0}})));
    model.notes(1).clear();
    for (auto [start, length] : startAndLength) {
        Note note;
        note.frequency = 0x244;
        note.block = 4;
        note.start = start;
        note.length = length;
        model.notes(1).push_back(note);
    }
    model.totalTime = startAndLength.back().first + startAndLength.back().second + 100;
    return model;
}

TEST(RebuildImf, ModelsTheStreamCannotSayDirectlyRebuildFaithfully) {
    std::vector<std::pair<uint32_t, uint32_t>> many;
    for (uint32_t i = 0; i < 9000; ++i)
        many.push_back({i * 20, 10});
    struct Case {
        const char* name;
        SongModel model;
        bool lengthWord;
    } cases[] = {
        {"first note after tick 0", modelWithNotes({{350, 100}, {700, 50}}), true},
        {"a wait longer than a delay holds", modelWithNotes({{0, 10}, {200000, 70000}}), true},
        {"longer than a length word allows", modelWithNotes(many), false},
    };
    for (Case& c : cases) {
        Bytes song = buildImfSong(c.model);
        EXPECT_EQ(songEventSpan(song).offset, c.lengthWord ? 2u : 0u) << c.name;
        EXPECT_EQ(song.size() > kMaxImfLengthWord + 2, !c.lengthWord) << c.name;
        expectSameModel(c.model, ParseSong(song), c.name);
    }
}

TEST(RebuildImf, AnyParsedStreamRebuildsIntoTheSameModel) {
    // Random register writes on the note registers make every kind of retrigger and cut.
    const uint8_t registers[] = {0xA1, 0xB1, 0xA2, 0xB2, 0xB2, 0xA8, 0xB8, 0x21, 0xC3, 0xBD, 0xA0};
    std::mt19937 random(1234);
    for (int round = 0; round < 50; ++round) {
        Bytes events;
        ByteWriter writer(events);
        for (int i = 0; i < 400; ++i) {
            writer.u8(registers[random() % std::size(registers)]);
            writer.u8(uint8_t(random() % 4 == 0 ? 0 : random()));
            writer.u16(uint16_t(random() % 3 == 0 ? 0 : random() % 500));
        }
        SongModel model = ParseSong(imf::withLengthWord(events));
        expectSameModel(model, ParseSong(buildImfSong(model)), "round " + std::to_string(round));
    }
}

TEST(RebuildImf, UnwritableFolderIsToldAndTheModelStillUpdated) {
    testdata::TempDir dir;
    SongModel model = modelWithNotes({{100, 50}});
    RecordingPrompter prompter;
    EXPECT_FALSE(RebuildImf(model, prompter, dir / "missing"));
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].title, "Cannot Open");
    EXPECT_EQ(prompter.prompts()[0].text, (dir / "missing" / "test.imf").string());
    ASSERT_EQ(model.notes(1).size(), 1u);
    EXPECT_EQ(model.notes(1)[0].start, 100u);
    EXPECT_EQ(model.song(), buildImfSong(modelWithNotes({{100, 50}})));
}

} // namespace
