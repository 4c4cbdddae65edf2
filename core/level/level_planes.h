#pragma once
// The level-wide words kept in plane 0 of a level (the floor/ceiling word at cell (0, 0), the
// feature flags at cell (63, 0)) and the editor's ways of reading the planes: SplitMode,
// FloorCeilingMode and the third plane.

#include <cstddef>
#include <cstdint>
#include <span>

class MapSet;
class Prompter;

constexpr int kLevelSide = 64;
constexpr size_t kLevelCells = 4096;
constexpr size_t kFloorCeilingCell = 0;
constexpr size_t kFeatureFlagsCell = 63;

constexpr size_t cellIndex(int x, int y) {
    return size_t(y) * kLevelSide + size_t(x);
}

// Low byte of the floor/ceiling word: floor colour or texture; high byte: the ceiling's.
// An empty plane reads as 0 and ignores writes. The caller marks the maps modified.
uint8_t floorValue(std::span<const uint16_t> plane0);
uint8_t ceilingValue(std::span<const uint16_t> plane0);
void setFloorValue(std::span<uint16_t> plane0, uint8_t value);
void setCeilingValue(std::span<uint16_t> plane0, uint8_t value);

enum FeatureFlag : uint16_t {
    kStarSky = 0x0001,
    kParallaxSky = 0x0002,
    kRain = 0x0010,
    kSnow = 0x0020,
};

bool featureFlag(std::span<const uint16_t> plane0, FeatureFlag flag);
// Sets or clears one bit of the feature-flags word; every other bit stays.
void setFeatureFlag(std::span<uint16_t> plane0, FeatureFlag flag, bool on);

enum class FloorCeilingMode { None, Colours, SingleTextures, PlaneTextures };

// Whether the 3D view can fill floors and ceilings this way: plane textures need plane 2.
inline bool floorCeilingModeUsable(FloorCeilingMode mode, bool thirdPlaneEnabled) {
    return mode != FloorCeilingMode::PlaneTextures || thirdPlaneEnabled;
}

enum class SplitMode { Whole, Bottom, Top };

// The "Splitmap" box and the "Edit Top/Bottom" button together.
inline SplitMode splitModeFor(bool splitBoxChecked, bool topButtonDown) {
    if (!splitBoxChecked)
        return SplitMode::Whole;
    return topButtonDown ? SplitMode::Top : SplitMode::Bottom;
}

// The part of a walls-plane word the map control works with.
inline uint16_t splitRead(uint16_t word, SplitMode mode) {
    switch (mode) {
    case SplitMode::Bottom:
        return word & 0xFF;
    case SplitMode::Top:
        return word >> 8;
    default:
        return word;
    }
}

// The word after writing code in the given mode; the other byte of old stays.
inline uint16_t splitWrite(uint16_t old, uint16_t code, SplitMode mode) {
    switch (mode) {
    case SplitMode::Bottom:
        return uint16_t((old & 0xFF00) | (code & 0xFF));
    case SplitMode::Top:
        return uint16_t((old & 0x00FF) | ((code & 0xFF) << 8));
    default:
        return code;
    }
}

// Gives every map of the set a zero-filled plane 2.
void enableThirdPlane(MapSet& maps);
// Asks "Do you want really do that? You will lose all your data in the 3rd plane!" (OK,
// Cancel); on OK frees plane 2 of every map and returns true, on Cancel changes nothing.
bool disableThirdPlane(MapSet& maps, Prompter& prompter);

// Which plane the map control edits as its walls plane, and the objects switch it remembers
// while plane 2 is edited (objects are hidden then).
class ThirdPlaneEditing {
public:
    bool active() const { return m_active; }
    int wallsPlane() const { return m_active ? 2 : 0; }
    static constexpr int objectsPlane() { return 1; }

    // Switching on remembers showObjects and turns it off; switching off restores it.
    void setActive(bool on, bool& showObjects);

private:
    bool m_active = false;
    bool m_rememberedShowObjects = true;
};
