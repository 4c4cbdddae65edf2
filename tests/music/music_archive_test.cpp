#include "imf_fixture.h"
#include "music/music_archive.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <random>

namespace fs = std::filesystem;

namespace {

constexpr imf::Event kGood{0x20, 0x01, 0};  // a write without delay
constexpr imf::Event kDelay{0x20, 0x01, 5}; // a write with a delay counts against a song
constexpr imf::Event kZero{0x00, 0x00, 0};

Bytes repeat(std::vector<imf::Event> pattern, size_t count) {
    Bytes out;
    for (size_t i = 0; i < count; ++i) {
        const imf::Event& e = pattern[i % pattern.size()];
        Bytes one = imf::events({e});
        out.insert(out.end(), one.begin(), one.end());
    }
    return out;
}

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes songA() {
    return imf::withLengthWord(repeat({kGood, kGood, kDelay}, 40));
}
Bytes songB() {
    return concat(imf::events({kZero}), repeat({kGood}, 35));
}
Bytes placeholder() {
    Bytes bytes(88, 'x');
    bytes[0] = bytes[1] = 0;
    return bytes;
}

struct SongTestCase {
    const char* name;
    Bytes chunk;
    bool song;
};

TEST(MusicArchive, SongTestTellsSongsFromOtherChunks) {
    const SongTestCase cases[] = {
        {"length word and 30 events", imf::withLengthWord(repeat({kGood}, 30)), true},
        {"zero first word, events from the start",
         concat(imf::events({kZero}), repeat({kGood}, 29)), true},
        {"14 bad words pass",
         imf::withLengthWord(concat(repeat({kDelay}, 14), repeat({kGood}, 16))), true},
        {"15 bad words fail",
         imf::withLengthWord(concat(repeat({kDelay}, 15), repeat({kGood}, 15))), false},
        {"zero events are bad", imf::withLengthWord(repeat({kZero, kGood, kGood}, 45)), true},
        {"as many zero events fail", imf::withLengthWord(repeat({kZero, kGood}, 30)), false},
        {"too short to hold 30 events", imf::withLengthWord(repeat({kGood}, 29)), false},
        {"61 bytes", Bytes(61, 0x01), false},
        {"empty", {}, false},
        {"the game's song placeholders", placeholder(), false},
        {"text", Bytes(200, 'a'), false},
    };
    for (const SongTestCase& c : cases)
        EXPECT_EQ(isSongChunk(c.chunk), c.song) << c.name;
}

TEST(MusicArchive, EventSpanFollowsTheLengthWord) {
    struct Case {
        const char* name;
        Bytes song;
        size_t offset, length;
    } cases[] = {
        {"length word", imf::withLengthWord(Bytes(8, 1)), 2, 8},
        {"trailing bytes after the events", concat(imf::withLengthWord(Bytes(8, 1)), Bytes(88, 2)),
         2, 8},
        {"zero word: the whole chunk", concat(Bytes{0, 0}, Bytes(10, 1)), 0, 12},
        {"length word beyond the chunk is cut", Bytes{0xFF, 0x7F, 1, 2, 3, 4, 5}, 2, 5},
        {"one byte", Bytes{7}, 0, 0},
        {"empty", {}, 0, 0},
    };
    for (const Case& c : cases) {
        ImfSpan span = songEventSpan(c.song);
        EXPECT_EQ(span.offset, c.offset) << c.name;
        EXPECT_EQ(span.length, c.length) << c.name;
    }
}

TEST(MusicArchive, LoadsTheSongChunksWhole) {
    testdata::TempDir dir;
    Bytes sfx = concat(Bytes{60, 0, 0, 0, 50, 0}, Bytes(60, 0x40));
    imf::AudioFiles files = imf::audioFiles({sfx, songA(), placeholder(), Bytes(10, 0), songB()});
    imf::writeFile(dir / "AUDIOHED.WL6", files.header);
    imf::writeFile(dir / "AUDIOT.WL6", files.audio);

    RecordingPrompter prompter;
    MusicArchive archive;
    ASSERT_TRUE(LoadMusic(archive, GameFilePath{dir.path().string(), "AUDIOT", "WL6"}, prompter));
    EXPECT_TRUE(prompter.empty());
    EXPECT_TRUE(archive.loaded());
    ASSERT_EQ(archive.songCount(), 2u);
    EXPECT_EQ(archive.songChunk(0), 1u);
    EXPECT_EQ(archive.songChunk(1), 4u);
    EXPECT_EQ(Bytes(archive.song(0).begin(), archive.song(0).end()), songA());
    EXPECT_EQ(Bytes(archive.song(1).begin(), archive.song(1).end()), songB());
    EXPECT_EQ(archive.songSize(0), songA().size());
    EXPECT_EQ(archive.audioHeader().fullPath(), dir / "AUDIOHED.WL6");
}

struct LoadFailure {
    const char* name;
    std::optional<Bytes> header; // nothing: no AUDIOHED file
    std::optional<Bytes> audio;  // nothing: no AUDIOT file
    const char* title;
    const char* text; // nullptr: the path of the file that could not be opened
};

Bytes offsets(std::initializer_list<uint32_t> values) {
    Bytes out;
    for (uint32_t v : values)
        ByteWriter(out).u32(v);
    return out;
}

TEST(MusicArchive, LoadFailuresAreToldAndLeaveNoMusic) {
    const imf::AudioFiles good = imf::audioFiles({Bytes(70, 1), songA()});
    const uint32_t songStart = 70, songEnd = uint32_t(good.audio.size());
    Bytes truncated(good.audio.begin(), good.audio.begin() + songStart + 40);
    std::mt19937 random(7);
    Bytes garbage(1000);
    for (uint8_t& b : garbage)
        b = uint8_t(random());

    const char* headTitle = "CTessarandDlg::OnLoadMusic(): Unable to open audio head file:";
    const char* audioTitle = "CTessarandDlg::OnLoadMusic(): Unable to open audio file:";
    const char* loadTitle = "CTessarandDlg::LoadMusic()";
    const char* noSong = "Unable to find first song!";
    const LoadFailure cases[] = {
        {"no AUDIOHED", std::nullopt, good.audio, headTitle, nullptr},
        {"no AUDIOT", good.header, std::nullopt, audioTitle, nullptr},
        {"empty AUDIOHED", Bytes{}, good.audio, loadTitle, noSong},
        {"AUDIOHED of one offset", offsets({0}), good.audio, loadTitle, noSong},
        {"AUDIOHED cut inside an offset", Bytes(good.header.begin(), good.header.begin() + 7),
         good.audio, loadTitle, noSong},
        {"song offsets past the end", offsets({0, songStart + 1000, songEnd + 1000}), good.audio,
         loadTitle, noSong},
        {"offsets running backwards", offsets({0, songEnd, songStart}), good.audio, loadTitle,
         noSong},
        {"garbage AUDIOHED", garbage, good.audio, loadTitle, noSong},
        {"empty AUDIOT", good.header, Bytes{}, loadTitle, noSong},
        {"AUDIOT cut inside the song", good.header, truncated, loadTitle, noSong},
        {"garbage AUDIOT", offsets({0, 500, 1000}), garbage, loadTitle, noSong},
    };
    for (const LoadFailure& c : cases) {
        testdata::TempDir dir;
        if (c.header)
            imf::writeFile(dir / "AUDIOHED.WL6", *c.header);
        if (c.audio)
            imf::writeFile(dir / "AUDIOT.WL6", *c.audio);
        // A good load first: a failed one must not leave its songs behind.
        testdata::TempDir goodDir;
        imf::writeFile(goodDir / "AUDIOHED.WL6", good.header);
        imf::writeFile(goodDir / "AUDIOT.WL6", good.audio);
        RecordingPrompter prompter;
        MusicArchive archive;
        ASSERT_TRUE(
            LoadMusic(archive, GameFilePath{goodDir.path().string(), "AUDIOT", "WL6"}, prompter));

        GameFilePath audioData{dir.path().string(), "AUDIOT", "WL6"};
        EXPECT_FALSE(LoadMusic(archive, audioData, prompter)) << c.name;
        EXPECT_FALSE(archive.loaded()) << c.name;
        EXPECT_EQ(archive.songCount(), 0u) << c.name;
        ASSERT_EQ(prompter.prompts().size(), 1u) << c.name;
        const Prompt& prompt = prompter.prompts()[0];
        EXPECT_EQ(prompt.title, c.title) << c.name;
        std::string path =
            (c.title == headTitle ? audioData.sibling("AUDIOHED") : audioData).fullPath().string();
        EXPECT_EQ(prompt.text, c.text ? c.text : path) << c.name;
        EXPECT_EQ(prompt.icon, PromptIcon::Exclamation) << c.name;
    }
}

// The shareware AUDIOHED read independently of the code under test.
std::vector<Bytes> realChunks(const fs::path& folder) {
    Bytes header = imf::readFile(folder / "AUDIOHED.WL1");
    Bytes audio = imf::readFile(folder / "AUDIOT.WL1");
    std::vector<Bytes> chunks;
    for (size_t i = 0; i + 8 <= header.size(); i += 4) {
        uint32_t start = readU32At(header, i), end = readU32At(header, i + 4);
        chunks.emplace_back(audio.begin() + start, audio.begin() + end);
    }
    return chunks;
}

TEST(MusicArchive, SharewareHasElevenSongsAndNoPlaceholders) {
    REQUIRE_GAME_DATA();
    testdata::TempDir dir;
    // Lower-case names as some copies of the game have them.
    fs::copy_file(testdata::gameDataDir() / "AUDIOHED.WL1", dir / "audiohed.wl1");
    fs::copy_file(testdata::gameDataDir() / "AUDIOT.WL1", dir / "audiot.wl1");
    RecordingPrompter prompter;
    MusicArchive archive;
    ASSERT_TRUE(LoadMusic(archive, GameFilePath{dir.path().string(), "audiot", "wl1"}, prompter));
    EXPECT_TRUE(prompter.empty());
    ASSERT_EQ(archive.songCount(), 11u);

    std::vector<Bytes> chunks = realChunks(testdata::gameDataDir());
    size_t placeholders = 0;
    for (size_t i = 0; i < chunks.size(); ++i)
        if (chunks[i].size() == 88 && readU16At(chunks[i], 0) == 0)
            ++placeholders;
    EXPECT_GT(placeholders, 0u);
    for (size_t s = 0; s < archive.songCount(); ++s) {
        const Bytes& chunk = chunks.at(archive.songChunk(s));
        EXPECT_EQ(Bytes(archive.song(s).begin(), archive.song(s).end()), chunk) << "song " << s;
        EXPECT_NE(chunk.size(), 88u) << "song " << s;
        // Each song is a length word and whole events, with the song's name behind them.
        EXPECT_EQ(songEventSpan(chunk).length % 4, 0u) << "song " << s;
        EXPECT_LT(songEventSpan(chunk).length, chunk.size() - 2) << "song " << s;
    }
}

TEST(MusicArchive, TruncatedSharewareAudioKeepsTheWholeSongsBeforeTheCut) {
    REQUIRE_GAME_DATA();
    MusicArchive whole;
    RecordingPrompter prompter;
    ASSERT_TRUE(LoadMusic(whole, GameFilePath{testdata::gameDataDir().string(), "AUDIOT", "WL1"},
                          prompter));

    testdata::TempDir dir;
    fs::copy_file(testdata::gameDataDir() / "AUDIOHED.WL1", dir / "AUDIOHED.WL1");
    Bytes audio = imf::readFile(testdata::gameDataDir() / "AUDIOT.WL1");
    audio.resize(audio.size() * 3 / 4);
    imf::writeFile(dir / "AUDIOT.WL1", audio);
    MusicArchive cut;
    ASSERT_TRUE(LoadMusic(cut, GameFilePath{dir.path().string(), "AUDIOT", "WL1"}, prompter));
    ASSERT_GT(cut.songCount(), 0u);
    ASSERT_LT(cut.songCount(), whole.songCount());
    for (size_t s = 0; s < cut.songCount(); ++s) {
        EXPECT_EQ(cut.songChunk(s), whole.songChunk(s));
        EXPECT_EQ(cut.songSize(s), whole.songSize(s));
    }
}

} // namespace
