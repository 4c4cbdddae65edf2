#include "app/settings.h"
#include "common/file_io.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

TEST(Settings, MissingFileGivesEveryDefault) {
    testdata::TempDir dir;
    Settings s = readSettingsFile(dir / "Tessarand.ini");
    EXPECT_TRUE(s.tooltips);
    EXPECT_EQ(s.scrollDelta, 0);
    EXPECT_TRUE(s.showAbout);
    EXPECT_EQ(s.lastExtension, "WL6");
    EXPECT_EQ(s.stdPath, "");
    EXPECT_EQ(s.carmackExpand, CarmackExpand::Auto);
    EXPECT_EQ(s.carmackCompress, CarmackCompress::AsExpanded);
    EXPECT_EQ(s.carmackMode, CarmackMode::Compatible);
    EXPECT_EQ(s.spriteCompression, SpriteCompression::Good);
    EXPECT_EQ(s.farTag, 0xA8);
    EXPECT_EQ(s.nearTag, 0xA7);
    EXPECT_EQ(s.rlewTag, 0xABCD);
    EXPECT_FALSE(s.dontLoadRlew);
    EXPECT_TRUE(s.checkMaphead);
    EXPECT_FALSE(s.mapsOnly);
    EXPECT_TRUE(s.showObjects && s.showFloors && s.showGrid && s.profMode);
    EXPECT_EQ(s.wheelStep(), 120);
}

TEST(Settings, WrittenInTableOrderWithShowAboutOff) {
    Settings s;
    s.showAbout = true;
    s.rlewTag = 0x1234;
    s.farTag = 0x0B;
    EXPECT_EQ(settingsToIni(s).format(),
              "[Global]\nTooltips=1\nScrollDelta=0\nShowAbout=0\nLastExtension=WL6\nStdPath=\n"
              "[Compression]\nCarmarckExpand=0\nCarmarckCompress=0\nCarmarckMode=0\n"
              "SpriteCompression=1\n"
              "[Maps]\nFAR=0B\nNEAR=A7\nRLEW=1234\nDontLoadRLEW=0\nChkMaphead=1\nChkMaps=0\n"
              "[MapEditor]\nObjects=1\nFloors=1\nGrid=1\nProfMode=1\n");
}

TEST(Settings, RoundTripThroughTheFileKeepsEveryValueButShowAbout) {
    testdata::TempDir dir;
    Settings s;
    s.tooltips = false;
    s.scrollDelta = 3;
    s.lastExtension = "SOD";
    s.stdPath = "/games/wolf";
    s.carmackExpand = CarmackExpand::Disable;
    s.carmackCompress = CarmackCompress::Enable;
    s.carmackMode = CarmackMode::BestResult;
    s.spriteCompression = SpriteCompression::None;
    s.farTag = 0x12;
    s.nearTag = 0x34;
    s.rlewTag = 0xFEDC;
    s.dontLoadRlew = true;
    s.checkMaphead = false;
    s.mapsOnly = true;
    s.showGrid = false;
    ASSERT_TRUE(writeSettingsFile(dir / "Tessarand.ini", s));
    Settings back = readSettingsFile(dir / "Tessarand.ini");
    EXPECT_FALSE(back.showAbout);
    back.showAbout = s.showAbout;
    EXPECT_EQ(settingsToIni(back).format(), settingsToIni(s).format());
    EXPECT_EQ(back.wheelStep(), 30);
}

struct ValueCase {
    const char* text;
    int expected;
};

class SettingNumber : public testing::TestWithParam<ValueCase> {};

TEST_P(SettingNumber, ReadsLeadingDigitsOfTwoCharacters) {
    EXPECT_EQ(readSettingNumber(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Settings, SettingNumber,
                         testing::Values(ValueCase{"1", 1}, ValueCase{"3x", 3}, ValueCase{"123", 12},
                                         ValueCase{"", 0}, ValueCase{"abc", 0},
                                         ValueCase{" 2", 0}));

TEST(Settings, MalformedValuesKeepTheirDefaults) {
    IniFile ini = IniFile::parse("[Global]\nScrollDelta=9\nTooltips=7\nLastExtension=ABCDEFGHIJKLMNOPQ\n"
                                 "[Compression]\nCarmarckMode=5\nSpriteCompression=2\n"
                                 "[Maps]\nFAR=zz\nNEAR=1\nRLEW=abcdef\n");
    Settings s = settingsFromIni(ini);
    EXPECT_EQ(s.scrollDelta, 0);
    EXPECT_TRUE(s.tooltips);
    EXPECT_EQ(s.lastExtension, "ABCDEFGHIJKLMN");
    EXPECT_EQ(s.carmackMode, CarmackMode::Compatible);
    EXPECT_EQ(s.spriteCompression, SpriteCompression::Best);
    EXPECT_EQ(s.farTag, 0xA8);
    EXPECT_EQ(s.nearTag, 0x01);
    EXPECT_EQ(s.rlewTag, 0xABCD);
}

TEST(Settings, GarbageAndHugeFilesGiveDefaults) {
    testdata::TempDir dir;
    std::string garbage;
    for (int i = 0; i < 5000; ++i)
        garbage += char((i * 37) % 256);
    ASSERT_TRUE(writeWholeFile(dir / "a.ini", ByteView(reinterpret_cast<const uint8_t*>(garbage.data()), garbage.size())));
    EXPECT_EQ(settingsToIni(readSettingsFile(dir / "a.ini")).format(), settingsToIni(Settings{}).format());

    Bytes huge(3 << 20, '[');
    ASSERT_TRUE(writeWholeFile(dir / "b.ini", huge));
    EXPECT_EQ(readSettingsFile(dir / "b.ini").lastExtension, "WL6");
}
