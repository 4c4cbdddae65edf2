#include "app/extensions.h"
#include "common/file_io.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

namespace {
ExtensionTable parse(const std::string& text, RecordingPrompter& prompter) {
    return parseExtensions(text, prompter);
}
} // namespace

TEST(Extensions, ReadsEntriesUpToTheHashLine) {
    RecordingPrompter prompter;
    ExtensionTable table = parse("WL6,Wolfenstein 3D,Wolfenstein3D\nSOD,Spear of Destiny,SpearOfDestiny\n#\nXXX,a,b\n",
                                 prompter);
    ASSERT_EQ(table.entries.size(), 2u);
    EXPECT_EQ(table.entries[1], (ExtensionEntry{"SOD", "Spear of Destiny", "SpearOfDestiny"}));
    EXPECT_TRUE(prompter.empty());
}

TEST(Extensions, WithoutHashLineKeepsEveryLineAndComplains) {
    RecordingPrompter prompter;
    ExtensionTable table = parse("WL6,Wolfenstein 3D,Wolfenstein3D\nWL1,Wolfenstein 3D,Wolfenstein3D", prompter);
    ASSERT_EQ(table.entries.size(), 2u);
    EXPECT_EQ(table.entries[1].paletteName, "Wolfenstein3D");
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].title, "Tessarand");
    EXPECT_EQ(prompter.prompts()[0].text, "Can't load Extensions.txt");
}

TEST(Extensions, SkipsLinesWithoutTwoCommasAndStopsAtHundred) {
    RecordingPrompter prompter;
    std::string text = "broken line\nA,only one comma\r\n";
    for (int i = 0; i < 120; ++i)
        text += "E" + std::to_string(i) + ",folder,palette\r\n";
    ExtensionTable table = parse(text, prompter);
    ASSERT_EQ(table.entries.size(), kMaxExtensions);
    EXPECT_EQ(table.entries[0], (ExtensionEntry{"E0", "folder", "palette"}));
    EXPECT_TRUE(prompter.empty());
}

TEST(Extensions, StartupChoice) {
    ExtensionTable table{{{"WL6", "Wolfenstein 3D", "Wolfenstein3D"}, {"SOD", "Spear of Destiny", "SpearOfDestiny"}}};
    EXPECT_EQ(table.startupChoice("SOD").paletteName, "SpearOfDestiny");
    // Exact match only at start; no match picks the first entry.
    EXPECT_EQ(table.startupChoice("sod").paletteName, "Wolfenstein3D");
    ExtensionEntry none = ExtensionTable{}.startupChoice("WL6");
    EXPECT_EQ(none.mapObjectFolder, "Wolfenstein 3D");
    EXPECT_EQ(none.paletteName, "Wolfenstein3D");
    EXPECT_EQ(table.findIgnoringCase("sod"), &table.entries[1]);
}

TEST(Extensions, WriteThenReadGivesTheSameTable) {
    testdata::TempDir dir;
    RecordingPrompter prompter;
    ExtensionTable table{{{"WL6", "Wolfenstein 3D", "Wolfenstein3D"}, {"OZ6", " N/A", " No Change"}}};
    ASSERT_TRUE(writeExtensionsFile(dir / "extensions.txt", table));
    EXPECT_EQ(formatExtensions(table), "WL6,Wolfenstein 3D,Wolfenstein3D\nOZ6, N/A, No Change\n#\n");
    ExtensionTable back = readExtensionsFile(dir / "extensions.txt", prompter);
    EXPECT_EQ(back.entries, table.entries);
    EXPECT_TRUE(prompter.empty());
}

TEST(Extensions, MissingFileIsEmptyWithoutMessageAndGarbageDoesNotCrash) {
    testdata::TempDir dir;
    RecordingPrompter prompter;
    EXPECT_TRUE(readExtensionsFile(dir / "none.txt", prompter).entries.empty());
    EXPECT_TRUE(prompter.empty());

    Bytes garbage(100000);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = uint8_t(i * 131 + 7);
    ASSERT_TRUE(writeWholeFile(dir / "extensions.txt", garbage));
    ExtensionTable table = readExtensionsFile(dir / "extensions.txt", prompter);
    EXPECT_LE(table.entries.size(), kMaxExtensions);
}
