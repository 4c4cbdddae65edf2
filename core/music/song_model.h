#pragma once
// A song as the music editor sees it: per OPL2 channel 1..8 its notes and the writes to its
// operator cells, plus every other register write, rebuilt into an IMF stream on demand.
// Channel 0 is left to the game's sound effects and is not modelled.

#include "common/byte_io.h"
#include "common/prompter.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

constexpr int kImfTicksPerSecond = 700;
constexpr int kFirstSongChannel = 1;
constexpr int kLastSongChannel = 8;
// The largest event stream that still fits behind a 16-bit length word.
constexpr size_t kMaxImfLengthWord = 65532;

struct Note {
    uint16_t frequency = 0;        // 10-bit frequency number
    uint8_t block = 0;             // octave, 0..7
    uint32_t start = 0;            // ticks
    uint32_t length = 0;           // ticks; 0 while the key has not been released
    bool endedByRetrigger = false; // cut by a new key-on or frequency change, not released

    uint32_t end() const { return start + length; }
};

struct RegisterWrite {
    uint8_t reg = 0;
    uint8_t value = 0;
    uint32_t time = 0;

    bool operator==(const RegisterWrite&) const = default;
};

class SongModel {
public:
    // Channels 1..8; notes and generator writes are kept in time order.
    std::vector<Note>& notes(int channel) { return m_notes.at(size_t(channel)); }
    const std::vector<Note>& notes(int channel) const { return m_notes.at(size_t(channel)); }
    std::vector<RegisterWrite>& generators(int channel) { return m_generators.at(size_t(channel)); }
    const std::vector<RegisterWrite>& generators(int channel) const {
        return m_generators.at(size_t(channel));
    }
    std::vector<RegisterWrite>& miscellaneous() { return m_misc; }
    const std::vector<RegisterWrite>& miscellaneous() const { return m_misc; }

    uint32_t totalTime = 0; // ticks

    // The song the model was parsed from and the IMF events in it that playback uses.
    const Bytes& song() const { return m_song; }
    ByteView events() const;
    size_t eventsOffset() const { return m_eventsOffset; }
    size_t eventsLength() const { return m_eventsLength; }

    // Debugging output of the parse (operator registers of unused cells).
    std::vector<std::string> diagnostics;

private:
    friend SongModel ParseSong(ByteView song);

    std::array<std::vector<Note>, 9> m_notes;
    std::array<std::vector<RegisterWrite>, 9> m_generators;
    std::vector<RegisterWrite> m_misc;
    Bytes m_song;
    size_t m_eventsOffset = 0;
    size_t m_eventsLength = 0;
};

// The channel an operator register (0x20..0xF5 groups) belongs to: 0..8, or -1 for the unused
// cells 6, 7, 14, 15 and 22..31.
int operatorChannel(uint8_t reg);

// Builds the model of a song chunk (length word or not) and keeps a copy of the song in it.
SongModel ParseSong(ByteView song);

// The IMF song of the model: a length word and the events, or, when they do not fit behind
// one, the events alone starting with a zero event.
Bytes buildImfSong(const SongModel& model);

// "Update IMF": rebuilds the song, makes it the model's song (parsed again) and writes it to
// folder/"test.imf". The model is updated even when the file cannot be written; that failure is
// told through the prompter and returns false. The caller stops playback first.
bool RebuildImf(SongModel& model, Prompter& prompter, const std::filesystem::path& folder);
// The same into the current directory.
bool RebuildImf(SongModel& model, Prompter& prompter);

// "Song length: %i:%.2i mins (%i bytes)" for the song's total ticks and its size in bytes.
std::string songLengthText(uint32_t totalTicks, size_t songBytes);
