#pragma once
// The counts the MapEdit page shows for a level, by the object information of its codes, and
// the game's limits they are checked against.

#include "image/palette.h"
#include "level/tile_vocabulary.h"

#include <array>
#include <cstdint>
#include <span>

constexpr int kMaxStatics = 400;
constexpr int kMaxGuards = 150;
constexpr int kMaxDoors = 64;

struct LevelStatistics {
    int doors = 0;                // plane-0 cells with a door code
    int objects = 0;              // plane-1 cells of types 1..6
    int statics = 0;              // type 1
    int ammo = 0;                 // type 1 with shots
    int shots = 0;                // the shots those give together
    int players = 0;              // type 2
    int bosses = 0;               // type 3
    int guards = 0;               // types 3 and 4
    std::array<int, 6> enemies{}; // type 4 by category 1..5 (index 0 unused)
    int turningPoints = 0;        // type 5
    int secretDoors = 0;          // type 6

    bool staticsWithinLimit() const { return statics <= kMaxStatics; }
    bool playersWithinLimit() const { return players == 1; }
    bool guardsWithinLimit() const { return guards <= kMaxGuards; }
    bool doorsWithinLimit() const { return doors <= kMaxDoors; }

    bool operator==(const LevelStatistics&) const = default;
};

// Counts over all cells present in the planes (4096 each for a level).
LevelStatistics countLevelStatistics(std::span<const uint16_t> plane0,
                                     std::span<const uint16_t> plane1,
                                     const TileVocabulary& vocabulary);

// The colour a count is shown in: green RGB(0, 150, 0) within its limit, red beyond.
inline Rgb limitColour(bool withinLimit) {
    return withinLimit ? Rgb{0, 150, 0} : Rgb{255, 0, 0};
}
