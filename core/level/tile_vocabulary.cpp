#include "level/tile_vocabulary.h"

#include <algorithm>

bool TileNameMap::add(uint16_t code, const std::string& name) {
    return m_names.emplace(code, name).second;
}

const std::string* TileNameMap::find(uint16_t code) const {
    auto it = m_names.find(code);
    return it == m_names.end() ? nullptr : &it->second;
}

void TileCodeList::clear() {
    m_codes.fill(kTileListEnd);
    m_size = 0;
}

bool TileCodeList::append(uint16_t code) {
    if (m_size >= kMaxTileListEntries)
        return false;
    m_codes[m_size++] = code;
    return true;
}

void TileCodeSet::insert(uint16_t code) {
    if (!m_bits[code]) {
        m_bits[code] = true;
        ++m_count;
    }
}

void TileCodeSet::clear() {
    m_bits.reset();
    m_count = 0;
}

std::vector<uint16_t> TileCodeSet::codes() const {
    std::vector<uint16_t> result;
    result.reserve(m_count);
    for (size_t code = 0; code < kTileInfoCount && result.size() < m_count; ++code)
        if (m_bits[code])
            result.push_back(static_cast<uint16_t>(code));
    return result;
}

void TileInfoTable::clear() {
    std::fill(m_entries.begin(), m_entries.end(), TileInfo{});
}

int32_t resolveDoorTexture(int32_t texture, int32_t wallTextureCount) {
    return texture < 0 ? wallTextureCount + texture : texture;
}

void DoorTable::add(const DoorKind& door) {
    if (m_indexOfCode[door.code] < 0)
        m_indexOfCode[door.code] = static_cast<int32_t>(m_doors.size());
    m_doors.push_back(door);
}

void DoorTable::clear() {
    for (const DoorKind& door : m_doors)
        m_indexOfCode[door.code] = -1;
    m_doors.clear();
}

const std::vector<DoorKind>& defaultDoorKinds() {
    // The game's door pages lie just before the sprites: -8/-7 plain door, -6/-5 the jambs,
    // -4/-3 elevator door, -2/-1 locked door; vertical doors use the second page of a pair.
    static const std::vector<DoorKind> doors = {
        {90, -7, true, 0, -6},  {91, -8, false, 0, -5}, {92, -1, true, 1, -6},
        {93, -2, false, 1, -5}, {94, -1, true, 2, -6},  {95, -2, false, 2, -5},
        {96, -1, true, 3, -6},  {97, -2, false, 3, -5}, {98, -1, true, 4, -6},
        {99, -2, false, 4, -5}, {100, -3, true, 0, -6}, {101, -4, false, 0, -5},
    };
    return doors;
}

void TileVocabulary::clearDefinitions() {
    wallNames.clear();
    objectNames.clear();
    doors.clear();
    pushwalls.clear();
    floors.clear();
}

void TileVocabulary::clearCodeLists() {
    wallCodes.clear();
    objectCodes.clear();
    floorCodes.clear();
}

bool TileVocabulary::addWall(uint16_t code, const std::string& name) {
    if (!wallCodes.append(code))
        return false;
    wallNames.add(code, name);
    return true;
}

bool TileVocabulary::addObject(uint16_t code, const std::string& name) {
    if (!objectCodes.append(code))
        return false;
    objectNames.add(code, name);
    return true;
}

bool TileVocabulary::addFloor(uint16_t code, const std::string& name) {
    if (!floorCodes.append(code))
        return false;
    wallNames.add(code, name);
    floors.insert(code);
    return true;
}

void TileVocabulary::defineObject(uint16_t code, uint16_t value, uint8_t type, uint8_t flag,
                                  uint8_t extra) {
    TileInfo& entry = tileInfo[code];
    entry.value = value;
    entry.type = type;
    entry.flag = flag;
    if (type == static_cast<uint8_t>(ObjectType::Enemy))
        entry.category = extra;
    else if (type == static_cast<uint8_t>(ObjectType::Boss))
        entry.category = kBossCategory;
    else
        entry.category = 0;
    if (type == static_cast<uint8_t>(ObjectType::Pushwall))
        pushwalls.insert(code);
}

void TileVocabulary::applyDefaults() {
    if (doors.empty())
        for (const DoorKind& door : defaultDoorKinds())
            doors.add(door);
    if (pushwalls.empty())
        pushwalls.insert(kDefaultPushwallCode);
    if (floors.empty())
        for (uint16_t code = kFirstDefaultFloorCode; code <= kLastDefaultFloorCode; ++code)
            floors.insert(code);
}

std::string TileVocabulary::wallName(uint16_t code) const {
    const std::string* name = wallNames.find(code);
    return name ? *name : std::string();
}

std::string TileVocabulary::objectName(uint16_t code) const {
    const std::string* name = objectNames.find(code);
    return name ? *name : std::string();
}

std::string labelledTileName(uint16_t code, const TileNameMap& names) {
    const std::string* name = names.find(code);
    if (name)
        return std::to_string(code) + " " + *name + std::string(17, ' ');
    return std::to_string(code) + " Unknown" + std::string(12, ' ');
}

std::string TileVocabulary::labelledWallName(uint16_t code) const {
    return labelledTileName(code, wallNames);
}

std::string TileVocabulary::labelledObjectName(uint16_t code) const {
    return labelledTileName(code, objectNames);
}
