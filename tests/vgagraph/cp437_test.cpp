#include "vgagraph/cp437.h"

#include <gtest/gtest.h>

TEST(Cp437, TextModeCharactersMapToTheirUnicodeLookalikes) {
    struct Case {
        uint8_t character;
        char32_t expected;
    };
    for (Case c : {Case{'A', U'A'}, Case{0x00, U' '}, Case{0x01, U'\u263A'}, Case{0x7F, U'\u2302'},
                   Case{0x80, U'\u00C7'}, Case{0xB0, U'\u2591'}, Case{0xC4, U'\u2500'},
                   Case{0xDB, U'\u2588'}, Case{0xE1, U'\u00DF'}, Case{0xFE, U'\u25A0'},
                   Case{0xFF, U'\u00A0'}})
        EXPECT_EQ(cp437ToUnicode(c.character), c.expected) << int(c.character);
}
