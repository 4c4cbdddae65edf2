#include "image/palette_files.h"

#include "common/file_io.h"
#include "common/game_file_path.h"
#include "image/bmp.h"

#include <algorithm>

namespace fs = std::filesystem;

std::vector<std::string> scanPaletteFolder(const fs::path& paletteFolder, Prompter& prompter) {
    std::vector<std::string> files;
    std::error_code error;
    for (fs::directory_iterator it(paletteFolder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() > 4 && equalsIgnoringCase(name.substr(name.size() - 4), ".pal") &&
            it->is_regular_file(error))
            files.push_back(name.substr(0, name.size() - 4));
    }
    std::sort(files.begin(), files.end(),
              [](const std::string& a, const std::string& b) { return toUpper(a) < toUpper(b); });
    if (files.size() >= kMaxPalettes) {
        files.resize(kMaxPalettes);
        prompter.tell("Warning: Too many palettes!",
                      "Too many palettes! Only 100 supported!\nIf this is an problem for you, "
                      "please contact us, so we can change it!",
                      PromptIcon::Exclamation);
    }
    return files;
}

std::optional<Palette> loadPaletteByName(const fs::path& paletteFolder, const std::string& name,
                                         Prompter& prompter) {
    const fs::path path = paletteFolder / (name + ".pal");
    std::optional<Palette> palette = readPaletteFile(path);
    if (!palette)
        prompter.tell("Cannot Open", path.string());
    return palette;
}

bool savePaletteFile(const fs::path& path, const Palette& palette, Prompter& prompter,
                     const std::string& failureCaption) {
    if (writeWholeFile(path, paletteToBytes(palette)))
        return true;
    prompter.tell(failureCaption, path.string(), PromptIcon::Exclamation);
    return false;
}

std::optional<Palette> importPalette(const fs::path& path, const Palette& current,
                                     Prompter& prompter) {
    std::string extension = path.extension().string();
    if (!extension.empty())
        extension.erase(0, 1);
    const bool bitmap = equalsIgnoringCase(extension, "bmp");
    if (!bitmap && !equalsIgnoringCase(extension, "pal"))
        return std::nullopt;

    std::optional<Bytes> data = readWholeFile(path, nullptr, size_t(64) << 20);
    if (!data) {
        prompter.tell("Unable to open palette file:", path.string(), PromptIcon::Exclamation);
        return std::nullopt;
    }
    Palette palette = current;
    if (bitmap) {
        BmpProblem problem = BmpProblem::None;
        std::optional<std::vector<Rgb>> table = readBmpColorTable(*data, &problem);
        if (!table) {
            prompter.ask(bmpProblemPrompt(problem));
            return std::nullopt;
        }
        if (table->empty()) {
            prompter.tell("Unable to import palette!", "The bitmap does not contain a palette!",
                          PromptIcon::Exclamation);
            return std::nullopt;
        }
        std::copy(table->begin(), table->end(), palette.colors.begin());
        return palette;
    }
    std::optional<Palette> read = paletteFromBytes(*data);
    if (!read)
        prompter.tell("Unable to import palette!",
                      "The given file is not a valid Tessarand palette file!",
                      PromptIcon::Exclamation);
    return read;
}
