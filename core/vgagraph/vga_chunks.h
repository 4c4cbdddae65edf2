#pragma once
// VGAHEAD (3-byte offsets into VGAGRAPH, the last one the end of the data) and the chunks of
// VGAGRAPH: how a chunk is read and expanded, and how the editor tells the chunk classes apart
// (picture table, fonts, pictures, the tile8 chunk, further chunks among them the text screens).

#include "common/byte_io.h"
#include "common/prompter.h"
#include "vgagraph/huffman.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

constexpr uint32_t kSparseChunkOffset = 0xFFFFFF;
constexpr uint32_t kMaxChunkOffset = 0xFFFFFE;
constexpr size_t kTile8ChunkSize = 4608; // 72 tiles of 8 x 8
constexpr size_t kScreenChunkSize = 4008;
constexpr uint16_t kFontFirstPixels = 770; // where a font's pixels start
// A length field above this is taken for garbage rather than allocated.
constexpr uint32_t kMaxChunkLength = 16u << 20;
// The memory-image header of a text screen: marker, segment 0xB800, offset 0, length 4000.
constexpr uint8_t kScreenHeader[7] = {0xFD, 0x00, 0xB8, 0x00, 0x00, 0xA0, 0x0F};

struct PictureSize {
    int16_t width = 0;
    int16_t height = 0;
    bool operator==(const PictureSize&) const = default;
};
constexpr int kMaxPictureSide = 1023;

// VGAHEAD entries (file size / 3 of them); a sparse entry reads as -1.
std::vector<int64_t> readVgaHead(ByteView data);

// Reading the two files; when one cannot be read its path is shown titled `title`.
std::optional<std::vector<int64_t>> readVgaHeadFile(const std::filesystem::path& path,
                                                    const std::string& title, Prompter& prompter);
std::optional<Bytes> readVgaGraphFile(const std::filesystem::path& path, const std::string& title,
                                      Prompter& prompter);

enum class OffsetCheck { AllValid, SomeInvalid, NoneValid };
// Keeps the entries that are not below the last kept one and not beyond graphSize, in order.
// NoneValid when fewer than two entries (one chunk) remain.
OffsetCheck ValidateChunkOffsets(std::vector<int64_t>& offsets, uint64_t graphSize);
// Shows the warning or the error of a check; false when the caller must fail.
bool reportOffsetCheck(OffsetCheck check, Prompter& prompter);

// The chunks of a VGAGRAPH file as they lie on disk (compressed, length fields included).
struct VgaChunks {
    std::vector<Bytes> chunks;

    int count() const { return int(chunks.size()); }
    // From offsets that passed ValidateChunkOffsets.
    static VgaChunks fromFile(const std::vector<int64_t>& offsets, ByteView graph);
    Bytes graphBytes() const;
    // VGAHEAD for graphBytes(); nothing when the data grew beyond what 3-byte offsets hold.
    std::optional<Bytes> headBytes() const;
};

// Expands one chunk: the tile8 chunk (chunk == tile8Chunk) into 4608 bytes from its first byte,
// every other chunk into the length its 4-byte field gives. Nothing when the chunk cannot be
// read; the reason goes to prompter unless it is null (a quiet scan).
std::optional<Bytes> LoadChunk(int chunk, const VgaChunks& chunks,
                               const HuffmanDictionary& dictionary, int tile8Chunk,
                               Prompter* prompter);

// At least 4 bytes and the first nonzero word from byte 2 on is 770.
bool isFontChunk(ByteView content);
bool isScreenChunk(ByteView content);
// Like LoadChunk followed by isScreenChunk, without expanding the whole chunk.
bool chunkIsScreen(const VgaChunks& chunks, int chunk, const HuffmanDictionary& dictionary,
                   int tile8Chunk);

// The picture table from chunk 0 as on disk: its length field is skipped, the entries come from
// the symbol count of the data, and entries the padding bits produce are dropped from the end.
std::vector<PictureSize> readPictureTable(ByteView rawChunk0, const HuffmanDictionary& dictionary);
Bytes pictureTableBytes(const std::vector<PictureSize>& table);

// Fonts counted from chunk 1 on while the chunks pass the font test.
int countFontChunks(const VgaChunks& chunks, const HuffmanDictionary& dictionary);

// Where the parts of a file lie.
struct VgaLayout {
    int fontCount = 0;
    std::vector<PictureSize> pictureTable;

    int firstPictureChunk() const { return fontCount + 1; }
    int pictureCount() const { return int(pictureTable.size()); }
    int tile8Chunk() const { return fontCount + 1 + pictureCount(); }
};
VgaLayout scanVgaLayout(const VgaChunks& chunks, const HuffmanDictionary& dictionary);
