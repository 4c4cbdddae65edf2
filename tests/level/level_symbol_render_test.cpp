#include "level/level_symbol_render.h"

#include <gtest/gtest.h>

TEST(LevelSymbolRender, ObjectsCoverTheirCellExceptWhereTheyAreBlack) {
    SymbolImage symbols;
    const uint16_t red = toRgb555(255, 0, 0), blue = toRgb555(0, 0, 255);
    for (int dy = 0; dy < kSymbolSize; ++dy)
        for (int dx = 0; dx < kSymbolSize; ++dx) {
            // wall code 1: all red; object code 23: blue in its top row only
            symbols.set(SymbolImage::symbolLeft(wallSymbolIndex(1)) + dx,
                        SymbolImage::symbolTop(wallSymbolIndex(1)) + dy, red);
            if (dy == 0)
                symbols.set(SymbolImage::symbolLeft(objectSymbolIndex(23)) + dx,
                            SymbolImage::symbolTop(objectSymbolIndex(23)) + dy, blue);
        }
    std::vector<uint16_t> plane0(4096, 0), plane1(4096, 0);
    plane0[64 * 2 + 3] = 1; // cell (3, 2)
    plane1[64 * 2 + 3] = 23;
    auto at = [](const std::vector<uint16_t>& image, int x, int y) {
        return image[size_t(y) * kLevelSymbolImageSide + size_t(x)];
    };
    std::vector<uint16_t> withObjects = renderLevelSymbols(plane0, plane1, symbols, true);
    ASSERT_EQ(withObjects.size(), size_t(448 * 448));
    EXPECT_EQ(at(withObjects, 3 * 7, 2 * 7), blue);
    EXPECT_EQ(at(withObjects, 3 * 7 + 6, 2 * 7 + 6), red);
    EXPECT_EQ(at(withObjects, 0, 0), 0);
    std::vector<uint16_t> wallsOnly = renderLevelSymbols(plane0, plane1, symbols, false);
    EXPECT_EQ(at(wallsOnly, 3 * 7, 2 * 7), red);
    // Short planes draw as empty cells instead of reading past them.
    EXPECT_EQ(renderLevelSymbols({}, {}, symbols, true).size(), size_t(448 * 448));
}
