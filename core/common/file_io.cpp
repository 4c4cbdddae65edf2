#include "common/file_io.h"

#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

std::optional<Bytes> readWholeFile(const fs::path& path, std::string* error, size_t maxSize) {
    auto fail = [&](const std::string& reason) -> std::optional<Bytes> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return fail("not a file: " + path.string());
    uintmax_t size = fs::file_size(path, ec);
    if (ec)
        return fail("cannot read the size of " + path.string());
    if (size > maxSize)
        return fail("file too large: " + path.string());
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return fail("cannot open " + path.string());
    Bytes data(static_cast<size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(data.data()), std::streamsize(size)))
        return fail("cannot read " + path.string());
    return data;
}

bool writeWholeFile(const fs::path& path, ByteView data, std::string* error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    if (!out) {
        if (error)
            *error = "cannot write " + path.string();
        return false;
    }
    return true;
}
