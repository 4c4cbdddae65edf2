#pragma once
// Small hand-made IMF streams and AUDIOT files for the music tests.

#include "common/byte_io.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <vector>

namespace imf {

struct Event {
    uint8_t reg;
    uint8_t value;
    uint16_t delay;
};

inline Bytes events(std::initializer_list<Event> list) {
    Bytes out;
    ByteWriter writer(out);
    for (const Event& e : list) {
        writer.u8(e.reg);
        writer.u8(e.value);
        writer.u16(e.delay);
    }
    return out;
}

inline Bytes withLengthWord(const Bytes& events) {
    Bytes out;
    ByteWriter(out).u16(uint16_t(events.size()));
    out.insert(out.end(), events.begin(), events.end());
    return out;
}

// A sustained sine on channel 1 (modulator muted, carrier at full level), as a song would set
// up an instrument.
inline std::vector<Event> sineInstrument(int channel) {
    static const int kModulator[9] = {0, 1, 2, 8, 9, 10, 16, 17, 18};
    uint8_t mod = uint8_t(kModulator[channel]);
    uint8_t car = uint8_t(mod + 3);
    return {{uint8_t(0x20 + mod), 0x21, 0},    {uint8_t(0x20 + car), 0x21, 0},
            {uint8_t(0x40 + mod), 0x3F, 0},    {uint8_t(0x40 + car), 0x00, 0},
            {uint8_t(0x60 + mod), 0xF0, 0},    {uint8_t(0x60 + car), 0xF0, 0},
            {uint8_t(0x80 + mod), 0x0F, 0},    {uint8_t(0x80 + car), 0x0F, 0},
            {uint8_t(0xC0 + channel), 0x00, 0}};
}

inline Bytes join(const std::vector<Event>& a, std::initializer_list<Event> b) {
    Bytes out;
    ByteWriter writer(out);
    auto put = [&](const Event& e) {
        writer.u8(e.reg);
        writer.u8(e.value);
        writer.u16(e.delay);
    };
    for (const Event& e : a)
        put(e);
    for (const Event& e : b)
        put(e);
    return out;
}

// AUDIOHED offsets for the chunks laid end to end, and AUDIOT with them.
struct AudioFiles {
    Bytes header;
    Bytes audio;
};

inline AudioFiles audioFiles(const std::vector<Bytes>& chunks) {
    AudioFiles files;
    ByteWriter head(files.header);
    for (const Bytes& chunk : chunks) {
        head.u32(uint32_t(files.audio.size()));
        files.audio.insert(files.audio.end(), chunk.begin(), chunk.end());
    }
    head.u32(uint32_t(files.audio.size()));
    return files;
}

inline void writeFile(const std::filesystem::path& path, const Bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

inline Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

} // namespace imf
