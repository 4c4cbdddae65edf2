#include "image/palette_export.h"

#include "common/game_file_path.h"

#include <cstdio>
#include <fstream>

namespace {

std::string entryText(const char* format, const Rgb& c) {
    char text[32];
    std::snprintf(text, sizeof text, format, c.r >> 2, c.g >> 2, c.b >> 2);
    return text;
}

} // namespace

std::string paletteAsGameSource(const Palette& palette) {
    std::string out = "unsigned char gamepal[768]={\n";
    for (size_t line = 0; line < 64; ++line) {
        for (size_t i = 4 * line; i < 4 * line + 4; ++i)
            out += entryText("%3i,%3i,%3i,", palette[i]);
        out += "\n";
    }
    return out + "};\n";
}

std::string paletteAsWolf4sdlInclude(const Palette& palette) {
    std::string out;
    for (size_t line = 0; line < 64; ++line) {
        for (size_t i = 4 * line; i < 4 * line + 4; ++i)
            out += entryText("RGB(%3i,%3i,%3i)", palette[i]) + (i == 255 ? "\n" : ",");
        out += "\n";
    }
    return out;
}

bool exportPalette(const std::filesystem::path& path, const Palette& palette, Prompter& prompter) {
    std::string extension = path.extension().string();
    const bool wolf4sdl = equalsIgnoringCase(extension, ".inc");
    const std::string text =
        wolf4sdl ? paletteAsWolf4sdlInclude(palette) : paletteAsGameSource(palette);
    // Text mode: line ends as the platform writes them.
    std::ofstream out(path, std::ios::trunc);
    if (out)
        out << text;
    out.close();
    if (!out) {
        prompter.tell("Palette export...", "Unable to create palette file:\n" + path.string(),
                      PromptIcon::Exclamation);
        return false;
    }
    prompter.tell("Palette export...",
                  wolf4sdl ? "Successfully exported to Wolf4SDL format!"
                           : "Successfully exported to Wolfenstein 3D format!",
                  PromptIcon::Information);
    return true;
}
