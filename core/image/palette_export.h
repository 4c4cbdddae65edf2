#pragma once
// The palette as source text for the game: a C array ("gamepal") or a Wolf4SDL include file,
// both in the game's 6-bit component range.

#include "common/prompter.h"
#include "image/palette.h"

#include <filesystem>
#include <string>

std::string paletteAsGameSource(const Palette& palette);
std::string paletteAsWolf4sdlInclude(const Palette& palette);

// ".inc" (any case) writes the Wolf4SDL format, every other extension the C array; success
// and failure are told under "Palette export...".
bool exportPalette(const std::filesystem::path& path, const Palette& palette, Prompter& prompter);
