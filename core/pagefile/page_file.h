#pragma once
// The page file VSWAP (also named GFXTILES): wall textures, sprites and digitized sounds in one
// file of numbered chunks. Each kind is read and written on its own; a write produces a complete
// file, copying the other two kinds byte for byte from the existing one.

#include "app/job.h"
#include "app/settings.h"
#include "common/byte_io.h"
#include "image/indexed_image.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

constexpr int kLowResSide = 64;
constexpr int kHighResSide = 128;
constexpr size_t kLowResBytes = 4096;
constexpr size_t kHighResBytes = 16384;
constexpr size_t kSoundPageSize = 4096;
constexpr size_t kMaxSounds = 1024;
constexpr size_t kMaxSoundLength = 65535;
// Walls and sprites of one file never need more than this; a header asking for more is damaged.
constexpr size_t kMaxImageBytesPerKind = size_t(64) << 20;

enum class PageKind { Walls = 0, Sprites = 1, Sounds = 2 };
constexpr size_t kPageKindCount = 3;

// Wall slots in both copies, kept in step: the block as in the file (column-major, top-down:
// byte x * side + y) and one edit image per wall (row-major, bottom row first: byte
// r * side + c is column c, row side - 1 - r), empty for a slot without data.
struct WallSet {
    int side = kLowResSide;
    size_t byteLength = kLowResBytes;
    Bytes block;
    std::vector<Bytes> images;

    size_t count() const { return images.size(); }
    bool hasImage(size_t wall) const { return wall < images.size() && !images[wall].empty(); }
    // x from the left, y from the top.
    uint8_t pixel(size_t wall, int x, int y) const;
    // Writes both copies; a slot without an image gets one (the block slot's other pixels).
    void setPixel(size_t wall, int x, int y, uint8_t index);
    // Rebuilds one copy from the other for slot `wall`.
    void imageFromBlock(size_t wall);
    void blockFromImage(size_t wall);
    // Top row first picture of a wall, for export and drawing; empty for a slot without data.
    IndexedImage picture(size_t wall) const;
};

// Sprite images side x side, bottom row first, 255 transparent; empty for a slot without data.
struct SpriteSet {
    int side = kLowResSide;
    size_t byteLength = kLowResBytes;
    std::vector<Bytes> images;

    size_t count() const { return images.size(); }
    bool hasImage(size_t sprite) const { return sprite < images.size() && !images[sprite].empty(); }
    IndexedImage picture(size_t sprite) const;
};

// 8-bit unsigned samples (128 silence), at most 65535 per sound and 1024 sounds.
struct SoundSet {
    std::vector<Bytes> sounds;

    size_t count() const { return sounds.size(); }
};

// The shared page file of the editor. Each kind is loaded and saved on its own.
struct PageFile {
    WallSet walls;
    SpriteSet sprites;
    SoundSet sounds;
    std::array<bool, kPageKindCount> loaded{};
    std::array<std::filesystem::path, kPageKindCount> lastPath; // of the last successful load
    uint64_t lastAccessMs = 0; // steady clock, last successful load or save of any kind

    bool isLoaded(PageKind kind) const { return loaded[size_t(kind)]; }
    void free(PageKind kind);
};

// The header and chunk tables, checked against the size of the file.
struct PageFileHeader {
    uint16_t chunkCount = 0;  // N
    uint16_t firstSprite = 0; // S, also the number of walls
    uint16_t firstSound = 0;  // D
    std::vector<uint32_t> offsets;
    std::vector<uint16_t> lengths;

    // Chunk i's bytes as far as they lie inside the file.
    ByteView chunk(ByteView file, size_t index) const;
    // Whether all of chunk i lies inside the file.
    bool chunkComplete(ByteView file, size_t index) const;
};

// Nothing when the file is shorter than its tables or S <= D <= N does not hold.
std::optional<PageFileHeader> readPageFileHeader(ByteView file);

// The readers: fill a fresh set from the whole file. Success (1), Failure (2) or, for walls only,
// NothingDone (3) when the file has no walls. Every message goes through the prompter.
JobResult readWalls(ByteView file, WallSet& walls, JobContext& context);
JobResult readSprites(ByteView file, SpriteSet& sprites, JobContext& context);
JobResult readSounds(ByteView file, SoundSet& sounds, JobContext& context);

enum class ShapeCompressor { Simple, Full };
// The SpriteCompression setting: 1 selects the full compressor, every other value the simple one.
ShapeCompressor shapeCompressorFor(SpriteCompression setting);

// The writers: a complete new file in `out` from the kind in memory and the other kinds of the
// existing file (empty when there is none). Success, or Failure after telling why (or on Cancel).
JobResult writeWalls(ByteView existing, const WallSet& walls, Bytes& out, JobContext& context);
JobResult writeSprites(ByteView existing, const SpriteSet& sprites, ShapeCompressor compressor,
                       Bytes& out, JobContext& context);
JobResult writeSounds(ByteView existing, const SoundSet& sounds, Bytes& out, JobContext& context);

// Pages a sound of `length` bytes takes: one per full 4096 bytes while more than 4096 remain,
// plus the last one; a sound of 0 bytes still takes one (empty) page.
size_t soundPageCount(size_t length);
