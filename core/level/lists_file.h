#pragma once
// Lists.txt of a map-object folder: the names of walls, objects and floors in three sections,
// each ended by a line starting with "*". An entry line reads 12,"Name",

#include "common/prompter.h"
#include "level/tile_vocabulary.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

constexpr const char* kListsFileName = "Lists.txt";
// Longest line read in one piece; a longer line comes in pieces that are read as lines.
constexpr size_t kListsWallLineLength = 39;
constexpr size_t kListsObjectLineLength = 79;
constexpr size_t kListsFloorLineLength = 39;

struct ListsEntry {
    uint16_t code = 0;
    std::string name;
    bool operator==(const ListsEntry&) const = default;
};

// One entry line: the decimal number before the first comma (kept to 16 bits) and the rest with
// leading double quotes and trailing double quotes, commas and line ends removed, cut to 32
// characters. Nothing for a line without a comma or without a number before it.
std::optional<ListsEntry> parseListsEntry(std::string_view line);

// Appends the walls, objects and floors sections to the vocabulary's names, lists and floor
// set. A section that the end of the text cuts short reports "Can't load Lists.txt (walls)"
// (objects, floors) titled "Tessarand", and reading goes on with the next section.
void readListsFile(std::istream& in, TileVocabulary& vocabulary, Prompter& prompter);
