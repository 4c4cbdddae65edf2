#include "level/level_symbol_render.h"

std::vector<uint16_t> renderLevelSymbols(std::span<const uint16_t> plane0,
                                         std::span<const uint16_t> plane1,
                                         const SymbolImage& symbols, bool showObjects) {
    const int side = kLevelSymbolImageSide;
    std::vector<uint16_t> pixels(size_t(side) * side, 0);
    auto codeAt = [](std::span<const uint16_t> plane, size_t cell) -> uint16_t {
        return cell < plane.size() ? plane[cell] : 0;
    };
    for (int cellY = 0; cellY < 64; ++cellY) {
        for (int cellX = 0; cellX < 64; ++cellX) {
            const size_t cell = size_t(cellY) * 64 + size_t(cellX);
            const int wallSymbol = wallSymbolIndex(codeAt(plane0, cell));
            const uint16_t object = codeAt(plane1, cell);
            const int objectSymbol = objectSymbolIndex(object);
            for (int dy = 0; dy < kSymbolSize; ++dy) {
                uint16_t* row = &pixels[size_t(cellY * kSymbolSize + dy) * side + size_t(cellX) * kSymbolSize];
                for (int dx = 0; dx < kSymbolSize; ++dx) {
                    uint16_t colour = symbols.symbolPixel(wallSymbol, dx, dy);
                    if (showObjects && object != 0) {
                        uint16_t objectColour = symbols.symbolPixel(objectSymbol, dx, dy);
                        if (objectColour != 0)
                            colour = objectColour;
                    }
                    row[dx] = colour;
                }
            }
        }
    }
    return pixels;
}
