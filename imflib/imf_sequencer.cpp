#include "imf_sequencer.h"

#include <adplug/wemuopl.h>

#include <algorithm>
#include <limits>

namespace {

// Some chip cores fill their output in blocks; stay within a small one.
constexpr size_t kUpdateBlock = 512;
// The emulator leaves a full-scale note at -18 dBFS; songs play at a quarter of that.
constexpr int kOutputGain = 2;

bool isKeyRegister(int reg) {
    return reg >= 0xB0 && reg < 0xB0 + kOplChannels;
}

} // namespace

MutingOpl::MutingOpl(std::unique_ptr<Copl> chip) : m_chip(std::move(chip)) {
    currType = TYPE_OPL2;
}

void MutingOpl::write(int reg, int val) {
    if (isKeyRegister(reg)) {
        int channel = reg - 0xB0;
        m_keyRegister[size_t(channel)] = uint8_t(val);
        if (m_muted[size_t(channel)])
            val &= ~0x20;
    }
    m_chip->write(reg, val);
}

void MutingOpl::init() {
    m_chip->init();
    m_keyRegister.fill(0);
}

void MutingOpl::setMuted(int channel, bool muted) {
    if (channel < 0 || channel >= kOplChannels)
        return;
    m_muted[size_t(channel)] = muted;
    uint8_t key = m_keyRegister[size_t(channel)];
    if (muted && (key & 0x20))
        m_chip->write(0xB0 + channel, key & ~0x20);
}

bool MutingOpl::muted(int channel) const {
    return channel >= 0 && channel < kOplChannels && m_muted[size_t(channel)];
}

std::unique_ptr<Copl> makeOplEmulator(int sampleRate) {
    return std::make_unique<CWemuopl>(sampleRate, true, false);
}

ImfSequencer::ImfSequencer(int sampleRate)
    : ImfSequencer(makeOplEmulator(sampleRate), sampleRate) {}

ImfSequencer::ImfSequencer(std::unique_ptr<Copl> chip, int sampleRate)
    : m_chip(std::move(chip)), m_sampleRate(std::max(sampleRate, 1)) {
    resetChip();
}

uint64_t ImfSequencer::sampleOfTick(uint64_t tick) const {
    return tick * uint64_t(m_sampleRate) / kImfTickRate;
}

void ImfSequencer::resetChip() {
    m_chip.init();
    // Waveform select on, as the game's sound driver leaves the card.
    m_chip.write(0x01, 0x20);
}

void ImfSequencer::writeEvent(const Event& event) {
    m_chip.write(event.reg, event.value);
}

void ImfSequencer::start(std::span<const uint8_t> events, uint32_t startTick) {
    m_events.clear();
    m_events.reserve(events.size() / 4 + 1);
    uint64_t length = 0;
    for (size_t pos = 0; pos + 2 <= events.size(); pos += 4) {
        uint16_t delay =
            pos + 4 <= events.size() ? uint16_t(events[pos + 2] | events[pos + 3] << 8) : 0;
        m_events.push_back({events[pos], events[pos + 1], delay});
        length += delay;
    }
    m_length = uint32_t(std::min<uint64_t>(length, std::numeric_limits<uint32_t>::max()));

    resetChip();
    m_next = 0;
    m_nextTick = 0;
    while (m_next < m_events.size() && m_nextTick < startTick) {
        writeEvent(m_events[m_next]);
        m_nextTick += m_events[m_next++].delay;
    }
    m_sample = sampleOfTick(startTick);
    m_loaded = true;
    m_finished = m_next == m_events.size() && m_nextTick <= startTick;
}

void ImfSequencer::stop() {
    m_events.clear();
    m_next = 0;
    m_nextTick = 0;
    m_sample = 0;
    m_length = 0;
    m_loaded = false;
    m_finished = false;
    resetChip();
}

uint32_t ImfSequencer::position() const {
    if (m_finished)
        return m_length;
    uint64_t tick = m_sample * kImfTickRate / uint64_t(m_sampleRate);
    if (m_loaded && tick > m_length)
        tick = m_length;
    return uint32_t(std::min<uint64_t>(tick, std::numeric_limits<uint32_t>::max()));
}

size_t ImfSequencer::render(int16_t* out, size_t frames) {
    size_t done = 0;
    while (done < frames && playing()) {
        while (m_next < m_events.size() && sampleOfTick(m_nextTick) <= m_sample) {
            writeEvent(m_events[m_next]);
            m_nextTick += m_events[m_next++].delay;
        }
        uint64_t until = sampleOfTick(m_nextTick);
        if (m_next == m_events.size() && m_sample >= until) {
            m_finished = true;
            break;
        }
        size_t count = size_t(std::min<uint64_t>({frames - done, until - m_sample, kUpdateBlock}));
        m_chip.update(out + done, int(count));
        for (int16_t* sample = out + done; sample != out + done + count; ++sample)
            *sample = int16_t(std::clamp(*sample * kOutputGain, -32768, 32767));
        m_sample += count;
        done += count;
    }
    std::fill(out + done, out + frames, int16_t(0));
    return done;
}

std::vector<int16_t> renderImf(std::span<const uint8_t> events, int sampleRate, uint32_t maxTicks,
                               std::span<const int> mutedChannels) {
    ImfSequencer sequencer(sampleRate);
    for (int channel : mutedChannels)
        sequencer.setMuted(channel, true);
    sequencer.start(events);
    uint64_t ticks = std::min(sequencer.length(), maxTicks);
    std::vector<int16_t> samples(size_t(ticks * uint64_t(sampleRate) / kImfTickRate));
    sequencer.render(samples.data(), samples.size());
    return samples;
}
