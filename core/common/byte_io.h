#pragma once
// Bounds-checked little-endian reading and writing of file data.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

using Bytes = std::vector<uint8_t>;
using ByteView = std::span<const uint8_t>;

// Reads fixed-size little-endian values; every read past the end fails and leaves ok() false.
class ByteReader {
public:
    explicit ByteReader(ByteView data, size_t position = 0) : m_data(data), m_pos(position) {
        if (m_pos > m_data.size())
            m_ok = false;
    }

    bool ok() const { return m_ok; }
    size_t position() const { return m_pos; }
    size_t size() const { return m_data.size(); }
    size_t remaining() const { return m_pos <= m_data.size() ? m_data.size() - m_pos : 0; }

    bool seek(size_t position) {
        if (position > m_data.size())
            return m_ok = false;
        m_pos = position;
        return true;
    }
    bool skip(size_t count) {
        if (count > remaining())
            return m_ok = false;
        m_pos += count;
        return true;
    }

    uint8_t u8() { return static_cast<uint8_t>(take(1)); }
    uint16_t u16() { return static_cast<uint16_t>(take(2)); }
    uint32_t u24() { return static_cast<uint32_t>(take(3)); }
    uint32_t u32() { return static_cast<uint32_t>(take(4)); }
    int16_t i16() { return static_cast<int16_t>(u16()); }
    int32_t i32() { return static_cast<int32_t>(u32()); }

    // A view of the next count bytes, or an empty view (and ok() false) if they are not there.
    ByteView bytes(size_t count) {
        if (count > remaining()) {
            m_ok = false;
            return {};
        }
        ByteView view = m_data.subspan(m_pos, count);
        m_pos += count;
        return view;
    }

private:
    uint64_t take(size_t count) {
        if (count > remaining()) {
            m_ok = false;
            m_pos = m_data.size();
            return 0;
        }
        uint64_t value = 0;
        for (size_t i = 0; i < count; ++i)
            value |= uint64_t(m_data[m_pos + i]) << (8 * i);
        m_pos += count;
        return value;
    }

    ByteView m_data;
    size_t m_pos = 0;
    bool m_ok = true;
};

// Appends little-endian values to a byte vector.
class ByteWriter {
public:
    explicit ByteWriter(Bytes& out) : m_out(out) {}

    size_t position() const { return m_out.size(); }
    void u8(uint8_t v) { m_out.push_back(v); }
    void u16(uint16_t v) { put(v, 2); }
    void u24(uint32_t v) { put(v, 3); }
    void u32(uint32_t v) { put(v, 4); }
    void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void bytes(ByteView data) { m_out.insert(m_out.end(), data.begin(), data.end()); }
    void fill(size_t count, uint8_t value) { m_out.insert(m_out.end(), count, value); }

    // Overwrites an already written value (offset tables filled in after the data).
    void patchU16(size_t at, uint16_t v) { patch(at, v, 2); }
    void patchU32(size_t at, uint32_t v) { patch(at, v, 4); }

private:
    void put(uint64_t v, size_t count) {
        for (size_t i = 0; i < count; ++i)
            m_out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void patch(size_t at, uint64_t v, size_t count) {
        if (at + count > m_out.size())
            m_out.resize(at + count, 0);
        for (size_t i = 0; i < count; ++i)
            m_out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }

    Bytes& m_out;
};

inline uint16_t readU16At(ByteView data, size_t at) {
    return at + 2 <= data.size() ? uint16_t(data[at] | (data[at + 1] << 8)) : 0;
}
inline uint32_t readU32At(ByteView data, size_t at) {
    return at + 4 <= data.size() ? uint32_t(data[at]) | (uint32_t(data[at + 1]) << 8) |
                                       (uint32_t(data[at + 2]) << 16) |
                                       (uint32_t(data[at + 3]) << 24)
                                 : 0;
}
