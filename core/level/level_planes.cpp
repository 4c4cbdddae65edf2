#include "level/level_planes.h"

#include "common/prompter.h"
#include "maps/map_set.h"

uint8_t floorValue(std::span<const uint16_t> plane0) {
    return plane0.size() > kFloorCeilingCell ? uint8_t(plane0[kFloorCeilingCell] & 0xFF) : 0;
}

uint8_t ceilingValue(std::span<const uint16_t> plane0) {
    return plane0.size() > kFloorCeilingCell ? uint8_t(plane0[kFloorCeilingCell] >> 8) : 0;
}

void setFloorValue(std::span<uint16_t> plane0, uint8_t value) {
    if (plane0.size() > kFloorCeilingCell)
        plane0[kFloorCeilingCell] = uint16_t((plane0[kFloorCeilingCell] & 0xFF00) | value);
}

void setCeilingValue(std::span<uint16_t> plane0, uint8_t value) {
    if (plane0.size() > kFloorCeilingCell)
        plane0[kFloorCeilingCell] = uint16_t((plane0[kFloorCeilingCell] & 0x00FF) | (value << 8));
}

bool featureFlag(std::span<const uint16_t> plane0, FeatureFlag flag) {
    return plane0.size() > kFeatureFlagsCell && (plane0[kFeatureFlagsCell] & flag) != 0;
}

void setFeatureFlag(std::span<uint16_t> plane0, FeatureFlag flag, bool on) {
    if (plane0.size() <= kFeatureFlagsCell)
        return;
    if (on)
        plane0[kFeatureFlagsCell] |= flag;
    else
        plane0[kFeatureFlagsCell] &= uint16_t(~flag);
}

void enableThirdPlane(MapSet& maps) {
    maps.setThirdPlaneEnabled(true);
}

bool disableThirdPlane(MapSet& maps, Prompter& prompter) {
    PromptAnswer answer = prompter.ask(
        {"Tessarand", "Do you want really do that? You will lose all your data in the 3rd plane!",
         PromptIcon::Question, PromptButtons::OkCancel});
    if (answer != PromptAnswer::Ok)
        return false;
    maps.setThirdPlaneEnabled(false);
    return true;
}

void ThirdPlaneEditing::setActive(bool on, bool& showObjects) {
    if (on == m_active)
        return;
    m_active = on;
    if (on) {
        m_rememberedShowObjects = showObjects;
        showObjects = false;
    } else {
        showObjects = m_rememberedShowObjects;
    }
}
