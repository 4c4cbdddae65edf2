#include "level/level_statistics.h"

LevelStatistics countLevelStatistics(std::span<const uint16_t> plane0,
                                     std::span<const uint16_t> plane1,
                                     const TileVocabulary& vocabulary) {
    LevelStatistics stats;
    for (uint16_t code : plane0)
        if (vocabulary.isDoor(code))
            ++stats.doors;
    for (uint16_t code : plane1) {
        const TileInfo& info = vocabulary.info(code);
        switch (static_cast<ObjectType>(info.type)) {
        case ObjectType::Static:
            ++stats.statics;
            ++stats.objects;
            if (info.flag != 0) {
                ++stats.ammo;
                stats.shots += info.flag;
            }
            break;
        case ObjectType::PlayerStart:
            ++stats.players;
            ++stats.objects;
            break;
        case ObjectType::Boss:
            ++stats.bosses;
            ++stats.guards;
            ++stats.objects;
            break;
        case ObjectType::Enemy:
            if (info.category >= 1 && info.category <= 5)
                ++stats.enemies[info.category];
            ++stats.guards;
            ++stats.objects;
            break;
        case ObjectType::TurningPoint:
            ++stats.turningPoints;
            ++stats.objects;
            break;
        case ObjectType::Pushwall:
            ++stats.secretDoors;
            ++stats.objects;
            break;
        default:
            break;
        }
    }
    return stats;
}
