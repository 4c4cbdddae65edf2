#pragma once
// The texts of the status panel.

#include <cstdint>
#include <string>

constexpr const char* kNothingText = "0 --- Nothing ---";

// "X: %i  Y: %i    "
std::string cursorPositionText(int x, int y);
// "Map %u/%u" with the 1-based map number and the number of maps.
std::string mapNumberText(unsigned mapIndex, unsigned mapCount);
