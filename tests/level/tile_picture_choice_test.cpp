#include "level/tile_picture_choice.h"

#include <gtest/gtest.h>

TEST(TilePictureChoice, WallsAndDoorsPickTheirTextures) {
    TileVocabulary vocabulary;
    vocabulary.applyDefaults(); // the twelve default doors: 90 is texture -7
    struct Case {
        uint16_t code;
        int wallCount;
        int expected;
    };
    for (Case c : {Case{1, 106, 0}, Case{2, 106, 2}, Case{53, 106, 104}, Case{54, 106, -1},
                   Case{0, 106, -1}, Case{90, 106, 99}, Case{101, 106, 102}, Case{90, 4, -1},
                   Case{1, 0, -1}})
        EXPECT_EQ(wallTextureOfCode(c.code, vocabulary, c.wallCount), c.expected) << c.code;
}

TEST(TilePictureChoice, EnemiesTurnTowardsTheViewer) {
    TileVocabulary vocabulary;
    vocabulary.defineObject(108, 50, uint8_t(ObjectType::Enemy), 0, 1);
    vocabulary.defineObject(110, 50, uint8_t(ObjectType::Enemy), 2, 1);
    vocabulary.defineObject(111, 50, uint8_t(ObjectType::Enemy), 3, 1);
    vocabulary.defineObject(23, 2, uint8_t(ObjectType::Static), 0, 0);
    vocabulary.defineObject(19, 0, uint8_t(ObjectType::PlayerStart), 1, 0);
    EXPECT_EQ(spriteOfObject(108, vocabulary, 436), 56);
    EXPECT_EQ(spriteOfObject(110, vocabulary, 436), 52);
    EXPECT_EQ(spriteOfObject(111, vocabulary, 436), 50);
    EXPECT_EQ(spriteOfObject(23, vocabulary, 436), 2);
    EXPECT_EQ(spriteOfObject(19, vocabulary, 436), -1);
    EXPECT_EQ(spriteOfObject(23, vocabulary, 2), -1);
    EXPECT_EQ(spriteOfObject(999, vocabulary, 436), -1);
}
