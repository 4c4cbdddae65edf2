#pragma once
// The 80 x 25 text-mode screens of VGAGRAPH (4008 bytes: a 7-byte memory-image header, 4000
// bytes of cells, character then attribute, row by row from the top, and one trailing byte) and
// the ".SCR" screen files, which hold the 4000 cell bytes alone.

#include "common/byte_io.h"
#include "common/prompter.h"
#include "image/palette.h"

#include <array>
#include <filesystem>
#include <optional>
#include <span>

constexpr int kScreenColumns = 80;
constexpr int kScreenRows = 25;
constexpr size_t kScreenCellBytes = 4000;
constexpr size_t kScreenCellsAt = 7;

struct TextScreen {
    std::array<uint8_t, 4008> data{}; // as decompressed from VGAGRAPH
    int chunk = -1;                   // the chunk it was read from; not used when saving

    // A screen of blank cells with the memory-image header.
    static TextScreen blank();
    std::span<uint8_t, kScreenCellBytes> cells() {
        return std::span<uint8_t, kScreenCellBytes>(data.data() + kScreenCellsAt, kScreenCellBytes);
    }
    std::span<const uint8_t, kScreenCellBytes> cells() const {
        return std::span<const uint8_t, kScreenCellBytes>(data.data() + kScreenCellsAt,
                                                          kScreenCellBytes);
    }
    static size_t cellOffset(int column, int row) {
        return 2 * size_t(column + kScreenColumns * row);
    }
    uint8_t character(int column, int row) const { return cells()[cellOffset(column, row)]; }
    uint8_t attribute(int column, int row) const { return cells()[cellOffset(column, row) + 1]; }
    void setCell(int column, int row, uint8_t character, uint8_t attribute) {
        cells()[cellOffset(column, row)] = character;
        cells()[cellOffset(column, row) + 1] = attribute;
    }
    bool operator==(const TextScreen&) const = default;
};

// The 16 text-mode colours as the editor shows them.
const std::array<Rgb, 16>& textModeColours();

// Reads up to 4000 bytes of a ".SCR" file over the cells (a shorter file changes only the
// leading bytes). Returns the number of bytes taken; nothing, after "Cannot Open" with the path,
// when the file cannot be read.
std::optional<size_t> importScreenFile(TextScreen& screen, const std::filesystem::path& path,
                                       Prompter& prompter);
// Writes the 4000 cell bytes; "Cannot Write" with the path on failure.
bool exportScreenFile(const TextScreen& screen, const std::filesystem::path& path,
                      Prompter& prompter);
