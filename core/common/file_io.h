#pragma once
// Whole-file reading with a size limit, so that a huge or special file cannot exhaust memory.

#include "common/byte_io.h"

#include <filesystem>
#include <optional>
#include <string>

constexpr size_t kMaxGameFileSize = size_t(256) << 20;

// The whole file, or nothing with *error set to a short reason.
std::optional<Bytes> readWholeFile(const std::filesystem::path& path, std::string* error = nullptr,
                                   size_t maxSize = kMaxGameFileSize);
bool writeWholeFile(const std::filesystem::path& path, ByteView data, std::string* error = nullptr);
