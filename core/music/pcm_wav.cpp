#include "music/pcm_wav.h"

std::optional<Bytes> pcm16WavHeader(uint32_t sampleRate, uint16_t channels, uint64_t frames) {
    uint32_t frameBytes = uint32_t(channels) * 2;
    uint64_t dataBytes = frames * frameBytes;
    if (channels == 0 || dataBytes > 0xFFFFFFFFull - (kPcm16WavHeaderSize - 8))
        return std::nullopt;
    Bytes header;
    header.reserve(kPcm16WavHeaderSize);
    ByteWriter out(header);
    out.bytes(ByteView(reinterpret_cast<const uint8_t*>("RIFF"), 4));
    out.u32(uint32_t(dataBytes + kPcm16WavHeaderSize - 8));
    out.bytes(ByteView(reinterpret_cast<const uint8_t*>("WAVEfmt "), 8));
    out.u32(16);
    out.u16(1); // PCM
    out.u16(channels);
    out.u32(sampleRate);
    out.u32(sampleRate * frameBytes);
    out.u16(uint16_t(frameBytes));
    out.u16(16);
    out.bytes(ByteView(reinterpret_cast<const uint8_t*>("data"), 4));
    out.u32(uint32_t(dataBytes));
    return header;
}
