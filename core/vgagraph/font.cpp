#include "vgagraph/font.h"

#include <algorithm>

namespace {

constexpr size_t kLocationsAt = 2;
constexpr size_t kWidthsAt = 514;
constexpr size_t kMaxFontSize = 65535; // locations are 16-bit

bool validCharacter(int character) {
    return character >= 0 && character < kFontCharacterCount;
}

void setU16(Bytes& data, size_t at, size_t value) {
    data[at] = uint8_t(value);
    data[at + 1] = uint8_t(value >> 8);
}

} // namespace

int fontHeight(ByteView font) {
    return readU16At(font, 0);
}

int fontCharacterWidth(ByteView font, int character) {
    size_t at = kWidthsAt + size_t(character);
    return validCharacter(character) && at < font.size() ? font[at] : 0;
}

int fontCharacterLocation(ByteView font, int character) {
    return validCharacter(character) ? readU16At(font, kLocationsAt + 2 * size_t(character)) : 0;
}

bool fontCharacterShown(ByteView font, int character) {
    return fontCharacterLocation(font, character) != 0 && fontCharacterWidth(font, character) != 0;
}

size_t fontNeededSize(ByteView font) {
    size_t size = kFontHeaderSize;
    for (int c = 0; c < kFontCharacterCount; ++c)
        size += size_t(fontCharacterWidth(font, c)) * size_t(fontHeight(font));
    return size;
}

uint8_t fontPixel(ByteView font, int character, int x, int y) {
    int width = fontCharacterWidth(font, character);
    int location = fontCharacterLocation(font, character);
    if (location == 0 || x < 0 || y < 0 || x >= width || y >= fontHeight(font))
        return 0;
    size_t at = size_t(location) + size_t(y) * size_t(width) + size_t(x);
    return at < font.size() ? font[at] : 0;
}

bool setFontPixel(Bytes& font, int character, int x, int y, uint8_t value) {
    int width = fontCharacterWidth(font, character);
    int location = fontCharacterLocation(font, character);
    if (location == 0 || x < 0 || y < 0 || x >= width || y >= fontHeight(font))
        return false;
    size_t at = size_t(location) + size_t(y) * size_t(width) + size_t(x);
    if (at >= font.size())
        return false;
    font[at] = value;
    return true;
}

IndexedImage fontCharacterImage(ByteView font, int character) {
    IndexedImage image(fontCharacterWidth(font, character), fontHeight(font));
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.set(x, y, fontPixel(font, character, x, y));
    return image;
}

bool setFontCharacterWidth(Bytes& font, int character, int width) {
    if (!validCharacter(character) || width < 0 || width > 255 || font.size() < kFontHeaderSize)
        return false;
    const int height = fontHeight(font);
    const int oldWidth = fontCharacterWidth(font, character);
    const int location = fontCharacterLocation(font, character);
    // The old pixels, as far as they lie inside the chunk.
    size_t start = location != 0 ? std::min(size_t(location), font.size()) : font.size();
    size_t oldLength =
        location != 0 ? std::min(size_t(oldWidth) * size_t(height), font.size() - start) : 0;
    size_t newLength = size_t(width) * size_t(height);
    if (font.size() - oldLength + newLength > kMaxFontSize)
        return false;

    Bytes rows(newLength, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < std::min(oldWidth, width); ++x)
            rows[size_t(y) * size_t(width) + size_t(x)] = fontPixel(font, character, x, y);

    Bytes result(font.begin(), font.begin() + std::ptrdiff_t(start));
    result.insert(result.end(), rows.begin(), rows.end());
    result.insert(result.end(), font.begin() + std::ptrdiff_t(start + oldLength), font.end());

    const ptrdiff_t shift = ptrdiff_t(newLength) - ptrdiff_t(oldLength);
    for (int c = 0; c < kFontCharacterCount; ++c) {
        int other = fontCharacterLocation(font, c);
        if (c != character && other != 0 && size_t(other) >= start + oldLength)
            setU16(result, kLocationsAt + 2 * size_t(c), size_t(ptrdiff_t(other) + shift));
    }
    setU16(result, kLocationsAt + 2 * size_t(character), width == 0 ? 0 : start);
    result[kWidthsAt + size_t(character)] = uint8_t(width);
    font = std::move(result);
    return true;
}

bool setFontHeight(Bytes& font, int height) {
    if (height < 0 || height > 0xFFFF || font.size() < kFontHeaderSize)
        return false;
    size_t total = kFontHeaderSize;
    for (int c = 0; c < kFontCharacterCount; ++c)
        total += size_t(fontCharacterWidth(font, c)) * size_t(height);
    if (total > kMaxFontSize)
        return false;
    Bytes result(total, 0);
    std::copy(font.begin(), font.begin() + std::ptrdiff_t(kFontHeaderSize), result.begin());
    setU16(result, 0, size_t(height));
    size_t next = kFontHeaderSize;
    const int oldHeight = fontHeight(font);
    for (int c = 0; c < kFontCharacterCount; ++c) {
        int width = fontCharacterWidth(font, c);
        if (width == 0) {
            setU16(result, kLocationsAt + 2 * size_t(c), 0);
            continue;
        }
        setU16(result, kLocationsAt + 2 * size_t(c), next);
        for (int y = 0; y < std::min(oldHeight, height); ++y)
            for (int x = 0; x < width; ++x)
                result[next + size_t(y) * size_t(width) + size_t(x)] = fontPixel(font, c, x, y);
        next += size_t(width) * size_t(height);
    }
    font = std::move(result);
    return true;
}
