#include "vgagraph/vga_load.h"

#include "vgagraph/vga_chunks.h"

#include <algorithm>

namespace {

struct OpenTitles {
    const char* head;
    const char* graph;
};

OpenTitles openTitles(VgaLoadKind kind) {
    switch (kind) {
    case VgaLoadKind::Complete:
    case VgaLoadKind::Pictures:
        return {"Need VGAHEAD! Couldn't open file:", "Need VGAGRAPH! Couldn't open file:"};
    case VgaLoadKind::Fonts:
        return {"CTessarandDlg::LoadFonts: Couldn't open header file:",
                "CTessarandDlg::LoadFonts: Couldn't open file:"};
    case VgaLoadKind::Screens:
        return {"CTessarandDlg::LoadScreens: Couldn't open header file:",
                "CTessarandDlg::LoadScreens(): Couldn't open file:"};
    case VgaLoadKind::Tile8s:
        return {"Couldn't open file:", "CTessarandDlg::LoadTile8s: Couldn't open file:"};
    }
    return {"", ""};
}

// VGAHEAD and VGAGRAPH read, checked and cut into chunks.
std::optional<VgaChunks> readChunks(const VgaLoadJob& job, JobContext& context) {
    Prompter& prompter = context.prompter();
    OpenTitles titles = openTitles(job.kind);
    bool onWorker = vgaLoadRunsOnWorker(job.kind);
    if (onWorker) {
        context.title("Loading graphics header...");
        context.position(0);
    }
    std::optional<std::vector<int64_t>> offsets =
        readVgaHeadFile(job.files.head.fullPath(), titles.head, prompter);
    if (!offsets)
        return std::nullopt;
    if (offsets->size() < 2) {
        prompter.tell("Graphics header corrupt!", "Invalid VGAHEAD file!");
        return std::nullopt;
    }
    if (onWorker) {
        context.title("Load graphics table...");
        context.position(1);
    }
    std::optional<Bytes> graph =
        readVgaGraphFile(job.files.graph.fullPath(), titles.graph, prompter);
    if (!graph)
        return std::nullopt;
    if (!reportOffsetCheck(ValidateChunkOffsets(*offsets, graph->size()), prompter))
        return std::nullopt;
    return VgaChunks::fromFile(*offsets, *graph);
}

void markLoaded(DocumentState& state, VgaPart part, bool loaded) {
    DataKind kind = dataKindOf(part);
    state.setLoaded(kind, loaded);
    state.setLocked(kind, false);
    state.setChanged(kind, false);
}

} // namespace

bool vgaLoadRunsOnWorker(VgaLoadKind kind) {
    return kind == VgaLoadKind::Complete || kind == VgaLoadKind::Pictures;
}

std::optional<VgaLoadJob> prepareVgaLoad(GraphicsArchive& archive, DocumentState& state,
                                         VgaLoadKind kind, const VgaFiles& files,
                                         bool rereadDictionary, Prompter& prompter,
                                         const FileChooser& chooseFile) {
    state.loadAllUsed = false;
    HuffmanDictionary& dictionary = archive.dictionary();
    if (rereadDictionary)
        dictionary.setLoaded(false);
    if (!ensureHuffmanLoaded(dictionary, files.dictionary.fullPath(), prompter, chooseFile))
        return std::nullopt;
    VgaLoadJob job;
    job.kind = kind;
    job.files = files;
    job.dictionary = &dictionary;
    return job;
}

JobResult LoadGraphics(const VgaChunks& chunks, const HuffmanDictionary& dictionary,
                       PicturePart& pictures, JobContext& context) {
    Prompter& prompter = context.prompter();
    VgaLayout layout = scanVgaLayout(chunks, dictionary);
    const int first = layout.firstPictureChunk();
    const int count = layout.pictureCount();
    if (first + count > chunks.count()) {
        prompter.tell("Graphics pictable or Huffman table corrupt!",
                      "The picture table lists more pictures than the file holds chunks!");
        return JobResult::Failure;
    }
    PicturePart loaded;
    loaded.firstPictureChunk = first;
    loaded.rawFontChunks.assign(chunks.chunks.begin() + 1, chunks.chunks.begin() + first);
    loaded.pictures.reserve(size_t(count));
    context.title("Load graphics...");
    for (int i = 0; i < count; ++i) {
        if (context.cancelled())
            return JobResult::Failure;
        context.count(i + 1, count);
        context.position(i * 100 / count + 2);
        const PictureSize& size = layout.pictureTable[size_t(i)];
        std::optional<Bytes> content = LoadChunk(first + i, chunks, dictionary, -1, &prompter);
        if (!content)
            content.emplace();
        if (size.width < 0 || size.height < 0 ||
            content->size() != size_t(size.width) * size_t(size.height)) {
            prompter.tell("Graphics pictable or Huffman table corrupt!",
                          "The size of a graphic doesn't correspond\nto the width and height of "
                          "the pictable!");
            return JobResult::Failure;
        }
        loaded.pictures.push_back(pictureFromPlanar(*content, size.width, size.height));
    }
    loaded.rawTrailingChunks.assign(chunks.chunks.begin() + first + count, chunks.chunks.end());
    pictures = std::move(loaded);
    return JobResult::Success;
}

std::vector<Bytes> LoadFonts(const VgaChunks& chunks, const HuffmanDictionary& dictionary,
                             Prompter& prompter) {
    std::vector<Bytes> fonts;
    const int count = countFontChunks(chunks, dictionary);
    for (int chunk = 1; chunk <= count; ++chunk) {
        std::optional<Bytes> content = LoadChunk(chunk, chunks, dictionary, -1, &prompter);
        if (!content || content->size() < kFontFirstPixels)
            break;
        fonts.push_back(std::move(*content));
    }
    return fonts;
}

std::vector<TextScreen> LoadScreens(const VgaChunks& chunks, const HuffmanDictionary& dictionary,
                                    int tile8Chunk, Prompter& prompter) {
    std::vector<TextScreen> screens;
    for (int chunk = 1; chunk < chunks.count(); ++chunk) {
        if (!chunkIsScreen(chunks, chunk, dictionary, tile8Chunk))
            continue;
        std::optional<Bytes> content = LoadChunk(chunk, chunks, dictionary, tile8Chunk, &prompter);
        if (!content || !isScreenChunk(*content))
            continue;
        TextScreen screen;
        std::copy(content->begin(), content->end(), screen.data.begin());
        screen.chunk = chunk;
        screens.push_back(screen);
    }
    return screens;
}

std::optional<Bytes> LoadTile8s(const VgaChunks& chunks, const HuffmanDictionary& dictionary,
                                Prompter& prompter) {
    const int tile8Chunk = scanVgaLayout(chunks, dictionary).tile8Chunk();
    return LoadChunk(tile8Chunk, chunks, dictionary, tile8Chunk, &prompter);
}

JobResult runVgaLoad(VgaLoadJob& job, JobContext& context) {
    if (vgaLoadRunsOnWorker(job.kind))
        context.range(101);
    if (!job.dictionary || !job.dictionary->loaded())
        return JobResult::Failure;
    const HuffmanDictionary& dictionary = *job.dictionary;
    Prompter& prompter = context.prompter();
    std::optional<VgaChunks> chunks = readChunks(job, context);
    if (!chunks)
        return JobResult::Failure;

    switch (job.kind) {
    case VgaLoadKind::Complete: {
        PicturePart pictures;
        if (LoadGraphics(*chunks, dictionary, pictures, context) != JobResult::Success)
            return JobResult::Failure;
        const int tile8Chunk = pictures.firstPictureChunk + pictures.count();
        // A set without text screens or a readable tile8 chunk still loads its other parts.
        std::vector<TextScreen> screens = LoadScreens(*chunks, dictionary, tile8Chunk, prompter);
        if (!screens.empty())
            job.screens = std::move(screens);
        job.fonts = LoadFonts(*chunks, dictionary, prompter);
        job.tile8s = LoadChunk(tile8Chunk, *chunks, dictionary, tile8Chunk, &prompter);
        job.pictures = std::move(pictures);
        break;
    }
    case VgaLoadKind::Pictures: {
        PicturePart pictures;
        if (LoadGraphics(*chunks, dictionary, pictures, context) != JobResult::Success)
            return JobResult::Failure;
        job.pictures = std::move(pictures);
        break;
    }
    case VgaLoadKind::Fonts:
        job.fonts = LoadFonts(*chunks, dictionary, prompter);
        break;
    case VgaLoadKind::Screens: {
        const int tile8Chunk = scanVgaLayout(*chunks, dictionary).tile8Chunk();
        std::vector<TextScreen> screens = LoadScreens(*chunks, dictionary, tile8Chunk, prompter);
        if (screens.empty())
            return JobResult::Failure;
        job.screens = std::move(screens);
        break;
    }
    case VgaLoadKind::Tile8s:
        job.tile8s = LoadTile8s(*chunks, dictionary, prompter);
        if (!job.tile8s)
            return JobResult::Failure;
        break;
    }
    return context.cancelled() ? JobResult::Failure : JobResult::Success;
}

bool finishVgaLoad(GraphicsArchive& archive, DocumentState& state, VgaLoadJob& job,
                   JobResult result) {
    if (result != JobResult::Success)
        return false;
    if (job.kind == VgaLoadKind::Complete) {
        archive.clearAll();
        for (VgaPart part : {VgaPart::Pictures, VgaPart::Fonts, VgaPart::Tile8s, VgaPart::Screens})
            markLoaded(state, part, false);
    }
    if (job.pictures) {
        archive.pictures() = std::move(*job.pictures);
        markLoaded(state, VgaPart::Pictures, true);
    }
    if (job.fonts) {
        archive.fonts() = std::move(*job.fonts);
        markLoaded(state, VgaPart::Fonts, true);
    }
    if (job.tile8s) {
        archive.tile8s() = std::move(*job.tile8s);
        markLoaded(state, VgaPart::Tile8s, true);
    }
    if (job.screens) {
        archive.screens() = std::move(*job.screens);
        markLoaded(state, VgaPart::Screens, true);
    }
    return true;
}

JobResult loadVgaParts(GraphicsArchive& archive, DocumentState& state, VgaLoadKind kind,
                       const VgaFiles& files, bool rereadDictionary, Prompter& prompter,
                       ProgressSink& progress, const FileChooser& chooseFile) {
    std::optional<VgaLoadJob> job =
        prepareVgaLoad(archive, state, kind, files, rereadDictionary, prompter, chooseFile);
    if (!job)
        return JobResult::Failure;
    JobResult result = runJobHere([&](JobContext& context) { return runVgaLoad(*job, context); },
                                  progress, prompter);
    finishVgaLoad(archive, state, *job, result);
    return result;
}
