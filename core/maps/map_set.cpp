#include "maps/map_set.h"

#include <algorithm>
#include <cstring>

std::string MapHeader::nameText() const {
    size_t length = 0;
    while (length < name.size() && name[length] != 0)
        ++length;
    return std::string(name.data(), length);
}

void MapHeader::setName(const std::string& text) {
    name.fill(0);
    nameTerminator = 0;
    std::memcpy(name.data(), text.data(), std::min(text.size(), name.size()));
}

MapHeader MapHeader::fromBytes(ByteView bytes) {
    ByteReader in(bytes);
    MapHeader header;
    for (int32_t& start : header.planeStart)
        start = in.i32();
    for (uint16_t& length : header.planeLength)
        length = in.u16();
    header.width = in.u16();
    header.height = in.u16();
    ByteView name = in.bytes(kMapNameLength);
    std::copy(name.begin(), name.end(), reinterpret_cast<uint8_t*>(header.name.data()));
    header.nameTerminator = in.u8();
    header.reserved = in.u8();
    return header;
}

void MapHeader::write(ByteWriter& out) const {
    for (int32_t start : planeStart)
        out.i32(start);
    for (uint16_t length : planeLength)
        out.u16(length);
    out.u16(width);
    out.u16(height);
    out.bytes(ByteView(reinterpret_cast<const uint8_t*>(name.data()), name.size()));
    out.u8(nameTerminator);
    out.u8(reserved);
}

void MapSet::setHighestMapIndex(int index) {
    index = std::clamp(index, -1, kMaxMaps - 1);
    for (int map = m_highest + 1; map <= index; ++map)
        for (int p = 0; p < planeCount(); ++p)
            if (m_planes[size_t(map)][size_t(p)].size() != kPlaneCodes)
                allocatePlane(map, p);
    m_highest = index;
}

std::span<uint16_t> MapSet::plane(int map, int p) {
    if (map < 0 || map >= kMaxMaps || p < 0 || p >= kMaxPlanes)
        return {};
    Plane& plane = m_planes[size_t(map)][size_t(p)];
    return plane.size() == kPlaneCodes ? std::span<uint16_t>(plane) : std::span<uint16_t>();
}

std::span<const uint16_t> MapSet::plane(int map, int p) const {
    if (map < 0 || map >= kMaxMaps || p < 0 || p >= kMaxPlanes)
        return {};
    const Plane& plane = m_planes[size_t(map)][size_t(p)];
    return plane.size() == kPlaneCodes ? std::span<const uint16_t>(plane)
                                       : std::span<const uint16_t>();
}

std::span<uint16_t> MapSet::allocatePlane(int map, int p) {
    if (map < 0 || map >= kMaxMaps || p < 0 || p >= kMaxPlanes)
        return {};
    Plane& plane = m_planes[size_t(map)][size_t(p)];
    plane.assign(kPlaneCodes, 0);
    return plane;
}

void MapSet::setThirdPlaneEnabled(bool enabled) {
    if (enabled == m_thirdPlane)
        return;
    m_thirdPlane = enabled;
    for (int map = 0; map < kMaxMaps; ++map) {
        if (enabled && map <= m_highest)
            allocatePlane(map, 2);
        else
            Plane().swap(m_planes[size_t(map)][2]);
    }
}

void MapSet::freeMaps() {
    for (auto& planes : m_planes)
        for (Plane& plane : planes)
            Plane().swap(plane);
    m_offsets.fill(0);
    m_headers.fill(MapHeader());
    m_highest = -1;
}

bool MapSet::insertMap(int index) {
    if (m_highest + 1 >= kMaxMaps || index < 0 || index > m_highest + 1)
        return false;
    for (int map = m_highest; map >= index; --map) {
        m_headers[size_t(map + 1)] = m_headers[size_t(map)];
        m_planes[size_t(map + 1)].swap(m_planes[size_t(map)]);
    }
    m_headers[size_t(index)] = MapHeader();
    for (int p = 0; p < kMaxPlanes; ++p) {
        if (p < planeCount())
            allocatePlane(index, p);
        else
            Plane().swap(m_planes[size_t(index)][size_t(p)]);
    }
    ++m_highest;
    return true;
}

bool MapSet::removeMap(int index) {
    if (!hasMap(index))
        return false;
    for (int map = index; map < m_highest; ++map) {
        m_headers[size_t(map)] = m_headers[size_t(map + 1)];
        m_planes[size_t(map)].swap(m_planes[size_t(map + 1)]);
    }
    m_headers[size_t(m_highest)] = MapHeader();
    for (Plane& plane : m_planes[size_t(m_highest)])
        Plane().swap(plane);
    --m_highest;
    return true;
}
