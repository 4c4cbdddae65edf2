#include "reference_huffman.h"
#include "vga_fixtures.h"

#include "common/file_io.h"
#include "vgagraph/huffman.h"
#include "vgagraph/vga_chunks.h"

#include <gtest/gtest.h>

#include <random>

namespace fs = std::filesystem;
using namespace vgatest;

namespace {

HuffmanDictionary sharewareDictionary() {
    return dictionaryFrom(fileBytes(testdata::gameDataDir() / "VGADICT.WL1"));
}

VgaChunks sharewareChunks() {
    std::vector<int64_t> offsets = readVgaHead(fileBytes(testdata::gameDataDir() / "VGAHEAD.WL1"));
    Bytes graph = fileBytes(testdata::gameDataDir() / "VGAGRAPH.WL1");
    EXPECT_EQ(ValidateChunkOffsets(offsets, graph.size()), OffsetCheck::AllValid);
    return VgaChunks::fromFile(offsets, graph);
}

Bytes randomBytes(std::mt19937& random, size_t size, int limit = 256) {
    std::uniform_int_distribution<int> value(0, limit - 1);
    Bytes data(size);
    for (uint8_t& byte : data)
        byte = uint8_t(value(random));
    return data;
}

} // namespace

TEST(Huffman, DictionaryReadAndWrittenBackIsByteIdentical) {
    REQUIRE_GAME_DATA();
    testdata::TempDir dir;
    HuffmanDictionary dictionary;
    RecordingPrompter prompter;
    ASSERT_TRUE(LoadHuffman(dictionary, testdata::gameDataDir() / "VGADICT.WL1", prompter));
    EXPECT_TRUE(dictionary.loaded());
    EXPECT_TRUE(prompter.empty());
    EXPECT_TRUE(dictionary.unencodableValues().empty());
    ASSERT_TRUE(SaveDictionary(dictionary, dir / "VGADICT.WL1", prompter));
    EXPECT_EQ(fileBytes(dir / "VGADICT.WL1"), fileBytes(testdata::gameDataDir() / "VGADICT.WL1"));
}

TEST(Huffman, DictionaryFilesThatCannotBeUsedAreRefused) {
    Bytes balanced = balancedDictionaryBytes();
    auto withNode = [&](size_t node, uint16_t child0, uint16_t child1) {
        Bytes data = balanced;
        data[4 * node] = uint8_t(child0);
        data[4 * node + 1] = uint8_t(child0 >> 8);
        data[4 * node + 2] = uint8_t(child1);
        data[4 * node + 3] = uint8_t(child1 >> 8);
        return data;
    };
    struct Case {
        const char* name;
        Bytes data;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {"empty", {}, "File reading error!", "Huffman table incomplete!"},
        {"1019 bytes", Bytes(balanced.begin(), balanced.end() - 1), "File reading error!",
         "Huffman table incomplete!"},
        {"child beyond 510", withNode(254, 511, 256 + 252), "Huffman table corrupt!",
         "Node 254 of the dictionary points to 511, outside the tree!"},
        {"child back to an ancestor", withNode(252, 256 + 254, 256 + 251), "Huffman table corrupt!",
         "Node 252 of the dictionary leads back to node 254, which leads to it!"},
        {"node reached twice", withNode(254, 256 + 253, 256 + 253), "Huffman table corrupt!",
         "Node 253 of the dictionary is reached from two places of the tree!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testdata::TempDir dir;
        ASSERT_TRUE(writeWholeFile(dir / "VGADICT.TST", c.data));
        HuffmanDictionary dictionary;
        RecordingPrompter prompter;
        EXPECT_FALSE(LoadHuffman(dictionary, dir / "VGADICT.TST", prompter));
        EXPECT_FALSE(dictionary.loaded());
        ASSERT_EQ(prompter.prompts().size(), 1u);
        EXPECT_EQ(prompter.prompts()[0].title, c.title);
        EXPECT_EQ(prompter.prompts()[0].text, c.text);
    }
}

TEST(Huffman, MissingDictionaryAsksForOneAndCancelEndsQuietly) {
    testdata::TempDir dir;
    ASSERT_TRUE(writeWholeFile(dir / "chosen.dic", balancedDictionaryBytes()));
    struct Case {
        const char* name;
        std::optional<fs::path> answer;
        bool loads;
    };
    const Case cases[] = {
        {"cancelled", std::nullopt, false},
        {"chosen file cannot be opened", dir / "nothing-here", false},
        {"chosen file", dir / "chosen.dic", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HuffmanDictionary dictionary;
        RecordingPrompter prompter;
        std::vector<FileDialogRequest> asked;
        FileChooser chooser = [&](const FileDialogRequest& request) {
            asked.push_back(request);
            return c.answer;
        };
        EXPECT_EQ(LoadHuffman(dictionary, dir / "VGADICT.WL6", prompter, chooser), c.loads);
        EXPECT_EQ(dictionary.loaded(), c.loads);
        ASSERT_EQ(prompter.prompts().size(), 1u);
        EXPECT_EQ(prompter.prompts()[0].title, "CTessarandDlg::LoadHuffman(): Couldn't open file:");
        EXPECT_EQ(prompter.prompts()[0].text, (dir / "VGADICT.WL6").string());
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].title, "Please select the graphics dictionary...");
        EXPECT_EQ(asked[0].initialName, "Vgadict.*");
    }
}

TEST(Huffman, LongerDictionaryFileIsTakenAndItsTailKept) {
    testdata::TempDir dir;
    Bytes data = balancedDictionaryBytes();
    data.insert(data.end(), {0, 0, 7, 9});
    ASSERT_TRUE(writeWholeFile(dir / "VGADICT.TST", data));
    HuffmanDictionary dictionary;
    RecordingPrompter prompter;
    ASSERT_TRUE(LoadHuffman(dictionary, dir / "VGADICT.TST", prompter));
    EXPECT_EQ(dictionary.toBytes(), data);
}

TEST(Huffman, TreeWithoutSomeValuesDecodesButNeverDropsThemWhenEncoding) {
    testdata::TempDir dir;
    ASSERT_TRUE(writeWholeFile(dir / "VGADICT.TST", chainDictionaryBytes()));
    HuffmanDictionary dictionary;
    RecordingPrompter prompter;
    ASSERT_TRUE(LoadHuffman(dictionary, dir / "VGADICT.TST", prompter));
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].title, "Huffman table incomplete!");
    EXPECT_EQ(dictionary.unencodableValues().size(), 192u); // leaves 64 .. 255 lie too deep
    EXPECT_FALSE(dictionary.canEncode(64));
    EXPECT_TRUE(dictionary.canEncode(63));

    int missing = -1;
    EXPECT_FALSE(HuffmanCompress(Bytes{1, 2, 200, 3}, dictionary, &missing).has_value());
    EXPECT_EQ(missing, 200);

    Bytes encodable{0, 63, 5, 5, 1};
    std::optional<Bytes> compressed = HuffmanCompress(encodable, dictionary);
    ASSERT_TRUE(compressed.has_value());
    Bytes decoded(encodable.size());
    HuffmanExpand(*compressed, decoded, dictionary);
    EXPECT_EQ(decoded, encodable);
    // The decoder reaches the deep leaves too: 200 ones and a zero.
    Bytes deep(26, 0xFF);
    deep[25] = 0x00;
    Bytes one(1);
    EXPECT_EQ(HuffmanExpand(deep, one, dictionary), 1u);
    EXPECT_EQ(one[0], 200);
}

TEST(Huffman, CompressProducesCodesLowBitFirstWithZeroPadding) {
    HuffmanDictionary chain = dictionaryFrom(chainDictionaryBytes());
    EXPECT_EQ(HuffmanCompress(Bytes{}, chain).value(), Bytes{});
    // Byte 2 is the 3-bit code 1, 1, 0.
    ASSERT_EQ(chain.codeTable()[2].length, 3u);
    EXPECT_EQ(HuffmanCompress(Bytes{2}, chain).value(), Bytes{0x03});
    // 1 (1,0), 0 (0), 3 (1,1,1,0), 0 (0) -> bits 1 0 0 1 1 1 0 0, then the padding.
    EXPECT_EQ(HuffmanCompress(Bytes{1, 0, 3, 0, 2}, chain).value(), (Bytes{0x39, 0x03}));
}

TEST(Huffman, TableDecoderMatchesTheBitByBitDecoder) {
    std::mt19937 random(5);
    struct Case {
        const char* name;
        HuffmanDictionary dictionary;
    };
    std::vector<Case> cases = {{"balanced", dictionaryFrom(balancedDictionaryBytes())},
                               {"chain", dictionaryFrom(chainDictionaryBytes())}};
    if (!testdata::gameDataDir().empty())
        cases.push_back({"shareware", sharewareDictionary()});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int round = 0; round < 200; ++round) {
            Bytes source = randomBytes(random, size_t(random() % 40));
            size_t symbols = HuffmanCountSymbols(source, c.dictionary);
            EXPECT_EQ(symbols, reference::expandBitByBit(source, {}, c.dictionary, true));
            for (size_t length : {size_t(0), size_t(1), symbols / 2, symbols, symbols + 5}) {
                Bytes fast(length, 0xEE), slow(length, 0xEE);
                EXPECT_EQ(HuffmanExpand(source, fast, c.dictionary),
                          reference::expandBitByBit(source, slow, c.dictionary));
                EXPECT_EQ(fast, slow);
            }
        }
    }
}

TEST(Huffman, EveryRealChunkDecodesAsTheBitByBitDecoderDoes) {
    REQUIRE_GAME_DATA();
    HuffmanDictionary dictionary = sharewareDictionary();
    VgaChunks chunks = sharewareChunks();
    for (int chunk = 0; chunk < chunks.count(); ++chunk) {
        SCOPED_TRACE(chunk);
        ByteView raw = chunks.chunks[size_t(chunk)];
        bool tile8 = chunk == 147;
        ByteView data = raw.subspan(tile8 ? 0 : 4);
        size_t length = tile8 ? kTile8ChunkSize : readU32At(raw, 0);
        Bytes fast(length), slow(length);
        HuffmanExpand(data, fast, dictionary);
        reference::expandBitByBit(data, slow, dictionary);
        EXPECT_EQ(fast, slow);
    }
}

TEST(Huffman, CompressedDataExpandsToTheInput) {
    std::mt19937 random(11);
    std::vector<std::pair<const char*, HuffmanDictionary>> dictionaries = {
        {"balanced", dictionaryFrom(balancedDictionaryBytes())}};
    if (!testdata::gameDataDir().empty())
        dictionaries.push_back({"shareware", sharewareDictionary()});
    for (const auto& [name, dictionary] : dictionaries) {
        SCOPED_TRACE(name);
        for (size_t size : {size_t(1), size_t(7), size_t(64), size_t(4608), size_t(20000)}) {
            Bytes input = randomBytes(random, size, random() % 2 ? 256 : 8);
            std::optional<Bytes> compressed = HuffmanCompress(input, dictionary);
            ASSERT_TRUE(compressed.has_value());
            Bytes output(input.size());
            EXPECT_EQ(HuffmanExpand(*compressed, output, dictionary), input.size());
            EXPECT_EQ(output, input);
            size_t symbols = HuffmanCountSymbols(*compressed, dictionary);
            EXPECT_GE(symbols, input.size());
            EXPECT_LE(symbols, input.size() + 7);
            // A shorter destination stops exactly at its length.
            Bytes part(input.size() / 2, 0xEE);
            EXPECT_EQ(HuffmanExpand(*compressed, part, dictionary), part.size());
            EXPECT_TRUE(std::equal(part.begin(), part.end(), input.begin()));
        }
    }
}
