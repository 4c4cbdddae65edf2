#include "level/lists_file.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct ListsRead {
    TileVocabulary vocabulary;
    RecordingPrompter prompter;
};

void read(ListsRead& result, const std::string& text) {
    std::istringstream in(text);
    readListsFile(in, result.vocabulary, result.prompter);
}

std::vector<std::string> texts(const RecordingPrompter& prompter) {
    std::vector<std::string> result;
    for (const Prompt& prompt : prompter.prompts())
        result.push_back(prompt.title + "|" + prompt.text);
    return result;
}

std::vector<int32_t> listed(const TileCodeList& list) {
    return std::vector<int32_t>(list.entries().begin(), list.entries().begin() + list.size());
}

} // namespace

TEST(ListsEntry, ParsesNumberAndName) {
    struct Case {
        std::string line;
        bool valid;
        uint16_t code;
        std::string name;
    } cases[] = {
        {"12,\"Red brick\",", true, 12, "Red brick"},
        {"90,\"Door, vertical\",", true, 90, "Door, vertical"}, // inner commas stay
        {"5,Plain name", true, 5, "Plain name"},                // quotes are optional
        {"7,\"\"\"Quoted\"\",,", true, 7, "Quoted"},            // all leading/trailing ones go
        {"  3,\"Blank before the number\",", true, 3, "Blank before the number"},
        {"65537,\"Wraps to 16 bits\",", true, 1, "Wraps to 16 bits"},
        {"8,\"abcdefghijklmnopqrstuvwxyz0123456789\",", true, 8,
         "abcdefghijklmnopqrstuvwxyz012345"}, // cut to 32 characters
        {"4,\"Windows line\",\r", true, 4, "Windows line"},
        {"no comma here", false, 0, ""},
        {"name,\"without a number\",", false, 0, ""},
        {",\"\",", false, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::optional<ListsEntry> entry = parseListsEntry(c.line);
        ASSERT_EQ(entry.has_value(), c.valid);
        if (c.valid) {
            EXPECT_EQ(entry->code, c.code);
            EXPECT_EQ(entry->name, c.name);
        }
    }
}

TEST(ListsFile, ReadsThreeSectionsIntoNamesListsAndFloors) {
    ListsRead r;
    read(r, "1,\"Grey stone\",\n2,\"Blue stone\",\n*\n23,\"Puddle\",\n*\n106,\"Ambush\",\n"
            "108,\"Area 1\",\n*\n");
    EXPECT_TRUE(r.prompter.empty());
    EXPECT_EQ(listed(r.vocabulary.wallCodes), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(listed(r.vocabulary.objectCodes), (std::vector<int32_t>{23}));
    EXPECT_EQ(listed(r.vocabulary.floorCodes), (std::vector<int32_t>{106, 108}));
    EXPECT_EQ(r.vocabulary.wallCodes[2], kTileListEnd);
    EXPECT_EQ(r.vocabulary.wallCodes.entries().back(), kTileListEnd);
    EXPECT_EQ(r.vocabulary.wallName(2), "Blue stone");
    EXPECT_EQ(r.vocabulary.wallName(108), "Area 1"); // floors share the wall names
    EXPECT_EQ(r.vocabulary.objectName(23), "Puddle");
    EXPECT_EQ(r.vocabulary.objectName(1), "");
    EXPECT_TRUE(r.vocabulary.isFloor(106));
    EXPECT_FALSE(r.vocabulary.isFloor(107));
}

TEST(ListsFile, EmptyLinesKeepIndexesConsecutive) {
    ListsRead r;
    read(r, "\n1,\"A\",\n\n\r\n2,\"B\",\n\n3,\"C\",\n*\n*\n*\n");
    EXPECT_EQ(listed(r.vocabulary.wallCodes), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_TRUE(r.prompter.empty());
}

TEST(ListsFile, CodeListedTwiceKeepsFirstNameAndBothPlaces) {
    ListsRead r;
    read(r, "5,\"First\",\n6,\"Other\",\n5,\"Second\",\n*\n*\n*\n");
    EXPECT_EQ(listed(r.vocabulary.wallCodes), (std::vector<int32_t>{5, 6, 5}));
    EXPECT_EQ(r.vocabulary.wallName(5), "First");
    EXPECT_EQ(r.vocabulary.wallNames.size(), 2u);
}

TEST(ListsFile, MissingSectionEndsReportTheirSectionAndGoOn) {
    struct Case {
        std::string text;
        std::vector<std::string> messages;
        size_t walls, objects, floors;
    } cases[] = {
        {"", // empty file: every section is cut short
         {"Tessarand|Can't load Lists.txt (walls)", "Tessarand|Can't load Lists.txt (objects)",
          "Tessarand|Can't load Lists.txt (floors)"},
         0,
         0,
         0},
        {"1,\"A\",\n*\n23,\"B\",\n", // the file ends inside the objects
         {"Tessarand|Can't load Lists.txt (objects)", "Tessarand|Can't load Lists.txt (floors)"},
         1,
         1,
         0},
        {"1,\"A\",\n*\n23,\"B\",\n*\n108,\"C\",", // last line without a line end
         {"Tessarand|Can't load Lists.txt (floors)"},
         1,
         1,
         1},
        {"1,\"A\",\n*\n*\n*", {}, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ListsRead r;
        read(r, c.text);
        EXPECT_EQ(texts(r.prompter), c.messages);
        EXPECT_EQ(r.vocabulary.wallCodes.size(), c.walls);
        EXPECT_EQ(r.vocabulary.objectCodes.size(), c.objects);
        EXPECT_EQ(r.vocabulary.floorCodes.size(), c.floors);
    }
}

TEST(ListsFile, LongLinesComeInPiecesOfTheSectionsLength) {
    // 39 characters fit a wall line; 40 do not, and the rest of the line is read as a line of
    // its own (here one without a number, so it is skipped).
    std::string wall39 = "1,\"" + std::string(34, 'w') + "\",";
    std::string wall40 = "2,\"" + std::string(35, 'x') + "\",";
    std::string object79 = "3,\"" + std::string(74, 'o') + "\",";
    std::string piece = "4,\"" + std::string(36, 'y') + "9,\"Tail\",";
    ASSERT_EQ(wall39.size(), 39u);
    ASSERT_EQ(wall40.size(), 40u);
    ASSERT_EQ(object79.size(), 79u);
    ListsRead r;
    read(r, wall39 + "\n" + wall40 + "\n" + piece + "\n*\n" + object79 + "\n*\n*\n");
    EXPECT_TRUE(r.prompter.empty());
    // "4,..." is cut after 39 characters; its tail "9,\"Tail\"," is an entry of its own.
    EXPECT_EQ(listed(r.vocabulary.wallCodes), (std::vector<int32_t>{1, 2, 4, 9}));
    EXPECT_EQ(r.vocabulary.wallName(1), std::string(32, 'w'));
    EXPECT_EQ(r.vocabulary.wallName(9), "Tail");
    EXPECT_EQ(listed(r.vocabulary.objectCodes), (std::vector<int32_t>{3}));
}

TEST(ListsFile, SectionKeepsAtMost4095EntriesAndTheNextSectionStillReads) {
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += std::to_string(i) + ",\"W\",\n";
    text += "*\n23,\"Object\",\n*\n*\n";
    ListsRead r;
    read(r, text);
    EXPECT_TRUE(r.prompter.empty());
    EXPECT_EQ(r.vocabulary.wallCodes.size(), kMaxTileListEntries);
    EXPECT_EQ(r.vocabulary.wallCodes[4094], 4094);
    EXPECT_EQ(r.vocabulary.wallCodes[4095], kTileListEnd);
    EXPECT_EQ(r.vocabulary.wallName(4999), ""); // ignored entries name nothing either
    EXPECT_EQ(listed(r.vocabulary.objectCodes), (std::vector<int32_t>{23}));
}

TEST(ListsFile, ByteOrderMarkAndWindowsLineEndsAreNoPartOfTheEntries) {
    ListsRead r;
    read(r, "\xEF\xBB\xBF"
            "1,\"A\",\r\n*\r\n23,\"B\",\r\n*\r\n*\r\n");
    EXPECT_TRUE(r.prompter.empty());
    EXPECT_EQ(listed(r.vocabulary.wallCodes), (std::vector<int32_t>{1}));
    EXPECT_EQ(r.vocabulary.objectName(23), "B");
}

TEST(ListsFile, BinaryGarbageReportsAndKeepsWhatParses) {
    std::string garbage;
    uint32_t seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        char c = static_cast<char>(seed >> 24);
        garbage.push_back(c == '*' ? '+' : c); // no section ends anywhere
    }
    ListsRead r;
    read(r, garbage);
    EXPECT_EQ(texts(r.prompter),
              (std::vector<std::string>{"Tessarand|Can't load Lists.txt (walls)",
                                        "Tessarand|Can't load Lists.txt (objects)",
                                        "Tessarand|Can't load Lists.txt (floors)"}));
    EXPECT_LE(r.vocabulary.wallCodes.size(), kMaxTileListEntries);
    for (size_t i = 0; i < r.vocabulary.wallCodes.size(); ++i)
        EXPECT_LE(r.vocabulary.wallName(uint16_t(r.vocabulary.wallCodes[i])).size(),
                  kMaxTileNameLength);
}
