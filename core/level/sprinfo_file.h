#pragma once
// sprinfo.txt of a map-object folder: what each object code is (sprite, type, facing or shots,
// difficulty) and the door kinds, as free-format whitespace-separated numbers:
//   tile picture type flag [difficulty]      (the difficulty only for type 4)
//   tile texture 7 vertical lock sideTexture (a door)
// ";" starts a comment up to the line end, "END" ends the file.

#include "common/prompter.h"
#include "level/tile_vocabulary.h"

#include <istream>

constexpr const char* kSprinfoFileName = "sprinfo.txt";
// Tokens that start a line (definitions and comments) read at most.
constexpr size_t kMaxSprinfoLines = 65537;
constexpr const char* kSprinfoErrorTitle = "Sprinfo.txt contains errors!";

// Adds the definitions to the vocabulary's object information, doors and pushwalls. Anything
// but blanks, tabs or a comment after a definition reports "Illegal character after definition
// of tile %i: '%c'!" and ends the reading; what was read before stays. The caller clears the
// object information before and applies the defaults after.
void readSprinfoFile(std::istream& in, TileVocabulary& vocabulary, Prompter& prompter);
