#pragma once
// Loading a map-object folder (MapObjects/<game> next to the program): Lists.txt, symbols.bmp
// and sprinfo.txt, in that order, into the tile vocabulary and the symbols picture.

#include "common/prompter.h"
#include "level/symbol_image.h"
#include "level/tile_vocabulary.h"

#include <filesystem>
#include <string>
#include <vector>

constexpr const char* kMapObjectsFolderName = "MapObjects";

// programFolder/MapObjects/folderName
std::filesystem::path mapObjectFolderPath(const std::filesystem::path& programFolder,
                                          const std::string& folderName);

// The sub-folders of MapObjects whose names do not start with ".", sorted, at most 100.
std::vector<std::string> listMapObjectFolders(const std::filesystem::path& programFolder);

struct MapObjectsLoadResult {
    bool listsRead = false;
    // The symbols picture was replaced: everything drawn from it must be rebuilt.
    bool symbolsLoaded = false;
    // sprinfo.txt was read and the defaults applied: recount the statistics.
    bool sprinfoRead = false;
};

// 1. Forgets names, doors, pushwalls and floor codes.
// 2. Lists.txt; missing: "The names for walls/objects/floors won't be correct!" titled
//    "Tessarand: Lists.txt not available!" and empty code lists.
// 3. symbols.bmp; on failure "The symbols for walls/objects/floors won't be correct!" titled
//    "Tessarand: Symbols.bmp not available!" and the picture stays as it was.
// 4. sprinfo.txt; missing: "3DEdit won't be able to display the objects correctly!" titled
//    "Tessarand: SprInfo.txt not available!" and the object information stays as it was, without
//    defaults. Otherwise the object information is cleared, read, and the defaults for doors,
//    pushwalls and floors applied.
// File names are matched without regard to case.
MapObjectsLoadResult loadMapObjects(const std::filesystem::path& folder, TileVocabulary& vocabulary,
                                    SymbolImage& symbols, Prompter& prompter);
