#include "maps/carmack.h"
#include "maps/carmack_reference.h"
#include "maps/maps_test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr CarmackTags kTags{0xA7, 0xA8};
constexpr uint16_t kUntouched = 0xEEEE;

struct ExpandCase {
    const char* name;
    Bytes source;
    size_t expandedSize;
    std::vector<uint16_t> expected; // what is produced before the expansion stops
};

std::vector<uint16_t> expand(const ExpandCase& c, size_t destinationWords) {
    std::vector<uint16_t> out(destinationWords + 4, kUntouched);
    ExpandCarmack(c.source, std::span<uint16_t>(out).first(destinationWords), c.expandedSize,
                  kTags);
    return out;
}

} // namespace

TEST(Carmack, ExpandsEveryKindOfUnit) {
    const std::vector<ExpandCase> cases = {
        {"literal", {0x34, 0x12}, 2, {0x1234}},
        {"escaped near-tag word", {0x00, 0xA7, 0x05}, 2, {0xA705}},
        {"escaped far-tag word", {0x00, 0xA8, 0x07}, 2, {0xA807}},
        {"near copy",
         {0x11, 0x11, 0x22, 0x22, 0x02, 0xA7, 0x02},
         8,
         {0x1111, 0x2222, 0x1111, 0x2222}},
        {"overlapping near copy repeats",
         {0x11, 0x11, 0x03, 0xA7, 0x01},
         8,
         {0x1111, 0x1111, 0x1111, 0x1111}},
        {"far copy",
         {0x11, 0x11, 0x22, 0x22, 0x33, 0x33, 0x02, 0xA8, 0x00, 0x00},
         10,
         {0x1111, 0x2222, 0x3333, 0x1111, 0x2222}},
        {"far copy from the middle",
         {0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x02, 0xA8, 0x01, 0x00},
         10,
         {1, 2, 3, 2, 3}},
    };
    for (const ExpandCase& c : cases) {
        std::vector<uint16_t> out = expand(c, c.expected.size());
        EXPECT_EQ(std::vector<uint16_t>(out.begin(), out.begin() + c.expected.size()), c.expected)
            << c.name;
        EXPECT_EQ(out[c.expected.size()], kUntouched) << c.name;
    }
}

TEST(Carmack, ExpansionStopsAtAUnitThatDoesNotFit) {
    const std::vector<ExpandCase> cases = {
        {"truncated literal", {0x11, 0x11, 0x22}, 8, {0x1111}},
        {"near copy without its distance", {0x11, 0x11, 0x02, 0xA7}, 8, {0x1111}},
        {"escaped word without its low byte", {0x11, 0x11, 0x00, 0xA8}, 8, {0x1111}},
        {"far copy without its offset",
         {0x11, 0x11, 0x22, 0x22, 0x02, 0xA8, 0x00},
         8,
         {0x1111, 0x2222}},
        {"near copy reaching before the start",
         {0x11, 0x11, 0x02, 0xA7, 0x02, 0x22, 0x22},
         8,
         {0x1111}},
        {"near copy of distance 0", {0x11, 0x11, 0x01, 0xA7, 0x00, 0x22, 0x22}, 8, {0x1111}},
        {"far copy reading words not produced yet",
         {0x11, 0x11, 0x22, 0x22, 0x03, 0xA8, 0x00, 0x00, 0x33, 0x33},
         12,
         {0x1111, 0x2222}},
        {"far copy from beyond the output", {0x11, 0x11, 0x01, 0xA8, 0x05, 0x00}, 16, {0x1111}},
        {"copy longer than the words left", {0x11, 0x11, 0x03, 0xA7, 0x01}, 6, {0x1111}},
        {"nothing beyond the expanded size", {0x01, 0x00, 0x02, 0x00, 0x03, 0x00}, 4, {1, 2}},
        {"odd expanded size rounds down", {0x01, 0x00, 0x02, 0x00}, 3, {1}},
    };
    for (const ExpandCase& c : cases) {
        // A destination as large as the expanded size: the stop leaves the rest untouched.
        const size_t words = std::max<size_t>(c.expandedSize / 2, 1);
        std::vector<uint16_t> out = expand(c, words);
        std::vector<uint16_t> wanted = c.expected;
        wanted.resize(words + 4, kUntouched);
        EXPECT_EQ(out, wanted) << c.name;
    }
}

TEST(Carmack, ExpansionNeverWritesBeyondTheDestination) {
    const ExpandCase c{
        "run longer than the destination", {0x07, 0x00, 0x10, 0xA7, 0x01}, 16384, {}};
    std::vector<uint16_t> out = expand(c, 5);
    EXPECT_EQ(out, (std::vector<uint16_t>{7, kUntouched, kUntouched, kUntouched, kUntouched,
                                          kUntouched, kUntouched, kUntouched, kUntouched}));
}

TEST(Carmack, CompressionChoosesUnitsByTheRules) {
    struct Case {
        const char* name;
        std::vector<uint16_t> source;
        CarmackMode mode;
        Bytes expected;
    };
    std::vector<uint16_t> farSource{1, 2, 3};
    std::vector<uint16_t> shortFarSource{1, 2};
    for (uint16_t i = 0; i < 300; ++i) {
        farSource.push_back(uint16_t(1000 + i));
        shortFarSource.push_back(uint16_t(1000 + i));
    }
    farSource.insert(farSource.end(), {1, 2, 3});
    shortFarSource.insert(shortFarSource.end(), {1, 2});
    Bytes farExpected, shortFarExpected;
    for (uint16_t w : std::vector<uint16_t>(farSource.begin(), farSource.end() - 3))
        farExpected.insert(farExpected.end(), {uint8_t(w), uint8_t(w >> 8)});
    farExpected.insert(farExpected.end(), {3, 0xA8, 0, 0});
    for (uint16_t w : shortFarSource)
        shortFarExpected.insert(shortFarExpected.end(), {uint8_t(w), uint8_t(w >> 8)});

    const std::vector<Case> cases = {
        {"tag high bytes are escaped",
         {0xA712, 0xA8FF, 0x1234},
         CarmackMode::Compatible,
         {0x00, 0xA7, 0x12, 0x00, 0xA8, 0xFF, 0x34, 0x12}},
        {"compatible never overlaps the current word",
         {5, 5, 5, 5},
         CarmackMode::Compatible,
         {5, 0, 5, 0, 5, 0, 5, 0}},
        {"best result copies a run at distance 1",
         {5, 5, 5, 5},
         CarmackMode::BestResult,
         {5, 0, 5, 0, 2, 0xA7, 1}},
        {"the first word is never a near source",
         {7, 8, 9, 7, 8, 9},
         CarmackMode::Compatible,
         {7, 0, 8, 0, 9, 0, 3, 0xA8, 0, 0}},
        {"equal near and far lengths choose near",
         {1, 7, 8, 9, 7, 8, 9},
         CarmackMode::Compatible,
         {1, 0, 7, 0, 8, 0, 9, 0, 3, 0xA7, 3}},
        {"a near copy needs two words",
         {1, 7, 8, 7, 9},
         CarmackMode::Compatible,
         {1, 0, 7, 0, 8, 0, 7, 0, 9, 0}},
        {"a far copy needs three words", shortFarSource, CarmackMode::BestResult, shortFarExpected},
        {"far copy beyond near reach", farSource, CarmackMode::BestResult, farExpected},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompressCarmack(c.source, c.mode, kTags), c.expected) << c.name;
        EXPECT_EQ(referenceCompressCarmack(c.source, c.mode, kTags), c.expected) << c.name;
    }
}

namespace {

std::vector<std::vector<uint16_t>> syntheticSources() {
    std::vector<std::vector<uint16_t>> sources;
    std::mt19937 random(20240611);
    // Small alphabets give many matches of every length; tag high bytes come up often.
    for (int alphabet : {2, 3, 5, 40}) {
        std::vector<uint16_t> source(1200 + 700 * size_t(alphabet % 3));
        std::uniform_int_distribution<int> pick(0, alphabet - 1);
        for (uint16_t& word : source)
            word = uint16_t(0xA6FE + pick(random) * 0x7F);
        sources.push_back(source);
    }
    // Runs and repeated blocks, as RLEW leaves them in map planes.
    std::vector<uint16_t> blocks;
    for (int i = 0; blocks.size() < 3000; ++i) {
        const int length = 1 + i % 7;
        for (int k = 0; k < length; ++k)
            blocks.push_back(uint16_t((i * 37) % 11 + (k % 2) * 0xA800));
    }
    sources.push_back(blocks);
    sources.push_back({});
    sources.push_back({0x4242});
    // Far offsets stop at 65535: a block repeated only beyond that must not be copied from
    // there, one repeated below it must.
    std::vector<uint16_t> longSource;
    for (size_t i = 0; i < 70000; ++i)
        longSource.push_back(uint16_t(0x1000 + i % 254));
    for (size_t at : {size_t(60000), size_t(65600), size_t(69000)})
        for (uint16_t k = 0; k < 4; ++k)
            longSource[at + k] = uint16_t(k + 1);
    for (size_t at : {size_t(65700), size_t(69500)})
        for (uint16_t k = 0; k < 4; ++k)
            longSource[at + k] = uint16_t(k + 5);
    sources.push_back(longSource);
    return sources;
}

} // namespace

TEST(Carmack, CompressionMatchesTheExhaustiveSearchAndExpandsBack) {
    std::vector<std::vector<uint16_t>> sources = syntheticSources();
    if (auto maps = mapstest::sharewareMaps()) {
        for (auto& stream : mapstest::rlewStreams(*maps))
            sources.push_back(stream);
    }
    for (size_t s = 0; s < sources.size(); ++s) {
        const std::vector<uint16_t>& source = sources[s];
        for (CarmackMode mode : {CarmackMode::Compatible, CarmackMode::BestResult}) {
            Bytes packed = CompressCarmack(source, mode, kTags);
            ASSERT_EQ(packed, referenceCompressCarmack(source, mode, kTags))
                << "source " << s << " mode " << int(mode);
            std::vector<uint16_t> back(source.size(), 0);
            ExpandCarmack(packed, back, source.size() * 2, kTags);
            EXPECT_EQ(back, source) << "source " << s << " mode " << int(mode);
        }
    }
}

TEST(Carmack, OtherTagsWork) {
    const CarmackTags tags{0x12, 0x34};
    std::vector<uint16_t> source;
    for (int i = 0; i < 2000; ++i)
        source.push_back(uint16_t((((i * 7) % 5) << 8) | (0x10 + (i % 3))));
    for (int i = 0; i < 200; ++i) {
        source[size_t(i) * 9] = uint16_t(0x1200 + i);
        source[size_t(i) * 9 + 4] = uint16_t(0x3400 + i);
    }
    for (CarmackMode mode : {CarmackMode::Compatible, CarmackMode::BestResult}) {
        Bytes packed = CompressCarmack(source, mode, tags);
        EXPECT_EQ(packed, referenceCompressCarmack(source, mode, tags));
        std::vector<uint16_t> back(source.size());
        ExpandCarmack(packed, back, source.size() * 2, tags);
        EXPECT_EQ(back, source);
    }
}
