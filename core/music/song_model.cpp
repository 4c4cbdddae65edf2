#include "music/song_model.h"

#include "common/file_io.h"
#include "music/music_archive.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>

namespace {

constexpr int kUnusedCell = -1;
// Operator cells 0..31 by the OPL2 layout.
constexpr int kCellChannel[32] = {0, 1, 2, 0, 1, 2, -1, -1, 3,  4,  5,  3,  4,  5,  -1, -1,
                                  6, 7, 8, 6, 7, 8, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

// Written where the stream needs an event but the song has none to offer: the frequency of
// channel 0 is not part of the music and not kept by the model.
constexpr uint8_t kFillerRegister = 0xA0;

bool isOperatorRegister(uint8_t reg) {
    uint8_t group = reg & 0xE0;
    return group == 0x20 || group == 0x40 || group == 0x60 || group == 0x80 || group == 0xE0;
}

uint32_t addTicks(uint32_t time, uint32_t delay) {
    uint64_t sum = uint64_t(time) + delay;
    return sum > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                      : uint32_t(sum);
}

struct ChannelState {
    uint16_t frequency = 0;
    uint8_t block = 0;
    bool keyOn = false;
};

} // namespace

int operatorChannel(uint8_t reg) {
    return kCellChannel[reg & 31];
}

ByteView SongModel::events() const {
    return ByteView(m_song).subspan(m_eventsOffset, m_eventsLength);
}

SongModel ParseSong(ByteView song) {
    SongModel model;
    model.m_song.assign(song.begin(), song.end());
    ImfSpan span = songEventSpan(model.m_song);
    model.m_eventsOffset = span.offset;
    model.m_eventsLength = span.length;
    ByteView events = model.events();

    std::array<ChannelState, 9> state{};
    uint32_t time = 0;
    auto startNote = [&](int channel) {
        Note note;
        note.frequency = state[size_t(channel)].frequency;
        note.block = state[size_t(channel)].block;
        note.start = time;
        model.m_notes[size_t(channel)].push_back(note);
    };
    auto cutNote = [&](int channel) -> Note& {
        Note& note = model.m_notes[size_t(channel)].back();
        note.endedByRetrigger = true;
        note.length = time - note.start;
        return note;
    };
    auto apply = [&](uint8_t reg, uint8_t value, size_t pos) {
        if (isOperatorRegister(reg)) {
            int channel = operatorChannel(reg);
            if (channel == kUnusedCell) {
                char text[80];
                std::snprintf(text, sizeof text, "illegal cell %i at time %u, offs %.8X\n",
                              reg & 31, time, unsigned(span.offset + pos));
                model.diagnostics.push_back(text);
            } else if (channel != 0) {
                model.m_generators[size_t(channel)].push_back({reg, value, time});
            }
        } else if (reg >= 0xA1 && reg <= 0xA8) {
            int channel = reg - 0xA0;
            ChannelState& ch = state[size_t(channel)];
            ch.frequency = uint16_t((ch.frequency & 0x300) | value);
            if (ch.keyOn) {
                cutNote(channel);
                startNote(channel);
            }
        } else if (reg >= 0xB1 && reg <= 0xB8) {
            int channel = reg - 0xB0;
            ChannelState& ch = state[size_t(channel)];
            ch.frequency = uint16_t((ch.frequency & 0xFF) | ((value & 3) << 8));
            ch.block = (value >> 2) & 7;
            bool keyOn = value & 0x20;
            if (keyOn) {
                if (ch.keyOn) {
                    Note& cut = cutNote(channel);
                    if (cut.length != 0)
                        startNote(channel);
                    else
                        cut.endedByRetrigger = false; // still sounding: it stays the current note
                } else {
                    startNote(channel);
                }
                Note& current = model.m_notes[size_t(channel)].back();
                current.frequency = ch.frequency;
                current.block = ch.block;
            } else if (ch.keyOn) {
                Note& note = model.m_notes[size_t(channel)].back();
                note.length = time - note.start;
            }
            ch.keyOn = keyOn;
        } else if (reg >= 0xC1 && reg <= 0xC8) {
            model.m_generators[size_t(reg - 0xC0)].push_back({reg, value, time});
        } else if (reg != 0xA0 && reg != 0xB0 && reg != 0xC0) {
            model.m_misc.push_back({reg, value, time});
        }
    };

    for (size_t pos = 0; pos + 2 <= events.size(); pos += 4) {
        uint16_t delay = pos + 4 <= events.size() ? readU16At(events, pos + 2) : 0;
        // Without a length word the first event is the zero marker, not a register write.
        if (pos > 0 || span.offset > 0)
            apply(events[pos], events[pos + 1], pos);
        time = addTicks(time, delay);
    }
    model.totalTime = time;
    return model;
}

namespace {

struct TimedWrite {
    uint8_t reg;
    uint8_t value;
    uint32_t time;
};

// The 17 lists merged by time in the order of the music driver: miscellaneous writes, then
// the generators of channels 1..8, then their notes.
std::vector<TimedWrite> mergeLists(const SongModel& model) {
    struct NoteCursor {
        size_t index = 0;
        bool atEnd = false; // the key-on was written, the key-off is next
    };
    std::array<size_t, 9> registerCursor{}; // 0 = miscellaneous, 1..8 = generators
    std::array<NoteCursor, 9> noteCursor{};
    std::array<int, 9> lastA, lastB;
    lastA.fill(-1);
    lastB.fill(-1);

    auto registerList = [&](int list) -> const std::vector<RegisterWrite>& {
        return list == 0 ? model.miscellaneous() : model.generators(list);
    };
    // A list that went out of order while editing is caught up at the current time rather than
    // running the clock backwards.
    auto nextRegisterTime = [&](int list, uint64_t now) -> std::optional<uint64_t> {
        const auto& writes = registerList(list);
        if (registerCursor[size_t(list)] >= writes.size())
            return std::nullopt;
        return std::max<uint64_t>(now, writes[registerCursor[size_t(list)]].time);
    };
    auto nextNoteTime = [&](int channel, uint64_t now) -> std::optional<uint64_t> {
        const auto& notes = model.notes(channel);
        NoteCursor cursor = noteCursor[size_t(channel)];
        if (cursor.index >= notes.size())
            return std::nullopt;
        const Note& note = notes[cursor.index];
        uint64_t time = cursor.atEnd ? uint64_t(note.start) + note.length : note.start;
        return std::max<uint64_t>(now, time);
    };

    std::vector<TimedWrite> out;
    auto write = [&](uint8_t reg, uint8_t value, uint64_t time) {
        out.push_back({reg, value, uint32_t(std::min<uint64_t>(time, UINT32_MAX))});
    };
    auto writeIfChanged = [&](std::array<int, 9>& last, int channel, uint8_t reg, uint8_t value,
                              uint64_t time) {
        if (last[size_t(channel)] == value)
            return;
        last[size_t(channel)] = value;
        write(reg, value, time);
    };

    uint64_t now = 0;
    while (true) {
        for (int list = 0; list <= kLastSongChannel; ++list) {
            const auto& writes = registerList(list);
            while (nextRegisterTime(list, now) == now) {
                const RegisterWrite& entry = writes[registerCursor[size_t(list)]++];
                write(entry.reg, entry.value, now);
            }
        }
        for (int channel = kFirstSongChannel; channel <= kLastSongChannel; ++channel) {
            const auto& notes = model.notes(channel);
            NoteCursor& cursor = noteCursor[size_t(channel)];
            while (nextNoteTime(channel, now) == now) {
                const Note& note = notes[cursor.index];
                uint8_t high = uint8_t(((note.frequency >> 8) & 3) | ((note.block & 7) << 2));
                if (!cursor.atEnd) {
                    writeIfChanged(lastA, channel, uint8_t(0xA0 + channel),
                                   uint8_t(note.frequency & 0xFF), now);
                    writeIfChanged(lastB, channel, uint8_t(0xB0 + channel), high | 0x20, now);
                    if (note.length != 0) {
                        cursor.atEnd = true;
                        continue;
                    }
                    // Only the last note may still be held; an earlier one without length was
                    // released at once, or it would sound on into the next.
                    if (cursor.index + 1 < notes.size())
                        writeIfChanged(lastB, channel, uint8_t(0xB0 + channel), high, now);
                    ++cursor.index;
                } else {
                    writeIfChanged(lastB, channel, uint8_t(0xB0 + channel), high, now);
                    cursor = {cursor.index + 1, false};
                }
            }
        }
        std::optional<uint64_t> next;
        for (int list = 0; list <= kLastSongChannel; ++list)
            if (auto time = nextRegisterTime(list, now); time && (!next || *time < *next))
                next = time;
        for (int channel = kFirstSongChannel; channel <= kLastSongChannel; ++channel)
            if (auto time = nextNoteTime(channel, now); time && (!next || *time < *next))
                next = time;
        if (!next)
            break;
        now = *next;
    }
    return out;
}

void appendEvent(Bytes& out, uint8_t reg, uint8_t value, uint16_t delay) {
    ByteWriter writer(out);
    writer.u8(reg);
    writer.u8(value);
    writer.u16(delay);
}

} // namespace

Bytes buildImfSong(const SongModel& model) {
    std::vector<TimedWrite> writes = mergeLists(model);
    if (writes.empty() && model.totalTime > 0)
        writes.push_back({kFillerRegister, 0, 0});
    // A song whose first entry comes later needs an event at tick 0 to carry the wait.
    if (!writes.empty() && writes.front().time > 0)
        writes.insert(writes.begin(), TimedWrite{kFillerRegister, 0, 0});

    Bytes events;
    events.reserve(writes.size() * 4 + 64);
    for (size_t i = 0; i < writes.size(); ++i) {
        uint32_t until =
            i + 1 < writes.size() ? writes[i + 1].time : std::max(writes[i].time, model.totalTime);
        uint32_t wait = until - writes[i].time;
        // A delay holds 16 bits; longer waits continue on filler events.
        uint16_t delay = uint16_t(std::min<uint32_t>(wait, 0xFFFF));
        appendEvent(events, writes[i].reg, writes[i].value, delay);
        for (wait -= delay; wait > 0; wait -= delay) {
            delay = uint16_t(std::min<uint32_t>(wait, 0xFFFF));
            appendEvent(events, kFillerRegister, 0, delay);
        }
    }

    Bytes song;
    if (events.size() <= kMaxImfLengthWord) {
        song.reserve(events.size() + 2);
        ByteWriter(song).u16(uint16_t(events.size()));
    } else {
        // Too long for a length word: the zero event marks a song of events alone.
        song.reserve(events.size() + 4);
        appendEvent(song, 0, 0, 0);
    }
    song.insert(song.end(), events.begin(), events.end());
    return song;
}

bool RebuildImf(SongModel& model, Prompter& prompter, const std::filesystem::path& folder) {
    Bytes song = buildImfSong(model);
    model = ParseSong(song);
    std::filesystem::path path = folder / "test.imf";
    if (!writeWholeFile(path, song)) {
        prompter.tell("Cannot Open", path.string(), PromptIcon::Exclamation);
        return false;
    }
    return true;
}

bool RebuildImf(SongModel& model, Prompter& prompter) {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::current_path(error);
    return RebuildImf(model, prompter, error ? std::filesystem::path(".") : folder);
}

std::string songLengthText(uint32_t totalTicks, size_t songBytes) {
    uint32_t seconds = totalTicks / kImfTicksPerSecond;
    char text[96];
    std::snprintf(text, sizeof text, "Song length: %i:%.2i mins (%i bytes)", int(seconds / 60),
                  int(seconds % 60), int(songBytes));
    return text;
}
