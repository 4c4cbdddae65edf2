#include "vga_fixtures.h"

#include "vgagraph/vga_load.h"
#include "vgagraph/vga_save.h"

#include <gtest/gtest.h>

#include <functional>

namespace fs = std::filesystem;
using namespace vgatest;

namespace {

// The balanced tree with the leaf of `missing` turned into a second leaf of missing + 1.
Bytes balancedWithout(uint8_t missing) {
    Bytes data = balancedDictionaryBytes();
    for (size_t at = 0; at + 1 < data.size(); at += 2)
        if (readU16At(data, at) == missing)
            data[at] = uint8_t(missing + 1);
    return data;
}

VgaFiles filesIn(const fs::path& folder) {
    return VgaFiles::forGraph(GameFilePath::fromPath(folder / "VGAGRAPH.TST"));
}

} // namespace

// A save that cannot be done tells why and leaves every file of the target folder as it was.
TEST(VgaSave, RefusedSavesTellWhyAndWriteNothing) {
    struct Case {
        const char* name;
        VgaPart part;
        std::function<VgaFiles(SmallSetFolder&, const fs::path& other)> target;
        const char* title;
        const char* text; // null: any
        PromptIcon icon;
    };
    auto emptyFolder = [](SmallSetFolder&, const fs::path& other) { return filesIn(other); };
    const Case cases[] = {
        {"fonts without VGAGRAPH", VgaPart::Fonts, emptyFolder, "Graphics file doesn't exist!",
         "Sorry, but it's not possible yet to create\nnew VGAGRAPH files while saving fonts!",
         PromptIcon::Information},
        {"screens without VGAGRAPH", VgaPart::Screens, emptyFolder, "Graphics file doesn't exist!",
         "Sorry, but it's not possible yet to create\nnew VGAGRAPH files while saving screens!",
         PromptIcon::Information},
        {"tile8s without VGAGRAPH", VgaPart::Tile8s, emptyFolder, "Graphics file doesn't exist!",
         "Sorry, but it's not possible yet to create\nnew VGAGRAPH files while saving tile8s!",
         PromptIcon::Information},
        {"VGAGRAPH without VGAHEAD", VgaPart::Fonts,
         [](SmallSetFolder& set, const fs::path& other) {
             fs::copy_file(set.files.graph.fullPath(), other / "VGAGRAPH.TST");
             return filesIn(other);
         },
         "Couldn't open graphics header file:", nullptr, PromptIcon::None},
        {"VGAGRAPH compressed with another dictionary", VgaPart::Pictures,
         [](SmallSetFolder& set, const fs::path& other) {
             Bytes chain = chainDictionaryBytes();
             std::vector<ChunkContent> contents = {{pictureTableBytes({{4, 1}})},
                                                   {Bytes{1, 2, 3, 4}}};
             return writeSet(other, compressChunks(contents, dictionaryFrom(chain)), chain);
         },
         "Graphics file doesn't match the dictionary!", nullptr, PromptIcon::Exclamation},
        {"file without a tile8 chunk", VgaPart::Tile8s,
         [](SmallSetFolder& set, const fs::path& other) {
             Bytes dictionary = balancedDictionaryBytes();
             std::vector<ChunkContent> contents = {{pictureTableBytes({{4, 1}})},
                                                   {Bytes{1, 2, 3, 4}}};
             return writeSet(other, compressChunks(contents, dictionaryFrom(dictionary)),
                             dictionary);
         },
         "Graphics pictable or Huffman table corrupt!", nullptr, PromptIcon::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmallSetFolder set;
        testdata::TempDir other;
        VgaFiles target = c.target(set, other.path());
        const FolderFiles before(other.path());
        RecordingPrompter prompter;
        EXPECT_EQ(set.save(VgaPartSet::only(c.part), target, prompter), JobResult::Failure);
        ASSERT_EQ(prompter.prompts().size(), 1u);
        EXPECT_EQ(prompter.prompts()[0].title, c.title);
        if (c.text) {
            EXPECT_EQ(prompter.prompts()[0].text, c.text);
        }
        EXPECT_EQ(prompter.prompts()[0].icon, c.icon);
        EXPECT_TRUE(FolderFiles(other.path()) == before);
        EXPECT_TRUE(set.state.changed(dataKindOf(c.part)));
    }
}

TEST(VgaSave, ValueWithoutCodeStopsTheSaveBeforeAnyFileIsTouched) {
    SmallSetFolder set(balancedWithout(200));
    RecordingPrompter prompter;
    set.archive.pictures().pictures[0].set(1, 1, 200);
    const FolderFiles before(set.dir.path());
    EXPECT_EQ(set.save(VgaPartSet{true, true, true, true}, set.files, prompter),
              JobResult::Failure);
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].title, "Huffman table incomplete!");
    EXPECT_EQ(prompter.prompts()[0].text,
              "The dictionary has no code for byte value 200, which picture 0 holds.\nNothing was "
              "saved.");
    EXPECT_TRUE(FolderFiles(set.dir.path()) == before);
}

TEST(VgaSave, CancelLeavesTheOldFilesAndTheChangedFlags) {
    SmallSetFolder set;
    const FolderFiles before(set.dir.path());
    RecordingPrompter prompter;
    std::optional<VgaSaveJob> job = prepareVgaSave(
        set.archive, set.state, VgaPartSet{true, true, true, true}, set.files, prompter);
    ASSERT_TRUE(job.has_value());
    JobChannel channel;
    channel.requestCancel();
    JobContext context(set.progress, prompter, &channel);
    JobResult result = runVgaSave(*job, context);
    EXPECT_EQ(result, JobResult::Failure);
    EXPECT_FALSE(finishVgaSave(*job, result, set.state, prompter));
    EXPECT_TRUE(FolderFiles(set.dir.path()) == before);
    EXPECT_TRUE(set.state.changed(DataKind::Graphics));
}

TEST(VgaSave, FinishedJobIsPutInPlaceOnlyOnSuccess) {
    SmallSetFolder set;
    set.archive.screens()[0].setCell(0, 0, 'Q', 7);
    struct Case {
        JobResult result;
        bool written;
        const char* message;
    };
    const Case cases[] = {
        {JobResult::NothingDone, false, "Unexpected m_Progress response!"},
        {JobResult::Failure, false, nullptr},
        {JobResult::Success, true, nullptr},
    };
    for (const Case& c : cases) {
        RecordingPrompter prompter;
        const Bytes graphBefore = fileBytes(set.files.graph.fullPath());
        std::optional<VgaSaveJob> job = prepareVgaSave(
            set.archive, set.state, VgaPartSet::only(VgaPart::Screens), set.files, prompter);
        ASSERT_TRUE(job.has_value());
        JobContext context(set.progress, prompter);
        ASSERT_EQ(runVgaSave(*job, context), JobResult::Success);
        EXPECT_TRUE(fs::exists(set.files.graph.withSuffix(".tmp")));
        EXPECT_EQ(finishVgaSave(*job, c.result, set.state, prompter), c.written);
        EXPECT_EQ(fileBytes(set.files.graph.fullPath()) != graphBefore, c.written);
        EXPECT_EQ(set.state.changed(DataKind::Screens), !c.written);
        if (c.message) {
            ASSERT_EQ(prompter.prompts().size(), 1u);
            EXPECT_EQ(prompter.prompts()[0].title, "CTessarandDlg::SaveScreens()");
            EXPECT_EQ(prompter.prompts()[0].text, c.message);
        } else {
            EXPECT_TRUE(prompter.empty());
        }
    }
}

TEST(VgaSave, ScreensGoAfterTheTile8ChunkWhenTheFileHasNone) {
    SmallSetFolder set;
    std::vector<ChunkContent> contents = smallSetContents();
    contents.erase(contents.begin() + 5); // the screen
    contents.push_back({pattern(5, 1)});
    Bytes dictionary = balancedDictionaryBytes();
    testdata::TempDir other;
    VgaFiles target =
        writeSet(other.path(), compressChunks(contents, dictionaryFrom(dictionary)), dictionary);
    RecordingPrompter prompter;
    ASSERT_EQ(set.save(VgaPartSet::only(VgaPart::Screens), target, prompter), JobResult::Success);
    std::vector<int64_t> offsets = readVgaHead(fileBytes(target.head.fullPath()));
    Bytes graph = fileBytes(target.graph.fullPath());
    ValidateChunkOffsets(offsets, graph.size());
    VgaChunks chunks = VgaChunks::fromFile(offsets, graph);
    // Two chunks after the tile8 chunk (4), before the last further chunk.
    ASSERT_EQ(chunks.count(), 8);
    const HuffmanDictionary& dict = set.archive.dictionary();
    EXPECT_TRUE(chunkIsScreen(chunks, 6, dict, 4));
    EXPECT_FALSE(chunkIsScreen(chunks, 5, dict, 4));
    EXPECT_EQ(chunks.chunks[7], compressChunks({{pattern(5, 1)}}, dict).chunks[0]);
}

TEST(VgaSave, CompleteSaveWritesOnlyLoadedPartsAndSaveAllOnlyChangedOnes) {
    DocumentState state;
    state.setLoaded(DataKind::Graphics, true);
    state.setLoaded(DataKind::Fonts, true);
    state.setChanged(DataKind::Fonts, true);
    VgaPartSet all = vgaPartsToSave(state, false);
    EXPECT_TRUE(all.pictures && all.fonts && !all.tile8s && !all.screens);
    VgaPartSet changed = vgaPartsToSave(state, true);
    EXPECT_TRUE(!changed.pictures && changed.fonts && !changed.tile8s && !changed.screens);

    // Fonts not loaded: "Save all" keeps the fonts of the file instead of writing none.
    SmallSetFolder set;
    set.state.setLoaded(DataKind::Fonts, false);
    set.archive.clear(VgaPart::Fonts);
    RecordingPrompter prompter;
    ASSERT_EQ(set.save(vgaPartsToSave(set.state, false), set.files, prompter), JobResult::Success);
    GraphicsArchive again;
    DocumentState againState;
    ASSERT_EQ(loadVgaParts(again, againState, VgaLoadKind::Fonts, set.files, true, prompter,
                           set.progress),
              JobResult::Success);
    EXPECT_EQ(again.fonts(), std::vector<Bytes>{smallSetContents()[1].content});
}

namespace {

struct RecordingProgress : ProgressSink {
    std::vector<std::string> titles, counts;
    std::vector<int> positions;
    int high = 0;
    void setTitle(const std::string& title) override { titles.push_back(title); }
    void setCount(const std::string& count) override { counts.push_back(count); }
    void setRange(int, int to) override { high = to; }
    void setPosition(int position) override { positions.push_back(position); }
};

} // namespace

// The progress dialog shows the phase, the item counts and a bar from 0 to 101.
TEST(VgaSave, LoadAndSaveReportTheirSteps) {
    SmallSetFolder set;
    RecordingPrompter prompter;
    RecordingProgress loading;
    ASSERT_EQ(loadVgaParts(set.archive, set.state, VgaLoadKind::Pictures, set.files, true, prompter,
                           loading),
              JobResult::Success);
    EXPECT_EQ(loading.titles,
              (std::vector<std::string>{"Loading graphics header...", "Load graphics table...",
                                        "Load graphics..."}));
    EXPECT_EQ(loading.counts, (std::vector<std::string>{"1/2", "2/2"}));
    EXPECT_EQ(loading.positions, (std::vector<int>{0, 1, 2, 52}));
    EXPECT_EQ(loading.high, 101);

    RecordingProgress saving;
    ASSERT_EQ(saveVgaParts(set.archive, set.state, VgaPartSet::only(VgaPart::Pictures), set.files,
                           prompter, saving),
              JobResult::Success);
    EXPECT_EQ(saving.titles, (std::vector<std::string>{
                                 "Saving dictionary...", "Checking for existing graphics file...",
                                 "Scanning existing graphics file...",
                                 "Rebuilding existing file with new graphics..."}));
    EXPECT_EQ(saving.counts, (std::vector<std::string>{"Picture table", "Fonts", "1/2", "2/2"}));
    EXPECT_EQ(saving.positions.back(), 1 * 98 / (2 + 3) + 5);

    testdata::TempDir empty;
    RecordingProgress creating;
    ASSERT_EQ(saveVgaParts(set.archive, set.state, VgaPartSet::only(VgaPart::Pictures),
                           filesIn(empty.path()), prompter, creating),
              JobResult::Success);
    EXPECT_EQ(creating.titles, (std::vector<std::string>{"Saving dictionary...",
                                                         "Checking for existing graphics file...",
                                                         "Saving graphics..."}));
    EXPECT_EQ(creating.positions, (std::vector<int>{0, 1, 1, 2, 3, 53}));
    EXPECT_TRUE(prompter.empty());
}
