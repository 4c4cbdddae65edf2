#pragma once
// A proportional VGAGRAPH font as its decompressed chunk: height (u16), 256 pixel locations
// (u16, from the start of the chunk, 0 for none), 256 widths (u8), then for each character
// height rows of width bytes (0 empty, else a colour). Fonts come from files, so every access is
// checked against the bytes present.

#include "common/byte_io.h"
#include "image/indexed_image.h"

constexpr int kFontCharacterCount = 256;
constexpr size_t kFontHeaderSize = 770;
constexpr int kMinFontValue = 1; // widths and heights the editor accepts
constexpr int kMaxFontValue = 100;

int fontHeight(ByteView font);
int fontCharacterWidth(ByteView font, int character);
int fontCharacterLocation(ByteView font, int character);
// Shown in the character list: location and width both nonzero.
bool fontCharacterShown(ByteView font, int character);
// 770 + the sum of width x height; a consistent font has exactly this size.
size_t fontNeededSize(ByteView font);

uint8_t fontPixel(ByteView font, int character, int x, int y);
bool setFontPixel(Bytes& font, int character, int x, int y, uint8_t value);
// width x height; bytes beyond the chunk read as 0.
IndexedImage fontCharacterImage(ByteView font, int character);

// New width for one character (0 deletes it): its rows keep their first min(old, new) bytes, the
// pixels of the characters behind it move with it, a character without pixels gets them at the
// end. False (nothing changed) for a character index or width out of range or a font that would
// outgrow 16-bit locations.
bool setFontCharacterWidth(Bytes& font, int character, int width);
// New height for all characters: pixels laid out anew in character order from 770, the first
// min(old, new) rows kept. False (nothing changed) when out of range.
bool setFontHeight(Bytes& font, int height);
