#pragma once
// Rewriting a game file without risking it: everything goes to path.tmp first; only when all of
// it is written is the old file renamed to path.bak and the .tmp put in its place. A failed or
// cancelled save leaves the old file whole and the .tmp behind until the next save.

#include "common/byte_io.h"

#include <filesystem>
#include <fstream>
#include <string>

class SafeWriter {
public:
    explicit SafeWriter(std::filesystem::path destination);
    ~SafeWriter();
    SafeWriter(const SafeWriter&) = delete;
    SafeWriter& operator=(const SafeWriter&) = delete;

    // Deletes old .tmp and .bak companions and creates the .tmp.
    bool begin(std::string* error = nullptr);
    bool write(ByteView data);
    // Closes the .tmp; old file -> .bak, .tmp -> the file.
    bool commit(std::string* error = nullptr);
    // Closes the .tmp and leaves everything else as it is.
    void abandon();

    const std::filesystem::path& destination() const { return m_destination; }
    std::filesystem::path tmpPath() const;
    std::filesystem::path bakPath() const;

private:
    std::filesystem::path m_destination;
    std::ofstream m_out;
    bool m_failed = false;
};

// begin, write and commit in one go.
bool writeFileSafely(const std::filesystem::path& destination, ByteView data,
                     std::string* error = nullptr);
