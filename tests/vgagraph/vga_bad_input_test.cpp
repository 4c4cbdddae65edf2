#include "vga_fixtures.h"

#include "vgagraph/vga_load.h"
#include "vgagraph/vga_save.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace fs = std::filesystem;
using namespace vgatest;

namespace {

const char* const kSomeInvalid =
    "Some chunks have invalid file offsets!\nYou may have dataloss, which could be recoverable...";
const char* const kSizeMismatch =
    "The size of a graphic doesn't correspond\nto the width and height of the pictable!";

Bytes headWith(const std::vector<uint32_t>& entries) {
    Bytes head;
    ByteWriter writer(head);
    for (uint32_t entry : entries)
        writer.u24(entry);
    return head;
}

std::vector<uint32_t> entriesOf(const Bytes& head) {
    std::vector<uint32_t> entries;
    ByteReader reader(head);
    while (reader.remaining() >= 3)
        entries.push_back(reader.u24());
    return entries;
}

Bytes randomBytes(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes data(size);
    for (uint8_t& byte : data)
        byte = uint8_t(random());
    return data;
}

struct Snapshot {
    std::vector<IndexedImage> pictures;
    std::vector<Bytes> fonts;
    Bytes tile8s;
    std::vector<TextScreen> screens;

    explicit Snapshot(const GraphicsArchive& archive)
        : pictures(archive.pictures().pictures), fonts(archive.fonts()), tile8s(archive.tile8s()),
          screens(archive.screens()) {}
    bool operator==(const Snapshot&) const = default;
};

} // namespace

TEST(VgaBadInput, SmallSetLoadsWithEveryPart) {
    SmallSetFolder set;
    const GraphicsArchive& archive = set.archive;
    EXPECT_EQ(archive.pictures().firstPictureChunk, 2);
    ASSERT_EQ(archive.pictures().count(), 2);
    EXPECT_EQ(archive.pictures().pictures[1].width, 4);
    EXPECT_EQ(archive.pictures().pictures[1].height, 3);
    std::vector<ChunkContent> contents = smallSetContents();
    EXPECT_EQ(pictureToPlanar(archive.pictures().pictures[1]), contents[3].content);
    EXPECT_EQ(archive.fonts(), std::vector<Bytes>{contents[1].content});
    EXPECT_EQ(archive.tile8s(), contents[4].content);
    ASSERT_EQ(archive.screens().size(), 1u);
    EXPECT_EQ(archive.screens()[0].chunk, 5);
}

// Broken files end the load with the message for it; what was loaded before stays in memory and
// no file changes.
TEST(VgaBadInput, BrokenFilesGiveTheirMessageAndLoseNothing) {
    struct Case {
        const char* name;
        std::function<void(SmallSetFolder&)> breakFiles;
        JobResult result;
        const char* title;
        std::string text; // empty: any
    };
    auto head = [](SmallSetFolder& set) { return entriesOf(fileBytes(set.files.head.fullPath())); };
    const Case cases[] = {
        {"empty VGAHEAD", [](SmallSetFolder& s) { s.replace(s.files.head, {}); },
         JobResult::Failure, "Graphics header corrupt!", "Invalid VGAHEAD file!"},
        {"VGAHEAD of 5 bytes",
         [](SmallSetFolder& s) {
             s.replace(s.files.head, Bytes{0, 0, 0, 9, 0});
         },
         JobResult::Failure, "Graphics header corrupt!", "Invalid VGAHEAD file!"},
        {"VGAHEAD missing", [](SmallSetFolder& s) { fs::remove(s.files.head.fullPath()); },
         JobResult::Failure, "Need VGAHEAD! Couldn't open file:", ""},
        {"VGAGRAPH missing", [](SmallSetFolder& s) { fs::remove(s.files.graph.fullPath()); },
         JobResult::Failure, "Need VGAGRAPH! Couldn't open file:", ""},
        {"empty VGAGRAPH", [](SmallSetFolder& s) { s.replace(s.files.graph, {}); },
         JobResult::Failure, "Graphics header corrupt!", "All chunks have invalid file offsets!"},
        {"every offset beyond VGAGRAPH",
         [&](SmallSetFolder& s) {
             s.replace(s.files.head, headWith({900000, 900001, 900002}));
         },
         JobResult::Failure, "Graphics header corrupt!", "All chunks have invalid file offsets!"},
        {"VGAGRAPH cut inside the pictures",
         [](SmallSetFolder& s) {
             Bytes graph = fileBytes(s.files.graph.fullPath());
             std::vector<uint32_t> entries = entriesOf(fileBytes(s.files.head.fullPath()));
             graph.resize(entries[3] + 2);
             s.replace(s.files.graph, graph);
         },
         JobResult::Failure, "Graphics pictable or Huffman table corrupt!",
         "The picture table lists more pictures than the file holds chunks!"},
        {"decreasing offset",
         [&](SmallSetFolder& s) {
             std::vector<uint32_t> entries = head(s);
             entries[3] = entries[1];
             s.replace(s.files.head, headWith(entries));
         },
         JobResult::Failure, "Graphics pictable or Huffman table corrupt!", kSizeMismatch},
        {"table listing a picture more",
         [](SmallSetFolder& s) {
             std::vector<ChunkContent> contents = smallSetContents();
             contents[0].content = pictureTableBytes({{8, 2}, {4, 3}, {8, 8}});
             writeSet(s.dir.path(),
                      compressChunks(contents, dictionaryFrom(balancedDictionaryBytes())),
                      balancedDictionaryBytes());
         },
         JobResult::Failure, "Graphics pictable or Huffman table corrupt!", kSizeMismatch},
        {"garbage VGAHEAD", [](SmallSetFolder& s) { s.replace(s.files.head, randomBytes(30, 4)); },
         JobResult::Failure, "Graphics header corrupt!", ""},
        {"garbage VGADICT",
         [](SmallSetFolder& s) { s.replace(s.files.dictionary, randomBytes(1020, 5)); },
         JobResult::Failure, "Huffman table corrupt!", ""},
        {"truncated VGADICT",
         [](SmallSetFolder& s) { s.replace(s.files.dictionary, Bytes(1019, 0)); },
         JobResult::Failure, "File reading error!", "Huffman table incomplete!"},
        {"last offset beyond VGAGRAPH",
         [&](SmallSetFolder& s) {
             std::vector<uint32_t> entries = head(s);
             entries.back() += 100;
             s.replace(s.files.head, headWith(entries));
         },
         JobResult::Success, "Graphics header corrupt!", kSomeInvalid},
        {"sparse entry",
         [&](SmallSetFolder& s) {
             std::vector<uint32_t> entries = head(s);
             entries.insert(entries.begin() + 2, kSparseChunkOffset);
             s.replace(s.files.head, headWith(entries));
         },
         JobResult::Success, "Graphics header corrupt!", kSomeInvalid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmallSetFolder set;
        c.breakFiles(set);
        const Snapshot before(set.archive);
        const FolderFiles filesBefore(set.dir.path());
        RecordingPrompter prompter;
        EXPECT_EQ(set.load(VgaLoadKind::Complete, prompter), c.result);
        ASSERT_FALSE(prompter.empty());
        const Prompt& last = prompter.prompts().back();
        EXPECT_EQ(last.title, c.title);
        if (!c.text.empty()) {
            EXPECT_EQ(last.text, c.text);
        }
        if (c.result == JobResult::Failure) {
            EXPECT_TRUE(Snapshot(set.archive) == before);
        }
        EXPECT_TRUE(FolderFiles(set.dir.path()) == filesBefore);
    }
}

TEST(VgaBadInput, OffsetsDroppedByTheCheckShiftTheChunksThatFollow) {
    SmallSetFolder set;
    const Snapshot complete(set.archive);
    std::vector<uint32_t> entries = entriesOf(fileBytes(set.files.head.fullPath()));
    entries.insert(entries.begin() + 2, kSparseChunkOffset);
    set.replace(set.files.head, headWith(entries));
    RecordingPrompter prompter;
    ASSERT_EQ(set.load(VgaLoadKind::Complete, prompter), JobResult::Success);
    EXPECT_TRUE(Snapshot(set.archive) == complete);

    // Without the last entry the last chunk is gone, the rest loads.
    entries.pop_back();
    set.replace(set.files.head, headWith(entries));
    ASSERT_EQ(set.load(VgaLoadKind::Complete, prompter), JobResult::Success);
    EXPECT_EQ(set.archive.pictures().count(), 2);
    EXPECT_EQ(set.archive.screens().size(), 1u);
    EXPECT_EQ(set.archive.pictures().rawTrailingChunks.size(), 2u);
}

TEST(VgaBadInput, SingleLoadsNameTheirFileWhenItIsMissing) {
    struct Case {
        VgaLoadKind kind;
        bool removeHead;
        const char* title;
    };
    const Case cases[] = {
        {VgaLoadKind::Pictures, true, "Need VGAHEAD! Couldn't open file:"},
        {VgaLoadKind::Fonts, true, "CTessarandDlg::LoadFonts: Couldn't open header file:"},
        {VgaLoadKind::Fonts, false, "CTessarandDlg::LoadFonts: Couldn't open file:"},
        {VgaLoadKind::Screens, true, "CTessarandDlg::LoadScreens: Couldn't open header file:"},
        {VgaLoadKind::Screens, false, "CTessarandDlg::LoadScreens(): Couldn't open file:"},
        {VgaLoadKind::Tile8s, true, "Couldn't open file:"},
        {VgaLoadKind::Tile8s, false, "CTessarandDlg::LoadTile8s: Couldn't open file:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        SmallSetFolder set;
        const GameFilePath& removed = c.removeHead ? set.files.head : set.files.graph;
        fs::remove(removed.fullPath());
        const Snapshot before(set.archive);
        RecordingPrompter prompter;
        EXPECT_EQ(set.load(c.kind, prompter), JobResult::Failure);
        ASSERT_EQ(prompter.prompts().size(), 1u);
        EXPECT_EQ(prompter.prompts()[0].title, c.title);
        EXPECT_EQ(prompter.prompts()[0].text, removed.fullPath().string());
        EXPECT_TRUE(Snapshot(set.archive) == before);
        EXPECT_TRUE(set.state.loaded(DataKind::Graphics));
    }
}

TEST(VgaBadInput, FileWithoutScreensFailsTheScreenLoadButNotTheCompleteOne) {
    SmallSetFolder set;
    std::vector<ChunkContent> contents = smallSetContents();
    contents.erase(contents.begin() + 5);
    Bytes dictionary = balancedDictionaryBytes();
    writeSet(set.dir.path(), compressChunks(contents, dictionaryFrom(dictionary)), dictionary);
    RecordingPrompter prompter;
    EXPECT_EQ(set.load(VgaLoadKind::Screens, prompter), JobResult::Failure);
    EXPECT_TRUE(prompter.empty());
    EXPECT_EQ(set.archive.screens().size(), 1u);

    ASSERT_EQ(set.load(VgaLoadKind::Complete, prompter), JobResult::Success);
    EXPECT_TRUE(set.archive.screens().empty());
    EXPECT_FALSE(set.state.loaded(DataKind::Screens));
    EXPECT_TRUE(set.state.loaded(DataKind::Fonts));
    EXPECT_TRUE(set.state.loaded(DataKind::Tile8s));
}

TEST(VgaBadInput, PictureTableEntriesFromPaddingBitsAreDropped) {
    // With the chain dictionary a zero bit is the byte 0, so the padding of the table's last
    // byte decodes into an extra entry of zeros.
    HuffmanDictionary chain = dictionaryFrom(chainDictionaryBytes());
    for (std::vector<PictureSize> table :
         {std::vector<PictureSize>{{8, 2}}, std::vector<PictureSize>{{8, 2}, {4, 1}},
          std::vector<PictureSize>{{4, 3}, {12, 2}, {8, 1}}}) {
        Bytes content = pictureTableBytes(table);
        VgaChunks chunks = compressChunks({{content}}, chain);
        EXPECT_GT(HuffmanCountSymbols(ByteView(chunks.chunks[0]).subspan(4), chain),
                  content.size());
        EXPECT_EQ(readPictureTable(chunks.chunks[0], chain), table);
    }
    // A table whose data ends inside an entry yields the whole entries before it.
    VgaChunks cut = compressChunks({{Bytes{8, 0, 2, 0, 4, 0}}}, chain);
    EXPECT_EQ(readPictureTable(cut.chunks[0], chain), (std::vector<PictureSize>{{8, 2}}));
    EXPECT_TRUE(readPictureTable(Bytes{1, 2, 3}, chain).empty());
}

TEST(VgaBadInput, RealFilesCutOrScrambledAreRefusedWithoutLosingTheLoadedSet) {
    REQUIRE_GAME_DATA();
    struct Case {
        const char* name;
        const char* file;
        std::function<Bytes(const Bytes&)> change;
        const char* title;
    };
    const Case cases[] = {
        {"VGAGRAPH cut in half", "VGAGRAPH.WL1",
         [](const Bytes& data) { return Bytes(data.begin(), data.begin() + data.size() / 2); },
         "Graphics pictable or Huffman table corrupt!"},
        {"VGAGRAPH scrambled", "VGAGRAPH.WL1",
         [](const Bytes& data) { return randomBytes(data.size(), 8); },
         "Graphics pictable or Huffman table corrupt!"},
        {"VGAHEAD scrambled", "VGAHEAD.WL1",
         [](const Bytes& data) { return randomBytes(data.size(), 9); }, "Graphics header corrupt!"},
        {"VGADICT scrambled", "VGADICT.WL1",
         [](const Bytes& data) { return randomBytes(data.size(), 10); }, "Huffman table corrupt!"},
        {"VGADICT empty", "VGADICT.WL1", [](const Bytes&) { return Bytes{}; },
         "File reading error!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testdata::TempDir dir;
        testdata::copyGameData(dir.path());
        VgaFiles files = sharewareFiles(dir.path());
        GraphicsArchive archive;
        DocumentState state;
        RecordingPrompter prompter;
        NullProgress progress;
        ASSERT_EQ(
            loadVgaParts(archive, state, VgaLoadKind::Complete, files, true, prompter, progress),
            JobResult::Success);
        const Snapshot before(archive);
        ASSERT_TRUE(writeWholeFile(dir / c.file, c.change(fileBytes(dir / c.file))));
        EXPECT_EQ(
            loadVgaParts(archive, state, VgaLoadKind::Complete, files, true, prompter, progress),
            JobResult::Failure);
        ASSERT_FALSE(prompter.empty());
        EXPECT_EQ(prompter.prompts().back().title, c.title);
        EXPECT_TRUE(Snapshot(archive) == before);
        EXPECT_TRUE(state.loaded(DataKind::Graphics));
    }
}
