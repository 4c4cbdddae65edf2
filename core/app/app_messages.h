#pragma once
// The private messages controls send to the main dialog, with their historic numbers
// (WM_APP + n); other code and tests refer to the numbers, so they never change.

#include <cstdint>

constexpr unsigned kAppMessageBase = 0x8000;

enum class AppMessage : unsigned {
    CursorMoved = kAppMessageBase + 1,
    PenChanged = kAppMessageBase + 2,
    InsertMap = kAppMessageBase + 3,
    DeleteMap = kAppMessageBase + 4,
    PaletteChanged = kAppMessageBase + 5,
    SymbolsChanged = kAppMessageBase + 7,
    WideMode = kAppMessageBase + 8,
    RedrawFrame = kAppMessageBase + 9,
    ShowIn3D = kAppMessageBase + 16,
};

// The tile record of cursor and pick messages: for the cursor `first` is x, for a pick it is
// the pick kind (0 by edit mode, 1 wall, 2 object, 3 floor).
struct CellReport {
    uint16_t first = 0;
    uint16_t y = 0;
    uint16_t objectCode = 0; // plane 1
    uint16_t wallCode = 0;   // plane 0
};

struct MapPosition {
    uint16_t x = 0;
    uint16_t y = 0;
};
