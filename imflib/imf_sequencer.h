#pragma once
// Plays an IMF register stream at 700 ticks per second on an emulated OPL2 into sample buffers.
// No audio device and no Qt: the player library, the command line and the tests share it.

#include <adplug/opl.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

constexpr int kImfTickRate = 700;
constexpr int kImfSampleRate = 44100;
constexpr int kOplChannels = 9;

// Passes writes on to a chip but keeps the keys of muted channels off.
class MutingOpl : public Copl {
public:
    explicit MutingOpl(std::unique_ptr<Copl> chip);

    void write(int reg, int val) override;
    void init() override;
    void update(short* buf, int samples) override { m_chip->update(buf, samples); }

    // Muting a sounding channel releases its key at once; unmuting waits for its next note.
    void setMuted(int channel, bool muted);
    bool muted(int channel) const;

private:
    std::unique_ptr<Copl> m_chip;
    std::array<bool, kOplChannels> m_muted{};
    std::array<uint8_t, kOplChannels> m_keyRegister{}; // last 0xB0+c value the song wrote
};

// The chip Tessarand plays on: AdPlug's DOSBox OPL core, 16-bit mono.
std::unique_ptr<Copl> makeOplEmulator(int sampleRate);

class ImfSequencer {
public:
    explicit ImfSequencer(int sampleRate = kImfSampleRate);
    // Plays on any chip (tests record the writes); chip->update fills 16-bit mono samples.
    ImfSequencer(std::unique_ptr<Copl> chip, int sampleRate);

    // Copies the events and plays them from startTick: the writes before it reach the chip at
    // once, without sound, so the instruments are set up. A trailing 2 or 3 bytes are a last
    // event without delay.
    void start(std::span<const uint8_t> events, uint32_t startTick = 0);
    // Silences the chip and forgets the song.
    void stop();

    // Fills out with the next samples; once the song has ended the rest is silence. Returns how
    // many of the samples still belonged to the song.
    size_t render(int16_t* out, size_t frames);

    bool playing() const { return m_loaded && !m_finished; }
    bool finished() const { return m_finished; }
    // Ticks played so far.
    uint32_t position() const;
    // The song's length in ticks, the delay of its last event included.
    uint32_t length() const { return m_length; }
    int sampleRate() const { return m_sampleRate; }

    void setMuted(int channel, bool muted) { m_chip.setMuted(channel, muted); }
    bool muted(int channel) const { return m_chip.muted(channel); }

private:
    struct Event {
        uint8_t reg;
        uint8_t value;
        uint16_t delay;
    };

    uint64_t sampleOfTick(uint64_t tick) const;
    void resetChip();
    void writeEvent(const Event& event);

    MutingOpl m_chip;
    int m_sampleRate;
    std::vector<Event> m_events;
    size_t m_next = 0;       // the next event to write
    uint64_t m_nextTick = 0; // when it is due
    uint64_t m_sample = 0;   // samples since tick 0
    uint32_t m_length = 0;
    bool m_loaded = false;
    bool m_finished = false;
};

// The whole song (at most maxTicks of it) as 16-bit mono samples, channels in mutedChannels
// silenced.
std::vector<int16_t> renderImf(std::span<const uint8_t> events, int sampleRate = kImfSampleRate,
                               uint32_t maxTicks = UINT32_MAX,
                               std::span<const int> mutedChannels = {});
