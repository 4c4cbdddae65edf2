#include "vgagraph/text_screen.h"

#include "common/file_io.h"
#include "vgagraph/vga_chunks.h"

#include <algorithm>
#include <fstream>

TextScreen TextScreen::blank() {
    TextScreen screen;
    std::copy(std::begin(kScreenHeader), std::end(kScreenHeader), screen.data.begin());
    return screen;
}

const std::array<Rgb, 16>& textModeColours() {
    static const std::array<Rgb, 16> colours = {{
        {0x00, 0x00, 0x00},
        {0x00, 0x00, 0x70},
        {0x00, 0x70, 0x00},
        {0x00, 0x70, 0x70},
        {0x70, 0x00, 0x00},
        {0x70, 0x00, 0x70},
        {0x70, 0x70, 0x00},
        {0xC8, 0xC8, 0xC8},
        {0x80, 0x80, 0x80},
        {0x00, 0x00, 0xFC},
        {0x00, 0xFC, 0x00},
        {0x00, 0xFC, 0xFC},
        {0xFC, 0x00, 0x00},
        {0xFC, 0x00, 0xFC},
        {0xFC, 0xFC, 0x00},
        {0xFC, 0xFC, 0xFC},
    }};
    return colours;
}

std::optional<size_t> importScreenFile(TextScreen& screen, const std::filesystem::path& path,
                                       Prompter& prompter) {
    std::error_code error;
    std::ifstream in(path, std::ios::binary);
    if (!std::filesystem::is_regular_file(path, error) || !in) {
        prompter.tell("Cannot Open", path.string());
        return std::nullopt;
    }
    char buffer[kScreenCellBytes];
    in.read(buffer, std::streamsize(kScreenCellBytes));
    size_t taken = size_t(in.gcount());
    std::copy(buffer, buffer + taken, screen.cells().begin());
    return taken;
}

bool exportScreenFile(const TextScreen& screen, const std::filesystem::path& path,
                      Prompter& prompter) {
    if (!writeWholeFile(path, ByteView(screen.cells().data(), kScreenCellBytes))) {
        prompter.tell("Cannot Write", path.string());
        return false;
    }
    return true;
}
