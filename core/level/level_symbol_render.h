#pragma once
// A level drawn with the map symbols: each cell shows the symbol of its plane-0 code and, over
// it, the symbol of its object, whose black pixels let the cell below show through.

#include "level/symbol_image.h"

#include <cstdint>
#include <span>
#include <vector>

constexpr int kLevelSymbolImageSide = 64 * kSymbolSize; // 448

// 448 × 448 RGB555 pixels, top row first. Planes shorter than 4096 codes draw as code 0.
std::vector<uint16_t> renderLevelSymbols(std::span<const uint16_t> plane0,
                                         std::span<const uint16_t> plane1,
                                         const SymbolImage& symbols, bool showObjects);
