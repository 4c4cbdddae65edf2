#include "maps/rlew.h"

#include <gtest/gtest.h>

namespace {

constexpr uint16_t kTag = 0xABCD;

std::vector<uint16_t> repeated(size_t count, uint16_t value) {
    return std::vector<uint16_t>(count, value);
}

std::vector<uint16_t> joined(std::initializer_list<std::vector<uint16_t>> parts) {
    std::vector<uint16_t> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

} // namespace

TEST(Rlew, CompressesRunsAndTagWordsAndExpandsBack) {
    struct Case {
        const char* name;
        std::vector<uint16_t> source;
        std::vector<uint16_t> expected;
    };
    const std::vector<Case> cases = {
        {"a plane of equal words is one run", repeated(4096, 0x6C), {kTag, 4096, 0x6C}},
        {"a tag word is a run of one", {1, kTag, 2}, {1, kTag, 1, kTag, 2}},
        {"runs of two and three stay plain", {5, 5, 6, 6, 6, 7}, {5, 5, 6, 6, 6, 7}},
        {"a run of four is a run", {5, 5, 5, 5, 9}, {kTag, 4, 5, 9}},
        {"tag runs count together", {kTag, kTag}, {kTag, 2, kTag}},
        {"runs beyond 65535 are split", repeated(70000, 3), {kTag, 65535, 3, kTag, 4465, 3}},
        {"a split leaving a short rest",
         joined({repeated(65537, 3), {4}}),
         {kTag, 65535, 3, 3, 3, 4}},
        {"nothing", {}, {}},
    };
    for (const Case& c : cases) {
        std::vector<uint16_t> packed = CompressRlew(c.source, kTag);
        EXPECT_EQ(packed, c.expected) << c.name;
        std::vector<uint16_t> back(c.source.size(), 0);
        ExpandRlew(packed, back, kTag);
        EXPECT_EQ(back, c.source) << c.name;
    }
}

TEST(Rlew, ExpansionStopsAtTheEndOfSourceOrDestination) {
    struct Case {
        const char* name;
        std::vector<uint16_t> source;
        size_t destinationWords;
        std::vector<uint16_t> expected;
    };
    const std::vector<Case> cases = {
        {"truncated run", {1, kTag, 5}, 4, {1, 0, 0, 0}},
        {"source ends early", {1, 2}, 4, {1, 2, 0, 0}},
        {"run cut at the destination end", {1, kTag, 100, 7}, 3, {1, 7, 7}},
        {"words beyond the destination ignored", {1, 2, 3, 4}, 2, {1, 2}},
        {"run of zero adds nothing", {kTag, 0, 9, 8}, 2, {8, 0}},
    };
    for (const Case& c : cases) {
        std::vector<uint16_t> out(c.destinationWords + 2, 0xEEEE);
        std::fill_n(out.begin(), c.destinationWords, 0);
        ExpandRlew(c.source, std::span<uint16_t>(out).first(c.destinationWords), kTag);
        std::vector<uint16_t> expected = c.expected;
        expected.insert(expected.end(), {0xEEEE, 0xEEEE});
        EXPECT_EQ(out, expected) << c.name;
    }
}
