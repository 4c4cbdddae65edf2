#include "app/status_texts.h"

#include <cstdio>

std::string tileNameText(uint16_t code, const std::string* name) {
    if (name)
        return std::to_string(code) + " " + *name + std::string(17, ' ');
    return std::to_string(code) + " Unknown" + std::string(12, ' ');
}

std::string cursorPositionText(int x, int y) {
    char text[64];
    std::snprintf(text, sizeof text, "X: %i  Y: %i    ", x, y);
    return text;
}

std::string mapNumberText(unsigned mapIndex, unsigned mapCount) {
    char text[64];
    std::snprintf(text, sizeof text, "Map %u/%u", mapIndex + 1, mapCount);
    return text;
}
