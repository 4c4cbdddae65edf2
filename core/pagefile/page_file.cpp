#include "pagefile/page_file.h"

#include "pagefile/sprite_shape.h"

#include <algorithm>
#include <cstdio>
#include <new>

namespace {

constexpr const char* kVswapError = "VSWAP error";
constexpr size_t kHeaderSize = 6;
constexpr size_t kMaxChunks = 65535;

std::string format(const char* pattern, int a) {
    char text[96];
    std::snprintf(text, sizeof text, pattern, a);
    return text;
}

std::string format(const char* pattern, int a, int b) {
    char text[96];
    std::snprintf(text, sizeof text, pattern, a, b);
    return text;
}

void tellDamaged(JobContext& context) {
    context.prompter().tell(kVswapError,
                            "This VSWAP file is damaged: its header or chunk tables do not fit "
                            "the file!",
                            PromptIcon::Exclamation);
}

void tellTruncated(JobContext& context, int chunks) {
    if (chunks > 0)
        context.prompter().tell(kVswapError,
                                format("%i chunk(s) reach past the end of the file; what is "
                                       "missing was left out.",
                                       chunks),
                                PromptIcon::Exclamation);
}

// The existing file a writer copies from: no file (or one too short for a header) counts as
// empty; a damaged one stops the save so that nothing of it is silently lost.
std::optional<PageFileHeader> existingHeader(ByteView existing, JobContext& context) {
    if (existing.size() < kHeaderSize)
        return PageFileHeader{};
    std::optional<PageFileHeader> header = readPageFileHeader(existing);
    if (!header)
        context.prompter().tell(kVswapError,
                                "The existing VSWAP file is damaged: its header or chunk tables "
                                "do not fit the file. Nothing was saved.",
                                PromptIcon::Exclamation);
    return header;
}

// Collects the new file's chunks in order: their data back to back, offsets and lengths.
class ChunkAssembler {
public:
    void add(ByteView data) {
        m_lengths.push_back(uint16_t(data.size()));
        m_offsets.push_back(m_data.size());
        m_data.insert(m_data.end(), data.begin(), data.end());
    }
    // A slot that takes `slotSize` bytes in the file but records `length`.
    void addSlot(ByteView data, size_t slotSize, uint16_t length) {
        m_lengths.push_back(length);
        m_offsets.push_back(m_data.size());
        const size_t start = m_data.size();
        m_data.insert(m_data.end(), data.begin(),
                      data.begin() + long(std::min(data.size(), slotSize)));
        m_data.resize(start + slotSize, 0);
    }
    void copyOld(ByteView file, const PageFileHeader& header, size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            add(header.chunk(file, i));
    }
    size_t count() const { return m_lengths.size(); }

    // The whole file, or nothing when it cannot be described by 16-bit counts and 32-bit offsets.
    std::optional<Bytes> build(uint16_t firstSprite, uint16_t firstSound) const {
        const size_t n = m_lengths.size();
        const size_t dataStart = kHeaderSize * (n + 1);
        if (n > kMaxChunks || dataStart + m_data.size() > 0xFFFFFFFFu)
            return std::nullopt;
        Bytes out;
        out.reserve(dataStart + m_data.size());
        ByteWriter w(out);
        w.u16(uint16_t(n));
        w.u16(firstSprite);
        w.u16(firstSound);
        for (size_t offset : m_offsets)
            w.u32(uint32_t(dataStart + offset));
        for (uint16_t length : m_lengths)
            w.u16(length);
        w.bytes(m_data);
        return out;
    }

private:
    Bytes m_data;
    std::vector<size_t> m_offsets;
    std::vector<uint16_t> m_lengths;
};

JobResult finishFile(const ChunkAssembler& chunks, size_t firstSprite, size_t firstSound,
                     Bytes& out, JobContext& context) {
    std::optional<Bytes> file;
    if (firstSprite <= kMaxChunks && firstSound <= kMaxChunks)
        file = chunks.build(uint16_t(firstSprite), uint16_t(firstSound));
    if (!file) {
        context.prompter().tell("Tessarand",
                                "Too many chunks for one VSWAP file! Nothing was saved.",
                                PromptIcon::Exclamation);
        return JobResult::Failure;
    }
    out = std::move(*file);
    return JobResult::Success;
}

void tellOutOfMemory(JobContext& context, const char* caption) {
    context.prompter().tell(caption, "Tessarand", PromptIcon::Exclamation);
}

} // namespace

uint8_t WallSet::pixel(size_t wall, int x, int y) const {
    const size_t at = wall * byteLength + size_t(x) * size_t(side) + size_t(y);
    return at < block.size() ? block[at] : 0;
}

void WallSet::setPixel(size_t wall, int x, int y, uint8_t index) {
    if (wall >= images.size() || x < 0 || y < 0 || x >= side || y >= side)
        return;
    if (block.size() < images.size() * byteLength)
        block.resize(images.size() * byteLength, 0);
    if (images[wall].empty())
        imageFromBlock(wall);
    block[wall * byteLength + size_t(x) * size_t(side) + size_t(y)] = index;
    images[wall][size_t(side - 1 - y) * size_t(side) + size_t(x)] = index;
}

void WallSet::imageFromBlock(size_t wall) {
    if (wall >= images.size() || (wall + 1) * byteLength > block.size())
        return;
    Bytes& image = images[wall];
    image.resize(byteLength);
    const uint8_t* slot = &block[wall * byteLength];
    for (int x = 0; x < side; ++x)
        for (int y = 0; y < side; ++y)
            image[size_t(side - 1 - y) * size_t(side) + size_t(x)] =
                slot[size_t(x) * size_t(side) + size_t(y)];
}

void WallSet::blockFromImage(size_t wall) {
    if (wall >= images.size() || images[wall].size() < byteLength)
        return;
    if (block.size() < images.size() * byteLength)
        block.resize(images.size() * byteLength, 0);
    const Bytes& image = images[wall];
    uint8_t* slot = &block[wall * byteLength];
    for (int x = 0; x < side; ++x)
        for (int y = 0; y < side; ++y)
            slot[size_t(x) * size_t(side) + size_t(y)] =
                image[size_t(side - 1 - y) * size_t(side) + size_t(x)];
}

IndexedImage WallSet::picture(size_t wall) const {
    IndexedImage picture;
    if (!hasImage(wall) || images[wall].size() != size_t(side) * size_t(side))
        return picture;
    picture.width = picture.height = side;
    picture.pixels = images[wall]; // the same bottom-up rows
    return picture;
}

IndexedImage SpriteSet::picture(size_t sprite) const {
    IndexedImage picture;
    if (!hasImage(sprite) || images[sprite].size() != size_t(side) * size_t(side))
        return picture;
    picture.width = picture.height = side;
    picture.pixels = images[sprite];
    return picture;
}

void PageFile::free(PageKind kind) {
    switch (kind) {
    case PageKind::Walls:
        walls = {};
        break;
    case PageKind::Sprites:
        sprites = {};
        break;
    case PageKind::Sounds:
        sounds = {};
        break;
    }
    loaded[size_t(kind)] = false;
}

ByteView PageFileHeader::chunk(ByteView file, size_t index) const {
    if (index >= offsets.size())
        return {};
    const size_t offset = offsets[index];
    if (offset >= file.size())
        return {};
    return file.subspan(offset, std::min<size_t>(lengths[index], file.size() - offset));
}

bool PageFileHeader::chunkComplete(ByteView file, size_t index) const {
    return index < offsets.size() && size_t(offsets[index]) + lengths[index] <= file.size();
}

std::optional<PageFileHeader> readPageFileHeader(ByteView file) {
    ByteReader in(file);
    PageFileHeader header;
    header.chunkCount = in.u16();
    header.firstSprite = in.u16();
    header.firstSound = in.u16();
    if (!in.ok() || kHeaderSize * (size_t(header.chunkCount) + 1) > file.size() ||
        header.firstSprite > header.firstSound || header.firstSound > header.chunkCount)
        return std::nullopt;
    header.offsets.resize(header.chunkCount);
    header.lengths.resize(header.chunkCount);
    for (uint32_t& offset : header.offsets)
        offset = in.u32();
    for (uint16_t& length : header.lengths)
        length = in.u16();
    return header;
}

size_t soundPageCount(size_t length) {
    return length <= kSoundPageSize ? 1 : (length + kSoundPageSize - 1) / kSoundPageSize;
}

ShapeCompressor shapeCompressorFor(SpriteCompression setting) {
    return setting == SpriteCompression::Good ? ShapeCompressor::Full : ShapeCompressor::Simple;
}

// Every reader starts the same way: its headers step, then the checked header.
std::optional<PageFileHeader> readHeadersStep(ByteView file, JobContext& context, int range) {
    context.range(range);
    context.title("Loading Headers...");
    context.position(0);
    std::optional<PageFileHeader> header = readPageFileHeader(file);
    if (!header)
        tellDamaged(context);
    return header;
}

JobResult readWalls(ByteView file, WallSet& walls, JobContext& context) {
    context.progress().setCount("");
    std::optional<PageFileHeader> header = readHeadersStep(file, context, 2);
    if (!header)
        return JobResult::Failure;
    const size_t count = header->firstSprite;
    if (count == 0) {
        context.prompter().tell(kVswapError, "VSWAP doesn't contain any walls!");
        return JobResult::NothingDone;
    }
    const bool highRes = header->lengths[0] == kHighResBytes;
    const size_t byteLength = highRes ? kHighResBytes : kLowResBytes;
    if (count * byteLength > kMaxImageBytesPerKind) {
        tellDamaged(context);
        return JobResult::Failure;
    }
    walls = {};
    walls.side = highRes ? kHighResSide : kLowResSide;
    walls.byteLength = byteLength;
    walls.block.assign(count * byteLength, 0);
    walls.images.assign(count, {});

    context.title("Loading Chunks...");
    context.position(1);
    int truncated = 0;
    for (size_t i = 0; i < count; ++i) {
        if (context.cancelled())
            return JobResult::Failure;
        const size_t length = header->lengths[i];
        if (length == 0)
            continue;
        if (length != byteLength) {
            context.prompter().tell("Tessarand", "Error 10: TextureLength is not constant !!");
            continue;
        }
        if (!header->chunkComplete(file, i)) {
            ++truncated;
            continue;
        }
        ByteView data = header->chunk(file, i);
        std::copy(data.begin(), data.end(), walls.block.begin() + long(i * byteLength));
        walls.imageFromBlock(i);
    }
    context.position(2);
    tellTruncated(context, truncated);
    return JobResult::Success;
}

JobResult readSprites(ByteView file, SpriteSet& sprites, JobContext& context) {
    std::optional<PageFileHeader> header = readHeadersStep(file, context, 2);
    if (!header)
        return JobResult::Failure;
    const size_t first = header->firstSprite;
    const size_t count = size_t(header->firstSound) - first;
    if (count == 0) {
        context.prompter().tell(kVswapError, "VSWAP doesn't contain any sprites!");
        return JobResult::Failure;
    }

    // High resolution as soon as one stored shape uses a column of 64 or more. Slots without
    // data are passed over even when they have an offset: it may point at other data.
    bool highRes = false;
    size_t withData = 0;
    for (size_t k = 0; k < count; ++k) {
        const size_t chunk = first + k;
        if (header->lengths[chunk] != 0)
            ++withData;
        if (highRes || header->offsets[chunk] == 0 || header->lengths[chunk] < 4)
            continue;
        ByteView shape = header->chunk(file, chunk);
        if (shape.size() >= 4 && (readU16At(shape, 0) >= 64 || readU16At(shape, 2) >= 64))
            highRes = true;
    }
    const size_t byteLength = highRes ? kHighResBytes : kLowResBytes;
    if (withData * byteLength > kMaxImageBytesPerKind) {
        tellDamaged(context);
        return JobResult::Failure;
    }
    sprites = {};
    sprites.side = highRes ? kHighResSide : kLowResSide;
    sprites.byteLength = byteLength;
    sprites.images.assign(count, {});

    context.title("Loading Sprites...");
    context.progress().setCount(format("Sprite Nr.: 0/%i", int(count)));
    context.range(int(count));
    context.position(0);
    int truncated = 0;
    for (size_t k = 0; k < count; ++k) {
        if (context.cancelled())
            return JobResult::Failure;
        context.position(int(k));
        context.progress().setCount(format("Sprite Nr: %i/%i", int(k), int(count)));
        const size_t chunk = first + k;
        if (header->lengths[chunk] == 0)
            continue;
        ByteView shape = header->chunk(file, chunk);
        if (!header->chunkComplete(file, chunk))
            ++truncated;
        if (shape.empty())
            continue;
        Bytes& image = sprites.images[k];
        image.resize(byteLength);
        ExpandShape(shape, image, sprites.side);
    }
    tellTruncated(context, truncated);
    return JobResult::Success;
}

JobResult readSounds(ByteView file, SoundSet& sounds, JobContext& context) {
    std::optional<PageFileHeader> header = readHeadersStep(file, context, 101);
    if (!header)
        return JobResult::Failure;
    const size_t n = header->chunkCount, d = header->firstSound;
    sounds = {};
    if (d >= n)
        return JobResult::Success; // no sound pages and no info chunk

    // Only the entries the info chunk really holds. Every sound takes at least one page (an
    // empty one too), as the writer lays them out.
    ByteView info = header->chunk(file, n - 1);
    info = info.first(std::min(info.size(), kMaxSounds * 4));
    const size_t entries = info.size() / 4;
    size_t page = d, count = 0;
    while (count < kMaxSounds && count < entries && page < n - 1) {
        const size_t firstPage = readU16At(info, 4 * count);
        if (d + firstPage >= n - 1) {
            context.prompter().tell("Unable to load sounds!", "Invalid sound headers!");
            return JobResult::Failure;
        }
        page += soundPageCount(readU16At(info, 4 * count + 2));
        ++count;
    }

    context.title("Loading Soundchunks...");
    int truncated = header->chunkComplete(file, n - 1) ? 0 : 1;
    sounds.sounds.resize(count);
    for (size_t k = 0; k < count; ++k) {
        if (context.cancelled())
            return JobResult::Failure;
        context.count(int(k + 1), int(count));
        context.position(int(k * 100 / count + 1));
        const size_t chunk = d + readU16At(info, 4 * k);
        const size_t length = readU16At(info, 4 * k + 2);
        // The pages of one sound lie back to back: read them in one piece.
        const size_t offset = header->offsets[chunk];
        const size_t available = offset < file.size() ? file.size() - offset : 0;
        const size_t taken = std::min(length, available);
        if (taken < length)
            ++truncated;
        sounds.sounds[k].assign(file.begin() + long(offset < file.size() ? offset : 0),
                                file.begin() + long(offset < file.size() ? offset : 0) +
                                    long(taken));
    }
    tellTruncated(context, truncated);
    return JobResult::Success;
}

JobResult writeWalls(ByteView existing, const WallSet& walls, Bytes& out, JobContext& context) try {
    context.range(4);
    context.title("Creating Wallheaders...");
    context.position(0);
    if (walls.count() == 0) {
        context.prompter().tell("Tessarand", "There are no walls to save!");
        return JobResult::Failure;
    }
    std::optional<PageFileHeader> old = existingHeader(existing, context);
    if (!old)
        return JobResult::Failure;
    const size_t oldWalls = old->firstSprite, oldSprites = old->firstSound - old->firstSprite;

    ChunkAssembler chunks;
    const size_t slot = walls.byteLength;
    for (size_t i = 0; i < walls.count(); ++i) {
        const size_t from = std::min(i * slot, walls.block.size());
        const size_t take = std::min(slot, walls.block.size() - from);
        chunks.addSlot(ByteView(walls.block).subspan(from, take), slot,
                       walls.hasImage(i) ? uint16_t(slot) : 0);
    }
    context.title("Creating Spriteheaders...");
    context.position(1);
    chunks.copyOld(existing, *old, oldWalls, oldWalls + oldSprites);
    context.title("Creating Soundheaders...");
    context.position(2);
    chunks.copyOld(existing, *old, oldWalls + oldSprites, old->chunkCount);
    context.title("Write Chunks...");
    context.position(3);
    JobResult result = finishFile(chunks, walls.count(), walls.count() + oldSprites, out, context);
    context.position(4);
    return result;
} catch (const std::bad_alloc&) {
    tellOutOfMemory(context, "Can't allocate memory (5)!");
    return JobResult::Failure;
}

JobResult writeSprites(ByteView existing, const SpriteSet& sprites, ShapeCompressor compressor,
                       Bytes& out, JobContext& context) try {
    context.range(4);
    context.title("Creating Spriteheaders...");
    context.position(0);
    std::optional<PageFileHeader> old = existingHeader(existing, context);
    if (!old)
        return JobResult::Failure;
    const size_t oldWalls = old->firstSprite, oldSoundStart = old->firstSound;

    ChunkAssembler chunks;
    chunks.copyOld(existing, *old, 0, oldWalls);

    const int count = int(sprites.count());
    context.title("Compress Sprites...");
    context.progress().setCount(format("Sprite Nr: 0/%i", count));
    context.range(count);
    for (int k = 0; k < count; ++k) {
        if (context.cancelled())
            return JobResult::Failure;
        context.position(k);
        context.progress().setCount(format("Sprite Nr: %i/%i", k, count));
        if (!sprites.hasImage(size_t(k))) {
            chunks.add({});
            continue;
        }
        const Bytes& image = sprites.images[size_t(k)];
        Bytes shape = compressor == ShapeCompressor::Full
                          ? CompressShapeFull(image, sprites.side)
                          : CompressShapeSimple(image, sprites.side);
        if (shape.size() > 0xFFFF) {
            context.prompter().tell("Tessarand",
                                    format("Sprite %i does not fit into one chunk! Nothing was "
                                           "saved.",
                                           k),
                                    PromptIcon::Exclamation);
            return JobResult::Failure;
        }
        chunks.add(shape);
    }

    context.title("Creating Soundheaders...");
    context.progress().setCount("");
    context.range(4);
    context.position(2);
    chunks.copyOld(existing, *old, oldSoundStart, old->chunkCount);
    context.title("Write Chunks...");
    context.position(3);
    JobResult result = finishFile(chunks, oldWalls, oldWalls + size_t(count), out, context);
    context.position(4);
    return result;
} catch (const std::bad_alloc&) {
    tellOutOfMemory(context, "Can't allocate memory (11)!");
    return JobResult::Failure;
}

JobResult writeSounds(ByteView existing, const SoundSet& sounds, Bytes& out,
                      JobContext& context) try {
    context.range(4);
    context.title("Creating Soundheaders...");
    context.position(0);
    if (sounds.count() > kMaxSounds) {
        context.prompter().tell("Tessarand", "Too many sounds! Only 1024 are supported.",
                                PromptIcon::Exclamation);
        return JobResult::Failure;
    }
    for (const Bytes& sound : sounds.sounds) {
        if (sound.size() > kMaxSoundLength) {
            context.prompter().tell("Tessarand", "A sound is longer than 65535 bytes!",
                                    PromptIcon::Exclamation);
            return JobResult::Failure;
        }
    }
    std::optional<PageFileHeader> old = existingHeader(existing, context);
    if (!old)
        return JobResult::Failure;

    ChunkAssembler chunks;
    chunks.copyOld(existing, *old, 0, old->firstSound);

    const int count = int(sounds.count());
    context.title("Save Sounds...");
    context.progress().setCount(format("Sound Nr: 0/%i", count));
    context.range(count);
    Bytes info;
    ByteWriter infoWriter(info);
    size_t page = 0;
    for (int k = 0; k < count; ++k) {
        if (context.cancelled())
            return JobResult::Failure;
        context.progress().setCount(format("Sound Nr: %i/%i", k, count));
        context.position(k);
        const Bytes& sound = sounds.sounds[size_t(k)];
        infoWriter.u16(uint16_t(page));
        infoWriter.u16(uint16_t(sound.size()));
        const size_t pages = soundPageCount(sound.size());
        for (size_t p = 0; p < pages; ++p) {
            const size_t from = p * kSoundPageSize;
            chunks.add(
                ByteView(sound).subspan(from, std::min(kSoundPageSize, sound.size() - from)));
        }
        page += pages;
    }
    chunks.add(info);

    context.range(4);
    context.title("Write Chunks...");
    context.position(3);
    JobResult result = finishFile(chunks, old->firstSprite, old->firstSound, out, context);
    context.position(4);
    return result;
} catch (const std::bad_alloc&) {
    tellOutOfMemory(context, "Can't allocate memory (13)!");
    return JobResult::Failure;
}
