#pragma once
// Reading only the start of a file whose useful size is bounded, so that an oversized file costs
// nothing and still tells its real size.

#include "common/byte_io.h"

#include <filesystem>
#include <optional>

struct FileStart {
    Bytes bytes; // at most the requested number of bytes
    uintmax_t fileSize = 0;
};

std::optional<FileStart> readFileStart(const std::filesystem::path& path, size_t maxBytes);

// Whether the file exists as a regular file and can be opened for reading.
bool canOpenForReading(const std::filesystem::path& path);
