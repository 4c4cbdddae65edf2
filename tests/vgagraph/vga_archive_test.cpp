#include "vga_fixtures.h"

#include "vgagraph/font.h"
#include "vgagraph/tile8.h"
#include "vgagraph/vga_load.h"
#include "vgagraph/vga_save.h"

#include <gtest/gtest.h>

#include <functional>

namespace fs = std::filesystem;
using namespace vgatest;

namespace {

struct Loaded {
    GraphicsArchive archive;
    DocumentState state;
    RecordingPrompter prompter;
    JobResult result = JobResult::Failure;
};

std::unique_ptr<Loaded> loadComplete(const VgaFiles& files) {
    auto loaded = std::make_unique<Loaded>();
    NullProgress progress;
    loaded->result = loadVgaParts(loaded->archive, loaded->state, VgaLoadKind::Complete, files,
                                  true, loaded->prompter, progress);
    return loaded;
}

VgaChunks chunksOf(const VgaFiles& files) {
    std::vector<int64_t> offsets = readVgaHead(fileBytes(files.head.fullPath()));
    Bytes graph = fileBytes(files.graph.fullPath());
    ValidateChunkOffsets(offsets, graph.size());
    return VgaChunks::fromFile(offsets, graph);
}

void expectSameParts(const GraphicsArchive& actual, const GraphicsArchive& expected) {
    ASSERT_EQ(actual.pictures().count(), expected.pictures().count());
    for (int i = 0; i < expected.pictures().count(); ++i)
        EXPECT_EQ(actual.pictures().pictures[size_t(i)], expected.pictures().pictures[size_t(i)])
            << "picture " << i;
    EXPECT_EQ(actual.fonts(), expected.fonts());
    EXPECT_EQ(actual.tile8s(), expected.tile8s());
    ASSERT_EQ(actual.screens().size(), expected.screens().size());
    for (size_t i = 0; i < expected.screens().size(); ++i)
        EXPECT_EQ(actual.screens()[i].data, expected.screens()[i].data) << "screen " << i;
}

} // namespace

TEST(VgaArchive, SharewareSetLoadsAllFourParts) {
    REQUIRE_GAME_DATA();
    VgaFiles files = sharewareFiles(testdata::gameDataDir());
    EXPECT_EQ(chunksOf(files).count(), 156);
    std::unique_ptr<Loaded> loaded = loadComplete(files);
    ASSERT_EQ(loaded->result, JobResult::Success);
    EXPECT_TRUE(loaded->prompter.empty());
    const GraphicsArchive& archive = loaded->archive;

    EXPECT_EQ(archive.fonts().size(), 2u);
    for (const Bytes& font : archive.fonts())
        EXPECT_EQ(fontNeededSize(font), font.size());
    const PicturePart& pictures = archive.pictures();
    EXPECT_EQ(pictures.firstPictureChunk, 3);
    ASSERT_EQ(pictures.count(), 144);
    EXPECT_EQ(pictures.pictures[0].width, 96);
    EXPECT_EQ(pictures.pictures[0].height, 88);
    // The tile8 chunk follows the last picture and is the first kept trailing chunk.
    EXPECT_EQ(pictures.firstPictureChunk + pictures.count(), 147);
    EXPECT_EQ(pictures.rawTrailingChunks.size(), 156u - 147u);
    EXPECT_EQ(pictures.rawFontChunks.size(), 2u);
    EXPECT_EQ(archive.tile8s().size(), kTile8ChunkSize);
    ASSERT_EQ(archive.screens().size(), 2u);
    EXPECT_EQ(archive.screens()[0].chunk, 148);
    EXPECT_EQ(archive.screens()[1].chunk, 149);
    for (DataKind kind :
         {DataKind::Graphics, DataKind::Fonts, DataKind::Tile8s, DataKind::Screens}) {
        EXPECT_TRUE(loaded->state.loaded(kind));
        EXPECT_FALSE(loaded->state.changed(kind));
    }
}

TEST(VgaArchive, SingleLoadsMatchTheCompleteLoad) {
    REQUIRE_GAME_DATA();
    VgaFiles files = sharewareFiles(testdata::gameDataDir());
    std::unique_ptr<Loaded> complete = loadComplete(files);
    ASSERT_EQ(complete->result, JobResult::Success);
    GraphicsArchive archive;
    DocumentState state;
    RecordingPrompter prompter;
    NullProgress progress;
    for (VgaLoadKind kind :
         {VgaLoadKind::Pictures, VgaLoadKind::Fonts, VgaLoadKind::Screens, VgaLoadKind::Tile8s})
        EXPECT_EQ(loadVgaParts(archive, state, kind, files, true, prompter, progress),
                  JobResult::Success);
    EXPECT_TRUE(prompter.empty());
    expectSameParts(archive, complete->archive);
    EXPECT_EQ(archive.pictures().rawTrailingChunks, complete->archive.pictures().rawTrailingChunks);
}

// Each save rebuilds the copy around its part; loading again gives exactly what was in memory
// (with an edit in that part), and the chunks of the other parts keep their bytes.
TEST(VgaArchive, SavedPartsLoadBackExactlyAndOtherChunksKeepTheirBytes) {
    REQUIRE_GAME_DATA();
    struct Case {
        const char* name;
        VgaPartSet parts;
        std::function<void(GraphicsArchive&)> edit;
        std::vector<std::pair<int, int>> rewritten; // chunk ranges [first, last] that may change
        int chunkCountChange;
    };
    const Case cases[] = {
        {"pictures",
         VgaPartSet::only(VgaPart::Pictures),
         [](GraphicsArchive& a) {
             a.pictures().pictures[5].set(3, 4, 77);
             resizePicture(a.pictures().pictures[7], 30, 20, 9);
         },
         {{0, 0}, {3, 146}},
         0},
        {"fonts",
         VgaPartSet::only(VgaPart::Fonts),
         [](GraphicsArchive& a) { setFontCharacterWidth(a.fonts()[1], 65, 12); },
         {{1, 2}},
         0},
        {"tile8s",
         VgaPartSet::only(VgaPart::Tile8s),
         [](GraphicsArchive& a) {
             IndexedImage tile(8, 8, 0);
             tile.set(5, 2, 31);
             setTile8Image(a.tile8s(), 40, tile);
         },
         {{147, 147}},
         0},
        {"screens with one added",
         VgaPartSet::only(VgaPart::Screens),
         [](GraphicsArchive& a) {
             a.screens()[1].setCell(79, 24, 'X', 0x1E);
             a.screens().push_back(a.screens()[0]);
         },
         {{148, 150}},
         1},
        {"complete",
         VgaPartSet{true, true, true, true},
         [](GraphicsArchive& a) { a.pictures().pictures[0].set(0, 0, 1); },
         {{0, 0}, {1, 2}, {3, 146}, {147, 147}, {148, 149}},
         0},
    };
    const VgaChunks original = chunksOf(sharewareFiles(testdata::gameDataDir()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testdata::TempDir dir;
        testdata::copyGameData(dir.path());
        VgaFiles files = sharewareFiles(dir.path());
        std::unique_ptr<Loaded> loaded = loadComplete(files);
        ASSERT_EQ(loaded->result, JobResult::Success);
        c.edit(loaded->archive);
        for (DataKind kind :
             {DataKind::Graphics, DataKind::Fonts, DataKind::Tile8s, DataKind::Screens})
            loaded->state.setChanged(kind, true);

        NullProgress progress;
        ASSERT_EQ(saveVgaParts(loaded->archive, loaded->state, c.parts, files, loaded->prompter,
                               progress),
                  JobResult::Success);
        EXPECT_TRUE(loaded->prompter.empty());
        for (VgaPart part : {VgaPart::Pictures, VgaPart::Fonts, VgaPart::Tile8s, VgaPart::Screens})
            EXPECT_EQ(loaded->state.changed(dataKindOf(part)), !c.parts.has(part));
        for (const GameFilePath& file : {files.graph, files.head, files.dictionary}) {
            EXPECT_FALSE(fs::exists(file.withSuffix(".tmp")));
            EXPECT_EQ(fileBytes(file.withSuffix(".bak")),
                      fileBytes(testdata::gameDataDir() / file.fileName()));
        }
        EXPECT_EQ(fileBytes(files.dictionary.fullPath()),
                  fileBytes(testdata::gameDataDir() / "VGADICT.WL1"));

        std::unique_ptr<Loaded> again = loadComplete(files);
        ASSERT_EQ(again->result, JobResult::Success);
        expectSameParts(again->archive, loaded->archive);

        VgaChunks saved = chunksOf(files);
        ASSERT_EQ(saved.count(), original.count() + c.chunkCountChange);
        auto rewritten = [&](int chunk) {
            for (auto [first, last] : c.rewritten)
                if (chunk >= first && chunk <= last)
                    return true;
            return false;
        };
        for (int chunk = 0; chunk < saved.count(); ++chunk) {
            if (rewritten(chunk))
                continue;
            int before = chunk > 149 ? chunk - c.chunkCountChange : chunk;
            EXPECT_EQ(saved.chunks[size_t(chunk)], original.chunks[size_t(before)])
                << "chunk " << chunk;
        }
    }
}

TEST(VgaArchive, TrailingEmptyTile8sAreLeftOutAndComeBackAsZeros) {
    REQUIRE_GAME_DATA();
    testdata::TempDir dir;
    testdata::copyGameData(dir.path());
    VgaFiles files = sharewareFiles(dir.path());
    std::unique_ptr<Loaded> loaded = loadComplete(files);
    ASSERT_EQ(loaded->result, JobResult::Success);
    Bytes& tiles = loaded->archive.tile8s();
    for (size_t i = 0; i < 62 * kTile8Bytes; ++i)
        tiles[i] = uint8_t(1 + i % 200);
    std::fill(tiles.begin() + 62 * kTile8Bytes, tiles.end(), 0);
    NullProgress progress;
    ASSERT_EQ(saveVgaParts(loaded->archive, loaded->state, VgaPartSet::only(VgaPart::Tile8s), files,
                           loaded->prompter, progress),
              JobResult::Success);

    VgaChunks saved = chunksOf(files);
    const HuffmanDictionary& dictionary = loaded->archive.dictionary();
    EXPECT_EQ(HuffmanCountSymbols(saved.chunks[147], dictionary) / kTile8Bytes, 62u);
    std::unique_ptr<Loaded> again = loadComplete(files);
    ASSERT_EQ(again->result, JobResult::Success);
    EXPECT_EQ(again->archive.tile8s(), tiles);
}

TEST(VgaArchive, PicturesSavedWhereNoGraphicsFileExistsMakeANewSet) {
    REQUIRE_GAME_DATA();
    std::unique_ptr<Loaded> loaded = loadComplete(sharewareFiles(testdata::gameDataDir()));
    ASSERT_EQ(loaded->result, JobResult::Success);
    testdata::TempDir dir;
    VgaFiles target = sharewareFiles(dir.path());
    NullProgress progress;
    ASSERT_EQ(saveVgaParts(loaded->archive, loaded->state, VgaPartSet::only(VgaPart::Pictures),
                           target, loaded->prompter, progress),
              JobResult::Success);
    std::unique_ptr<Loaded> again = loadComplete(target);
    ASSERT_EQ(again->result, JobResult::Success);
    expectSameParts(again->archive, loaded->archive);
}
