#include "imf_fixture.h"
#include "imf_sequencer.h"
#include "music/music_archive.h"
#include "music/song_model.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

// tessarand-cli is built into the same folder as the tests.
fs::path cliPath() {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    return (error ? fs::current_path() : self.parent_path()) / "tessarand-cli";
}

int runCli(const std::string& arguments, const fs::path& output = "/dev/null") {
    std::string command =
        "\"" + cliPath().string() + "\" " + arguments + " >\"" + output.string() + "\" 2>/dev/null";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

#define REQUIRE_CLI()                                                                              \
    do {                                                                                           \
        REQUIRE_GAME_DATA();                                                                       \
        ASSERT_TRUE(fs::exists(cliPath())) << "build tessarand-cli next to " << cliPath();         \
    } while (0)

MusicArchive sharewareMusic() {
    MusicArchive archive;
    RecordingPrompter prompter;
    LoadMusic(archive, GameFilePath{testdata::gameDataDir().string(), "AUDIOT", "WL1"}, prompter);
    return archive;
}

TEST(MusicCli, RenderSongWritesTheSongAsMonoPcmOfItsLength) {
    REQUIRE_CLI();
    MusicArchive archive = sharewareMusic();
    ASSERT_GT(archive.songCount(), 8u);
    testdata::TempDir dir;
    struct Case {
        size_t song;
        const char* seconds;
        uint32_t ticks; // 0: the whole song
    } cases[] = {{8, nullptr, 0}, {3, "2.5", 1750}};
    for (const Case& c : cases) {
        fs::path wav = dir / ("song" + std::to_string(c.song) + ".wav");
        std::string arguments = "render-song " + quoted(testdata::gameDataDir()) + " " +
                                std::to_string(c.song) + " " + quoted(wav);
        if (c.seconds)
            arguments += std::string(" --seconds ") + c.seconds;
        ASSERT_EQ(runCli(arguments), 0);

        Bytes file = imf::readFile(wav);
        ASSERT_GE(file.size(), 44u);
        EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
        EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(readU16At(file, 20), 1) << "PCM";
        EXPECT_EQ(readU16At(file, 22), 1) << "mono";
        EXPECT_EQ(readU32At(file, 24), 44100u);
        EXPECT_EQ(readU16At(file, 34), 16);
        EXPECT_EQ(readU32At(file, 4), file.size() - 8);

        // A song of T ticks lasts T / 700 seconds.
        uint32_t ticks = c.ticks ? c.ticks : ParseSong(archive.song(c.song)).totalTime;
        size_t samples = size_t(ticks) * 44100 / 700;
        ASSERT_EQ(readU32At(file, 40), samples * 2);
        ASSERT_EQ(file.size(), 44 + samples * 2);

        double sum = 0;
        size_t clipped = 0;
        std::vector<int16_t> pcm(samples);
        for (size_t i = 0; i < samples; ++i) {
            pcm[i] = int16_t(readU16At(file, 44 + 2 * i));
            sum += double(pcm[i]) * pcm[i];
            clipped += std::abs(int(pcm[i])) >= 32767;
        }
        double rmsDb = 20 * std::log10(std::sqrt(sum / samples) / 32768);
        EXPECT_GT(rmsDb, -45) << "song " << c.song;
        EXPECT_LT(rmsDb, -10) << "song " << c.song;
        EXPECT_LT(clipped, samples / 1000) << "song " << c.song;
        EXPECT_EQ(pcm, renderImf(songEvents(archive.song(c.song)), 44100, ticks));
    }
}

TEST(MusicCli, RenderSongRefusesWhatItCannotDo) {
    REQUIRE_CLI();
    testdata::TempDir dir;
    fs::copy_file(testdata::gameDataDir() / "AUDIOT.WL1", dir / "AUDIOT.WL1");
    const std::string data = quoted(testdata::gameDataDir());
    const std::string out = quoted(dir / "out.wav");
    struct Case {
        std::string arguments;
        int exitCode;
    } cases[] = {
        {"render-song " + data + " 11 " + out, 2},
        {"render-song " + data + " first " + out, 2},
        {"render-song " + data + " 0 " + out + " --seconds 0", 2},
        {"render-song " + data + " 0", 2},
        {"render-song " + quoted(dir.path()) + " 0 " + out, 1}, // no AUDIOHED
        {"render-song " + data + " 0 " + quoted(dir / "missing" / "out.wav"), 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(runCli(c.arguments), c.exitCode) << c.arguments;
    EXPECT_FALSE(fs::exists(dir / "out.wav"));
}

TEST(MusicCli, ExportAndInfoShowTheSongsAsStored) {
    REQUIRE_CLI();
    MusicArchive archive = sharewareMusic();
    testdata::TempDir dir;
    ASSERT_EQ(runCli("export " + quoted(testdata::gameDataDir()) + " " + quoted(dir / "out") +
                     " --kinds music"),
              0);
    for (size_t s = 0; s < archive.songCount(); ++s) {
        char name[32];
        std::snprintf(name, sizeof name, "song%02zu.imf", s);
        EXPECT_EQ(imf::readFile(dir / "out" / "music" / name),
                  Bytes(archive.song(s).begin(), archive.song(s).end()))
            << name;
    }
    EXPECT_FALSE(fs::exists(dir / "out" / "music" / "song11.imf"));

    ASSERT_EQ(runCli("info " + quoted(testdata::gameDataDir()) + " --json", dir / "info.json"), 0);
    Bytes json = imf::readFile(dir / "info.json");
    std::string songs = "\"songs\":" + std::to_string(archive.songCount());
    EXPECT_NE(std::string(json.begin(), json.end()).find(songs), std::string::npos);
}

} // namespace
