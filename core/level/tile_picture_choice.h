#pragma once
// Which wall texture or sprite stands for a map code in the editor's pictures.

#include "level/tile_vocabulary.h"

#include <cstdint>

// A door code shows its door texture (negative numbers count back from the number of wall
// textures), any other code c shows texture 2c - 2. -1 when that is no texture.
int wallTextureOfCode(uint16_t code, const TileVocabulary& vocabulary, int wallTextureCount);

// The object's sprite: its TileInfo value, for enemies plus 6, 4, 2, 0 for facing 0, 1, 2, 3.
// -1 when that is 0 or not a sprite.
int spriteOfObject(uint16_t code, const TileVocabulary& vocabulary, int spriteCount);
