#include "level/builtin_resources.h"

#include "common/file_io.h"

namespace fs = std::filesystem;

BuiltinLevel loadBuiltinLevel(const fs::path& programFolder) {
    BuiltinLevel level;
    std::optional<Bytes> data = readWholeFile(
        programFolder / kBuiltinFolderName / kBuiltinLevelFileName, nullptr, kBuiltinLevelFileSize);
    if (!data || data->size() != kBuiltinLevelFileSize)
        return level;
    for (size_t i = 0; i < 4096; ++i) {
        level.plane0[i] = readU16At(*data, 2 * i);
        level.plane1[i] = readU16At(*data, 8192 + 2 * i);
    }
    level.fromFile = true;
    return level;
}

std::vector<uint8_t> loadBuiltinTextScreen(const fs::path& programFolder) {
    std::optional<Bytes> data =
        readWholeFile(programFolder / kBuiltinFolderName / kBuiltinScreenFileName, nullptr,
                      kBuiltinScreenFileSize);
    if (data && data->size() == kBuiltinScreenFileSize)
        return *data;
    std::vector<uint8_t> blank(kBuiltinScreenFileSize);
    for (size_t i = 0; i < blank.size(); i += 2) {
        blank[i] = ' ';
        blank[i + 1] = 0x07;
    }
    return blank;
}
