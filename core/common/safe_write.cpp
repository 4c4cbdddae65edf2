#include "common/safe_write.h"

#include <system_error>

namespace fs = std::filesystem;

SafeWriter::SafeWriter(fs::path destination) : m_destination(std::move(destination)) {}

SafeWriter::~SafeWriter() { abandon(); }

fs::path SafeWriter::tmpPath() const { return fs::path(m_destination.string() + ".tmp"); }
fs::path SafeWriter::bakPath() const { return fs::path(m_destination.string() + ".bak"); }

bool SafeWriter::begin(std::string* error) {
    std::error_code ec;
    fs::remove(tmpPath(), ec);
    fs::remove(bakPath(), ec);
    m_out.open(tmpPath(), std::ios::binary | std::ios::trunc);
    m_failed = !m_out;
    if (m_failed && error)
        *error = tmpPath().string();
    return !m_failed;
}

bool SafeWriter::write(ByteView data) {
    if (m_failed || !m_out.is_open())
        return false;
    m_out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    m_failed = !m_out;
    return !m_failed;
}

bool SafeWriter::commit(std::string* error) {
    auto fail = [&](const std::string& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!m_out.is_open() || m_failed)
        return fail("cannot write " + tmpPath().string());
    m_out.close();
    if (m_out.fail())
        return fail("cannot write " + tmpPath().string());
    std::error_code ec;
    if (fs::exists(m_destination, ec)) {
        fs::rename(m_destination, bakPath(), ec);
        if (ec)
            return fail("cannot rename " + m_destination.string() + " to " + bakPath().string());
    }
    fs::rename(tmpPath(), m_destination, ec);
    if (ec) {
        // Put the old file back so the user never ends up without it.
        std::error_code ignored;
        fs::rename(bakPath(), m_destination, ignored);
        return fail("cannot rename " + tmpPath().string() + " to " + m_destination.string());
    }
    return true;
}

void SafeWriter::abandon() {
    if (m_out.is_open())
        m_out.close();
}

bool writeFileSafely(const fs::path& destination, ByteView data, std::string* error) {
    SafeWriter writer(destination);
    if (!writer.begin(error))
        return false;
    if (!writer.write(data)) {
        if (error)
            *error = "cannot write " + writer.tmpPath().string();
        return false;
    }
    return writer.commit(error);
}
