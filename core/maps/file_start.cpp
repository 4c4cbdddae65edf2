#include "maps/file_start.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

std::optional<FileStart> readFileStart(const fs::path& path, size_t maxBytes) {
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return std::nullopt;
    FileStart start;
    start.fileSize = fs::file_size(path, error);
    if (error)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    start.bytes.resize(size_t(std::min<uintmax_t>(start.fileSize, maxBytes)));
    if (!start.bytes.empty() &&
        !in.read(reinterpret_cast<char*>(start.bytes.data()), std::streamsize(start.bytes.size())))
        return std::nullopt;
    return start;
}

bool canOpenForReading(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return false;
    std::ifstream in(path, std::ios::binary);
    return bool(in);
}
