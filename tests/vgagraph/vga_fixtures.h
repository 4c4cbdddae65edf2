#pragma once
// Small hand-made dictionaries and VGAGRAPH sets for the tests.

#include "app/document_state.h"
#include "common/file_io.h"
#include "support/test_data.h"
#include "vgagraph/graphics_archive.h"
#include "vgagraph/huffman.h"
#include "vgagraph/vga_chunks.h"
#include "vgagraph/vga_load.h"
#include "vgagraph/vga_save.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vgatest {

inline Bytes dictionaryBytes(const std::vector<HuffmanNode>& nodes) {
    Bytes out;
    ByteWriter writer(out);
    for (size_t i = 0; i < kHuffmanNodeCount; ++i) {
        HuffmanNode node = i < nodes.size() ? nodes[i] : HuffmanNode{};
        writer.u16(node.child0);
        writer.u16(node.child1);
    }
    return out;
}

// Every byte value an 8-bit code: heap position i of a complete tree is node 254 - i.
inline Bytes balancedDictionaryBytes() {
    std::vector<HuffmanNode> nodes(kHuffmanNodeCount);
    auto child = [](unsigned heap) -> uint16_t {
        return heap < kHuffmanNodeCount ? uint16_t(256 + 254 - heap) : uint16_t(heap - 255);
    };
    for (unsigned heap = 0; heap < kHuffmanNodeCount; ++heap)
        nodes[254 - heap] = {child(2 * heap + 1), child(2 * heap + 2)};
    return dictionaryBytes(nodes);
}

// A chain: byte k is k ones and a zero (k + 1 bits), node 0 holds 254 and 255. Byte 0 is the
// single 0 bit, so padding bits decode to zeros; bytes from 64 on are too deep to encode.
inline Bytes chainDictionaryBytes() {
    std::vector<HuffmanNode> nodes(kHuffmanNodeCount);
    for (unsigned depth = 0; depth < 254; ++depth)
        nodes[254 - depth] = {uint16_t(depth), uint16_t(256 + 253 - depth)};
    nodes[0] = {254, 255};
    return dictionaryBytes(nodes);
}

inline HuffmanDictionary dictionaryFrom(const Bytes& bytes) {
    std::optional<HuffmanDictionary> dictionary = HuffmanDictionary::fromBytes(bytes);
    EXPECT_TRUE(dictionary.has_value());
    HuffmanDictionary result = dictionary ? *dictionary : HuffmanDictionary{};
    result.setLoaded(true);
    return result;
}

// One chunk of a hand-made set: its content and whether it carries a length field.
struct ChunkContent {
    Bytes content;
    bool lengthField = true;
};

inline VgaChunks compressChunks(const std::vector<ChunkContent>& contents,
                                const HuffmanDictionary& dictionary) {
    VgaChunks chunks;
    for (const ChunkContent& chunk : contents) {
        Bytes raw;
        ByteWriter writer(raw);
        if (chunk.lengthField)
            writer.u32(uint32_t(chunk.content.size()));
        std::optional<Bytes> compressed = HuffmanCompress(chunk.content, dictionary);
        EXPECT_TRUE(compressed.has_value());
        if (compressed)
            writer.bytes(*compressed);
        chunks.chunks.push_back(std::move(raw));
    }
    return chunks;
}

inline Bytes fontContent(int height, const std::vector<std::pair<int, int>>& widths) {
    Bytes font(kFontFirstPixels, 0);
    font[0] = uint8_t(height);
    size_t next = kFontFirstPixels;
    for (auto [character, width] : widths) {
        font[2 + 2 * size_t(character)] = uint8_t(next);
        font[3 + 2 * size_t(character)] = uint8_t(next >> 8);
        font[514 + size_t(character)] = uint8_t(width);
        for (int i = 0; i < width * height; ++i)
            font.push_back(uint8_t(1 + (i % 15)));
        next += size_t(width * height);
    }
    return font;
}

inline Bytes screenContent(uint8_t fill) {
    Bytes screen(kScreenChunkSize, fill);
    std::copy(std::begin(kScreenHeader), std::end(kScreenHeader), screen.begin());
    return screen;
}

inline Bytes pattern(size_t size, uint8_t seed) {
    Bytes data(size);
    for (size_t i = 0; i < size; ++i)
        data[i] = uint8_t(seed + i * 7);
    return data;
}

// A small complete set: picture table (8x2, 4x3), one font, two pictures, the tile8 chunk,
// one screen and one further chunk.
inline std::vector<ChunkContent> smallSetContents() {
    Bytes table = pictureTableBytes({{8, 2}, {4, 3}});
    Bytes tiles(kTile8ChunkSize, 0);
    for (size_t i = 0; i < 3 * 64; ++i)
        tiles[i] = uint8_t(i + 1);
    return {{table},          {fontContent(2, {{65, 3}, {66, 2}})},
            {pattern(16, 3)}, {pattern(12, 40)},
            {tiles, false},   {screenContent(0x41)},
            {pattern(10, 99)}};
}

// Writes VGAGRAPH, VGAHEAD and VGADICT with extension TST into folder.
inline VgaFiles writeSet(const std::filesystem::path& folder, const VgaChunks& chunks,
                         const Bytes& dictionary) {
    VgaFiles files = VgaFiles::forGraph(GameFilePath::fromPath(folder / "VGAGRAPH.TST"));
    EXPECT_TRUE(writeWholeFile(files.graph.fullPath(), chunks.graphBytes()));
    std::optional<Bytes> head = chunks.headBytes();
    EXPECT_TRUE(head.has_value());
    EXPECT_TRUE(writeWholeFile(files.head.fullPath(), head.value_or(Bytes{})));
    EXPECT_TRUE(writeWholeFile(files.dictionary.fullPath(), dictionary));
    return files;
}

inline Bytes fileBytes(const std::filesystem::path& path) {
    return readWholeFile(path).value_or(Bytes{});
}

inline std::vector<std::string> titles(const RecordingPrompter& prompter) {
    std::vector<std::string> result;
    for (const Prompt& prompt : prompter.prompts())
        result.push_back(prompt.title);
    return result;
}

inline bool told(const RecordingPrompter& prompter, const std::string& text) {
    for (const Prompt& prompt : prompter.prompts())
        if (prompt.text == text || prompt.title == text)
            return true;
    return false;
}

// The shareware set of a folder holding the WL1 files.
inline VgaFiles sharewareFiles(const std::filesystem::path& folder) {
    return VgaFiles::forGraph(GameFilePath::fromPath(folder / "VGAGRAPH.WL1"));
}

// Every file of a folder with its bytes, to show that nothing in it changed.
struct FolderFiles {
    std::vector<std::pair<std::string, Bytes>> files;

    explicit FolderFiles(const std::filesystem::path& folder) {
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            files.push_back({entry.path().filename().string(), fileBytes(entry.path())});
        std::sort(files.begin(), files.end());
    }
    bool operator==(const FolderFiles&) const = default;
};

// The small set in a folder of its own, loaded completely and marked changed, so that a failed
// load or save has something to lose.
struct SmallSetFolder {
    testdata::TempDir dir;
    VgaFiles files;
    GraphicsArchive archive;
    DocumentState state;
    NullProgress progress;

    explicit SmallSetFolder(const Bytes& dictionary = balancedDictionaryBytes()) {
        files = writeSet(dir.path(), compressChunks(smallSetContents(), dictionaryFrom(dictionary)),
                         dictionary);
        RecordingPrompter prompter;
        EXPECT_EQ(load(VgaLoadKind::Complete, prompter), JobResult::Success);
        for (DataKind kind :
             {DataKind::Graphics, DataKind::Fonts, DataKind::Tile8s, DataKind::Screens})
            state.setChanged(kind, true);
    }
    JobResult load(VgaLoadKind kind, RecordingPrompter& prompter) {
        return loadVgaParts(archive, state, kind, files, true, prompter, progress);
    }
    JobResult save(VgaPartSet parts, const VgaFiles& target, RecordingPrompter& prompter) {
        return saveVgaParts(archive, state, parts, target, prompter, progress);
    }
    void replace(const GameFilePath& file, const Bytes& data) {
        ASSERT_TRUE(writeWholeFile(file.fullPath(), data));
    }
};

} // namespace vgatest
