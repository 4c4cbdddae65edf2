#pragma once
// The levels of a game in memory: up to 500 maps of two or three 64 x 64 planes of 16-bit codes,
// each with the 40-byte header it has in GAMEMAPS, and the MAPHEAD offsets they were read from.

#include "common/byte_io.h"
#include "common/game_file_path.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

constexpr int kMaxMaps = 500;
constexpr int kMapSide = 64;
constexpr size_t kPlaneCodes = 4096;
constexpr size_t kPlaneBytes = 8192;
constexpr size_t kMapHeaderSize = 40;
constexpr size_t kMapNameLength = 16;
constexpr int kMaxPlanes = 3;
constexpr uint16_t kDefaultRlewTag = 0xABCD;

struct MapHeader {
    std::array<int32_t, 3> planeStart{};
    std::array<uint16_t, 3> planeLength{};
    uint16_t width = kMapSide;
    uint16_t height = kMapSide;
    std::array<char, kMapNameLength> name{}; // not necessarily terminated
    uint8_t nameTerminator = 0;
    uint8_t reserved = 0;

    // The name up to its first zero byte, at most 16 characters.
    std::string nameText() const;
    // Clears the field and the terminator, then copies at most 16 characters.
    void setName(const std::string& text);

    // Reads 40 bytes; the caller makes sure they are there.
    static MapHeader fromBytes(ByteView bytes);
    void write(ByteWriter& out) const;

    bool operator==(const MapHeader&) const = default;
};

using Plane = std::vector<uint16_t>;

class MapSet {
public:
    uint16_t rlewTag() const { return m_rlewTag; }
    void setRlewTag(uint16_t tag) { m_rlewTag = tag; }

    // Index of the last map, -1 when the set is empty.
    int highestMapIndex() const { return m_highest; }
    int mapCount() const { return m_highest + 1; }
    // Marks maps 0..index as present; every one of them gets its planes (zero-filled if new).
    void setHighestMapIndex(int index);
    bool hasMap(int index) const { return index >= 0 && index <= m_highest; }

    MapHeader& header(int index) { return m_headers[size_t(index)]; }
    const MapHeader& header(int index) const { return m_headers[size_t(index)]; }

    // Plane p of a map, 4096 codes row by row; empty when the map or the plane is not there
    // (plane 2 exists only while the third plane is enabled).
    std::span<uint16_t> plane(int map, int p);
    std::span<const uint16_t> plane(int map, int p) const;
    // A zero-filled plane for the map, replacing what was there.
    std::span<uint16_t> allocatePlane(int map, int p);

    // MAPHEAD's offset of each map's header; 0 ends the list.
    int32_t offset(int index) const { return m_offsets[size_t(index)]; }
    void setOffset(int index, int32_t value) { m_offsets[size_t(index)] = value; }

    bool thirdPlaneEnabled() const { return m_thirdPlane; }
    // Switching on gives every map a zero-filled plane 2, switching off frees them.
    void setThirdPlaneEnabled(bool enabled);
    bool featureFlagsEnabled() const { return m_featureFlags; }
    void setFeatureFlagsEnabled(bool enabled) { m_featureFlags = enabled; }
    // Whether the maps file of this set is Carmack compressed.
    bool carmack() const { return m_carmack; }
    void setCarmack(bool carmack) { m_carmack = carmack; }

    const GameFilePath& lastMapsPath() const { return m_lastMapsPath; }
    const GameFilePath& lastMapheadPath() const { return m_lastMapheadPath; }
    void setLastPaths(const GameFilePath& maps, const GameFilePath& maphead) {
        m_lastMapsPath = maps;
        m_lastMapheadPath = maphead;
    }

    // Releases every plane, clears the offsets and headers; highest index -1.
    void freeMaps();

    // A new empty map (64 x 64, no name, zero planes) at index; the maps from index on move up.
    // False when the set is full or the index is outside 0..highest + 1.
    bool insertMap(int index);
    // Removes the map; the later ones move down. False when there is no such map.
    bool removeMap(int index);

private:
    int planeCount() const { return m_thirdPlane ? 3 : 2; }

    uint16_t m_rlewTag = kDefaultRlewTag;
    std::array<int32_t, kMaxMaps> m_offsets{};
    std::array<MapHeader, kMaxMaps> m_headers{};
    std::array<std::array<Plane, kMaxPlanes>, kMaxMaps> m_planes;
    int m_highest = -1;
    bool m_thirdPlane = false;
    bool m_featureFlags = false;
    bool m_carmack = true;
    GameFilePath m_lastMapsPath;
    GameFilePath m_lastMapheadPath;
};
