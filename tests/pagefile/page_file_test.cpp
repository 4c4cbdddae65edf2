#include "pagefile/page_file_jobs.h"
#include "pagefile/sprite_shape.h"
#include "support/test_data.h"
#include "vswap_builder.h"

#include "common/file_io.h"
#include "image/bmp_import.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

struct Harness {
    NullProgress progress;
    RecordingPrompter prompter;
    JobContext context{progress, prompter};
};

Bytes readFile(const fs::path& path) {
    std::optional<Bytes> data = readWholeFile(path);
    EXPECT_TRUE(data) << path;
    return data.value_or(Bytes{});
}

ByteView chunkOf(const Bytes& file, const PageFileHeader& header, size_t i) {
    return header.chunk(file, i);
}

// A sprite image, bottom-up, with a few opaque pixels.
Bytes spriteImage(int side, uint8_t seed) {
    Bytes image(size_t(side * side), kTransparentIndex);
    for (int i = 0; i < side; ++i)
        image[size_t((i * 3 + seed) % side) * size_t(side) + size_t(i)] = uint8_t(seed + i);
    return image;
}

// Walls, sprites and sounds in memory are what they were before.
void expectKindsUnchanged(const PageFile& now, const PageFile& before) {
    EXPECT_EQ(now.walls.images, before.walls.images);
    EXPECT_EQ(now.sprites.images, before.sprites.images);
    EXPECT_EQ(now.sounds.sounds, before.sounds.sounds);
}

std::vector<std::string> titlesOf(const Prompt& p) {
    return {p.title, p.text};
}

// ---- The shareware file ----

class Shareware : public ::testing::Test {
protected:
    void SetUp() override {
        if (testdata::gameDataDir().empty())
            GTEST_SKIP() << "shareware data not found";
        original = testdata::gameDataDir() / "VSWAP.WL1";
        raw = readFile(original);
        header = readPageFileHeader(raw).value();
    }

    void loadAll(PageFile& pageFile, const fs::path& path, RecordingPrompter& prompter) {
        NullProgress progress;
        for (PageKind kind : {PageKind::Walls, PageKind::Sprites, PageKind::Sounds})
            ASSERT_EQ(loadPageFileKind(pageFile, kind, path, prompter, progress),
                      JobResult::Success);
    }

    fs::path original;
    Bytes raw;
    PageFileHeader header;
};

TEST_F(Shareware, LoadsEveryKindAsStored) {
    PageFile pageFile;
    RecordingPrompter prompter;
    loadAll(pageFile, original, prompter);
    EXPECT_TRUE(prompter.empty());

    ASSERT_EQ(pageFile.walls.count(), 106u);
    EXPECT_EQ(pageFile.walls.side, 64);
    for (size_t i = 0; i < 106; ++i) {
        ASSERT_EQ(pageFile.walls.hasImage(i), header.lengths[i] != 0) << i;
        if (!pageFile.walls.hasImage(i))
            continue;
        ByteView stored = chunkOf(raw, header, i);
        const IndexedImage picture = pageFile.walls.picture(i);
        for (int x = 0; x < 64; ++x)
            for (int y = 0; y < 64; ++y) {
                ASSERT_EQ(pageFile.walls.pixel(i, x, y), stored[size_t(x * 64 + y)]);
                ASSERT_EQ(picture.at(x, y), stored[size_t(x * 64 + y)]);
            }
    }

    ASSERT_EQ(pageFile.sprites.count(), 436u);
    EXPECT_EQ(pageFile.sprites.side, 64);
    for (size_t k = 0; k < 436; ++k)
        EXPECT_EQ(pageFile.sprites.hasImage(k), header.lengths[106 + k] != 0) << k;

    ByteView info = chunkOf(raw, header, header.chunkCount - 1u);
    ASSERT_EQ(pageFile.sounds.count(), info.size() / 4);
    for (size_t k = 0; k < pageFile.sounds.count(); ++k) {
        const size_t page = header.firstSound + readU16At(info, 4 * k);
        const size_t length = readU16At(info, 4 * k + 2);
        const Bytes& sound = pageFile.sounds.sounds[k];
        ASSERT_EQ(sound.size(), length);
        EXPECT_TRUE(std::equal(sound.begin(), sound.end(), raw.begin() + header.offsets[page]));
    }
}

// Saving one kind into a copy: that kind reads back as it was in memory, the other two are the
// original chunks byte for byte, and the old file becomes the backup.
TEST_F(Shareware, SavedKindReadsBackAndOtherKindsStayByteIdentical) {
    struct Case {
        const char* name;
        PageKind kind;
        SpriteCompression compression;
    };
    const std::vector<Case> cases = {
        {"walls", PageKind::Walls, SpriteCompression::Good},
        {"spritesSimple", PageKind::Sprites, SpriteCompression::None},
        {"spritesFull", PageKind::Sprites, SpriteCompression::Good},
        {"sounds", PageKind::Sounds, SpriteCompression::Good},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testdata::TempDir dir;
        testdata::copyGameData(dir.path());
        const fs::path path = dir / "VSWAP.WL1";
        PageFile memory;
        RecordingPrompter prompter;
        loadAll(memory, path, prompter);
        // Edits, so that what is written must come from memory.
        memory.walls.setPixel(3, 10, 20, 77);
        memory.walls.images.push_back({});
        memory.walls.block.resize(memory.walls.block.size() + 4096);
        memory.sprites.images[0][100] = 31;
        memory.sprites.images.push_back(spriteImage(64, 9));
        memory.sounds.sounds[2][5] = 3;
        memory.sounds.sounds.push_back(Bytes(5000, 140));

        NullProgress progress;
        ASSERT_EQ(savePageFileKind(memory, c.kind, path, c.compression, prompter, progress),
                  JobResult::Success);
        EXPECT_TRUE(prompter.empty());
        EXPECT_EQ(readFile(path.string() + ".bak"), raw);

        PageFile back;
        loadAll(back, path, prompter);
        const Bytes written = readFile(path);
        const PageFileHeader writtenHeader = readPageFileHeader(written).value();
        auto sameChunks = [&](size_t oldFrom, size_t oldTo, size_t newFrom) {
            for (size_t i = oldFrom; i < oldTo; ++i) {
                ByteView a = chunkOf(raw, header, i),
                         b = chunkOf(written, writtenHeader, newFrom + i - oldFrom);
                ASSERT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << i;
            }
        };
        const size_t s = header.firstSprite, d = header.firstSound, n = header.chunkCount;
        const size_t ws = writtenHeader.firstSprite, wd = writtenHeader.firstSound;
        switch (c.kind) {
        case PageKind::Walls:
            EXPECT_EQ(back.walls.block, memory.walls.block);
            EXPECT_EQ(back.walls.images, memory.walls.images);
            sameChunks(s, n, ws);
            break;
        case PageKind::Sprites:
            EXPECT_EQ(back.sprites.images, memory.sprites.images);
            sameChunks(0, s, 0);
            sameChunks(d, n, wd);
            break;
        case PageKind::Sounds:
            EXPECT_EQ(back.sounds.sounds, memory.sounds.sounds);
            sameChunks(0, d, 0);
            break;
        }
    }
}

// Every wall and sprite exported as an 8-bit BMP with the palette imports back byte for byte.
TEST_F(Shareware, ExportedWallsAndSpritesImportBackUnchanged) {
    struct Device : BmpImportTarget {
        IndexedImage image{64, 64};
        int width() const override { return image.width; }
        int height() const override { return image.height; }
        void setPixel(int x, int y, uint8_t index) override { image.set(x, y, index); }
    };
    PageFile pageFile;
    RecordingPrompter prompter;
    loadAll(pageFile, original, prompter);
    std::vector<IndexedImage> pictures;
    for (size_t i = 0; i < pageFile.walls.count(); ++i)
        if (pageFile.walls.hasImage(i))
            pictures.push_back(pageFile.walls.picture(i));
    for (size_t i = 0; i < pageFile.sprites.count(); ++i)
        if (pageFile.sprites.hasImage(i))
            pictures.push_back(pageFile.sprites.picture(i));
    const size_t stored =
        size_t(std::count_if(header.lengths.begin(), header.lengths.begin() + header.firstSound,
                             [](uint16_t length) { return length != 0; }));
    ASSERT_EQ(pictures.size(), stored);
    testdata::TempDir dir;
    NearestColorCache cache;
    NullProgress progress;
    JobContext context(progress, prompter);
    for (size_t k = 0; k < pictures.size(); ++k) {
        ASSERT_TRUE(writeWholeFile(dir / "x.bmp", encodeBmp8(pictures[k], wolfensteinPalette())));
        Device device;
        ASSERT_EQ(importBmp(dir / "x.bmp", device, wolfensteinPalette(), cache, context),
                  JobResult::Success);
        ASSERT_EQ(device.image, pictures[k]) << k;
    }
    EXPECT_TRUE(prompter.empty());
}

// ---- Small files ----

TEST(PageFile, HighResolutionFirstWallMakesAShortOneAnError) {
    Bytes file = vswap::build(
        {vswap::filled(16384, 1), vswap::filled(4096, 2), {}, vswap::filled(16384, 3)}, 4, 4);
    Harness run;
    WallSet walls;
    ASSERT_EQ(readWalls(file, walls, run.context), JobResult::Success);
    EXPECT_EQ(walls.side, 128);
    EXPECT_EQ(walls.byteLength, 16384u);
    ASSERT_EQ(run.prompter.prompts().size(), 1u);
    EXPECT_EQ(
        titlesOf(run.prompter.prompts()[0]),
        (std::vector<std::string>{"Tessarand", "Error 10: TextureLength is not constant !!"}));
    EXPECT_TRUE(walls.hasImage(0));
    EXPECT_FALSE(walls.hasImage(1));
    EXPECT_FALSE(walls.hasImage(2));
    EXPECT_EQ(walls.pixel(3, 127, 5), vswap::filled(16384, 3)[127 * 128 + 5]);
    EXPECT_EQ(walls.images[3][size_t(127 - 5) * 128 + 127], walls.pixel(3, 127, 5));
}

TEST(PageFile, EmptyWallKeepsItsSlotAndIsWrittenWithLengthZero) {
    Bytes file = vswap::build({vswap::filled(4096, 1), {}, vswap::filled(4096, 2)}, 3, 3);
    Harness run;
    WallSet walls;
    ASSERT_EQ(readWalls(file, walls, run.context), JobResult::Success);
    ASSERT_EQ(walls.count(), 3u);
    EXPECT_FALSE(walls.hasImage(1));
    Bytes out;
    ASSERT_EQ(writeWalls(file, walls, out, run.context), JobResult::Success);
    const PageFileHeader header = readPageFileHeader(out).value();
    EXPECT_EQ(header.lengths, (std::vector<uint16_t>{4096, 0, 4096}));
    EXPECT_EQ(header.offsets[2] - header.offsets[1], 4096u);
    EXPECT_EQ(header.offsets[0], 6u * 4);
    EXPECT_EQ(out.size(), 6u * 4 + 3 * 4096);
}

TEST(PageFile, WallsSavedWhereNoFileIsHoldOnlyWalls) {
    WallSet walls;
    walls.images = {Bytes(4096, 5), Bytes(4096, 6)};
    walls.block.resize(2 * 4096);
    walls.blockFromImage(0);
    walls.blockFromImage(1);
    Harness run;
    Bytes out;
    ASSERT_EQ(writeWalls({}, walls, out, run.context), JobResult::Success);
    const PageFileHeader header = readPageFileHeader(out).value();
    EXPECT_EQ(header.chunkCount, 2);
    EXPECT_EQ(header.firstSprite, 2);
    EXPECT_EQ(header.firstSound, 2);
    SoundSet sounds;
    EXPECT_EQ(readSounds(out, sounds, run.context), JobResult::Success);
    EXPECT_EQ(sounds.count(), 0u);
}

TEST(PageFile, MoreSpritesMoveTheSoundsUpAndKeepWallsAndSounds) {
    std::vector<Bytes> chunks = {vswap::filled(4096, 1), vswap::filled(4096, 2)};
    for (uint8_t k = 0; k < 10; ++k)
        chunks.push_back(CompressShapeSimple(spriteImage(64, k), 64));
    for (Bytes& chunk : vswap::soundChunks({100, 5000}))
        chunks.push_back(chunk);
    const Bytes file = vswap::build(chunks, 2, 12);
    const PageFileHeader old = readPageFileHeader(file).value();

    Harness run;
    SpriteSet sprites;
    ASSERT_EQ(readSprites(file, sprites, run.context), JobResult::Success);
    ASSERT_EQ(sprites.count(), 10u);
    sprites.images.push_back(spriteImage(64, 40));
    sprites.images.push_back({});
    Bytes out;
    ASSERT_EQ(writeSprites(file, sprites, ShapeCompressor::Full, out, run.context),
              JobResult::Success);
    const PageFileHeader header = readPageFileHeader(out).value();
    EXPECT_EQ(header.chunkCount, old.chunkCount + 2);
    EXPECT_EQ(header.firstSprite, 2);
    EXPECT_EQ(header.firstSound, 14);
    for (size_t i = 0; i < old.chunkCount; ++i) {
        if (i >= 2 && i < 12)
            continue;
        const size_t moved = i < 2 ? i : i + 2;
        ByteView a = old.chunk(file, i), b = header.chunk(out, moved);
        EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << i;
        EXPECT_EQ(old.lengths[i], header.lengths[moved]);
    }
    SpriteSet back;
    ASSERT_EQ(readSprites(out, back, run.context), JobResult::Success);
    EXPECT_EQ(back.images, sprites.images);
    EXPECT_EQ(header.lengths[13], 0);
}

TEST(PageFile, SoundsTakeWholePagesAndEmptySoundsKeepTheirCount) {
    struct Case {
        std::vector<size_t> lengths;
        std::vector<uint16_t> pageLengths;
    };
    const std::vector<Case> cases = {
        {{4096}, {4096}}, {{4097}, {4096, 1}},        {{8192, 1}, {4096, 4096, 1}},
        {{0}, {0}},       {{10, 0, 20}, {10, 0, 20}}, {{0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.lengths));
        SoundSet sounds;
        for (size_t k = 0; k < c.lengths.size(); ++k)
            sounds.sounds.push_back(Bytes(c.lengths[k], uint8_t(100 + k)));
        Harness run;
        Bytes out;
        ASSERT_EQ(writeSounds({}, sounds, out, run.context), JobResult::Success);
        const PageFileHeader header = readPageFileHeader(out).value();
        std::vector<uint16_t> pages(header.lengths.begin(), header.lengths.end() - 1);
        EXPECT_EQ(pages, c.pageLengths);
        EXPECT_EQ(header.lengths.back(), 4 * c.lengths.size());
        SoundSet back;
        ASSERT_EQ(readSounds(out, back, run.context), JobResult::Success);
        EXPECT_EQ(back.sounds, sounds.sounds);
        EXPECT_TRUE(run.prompter.empty());
    }
}

TEST(PageFile, SoundReaderStopsAt1024Sounds) {
    std::vector<size_t> lengths(1030, 3);
    const Bytes file = vswap::build(vswap::soundChunks(lengths), 0, 0);
    Harness run;
    SoundSet sounds;
    ASSERT_EQ(readSounds(file, sounds, run.context), JobResult::Success);
    EXPECT_EQ(sounds.count(), 1024u);
    EXPECT_EQ(sounds.sounds[1023],
              (Bytes{uint8_t(1023 * 31), uint8_t(1023 * 31 + 1), uint8_t(1023 * 31 + 2)}));
}

TEST(PageFile, SpriteResolutionComesFromTheStoredShapes) {
    Bytes high = CompressShapeSimple(spriteImage(128, 3), 128);
    Bytes low = CompressShapeSimple(spriteImage(64, 3), 64);
    struct Case {
        const char* name;
        std::vector<Bytes> chunks;
        int side;
    };
    // An empty sprite slot whose offset points at sound samples (0x8080 >= 64) must not count.
    std::vector<Bytes> withEmptyLast = {low, {}};
    for (Bytes& chunk : vswap::soundChunks({50}))
        withEmptyLast.push_back(chunk);
    std::fill(withEmptyLast[2].begin(), withEmptyLast[2].end(), 0x80);
    const std::vector<Case> cases = {
        {"low", {low, low}, 64},
        {"high", {low, high}, 128},
        {"emptySlotAtSoundData", withEmptyLast, 64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes file =
            vswap::build(c.chunks, 0, c.name == std::string("emptySlotAtSoundData") ? 2 : 2);
        if (c.name == std::string("emptySlotAtSoundData"))
            ByteWriter(file).patchU32(6 + 4, readU32At(file, 6 + 8)); // slot 1 -> sound page
        Harness run;
        SpriteSet sprites;
        ASSERT_EQ(readSprites(file, sprites, run.context), JobResult::Success);
        EXPECT_EQ(sprites.side, c.side);
        EXPECT_EQ(sprites.images[0].size(), size_t(c.side * c.side));
    }
}

TEST(PageFile, KindsMissingFromTheFileAreReported) {
    struct Case {
        const char* name;
        Bytes file;
        PageKind kind;
        JobResult result;
        std::vector<std::string> message;
    };
    Bytes badInfo = vswap::build(vswap::soundChunks({10}), 0, 0);
    ByteWriter(badInfo).patchU16(readU32At(badInfo, 6 + 4), 1); // first page 1 = the info chunk
    const std::vector<Case> cases = {
        {"noWalls",
         vswap::build({vswap::filled(100, 1)}, 0, 1),
         PageKind::Walls,
         JobResult::NothingDone,
         {"VSWAP error", "VSWAP doesn't contain any walls!"}},
        {"noSprites",
         vswap::build({vswap::filled(4096, 1)}, 1, 1),
         PageKind::Sprites,
         JobResult::Failure,
         {"VSWAP error", "VSWAP doesn't contain any sprites!"}},
        {"badSoundHeader",
         badInfo,
         PageKind::Sounds,
         JobResult::Failure,
         {"Unable to load sounds!", "Invalid sound headers!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PageFile pageFile;
        pageFile.walls.images = {Bytes(4096, 9)};
        pageFile.walls.block = Bytes(4096, 9);
        pageFile.sprites.images = {Bytes(4096, 8)};
        pageFile.sounds.sounds = {Bytes(3, 7)};
        const PageFile before = pageFile;
        testdata::TempDir dir;
        ASSERT_TRUE(writeWholeFile(dir / "VSWAP.X", c.file));
        RecordingPrompter prompter;
        NullProgress progress;
        EXPECT_EQ(loadPageFileKind(pageFile, c.kind, dir / "VSWAP.X", prompter, progress),
                  c.result);
        ASSERT_EQ(prompter.prompts().size(), 1u);
        EXPECT_EQ(titlesOf(prompter.prompts()[0]), c.message);
        expectKindsUnchanged(pageFile, before);
    }
}

// Every reader on broken files: a message, no crash, and the kind in memory as it was.
TEST(PageFile, BrokenFilesLeaveMemoryAsItWas) {
    std::vector<Bytes> chunks = {vswap::filled(4096, 1), vswap::filled(4096, 2)};
    chunks.push_back(CompressShapeFull(spriteImage(64, 5), 64));
    for (Bytes& chunk : vswap::soundChunks({6000}))
        chunks.push_back(chunk);
    const Bytes good = vswap::build(chunks, 2, 3);
    std::vector<std::pair<std::string, Bytes>> files = {
        {"empty", {}},
        {"fiveBytes", Bytes(good.begin(), good.begin() + 5)},
        {"tablesCut", Bytes(good.begin(), good.begin() + 20)},
        {"spritesAfterSounds", good},
        {"hugeCounts", Bytes{0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}},
        {"text", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'v', 's', 'w', 'a', 'p', '\n'}},
    };
    ByteWriter(files[3].second).patchU16(2, 4); // S > D
    Bytes garbage(5000);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = uint8_t(i * 131 + 7);
    files.push_back({"garbage", garbage});

    const std::vector<std::string> damaged = {
        "VSWAP error",
        "This VSWAP file is damaged: its header or chunk tables do not fit the file!"};
    for (const auto& [name, file] : files) {
        for (PageKind kind : {PageKind::Walls, PageKind::Sprites, PageKind::Sounds}) {
            SCOPED_TRACE(name + " kind " + std::to_string(int(kind)));
            PageFile pageFile;
            pageFile.walls.images = {Bytes(4096, 9)};
            pageFile.walls.block = Bytes(4096, 9);
            pageFile.sprites.images = {Bytes(4096, 8)};
            pageFile.sounds.sounds = {Bytes(3, 7)};
            const PageFile before = pageFile;
            testdata::TempDir dir;
            ASSERT_TRUE(writeWholeFile(dir / "VSWAP.X", file));
            RecordingPrompter prompter;
            NullProgress progress;
            EXPECT_NE(loadPageFileKind(pageFile, kind, dir / "VSWAP.X", prompter, progress),
                      JobResult::Success);
            ASSERT_FALSE(prompter.empty());
            EXPECT_EQ(titlesOf(prompter.prompts().back()), damaged);
            expectKindsUnchanged(pageFile, before);
        }
    }
}

// Chunks reaching past the end of a cut file: what is there is read, the rest reported.
TEST(PageFile, CutFileReadsWhatIsThereAndSaysSo) {
    std::vector<Bytes> chunks = {vswap::filled(4096, 1), vswap::filled(4096, 2)};
    chunks.push_back(CompressShapeFull(spriteImage(64, 5), 64));
    for (Bytes& chunk : vswap::soundChunks({300}))
        chunks.push_back(chunk);
    // The info chunk comes before the sound page in the data, so the cut takes samples only.
    const Bytes file = vswap::build(chunks, 2, 3, {0, 1, 2, 4, 3});
    const PageFileHeader header = readPageFileHeader(file).value();
    const Bytes cut(file.begin(), file.begin() + long(header.offsets[3] + 120));

    Harness run;
    WallSet walls;
    ASSERT_EQ(readWalls(cut, walls, run.context), JobResult::Success);
    EXPECT_TRUE(walls.hasImage(1));
    SoundSet sounds;
    ASSERT_EQ(readSounds(cut, sounds, run.context), JobResult::Success);
    ASSERT_EQ(sounds.count(), 1u);
    EXPECT_EQ(sounds.sounds[0], Bytes(chunks[3].begin(), chunks[3].begin() + 120));
    ASSERT_EQ(run.prompter.prompts().size(), 1u);
    EXPECT_EQ(run.prompter.prompts()[0].title, "VSWAP error");

    // A wall cut in half stays empty rather than half garbage; the sprite is drawn as far as
    // its shape goes.
    Harness second;
    WallSet cutWalls;
    const Bytes halfWall(file.begin(), file.begin() + long(header.offsets[1] + 2000));
    ASSERT_EQ(readWalls(halfWall, cutWalls, second.context), JobResult::Success);
    EXPECT_TRUE(cutWalls.hasImage(0));
    EXPECT_FALSE(cutWalls.hasImage(1));
    EXPECT_EQ(second.prompter.prompts().size(), 1u);
    SpriteSet sprites;
    const Bytes halfSprite(file.begin(),
                           file.begin() + long(header.offsets[2] + chunks[2].size() / 2));
    ASSERT_EQ(readSprites(halfSprite, sprites, second.context), JobResult::Success);
    EXPECT_TRUE(sprites.hasImage(0));
    EXPECT_EQ(second.prompter.prompts().size(), 2u);

    // Without its info chunk a file has no sounds, and says why.
    Harness third;
    const Bytes noInfo(file.begin(), file.begin() + long(header.offsets[4] + 1));
    ASSERT_EQ(readSounds(noInfo, sounds, third.context), JobResult::Success);
    EXPECT_EQ(sounds.count(), 0u);
    ASSERT_EQ(third.prompter.prompts().size(), 1u);
    EXPECT_EQ(third.prompter.prompts()[0].title, "VSWAP error");
}

// A save that fails or is cancelled leaves the file at the path whole and makes no backup.
TEST(PageFile, FailedOrCancelledSaveLeavesTheOldFile) {
    std::vector<Bytes> chunks = {vswap::filled(4096, 1)};
    chunks.push_back(CompressShapeSimple(spriteImage(64, 5), 64));
    for (Bytes& chunk : vswap::soundChunks({10}))
        chunks.push_back(chunk);
    const Bytes good = vswap::build(chunks, 1, 2);
    Bytes damaged = good;
    ByteWriter(damaged).patchU16(0, 900); // tables past the end

    PageFile memory;
    memory.walls.images = {Bytes(4096, 3)};
    memory.walls.block = Bytes(4096, 3);
    memory.sprites.images = {spriteImage(64, 6)};
    memory.sounds.sounds = {Bytes(20, 128)};

    for (PageKind kind : {PageKind::Walls, PageKind::Sprites, PageKind::Sounds}) {
        for (bool cancel : {true, false}) {
            SCOPED_TRACE(std::to_string(int(kind)) + (cancel ? " cancelled" : " damaged"));
            testdata::TempDir dir;
            const fs::path path = dir / "VSWAP.X";
            const Bytes& old = cancel ? good : damaged;
            ASSERT_TRUE(writeWholeFile(path, old));
            RecordingPrompter prompter;
            PageFileSave save(kind, path, memory);
            ASSERT_TRUE(save.begin(prompter));
            JobChannel channel;
            if (cancel)
                channel.requestCancel();
            NullProgress progress;
            JobContext context(progress, prompter, &channel);
            const JobResult result = save.run(context);
            EXPECT_EQ(result, JobResult::Failure);
            EXPECT_FALSE(save.finish(result, memory, prompter));
            EXPECT_EQ(readFile(path), old);
            EXPECT_FALSE(fs::exists(path.string() + ".bak"));
            EXPECT_EQ(prompter.empty(), cancel);
        }
    }
}

TEST(PageFile, ProgressTextsOfEveryJob) {
    struct Recorder : ProgressSink {
        std::vector<std::string> titles, counts;
        void setTitle(const std::string& t) override { titles.push_back(t); }
        void setCount(const std::string& c) override { counts.push_back(c); }
        void setRange(int, int) override {}
        void setPosition(int) override {}
    };
    std::vector<Bytes> chunks = {vswap::filled(4096, 1)};
    chunks.push_back(CompressShapeSimple(spriteImage(64, 5), 64));
    for (Bytes& chunk : vswap::soundChunks({10}))
        chunks.push_back(chunk);
    const Bytes file = vswap::build(chunks, 1, 2);
    using Job = std::function<JobResult(JobContext&)>;
    WallSet walls;
    SpriteSet sprites;
    SoundSet sounds;
    Bytes out;
    struct Case {
        const char* name;
        Job job;
        std::vector<std::string> titles, counts;
    };
    const std::vector<Case> cases = {
        {"readWalls",
         [&](JobContext& c) { return readWalls(file, walls, c); },
         {"Loading Headers...", "Loading Chunks..."},
         {""}},
        {"readSprites",
         [&](JobContext& c) { return readSprites(file, sprites, c); },
         {"Loading Headers...", "Loading Sprites..."},
         {"Sprite Nr.: 0/1", "Sprite Nr: 0/1"}},
        {"readSounds",
         [&](JobContext& c) { return readSounds(file, sounds, c); },
         {"Loading Headers...", "Loading Soundchunks..."},
         {"1/1"}},
        {"writeWalls",
         [&](JobContext& c) { return writeWalls(file, walls, out, c); },
         {"Creating Wallheaders...", "Creating Spriteheaders...", "Creating Soundheaders...",
          "Write Chunks..."},
         {}},
        {"writeSprites",
         [&](JobContext& c) { return writeSprites(file, sprites, ShapeCompressor::Full, out, c); },
         {"Creating Spriteheaders...", "Compress Sprites...", "Creating Soundheaders...",
          "Write Chunks..."},
         {"Sprite Nr: 0/1", "Sprite Nr: 0/1", ""}},
        {"writeSounds",
         [&](JobContext& c) { return writeSounds(file, sounds, out, c); },
         {"Creating Soundheaders...", "Save Sounds...", "Write Chunks..."},
         {"Sound Nr: 0/1", "Sound Nr: 0/1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder recorder;
        RecordingPrompter prompter;
        EXPECT_EQ(runJobHere(c.job, recorder, prompter), JobResult::Success);
        EXPECT_EQ(recorder.titles, c.titles);
        EXPECT_EQ(recorder.counts, c.counts);
    }
}

TEST(PageFile, LoadOfAMissingFileTellsTheKindsCaption) {
    const std::vector<std::pair<PageKind, std::string>> cases = {
        {PageKind::Walls, "Cannot Open"},
        {PageKind::Sprites, "CTessarandDlg::LoadSprites(): Cannot open file:"},
        {PageKind::Sounds, "Error while loading sounds: Cannot open file:"},
    };
    testdata::TempDir dir;
    for (const auto& [kind, caption] : cases) {
        RecordingPrompter prompter;
        PageFileLoad load(kind, dir / "VSWAP.NONE");
        EXPECT_FALSE(load.open(prompter));
        ASSERT_EQ(prompter.prompts().size(), 1u);
        EXPECT_EQ(prompter.prompts()[0].title, caption);
        EXPECT_EQ(prompter.prompts()[0].text, (dir / "VSWAP.NONE").string());
    }
}

} // namespace
