#pragma once
// The texts of the status panel.

#include <cstdint>
#include <string>

constexpr const char* kNothingText = "0 --- Nothing ---";

// "%u %s" and 17 blanks for a named code, "%u Unknown" and 12 blanks otherwise.
std::string tileNameText(uint16_t code, const std::string* name);
// "X: %i  Y: %i    "
std::string cursorPositionText(int x, int y);
// "Map %u/%u" with the 1-based map number and the number of maps.
std::string mapNumberText(unsigned mapIndex, unsigned mapCount);
