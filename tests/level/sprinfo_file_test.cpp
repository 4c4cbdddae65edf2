#include "level/sprinfo_file.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct SprinfoRead {
    TileVocabulary vocabulary;
    RecordingPrompter prompter;
};

void read(SprinfoRead& result, const std::string& text) {
    std::istringstream in(text);
    readSprinfoFile(in, result.vocabulary, result.prompter);
}

std::vector<std::string> texts(const RecordingPrompter& prompter) {
    std::vector<std::string> result;
    for (const Prompt& prompt : prompter.prompts())
        result.push_back(prompt.title + "|" + prompt.text);
    return result;
}

std::string errorText(const std::string& text) {
    return std::string(kSprinfoErrorTitle) + "|" + text;
}

} // namespace

TEST(Sprinfo, DefinitionsFillTheTileInfo) {
    struct Case {
        std::string line;
        uint16_t tile;
        TileInfo expected;
    } cases[] = {
        {"49 28 1 8", 49, {28, 1, 8, 0, 0}},     // static giving 8 shots
        {"20 0 2 0", 20, {0, 2, 0, 0, 0}},       // player start facing east
        {"214 296 3 3", 214, {296, 3, 3, 5, 0}}, // boss: category 5, no fourth number
        {"108 50 4 0 1", 108, {50, 4, 0, 1, 0}}, // enemy: the fourth number is its level
        {"90 0 5 0", 90, {0, 5, 0, 0, 0}},       // turning point
        {"16 0x1F 1 010", 16, {31, 1, 8, 0, 0}}, // hexadecimal and octal numbers
        {"+12 -1 1 0", 12, {65535, 1, 0, 0, 0}}, // picture kept to 16 bits
        {"13 5 1 300", 13, {5, 1, 44, 0, 0}},    // flag kept to 8 bits
        {"65548 7 1 0", 12, {7, 1, 0, 0, 0}},    // tile kept to 16 bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        SprinfoRead r;
        read(r, c.line + "\n");
        EXPECT_TRUE(r.prompter.empty());
        EXPECT_EQ(r.vocabulary.info(c.tile), c.expected);
    }
}

TEST(Sprinfo, TypeFourReadsAFourthNumberOthersDoNot) {
    SprinfoRead r;
    // Type 4 takes "3" as its level; type 1 leaves "77 5 1 0" as the next definition.
    read(r, "108 50 4 1\n3\n23 2 1 0\n77 5 1 0\n");
    EXPECT_TRUE(r.prompter.empty());
    EXPECT_EQ(r.vocabulary.info(108).category, 3);
    EXPECT_EQ(r.vocabulary.info(23), (TileInfo{2, 1, 0, 0, 0}));
    EXPECT_EQ(r.vocabulary.info(77), (TileInfo{5, 1, 0, 0, 0}));
}

TEST(Sprinfo, TypeSevenDefinesADoorAndLeavesTheObjectEntryAlone) {
    SprinfoRead r;
    read(r, "92 0 1 0\n92 -1 7 1 1 -6\n93 -2 7 0 1 -5\n");
    EXPECT_TRUE(r.prompter.empty());
    EXPECT_EQ(r.vocabulary.info(92), (TileInfo{0, 1, 0, 0, 0}));
    EXPECT_EQ(r.vocabulary.info(93), TileInfo{});
    ASSERT_EQ(r.vocabulary.doors.size(), 2u);
    EXPECT_EQ(r.vocabulary.door(0), (DoorKind{92, -1, true, 1, -6}));
    EXPECT_EQ(r.vocabulary.door(1), (DoorKind{93, -2, false, 1, -5}));
    EXPECT_EQ(r.vocabulary.doorIndex(93), 1);
    EXPECT_EQ(r.vocabulary.doorIndex(94), -1);
}

TEST(Sprinfo, TypeSixJoinsThePushwalls) {
    SprinfoRead r;
    read(r, "98 0 6 0\n300 0 6 0\n");
    EXPECT_TRUE(r.vocabulary.isPushwall(98));
    EXPECT_TRUE(r.vocabulary.isPushwall(300));
    EXPECT_EQ(r.vocabulary.pushwalls.size(), 2u);
}

TEST(Sprinfo, WhatMayFollowADefinitionOnItsLine) {
    struct Case {
        std::string text;
        std::vector<std::string> messages;
        bool tile23Read;
        bool tile24Read;
    } cases[] = {
        {"23 0 5 0 ; a comment\n24 1 1 0\n", {}, true, true},
        {"23 0 5 0;comment right after\n24 1 1 0\n", {}, true, true},
        {"23 0 5 0 \t \r\n24 1 1 0", {}, true, true},
        {"23 0 5 0 x\n24 1 1 0\n",
         {errorText("Illegal character after definition of tile 23: 'x'!")},
         true,
         false},
        {"23 0 5 0x\n24 1 1 0\n", // "0x" without digits reads as 0 followed by an x
         {errorText("Illegal character after definition of tile 23: 'x'!")},
         true,
         false},
        {"23 0 5 0 5\n24 1 1 0\n", // a stray fifth number
         {errorText("Illegal character after definition of tile 23: '5'!")},
         true,
         false},
        {"23 0 5 0 \x01\n",
         {errorText("Illegal character after definition of tile 23: '\\x01'!")},
         true,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SprinfoRead r;
        read(r, c.text);
        EXPECT_EQ(texts(r.prompter), c.messages);
        EXPECT_EQ(r.vocabulary.info(23).is(ObjectType::TurningPoint), c.tile23Read);
        EXPECT_EQ(r.vocabulary.info(24).is(ObjectType::Static), c.tile24Read);
    }
}

TEST(Sprinfo, CommentsEndAndNumbersSpanningLines) {
    SprinfoRead r;
    read(r, "; header\n;\n   ;indented comment 99 1 1 1\n25\n  4\n\t1\n 0\nEND\n26 5 1 0\n");
    EXPECT_TRUE(r.prompter.empty());
    EXPECT_EQ(r.vocabulary.info(25), (TileInfo{4, 1, 0, 0, 0}));
    EXPECT_EQ(r.vocabulary.info(99), TileInfo{});
    EXPECT_EQ(r.vocabulary.info(26), TileInfo{}); // after END
}

TEST(Sprinfo, TokenStartingWithEndStopsReading) {
    SprinfoRead r;
    read(r, "25 4 1 0\nENDING here 1 2 3\n26 5 1 0\n");
    EXPECT_TRUE(r.prompter.empty());
    EXPECT_TRUE(r.vocabulary.info(25).is(ObjectType::Static));
    EXPECT_EQ(r.vocabulary.info(26), TileInfo{});
}

TEST(Sprinfo, BrokenDefinitionsStopWithAMessageAndKeepEarlierOnes) {
    struct Case {
        std::string text;
        std::string message;
    } cases[] = {
        {"23 2 1 0\n24 3 1\n", "Definition of tile 24 is incomplete!"},
        {"23 2 1 0\n24 3 7 1 0\n", "Definition of tile 24 is incomplete!"},
        {"23 2 1 0\n24 3 x 0\n", "Illegal character in definition of tile 24: 'x'!"},
        {"23 2 1 0\n24z 3 1 0\n", "Illegal character in definition of tile 24: 'z'!"},
        {"23 2 1 0\nbarrel 3 1 0\n", "Illegal character at the start of a definition: 'b'!"},
        {"23 2 1 0\n\xff\xfe 3 1 0\n", "Illegal character at the start of a definition: '\\xFF'!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SprinfoRead r;
        read(r, c.text);
        EXPECT_EQ(texts(r.prompter), std::vector<std::string>{errorText(c.message)});
        EXPECT_TRUE(r.vocabulary.info(23).is(ObjectType::Static));
        EXPECT_EQ(r.vocabulary.info(24), TileInfo{});
        EXPECT_TRUE(r.vocabulary.doors.empty());
    }
}

TEST(Sprinfo, ReadsAtMost65537LineStartingTokens) {
    // 65536 comment lines, then definition number 65537 (read) and 65538 (not read).
    std::string text;
    for (int i = 0; i < 65536; ++i)
        text += ";\n";
    text += "30 9 1 0\n31 10 1 0\n";
    SprinfoRead r;
    read(r, text);
    EXPECT_TRUE(r.prompter.empty());
    EXPECT_TRUE(r.vocabulary.info(30).is(ObjectType::Static));
    EXPECT_EQ(r.vocabulary.info(31), TileInfo{});
}

TEST(Sprinfo, HugeNumbersAndGarbageDoNotCrash) {
    SprinfoRead r;
    read(r, "40 99999999999999999999 1 -99999999999999999999\n" + std::string(100000, '7') +
                " 1 1 1\n");
    EXPECT_EQ(r.vocabulary.info(40).value, uint16_t(0x7FFFFFFF & 0xFFFF));
    EXPECT_EQ(r.vocabulary.info(40).flag, uint8_t(0));

    std::string garbage;
    uint32_t seed = 99;
    for (int i = 0; i < 100000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        garbage.push_back(static_cast<char>(seed >> 24));
    }
    SprinfoRead g;
    read(g, garbage);
    EXPECT_LE(g.prompter.prompts().size(), 1u);
}

TEST(Sprinfo, DefaultsWhenNothingWasDefined) {
    SprinfoRead r;
    read(r, "; nothing but a comment\n");
    r.vocabulary.applyDefaults();
    ASSERT_EQ(r.vocabulary.doors.size(), 12u);
    for (size_t i = 0; i < 12; ++i)
        EXPECT_EQ(r.vocabulary.door(i), defaultDoorKinds()[i]);
    EXPECT_EQ(r.vocabulary.door(0), (DoorKind{90, -7, true, 0, -6}));
    EXPECT_EQ(r.vocabulary.door(11), (DoorKind{101, -4, false, 0, -5}));
    EXPECT_EQ(r.vocabulary.doorIndex(101), 11);
    EXPECT_EQ(r.vocabulary.pushwalls.codes(), std::vector<uint16_t>{98});
    std::vector<uint16_t> floors = r.vocabulary.floors.codes();
    ASSERT_EQ(floors.size(), 38u);
    EXPECT_EQ(floors.front(), 106);
    EXPECT_EQ(floors.back(), 143);
}

TEST(Sprinfo, OneDoorLineReplacesAllDefaultDoors) {
    SprinfoRead r;
    read(r, "200 3 7 0 0 -5\n");
    r.vocabulary.applyDefaults();
    ASSERT_EQ(r.vocabulary.doors.size(), 1u);
    EXPECT_TRUE(r.vocabulary.isDoor(200));
    EXPECT_FALSE(r.vocabulary.isDoor(90));
}
