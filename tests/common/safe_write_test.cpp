#include "common/file_io.h"
#include "common/safe_write.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

std::string contents(const fs::path& path) {
    auto data = readWholeFile(path);
    return data ? std::string(data->begin(), data->end()) : std::string("<missing>");
}

} // namespace

TEST(SafeWrite, TwoSavesLeaveOneBakWithTheContentBeforeTheSecond) {
    testdata::TempDir dir;
    fs::path file = dir / "GAMEMAPS.WL6";
    ASSERT_TRUE(writeWholeFile(file, text("original")));
    ASSERT_TRUE(writeFileSafely(file, text("first save")));
    EXPECT_EQ(contents(file.string() + ".bak"), "original");
    ASSERT_TRUE(writeFileSafely(file, text("second save")));
    EXPECT_EQ(contents(file), "second save");
    EXPECT_EQ(contents(file.string() + ".bak"), "first save");
    EXPECT_FALSE(fs::exists(file.string() + ".tmp"));
    int backups = 0;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        backups += entry.path().extension() == ".bak";
    EXPECT_EQ(backups, 1);
}

TEST(SafeWrite, CancelKeepsOldFileAndTmpUntilTheNextSave) {
    testdata::TempDir dir;
    fs::path file = dir / "VSWAP.WL6";
    ASSERT_TRUE(writeWholeFile(file, text("old")));
    {
        SafeWriter writer(file);
        ASSERT_TRUE(writer.begin());
        ASSERT_TRUE(writer.write(text("half of the new")));
        writer.abandon();
    }
    EXPECT_EQ(contents(file), "old");
    EXPECT_TRUE(fs::exists(file.string() + ".tmp"));
    EXPECT_FALSE(fs::exists(file.string() + ".bak"));

    SafeWriter next(file);
    ASSERT_TRUE(next.begin());
    EXPECT_EQ(contents(file.string() + ".tmp"), "");
    ASSERT_TRUE(next.write(text("new")));
    ASSERT_TRUE(next.commit());
    EXPECT_EQ(contents(file), "new");
    EXPECT_EQ(contents(file.string() + ".bak"), "old");
}

TEST(SafeWrite, FirstSaveOfANewFileMakesNoBak) {
    testdata::TempDir dir;
    fs::path file = dir / "MAPHEAD.WL1";
    ASSERT_TRUE(writeFileSafely(file, text("new")));
    EXPECT_EQ(contents(file), "new");
    EXPECT_FALSE(fs::exists(file.string() + ".bak"));
}

TEST(SafeWrite, UnwritableFolderFailsAndTouchesNothing) {
    testdata::TempDir dir;
    fs::path file = dir / "missing-folder" / "GAMEMAPS.WL1";
    std::string error;
    EXPECT_FALSE(writeFileSafely(file, text("x"), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(file));
}
