#include "app/status_texts.h"

#include <cstdio>

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
