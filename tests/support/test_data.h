#pragma once
// Where the tests find the real shareware files and a scratch folder of their own.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace testdata {

// $TESSARAND_GAME_DATA, else ../shared/data/wl1 beside the project; empty when absent.
inline std::filesystem::path gameDataDir() {
    namespace fs = std::filesystem;
    if (const char* env = std::getenv("TESSARAND_GAME_DATA"); env && *env && fs::is_directory(env))
        return env;
    fs::path beside = fs::path(TESSARAND_SOURCE_DIR) / ".." / "shared" / "data" / "wl1";
    return fs::is_directory(beside) ? fs::canonical(beside) : fs::path();
}

inline std::filesystem::path resourcesDir() {
    return std::filesystem::path(TESSARAND_SOURCE_DIR) / "resources";
}

// A fresh empty folder, removed when the object goes.
class TempDir {
public:
    TempDir() {
        std::random_device random;
        m_path = std::filesystem::temp_directory_path() /
                 ("tessarand-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// A copy of the shareware folder in a temporary folder, to save into.
inline void copyGameData(const std::filesystem::path& to) {
    for (const auto& entry : std::filesystem::directory_iterator(gameDataDir()))
        std::filesystem::copy_file(entry.path(), to / entry.path().filename(),
                                   std::filesystem::copy_options::overwrite_existing);
    for (const auto& entry : std::filesystem::directory_iterator(to))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
}

} // namespace testdata

// Skips the test when the shareware files are not there.
#define REQUIRE_GAME_DATA()                                                                        \
    do {                                                                                           \
        if (testdata::gameDataDir().empty())                                                       \
            GTEST_SKIP() << "shareware data not found (../shared/data/wl1 or $TESSARAND_GAME_DATA)"; \
    } while (0)
