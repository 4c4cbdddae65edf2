#include "vgagraph/vga_chunks.h"

#include "common/file_io.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

std::string formatText(const char* format, long a, int b = 0) {
    char text[256];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

bool validSide(int16_t side) {
    return side >= 1 && side <= kMaxPictureSide;
}

} // namespace

std::vector<int64_t> readVgaHead(ByteView data) {
    std::vector<int64_t> offsets(data.size() / 3);
    ByteReader reader(data);
    for (int64_t& offset : offsets) {
        uint32_t value = reader.u24();
        offset = value == kSparseChunkOffset ? -1 : int64_t(value);
    }
    return offsets;
}

std::optional<std::vector<int64_t>> readVgaHeadFile(const std::filesystem::path& path,
                                                    const std::string& title, Prompter& prompter) {
    std::optional<Bytes> data = readWholeFile(path);
    if (!data) {
        prompter.tell(title, path.string());
        return std::nullopt;
    }
    return readVgaHead(*data);
}

std::optional<Bytes> readVgaGraphFile(const std::filesystem::path& path, const std::string& title,
                                      Prompter& prompter) {
    std::optional<Bytes> data = readWholeFile(path);
    if (!data)
        prompter.tell(title, path.string());
    return data;
}

OffsetCheck ValidateChunkOffsets(std::vector<int64_t>& offsets, uint64_t graphSize) {
    std::vector<int64_t> accepted;
    accepted.reserve(offsets.size());
    int64_t last = 0;
    for (int64_t offset : offsets) {
        if (offset >= last && uint64_t(offset) <= graphSize) {
            accepted.push_back(offset);
            last = offset;
        }
    }
    bool allValid = accepted.size() == offsets.size();
    offsets = std::move(accepted);
    if (offsets.size() < 2)
        return OffsetCheck::NoneValid;
    return allValid ? OffsetCheck::AllValid : OffsetCheck::SomeInvalid;
}

bool reportOffsetCheck(OffsetCheck check, Prompter& prompter) {
    if (check == OffsetCheck::NoneValid) {
        prompter.tell("Graphics header corrupt!", "All chunks have invalid file offsets!");
        return false;
    }
    if (check == OffsetCheck::SomeInvalid)
        prompter.tell("Graphics header corrupt!",
                      "Some chunks have invalid file offsets!\nYou may have dataloss, which could "
                      "be recoverable...");
    return true;
}

VgaChunks VgaChunks::fromFile(const std::vector<int64_t>& offsets, ByteView graph) {
    VgaChunks result;
    if (offsets.size() < 2)
        return result;
    result.chunks.reserve(offsets.size() - 1);
    for (size_t i = 0; i + 1 < offsets.size(); ++i) {
        size_t begin = size_t(std::clamp<int64_t>(offsets[i], 0, int64_t(graph.size())));
        size_t end =
            size_t(std::clamp<int64_t>(offsets[i + 1], int64_t(begin), int64_t(graph.size())));
        result.chunks.emplace_back(graph.begin() + begin, graph.begin() + end);
    }
    return result;
}

Bytes VgaChunks::graphBytes() const {
    size_t total = 0;
    for (const Bytes& chunk : chunks)
        total += chunk.size();
    Bytes out;
    out.reserve(total);
    for (const Bytes& chunk : chunks)
        out.insert(out.end(), chunk.begin(), chunk.end());
    return out;
}

std::optional<Bytes> VgaChunks::headBytes() const {
    Bytes out;
    out.reserve((chunks.size() + 1) * 3);
    ByteWriter writer(out);
    uint64_t offset = 0;
    writer.u24(0);
    for (const Bytes& chunk : chunks) {
        offset += chunk.size();
        if (offset > kMaxChunkOffset)
            return std::nullopt;
        writer.u24(uint32_t(offset));
    }
    return out;
}

std::optional<Bytes> LoadChunk(int chunk, const VgaChunks& chunks,
                               const HuffmanDictionary& dictionary, int tile8Chunk,
                               Prompter* prompter) {
    auto fail = [&](const std::string& title, const std::string& text) -> std::optional<Bytes> {
        if (prompter)
            prompter->tell(title, text);
        return std::nullopt;
    };
    if (chunk < 0 || chunk >= chunks.count())
        return fail("LoadChunk()", formatText("Chunk %li does not exist!", chunk));
    const Bytes& raw = chunks.chunks[size_t(chunk)];
    bool isTile8 = chunk == tile8Chunk;
    if (raw.empty() || (!isTile8 && raw.size() < 4))
        return fail("LoadChunk(): Illegal chunk",
                    formatText("Chunk %li has an illegal compressed size!", chunk));
    uint32_t length = isTile8 ? uint32_t(kTile8ChunkSize) : readU32At(raw, 0);
    if (length > kMaxChunkLength)
        return fail("LoadChunk()", formatText("Couldn't allocate memory (%li bytes) for chunk %i",
                                              long(length), chunk));
    ByteView data = ByteView(raw).subspan(isTile8 ? 0 : 4);
    Bytes content(length, 0);
    HuffmanExpand(data, content, dictionary);
    return content;
}

bool isFontChunk(ByteView content) {
    if (content.size() < 4)
        return false;
    for (size_t at = 2; at + 2 <= content.size(); at += 2) {
        uint16_t word = readU16At(content, at);
        if (word != 0)
            return word == kFontFirstPixels;
    }
    return false;
}

bool isScreenChunk(ByteView content) {
    return content.size() == kScreenChunkSize &&
           std::memcmp(content.data(), kScreenHeader, sizeof kScreenHeader) == 0;
}

bool chunkIsScreen(const VgaChunks& chunks, int chunk, const HuffmanDictionary& dictionary,
                   int tile8Chunk) {
    if (chunk < 0 || chunk >= chunks.count() || chunk == tile8Chunk)
        return false;
    const Bytes& raw = chunks.chunks[size_t(chunk)];
    if (raw.size() < 4 || readU32At(raw, 0) != kScreenChunkSize)
        return false;
    uint8_t start[sizeof kScreenHeader] = {};
    HuffmanExpand(ByteView(raw).subspan(4), start, dictionary);
    return std::memcmp(start, kScreenHeader, sizeof kScreenHeader) == 0;
}

std::vector<PictureSize> readPictureTable(ByteView rawChunk0, const HuffmanDictionary& dictionary) {
    if (rawChunk0.size() <= 4)
        return {};
    ByteView data = rawChunk0.subspan(4);
    size_t count = HuffmanCountSymbols(data, dictionary) / 4;
    Bytes content(count * 4, 0);
    HuffmanExpand(data, content, dictionary);
    std::vector<PictureSize> table(count);
    ByteReader reader(content);
    for (PictureSize& entry : table) {
        entry.width = reader.i16();
        entry.height = reader.i16();
    }
    while (!table.empty() && !(validSide(table.back().width) && validSide(table.back().height)))
        table.pop_back();
    return table;
}

Bytes pictureTableBytes(const std::vector<PictureSize>& table) {
    Bytes out;
    out.reserve(table.size() * 4);
    ByteWriter writer(out);
    for (const PictureSize& entry : table) {
        writer.i16(entry.width);
        writer.i16(entry.height);
    }
    return out;
}

int countFontChunks(const VgaChunks& chunks, const HuffmanDictionary& dictionary) {
    int count = 0;
    for (int chunk = 1; chunk < chunks.count(); ++chunk) {
        std::optional<Bytes> content = LoadChunk(chunk, chunks, dictionary, -1, nullptr);
        if (!content || !isFontChunk(*content))
            break;
        ++count;
    }
    return count;
}

VgaLayout scanVgaLayout(const VgaChunks& chunks, const HuffmanDictionary& dictionary) {
    VgaLayout layout;
    if (chunks.count() == 0)
        return layout;
    layout.fontCount = countFontChunks(chunks, dictionary);
    layout.pictureTable = readPictureTable(chunks.chunks[0], dictionary);
    return layout;
}
