#include "music/imf_player_binding.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QObject>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>

namespace {

// Stands in for the music page: counts the song-ended events it receives.
class EndedListener : public QObject {
public:
    int ended = 0;

protected:
    void customEvent(QEvent* event) override {
        if (event->type() == QEvent::Type(ImfPlayerBinding::kSongEndedMessage))
            ++ended;
    }
};

const char* const kFunctions[] = {"InitIMFPlayer",  "SetIMFEndedEvent", "StartIMFMusic",
                                  "PlayIMFMusicAt", "PauseIMFMusic",    "StopIMFMusic",
                                  "GetIMFPosition", "MuteIMFChannel",   "ShutdownIMFPlayer"};

// A song of a held note on channel 1 and nothing else: ticks long.
Bytes shortSong(uint16_t ticks) {
    return {0x21,
            0x21,
            0,
            0,
            0x24,
            0x21,
            0,
            0,
            0x44,
            0x00,
            0,
            0,
            0x64,
            0xF0,
            0,
            0,
            0xA1,
            0x44,
            0,
            0,
            0xB1,
            0x32,
            uint8_t(ticks),
            uint8_t(ticks >> 8)};
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < timeoutMs)
        QTest::qWait(10);
    return condition();
}

TEST(ImfPlayerBinding, MissingLibraryLeavesThePageWithoutDriver) {
    RecordingPrompter prompter;
    EndedListener page;
    ImfPlayerBinding binding;
    EXPECT_FALSE(
        binding.load(prompter, &page, QCoreApplication::applicationDirPath() + "/nothing"));
    EXPECT_FALSE(binding.driverLoaded());
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].title, "Tessarand");
    EXPECT_EQ(prompter.prompts()[0].text, "IMFLIB.DLL not found!");
    // Without driver the calls do nothing.
    Bytes song = shortSong(100);
    binding.start(song);
    binding.mute(3, true);
    EXPECT_EQ(binding.position(), 0u);
}

TEST(ImfPlayerBinding, MissingFunctionIsToldAndLeavesNoDriver) {
    QLibrary library(ImfPlayerBinding::defaultLibraryPath());
    ASSERT_TRUE(library.load()) << "imflib must be built next to the tests: "
                                << library.errorString().toStdString();
    for (const char* hidden : kFunctions) {
        RecordingPrompter prompter;
        EndedListener page;
        ImfPlayerBinding binding;
        EXPECT_FALSE(binding.bind(prompter, &page, [&](const char* name) -> QFunctionPointer {
            return std::strcmp(name, hidden) == 0 ? nullptr : library.resolve(name);
        })) << hidden;
        EXPECT_FALSE(binding.driverLoaded()) << hidden;
        ASSERT_EQ(prompter.prompts().size(), 1u) << hidden;
        EXPECT_EQ(prompter.prompts()[0].title, std::string(hidden) + " not found in IMFLib!");
        EXPECT_EQ(prompter.prompts()[0].text, "Please download a new version of IMFLib!");
        EXPECT_EQ(prompter.prompts()[0].icon, PromptIcon::Exclamation);
        EXPECT_EQ(binding.position(), 0u) << hidden;
    }
}

TEST(ImfPlayerBinding, PlaysAtSevenHundredTicksAndReportsTheEnd) {
    RecordingPrompter prompter;
    EndedListener page;
    ImfPlayerBinding binding;
    ASSERT_TRUE(binding.load(prompter, &page)) << "imflib must be built next to the tests";
    EXPECT_TRUE(prompter.empty());
    EXPECT_TRUE(binding.driverLoaded());

    Bytes song = shortSong(350); // half a second
    QElapsedTimer clock;
    clock.start();
    binding.start(song);
    ASSERT_TRUE(waitFor([&] { return binding.position() >= 140; }, 2000));
    EXPECT_LT(binding.position(), 350u);

    ASSERT_TRUE(waitFor([&] { return page.ended > 0; }, 3000)) << "no end event";
    qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 450) << "ended before the song had played";
    EXPECT_EQ(binding.position(), 350u);
    QTest::qWait(100);
    EXPECT_EQ(page.ended, 1) << "one event per song";

    // Started in the middle it ends sooner, and a paused song keeps its place.
    binding.playAt(song, 175);
    EXPECT_GE(binding.position(), 175u);
    binding.pause();
    uint32_t paused = binding.position();
    QTest::qWait(150);
    EXPECT_EQ(binding.position(), paused);
    binding.pause();
    ASSERT_TRUE(waitFor([&] { return page.ended == 2; }, 3000));

    binding.mute(1, true);
    binding.start(song);
    binding.stop();
    EXPECT_EQ(binding.position(), 0u);
    QTest::qWait(600);
    EXPECT_EQ(page.ended, 2) << "a stopped song does not end";
}

} // namespace
