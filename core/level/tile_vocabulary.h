#pragma once
// What the codes of a level mean to the editor: the tile names and code lists of Lists.txt, the
// object information, doors and pushwalls of sprinfo.txt, and the floor codes. One instance
// lives as long as the program and is refilled whenever a map-object folder is loaded.

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

constexpr size_t kTileCodeListCapacity = 4096;
constexpr size_t kMaxTileListEntries = 4095;
constexpr int32_t kTileListEnd = -1;
constexpr size_t kMaxTileNameLength = 32;
constexpr size_t kTileInfoCount = 65536;

// Plane-0 codes of the default floor set and the plane-1 code of the default pushwall.
constexpr uint16_t kFirstDefaultFloorCode = 106;
constexpr uint16_t kLastDefaultFloorCode = 143;
constexpr uint16_t kDefaultPushwallCode = 98;

// Code -> name; when a code is added twice the first name stays.
class TileNameMap {
public:
    // False when the code already had a name (which is kept).
    bool add(uint16_t code, const std::string& name);
    // Nothing for a code without a name.
    const std::string* find(uint16_t code) const;
    size_t size() const { return m_names.size(); }
    void clear() { m_names.clear(); }

private:
    std::unordered_map<uint16_t, std::string> m_names;
};

// Codes in file order; the unused rest of the 4096 entries holds kTileListEnd.
class TileCodeList {
public:
    TileCodeList() { clear(); }

    void clear();
    // False when the list already holds kMaxTileListEntries codes.
    bool append(uint16_t code);
    size_t size() const { return m_size; }
    // kTileListEnd past the last code.
    int32_t operator[](size_t index) const {
        return index < m_codes.size() ? m_codes[index] : kTileListEnd;
    }
    const std::array<int32_t, kTileCodeListCapacity>& entries() const { return m_codes; }

private:
    std::array<int32_t, kTileCodeListCapacity> m_codes;
    size_t m_size = 0;
};

// A set of 16-bit codes (the floor codes, the pushwall codes).
class TileCodeSet {
public:
    void insert(uint16_t code);
    bool contains(uint16_t code) const { return m_bits[code]; }
    bool empty() const { return m_count == 0; }
    size_t size() const { return m_count; }
    void clear();
    std::vector<uint16_t> codes() const;

private:
    std::bitset<kTileInfoCount> m_bits;
    size_t m_count = 0;
};
using FloorSet = TileCodeSet;
using PushwallSet = TileCodeSet;

enum class ObjectType : uint8_t {
    None = 0,
    Static = 1,
    PlayerStart = 2,
    Boss = 3,
    Enemy = 4,
    TurningPoint = 5,
    Pushwall = 6,
    Door = 7, // only in sprinfo.txt; never stored in a TileInfo
};

// Facing in TileInfo::flag of player starts and enemies.
enum class Facing : uint8_t { East = 0, North = 1, West = 2, South = 3 };

constexpr uint8_t kBossCategory = 5;

struct TileInfo {
    uint16_t value = 0;   // sprite number of statics, bosses and enemies
    uint8_t type = 0;     // ObjectType as read (any 8-bit value)
    uint8_t flag = 0;     // statics: shots given; player starts and enemies: facing 0..3
    uint8_t category = 0; // enemies: difficulty from the file; bosses: 5
    uint8_t reserved = 0;

    bool is(ObjectType objectType) const { return type == static_cast<uint8_t>(objectType); }
    bool operator==(const TileInfo&) const = default;
};

class TileInfoTable {
public:
    TileInfoTable() : m_entries(kTileInfoCount) {}
    const TileInfo& operator[](uint16_t code) const { return m_entries[code]; }
    TileInfo& operator[](uint16_t code) { return m_entries[code]; }
    void clear();

private:
    std::vector<TileInfo> m_entries;
};

struct DoorKind {
    uint16_t code = 0;
    int32_t texture = 0; // negative: counted back from the number of wall textures
    bool vertical = false;
    int32_t lock = 0;
    int32_t sideTexture = 0;
    bool operator==(const DoorKind&) const = default;
};

// A door's texture number as a wall texture index: negative numbers count back from the end
// (-1 = the last wall texture). The result may lie outside 0..wallTextureCount-1.
int32_t resolveDoorTexture(int32_t texture, int32_t wallTextureCount);

// Door kinds in definition order, with a lookup from plane-0 code to list index.
class DoorTable {
public:
    DoorTable() : m_indexOfCode(kTileInfoCount, -1) {}

    // The first definition of a code is the one its lookup finds.
    void add(const DoorKind& door);
    void clear();
    bool empty() const { return m_doors.empty(); }
    size_t size() const { return m_doors.size(); }
    bool isDoor(uint16_t code) const { return m_indexOfCode[code] >= 0; }
    // -1 when the code is not a door.
    int32_t indexOf(uint16_t code) const { return m_indexOfCode[code]; }
    const DoorKind& operator[](size_t index) const { return m_doors[index]; }
    const std::vector<DoorKind>& doors() const { return m_doors; }

private:
    std::vector<DoorKind> m_doors;
    std::vector<int32_t> m_indexOfCode;
};

// The twelve doors 90..101 used when sprinfo.txt defines none.
const std::vector<DoorKind>& defaultDoorKinds();

class TileVocabulary {
public:
    // Names, lists and sets as a map-object folder fills them.
    TileNameMap wallNames; // walls and floors
    TileNameMap objectNames;
    TileCodeList wallCodes;
    TileCodeList objectCodes;
    TileCodeList floorCodes;
    FloorSet floors;
    TileInfoTable tileInfo;
    DoorTable doors;
    PushwallSet pushwalls;

    // Forgets names, doors, pushwalls and floor codes (the code lists and the object
    // information stay until they are read again).
    void clearDefinitions();
    void clearCodeLists();

    // One entry of a Lists.txt section; false when that section's list is full (the entry is
    // then ignored).
    bool addWall(uint16_t code, const std::string& name);
    bool addObject(uint16_t code, const std::string& name);
    bool addFloor(uint16_t code, const std::string& name);

    // One sprinfo.txt definition that is not a door: type 3 gets category 5, type 6 joins the
    // pushwalls, and only type 4 keeps the given category.
    void defineObject(uint16_t code, uint16_t value, uint8_t type, uint8_t flag, uint8_t extra);

    // After sprinfo.txt: the default doors when none was defined, pushwall 98 when none, floors
    // 106..143 when none.
    void applyDefaults();

    bool isFloor(uint16_t code) const { return floors.contains(code); }
    bool isPushwall(uint16_t code) const { return pushwalls.contains(code); }
    bool isDoor(uint16_t code) const { return doors.isDoor(code); }
    int32_t doorIndex(uint16_t code) const { return doors.indexOf(code); }
    const DoorKind& door(size_t index) const { return doors[index]; }
    const TileInfo& info(uint16_t code) const { return tileInfo[code]; }

    // The bare name; empty for a code without one.
    std::string wallName(uint16_t code) const;
    std::string objectName(uint16_t code) const;
    // "%u %s" padded with 17 blanks, or "%u Unknown" padded with 12, as the status panel and
    // the lists show a code.
    std::string labelledWallName(uint16_t code) const;
    std::string labelledObjectName(uint16_t code) const;
};

std::string labelledTileName(uint16_t code, const TileNameMap& names);
