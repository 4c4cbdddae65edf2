#include "vgagraph/vga_save.h"

#include "vgagraph/tile8.h"
#include "vgagraph/vga_chunks.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <span>

namespace fs = std::filesystem;

namespace {

constexpr VgaPart kSaveOrder[] = {VgaPart::Pictures, VgaPart::Screens, VgaPart::Fonts,
                                  VgaPart::Tile8s};

const char* saverTitle(VgaPart part) {
    switch (part) {
    case VgaPart::Pictures:
        return "CTessarandDlg::SaveGraphics()";
    case VgaPart::Fonts:
        return "CTessarandDlg::SaveFonts()";
    case VgaPart::Tile8s:
        return "CTessarandDlg::SaveTile8s()";
    case VgaPart::Screens:
        return "CTessarandDlg::SaveScreens()";
    }
    return "";
}

const char* cannotCreateText(VgaPart part) {
    switch (part) {
    case VgaPart::Fonts:
        return "Sorry, but it's not possible yet to create\nnew VGAGRAPH files while saving fonts!";
    case VgaPart::Screens:
        return "Sorry, but it's not possible yet to create\nnew VGAGRAPH files while saving "
               "screens!";
    case VgaPart::Tile8s:
        return "Sorry, but it's not possible yet to create\nnew VGAGRAPH files while saving "
               "tile8s!";
    case VgaPart::Pictures:
        break;
    }
    return "";
}

// content compressed, behind a 4-byte length field unless it is the tile8 chunk.
std::optional<Bytes> compressChunk(ByteView content, std::optional<uint32_t> lengthField,
                                   const HuffmanDictionary& dictionary, const std::string& what,
                                   Prompter& prompter) {
    int missing = 0;
    std::optional<Bytes> compressed = HuffmanCompress(content, dictionary, &missing);
    if (!compressed) {
        char text[256];
        std::snprintf(text, sizeof text,
                      "The dictionary has no code for byte value %i, which %s holds.\nNothing was "
                      "saved.",
                      missing, what.c_str());
        prompter.tell("Huffman table incomplete!", text, PromptIcon::Exclamation);
        return std::nullopt;
    }
    if (!lengthField)
        return compressed;
    Bytes chunk;
    chunk.reserve(compressed->size() + 4);
    ByteWriter writer(chunk);
    writer.u32(*lengthField);
    writer.bytes(*compressed);
    return chunk;
}

std::string numbered(const char* what, size_t index) {
    return what + std::to_string(index);
}

// The picture table chunk; its length field holds the table's own length, as in the game's files.
std::optional<Bytes> pictureTableChunk(const PicturePart& pictures,
                                       const HuffmanDictionary& dictionary, Prompter& prompter) {
    Bytes table = pictureTableBytes(pictures.table());
    return compressChunk(table, uint32_t(table.size()), dictionary, "the picture table", prompter);
}

std::optional<Bytes> pictureChunk(const PicturePart& pictures, size_t index,
                                  const HuffmanDictionary& dictionary, Prompter& prompter) {
    Bytes planar = pictureToPlanar(pictures.pictures[index]);
    return compressChunk(planar, uint32_t(planar.size()), dictionary, numbered("picture ", index),
                         prompter);
}

bool writeTmp(std::unique_ptr<SafeWriter>& writer, const fs::path& path, ByteView data,
              const char* title, Prompter& prompter) {
    writer = std::make_unique<SafeWriter>(path);
    if (!writer->begin() || !writer->write(data)) {
        writer->abandon();
        prompter.tell(title, path.string(), PromptIcon::Exclamation);
        return false;
    }
    return true;
}

// The first 1020 bytes of a dictionary file, when it has them.
std::optional<Bytes> dictionaryNodesOnDisk(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    Bytes nodes(kHuffmanDictionarySize);
    in.read(reinterpret_cast<char*>(nodes.data()), std::streamsize(nodes.size()));
    if (size_t(in.gcount()) != nodes.size())
        return std::nullopt;
    return nodes;
}

// Puts back what commit() replaced, for the files of a set committed before one that failed.
void undoCommit(const SafeWriter& writer) {
    std::error_code error;
    if (fs::exists(writer.bakPath(), error))
        fs::rename(writer.bakPath(), writer.destination(), error);
    else
        fs::remove(writer.destination(), error);
}

} // namespace

VgaPartSet VgaPartSet::only(VgaPart part) {
    VgaPartSet set;
    set.set(part, true);
    return set;
}

bool VgaPartSet::has(VgaPart part) const {
    switch (part) {
    case VgaPart::Pictures:
        return pictures;
    case VgaPart::Fonts:
        return fonts;
    case VgaPart::Tile8s:
        return tile8s;
    case VgaPart::Screens:
        return screens;
    }
    return false;
}

void VgaPartSet::set(VgaPart part, bool value) {
    switch (part) {
    case VgaPart::Pictures:
        pictures = value;
        break;
    case VgaPart::Fonts:
        fonts = value;
        break;
    case VgaPart::Tile8s:
        tile8s = value;
        break;
    case VgaPart::Screens:
        screens = value;
        break;
    }
}

VgaPartSet vgaPartsToSave(const DocumentState& state, bool onlyChanged) {
    VgaPartSet parts;
    for (VgaPart part : kSaveOrder) {
        DataKind kind = dataKindOf(part);
        parts.set(part, state.loaded(kind) && (!onlyChanged || state.changed(kind)));
    }
    return parts;
}

namespace {

// The picture table, the font chunks, the pictures and the trailing chunks; the bar stands at
// tableBar for the table, one further for the fonts and at pictureBar(i) for picture i.
bool assemblePictures(VgaChunks& file, const PicturePart& pictures, std::span<const Bytes> fonts,
                      std::span<const Bytes> trailing, int tableBar,
                      const std::function<int(int)>& pictureBar,
                      const HuffmanDictionary& dictionary, JobContext& context) {
    Prompter& prompter = context.prompter();
    context.progress().setCount("Picture table");
    context.position(tableBar);
    VgaChunks built;
    std::optional<Bytes> table = pictureTableChunk(pictures, dictionary, prompter);
    if (!table)
        return false;
    built.chunks.push_back(std::move(*table));
    context.progress().setCount("Fonts");
    context.position(tableBar + 1);
    built.chunks.insert(built.chunks.end(), fonts.begin(), fonts.end());
    const int count = pictures.count();
    for (int i = 0; i < count; ++i) {
        if (context.cancelled())
            return false;
        context.count(i + 1, count);
        context.position(pictureBar(i));
        std::optional<Bytes> chunk = pictureChunk(pictures, size_t(i), dictionary, prompter);
        if (!chunk)
            return false;
        built.chunks.push_back(std::move(*chunk));
    }
    built.chunks.insert(built.chunks.end(), trailing.begin(), trailing.end());
    file = std::move(built);
    return true;
}

} // namespace

bool buildNewGraphics(VgaChunks& file, const PicturePart& pictures,
                      const HuffmanDictionary& dictionary, JobContext& context) {
    context.title("Saving graphics...");
    const int count = pictures.count();
    return assemblePictures(
        file, pictures, pictures.rawFontChunks, pictures.rawTrailingChunks, 1,
        [count](int i) { return i * 100 / count + 3; }, dictionary, context);
}

bool rebuildWithPictures(VgaChunks& file, const PicturePart& pictures,
                         const HuffmanDictionary& dictionary, JobContext& context) {
    VgaLayout layout = scanVgaLayout(file, dictionary);
    const int fileFirst = layout.firstPictureChunk();
    const int fileEnd = fileFirst + layout.pictureCount();
    if (fileEnd > file.count()) {
        context.prompter().tell("Graphics pictable or Huffman table corrupt!",
                                "The picture table lists more pictures than the file holds "
                                "chunks!");
        return false;
    }
    context.title("Rebuilding existing file with new graphics...");
    const int count = pictures.count();
    const int kept = file.count() - fileEnd;
    std::span<const Bytes> chunks = file.chunks;
    return assemblePictures(
        file, pictures, chunks.subspan(1, size_t(fileFirst - 1)), chunks.subspan(size_t(fileEnd)),
        3, [count, kept](int i) { return i * 98 / (count + kept) + 5; }, dictionary, context);
}

bool rebuildWithFonts(VgaChunks& file, const std::vector<Bytes>& fonts,
                      const HuffmanDictionary& dictionary, JobContext& context) {
    Prompter& prompter = context.prompter();
    const int fileFonts = countFontChunks(file, dictionary);
    context.title("Rebuilding existing file with new fonts...");
    context.progress().setCount("Picture table");
    context.position(3);
    VgaChunks built;
    built.chunks.push_back(file.chunks[0]);
    for (size_t i = 0; i < fonts.size(); ++i) {
        std::optional<Bytes> chunk = compressChunk(fonts[i], uint32_t(fonts[i].size()), dictionary,
                                                   numbered("font ", i), prompter);
        if (!chunk)
            return false;
        built.chunks.push_back(std::move(*chunk));
    }
    built.chunks.insert(built.chunks.end(), file.chunks.begin() + 1 + fileFonts, file.chunks.end());
    file = std::move(built);
    return true;
}

bool rebuildWithTile8s(VgaChunks& file, ByteView tile8s, const HuffmanDictionary& dictionary,
                       JobContext& context) {
    Prompter& prompter = context.prompter();
    const int tile8Chunk = scanVgaLayout(file, dictionary).tile8Chunk();
    if (tile8Chunk >= file.count()) {
        prompter.tell("Graphics pictable or Huffman table corrupt!",
                      "The graphics file has no chunk for the tile8s after its pictures!");
        return false;
    }
    context.title("Rebuilding existing file with new tile8s...");
    context.progress().setCount("Picture table");
    context.position(3);
    // Empty tiles at the end are left out; loading fills them with zeros again.
    size_t used = size_t(usedTile8Count(tile8s)) * kTile8Bytes;
    std::optional<Bytes> chunk = compressChunk(tile8s.first(std::min(used, tile8s.size())),
                                               std::nullopt, dictionary, "the tile8s", prompter);
    if (!chunk)
        return false;
    file.chunks[size_t(tile8Chunk)] = std::move(*chunk);
    return true;
}

bool rebuildWithScreens(VgaChunks& file, const std::vector<TextScreen>& screens,
                        const HuffmanDictionary& dictionary, JobContext& context) {
    Prompter& prompter = context.prompter();
    VgaLayout layout = scanVgaLayout(file, dictionary);
    const int tile8Chunk = layout.tile8Chunk();
    int runStart = -1;
    for (int chunk = 1; chunk < file.count() && runStart < 0; ++chunk)
        if (chunkIsScreen(file, chunk, dictionary, tile8Chunk))
            runStart = chunk;
    int runEnd = runStart;
    if (runStart < 0) {
        // No screen yet: they go two chunks after the tile8 chunk, or at the end.
        runStart = runEnd = std::min(layout.tile8Chunk() + 2, file.count());
    } else {
        while (runEnd < file.count() && chunkIsScreen(file, runEnd, dictionary, tile8Chunk))
            ++runEnd;
    }
    context.title("Rebuilding existing file with new screens...");
    context.progress().setCount("Picture table");
    context.position(3);
    VgaChunks built;
    built.chunks.assign(file.chunks.begin(), file.chunks.begin() + runStart);
    for (size_t i = 0; i < screens.size(); ++i) {
        std::optional<Bytes> chunk = compressChunk(screens[i].data, uint32_t(kScreenChunkSize),
                                                   dictionary, numbered("screen ", i), prompter);
        if (!chunk)
            return false;
        built.chunks.push_back(std::move(*chunk));
    }
    built.chunks.insert(built.chunks.end(), file.chunks.begin() + runEnd, file.chunks.end());
    file = std::move(built);
    return true;
}

std::optional<VgaSaveJob> prepareVgaSave(GraphicsArchive& archive, const DocumentState& state,
                                         VgaPartSet parts, const VgaFiles& files,
                                         Prompter& prompter, const FileChooser& chooseFile) {
    for (VgaPart part : kSaveOrder)
        if (!state.loaded(dataKindOf(part)))
            parts.set(part, false);
    if (!parts.any())
        return std::nullopt;
    HuffmanDictionary& dictionary = archive.dictionary();
    if (!ensureHuffmanLoaded(dictionary, files.dictionary.fullPath(), prompter, chooseFile))
        return std::nullopt;
    VgaSaveJob job;
    job.parts = parts;
    job.files = files;
    job.archive = &archive;
    return job;
}

JobResult runVgaSave(VgaSaveJob& job, JobContext& context) {
    Prompter& prompter = context.prompter();
    if (!job.archive || !job.archive->dictionary().loaded())
        return JobResult::Failure;
    const GraphicsArchive& archive = *job.archive;
    const HuffmanDictionary& dictionary = archive.dictionary();
    context.range(101);

    // Everything is built in memory first; the ".tmp" files are written at the end, so a save
    // refused on the way leaves nothing behind.
    context.title("Saving dictionary...");
    context.position(0);
    const Bytes dictionaryBytes = dictionary.toBytes();

    context.title("Checking for existing graphics file...");
    context.position(1);
    const fs::path graphPath = job.files.graph.fullPath();
    std::error_code error;
    const bool graphExists = fs::exists(graphPath, error);
    VgaChunks file;
    VgaPartSet pending = job.parts;
    if (!graphExists) {
        if (!job.parts.pictures) {
            for (VgaPart part : kSaveOrder) {
                if (job.parts.has(part)) {
                    prompter.tell("Graphics file doesn't exist!", cannotCreateText(part),
                                  PromptIcon::Information);
                    break;
                }
            }
            return JobResult::Failure;
        }
        if (!buildNewGraphics(file, archive.pictures(), dictionary, context))
            return JobResult::Failure;
        pending.pictures = false;
    } else {
        context.title("Scanning existing graphics file...");
        context.position(2);
        std::optional<std::vector<int64_t>> offsets = readVgaHeadFile(
            job.files.head.fullPath(), "Couldn't open graphics header file:", prompter);
        if (!offsets)
            return JobResult::Failure;
        std::optional<Bytes> graph =
            readVgaGraphFile(graphPath, "Couldn't open graphics file:", prompter);
        if (!graph)
            return JobResult::Failure;
        if (!reportOffsetCheck(ValidateChunkOffsets(*offsets, graph->size()), prompter))
            return JobResult::Failure;
        // Kept chunks stay compressed as they are: with another dictionary beside them they
        // would no longer decode.
        std::optional<Bytes> theirs = dictionaryNodesOnDisk(job.files.dictionary.fullPath());
        if (theirs && !std::equal(theirs->begin(), theirs->end(), dictionaryBytes.begin())) {
            prompter.tell("Graphics file doesn't match the dictionary!",
                          graphPath.string() +
                              "\nwas compressed with another dictionary than the one loaded.\n"
                              "Saving into it would make its other chunks unreadable.",
                          PromptIcon::Exclamation);
            return JobResult::Failure;
        }
        file = VgaChunks::fromFile(*offsets, *graph);
    }

    bool justScanned = graphExists;
    for (VgaPart part : kSaveOrder) {
        if (!pending.has(part))
            continue;
        if (context.cancelled())
            return JobResult::Failure;
        if (!justScanned) {
            context.title("Scanning existing graphics file...");
            context.position(2);
        }
        justScanned = false;
        bool rebuilt = false;
        switch (part) {
        case VgaPart::Pictures:
            rebuilt = rebuildWithPictures(file, archive.pictures(), dictionary, context);
            break;
        case VgaPart::Screens:
            rebuilt = rebuildWithScreens(file, archive.screens(), dictionary, context);
            break;
        case VgaPart::Fonts:
            rebuilt = rebuildWithFonts(file, archive.fonts(), dictionary, context);
            break;
        case VgaPart::Tile8s:
            rebuilt = rebuildWithTile8s(file, archive.tile8s(), dictionary, context);
            break;
        }
        if (!rebuilt)
            return JobResult::Failure;
    }
    if (context.cancelled())
        return JobResult::Failure;

    std::optional<Bytes> head = file.headBytes();
    if (!head) {
        prompter.tell("Couldn't create graphics header file:",
                      "The graphics would grow beyond the 16 MB that VGAHEAD can address.",
                      PromptIcon::Exclamation);
        return JobResult::Failure;
    }
    if (!writeTmp(job.dictionaryFile, job.files.dictionary.fullPath(), dictionaryBytes,
                  "Couldn't create dictionary file:", prompter))
        return JobResult::Failure;
    if (!writeTmp(job.graphFile, graphPath, file.graphBytes(),
                  graphExists ? "Couldn't create new graphics file:"
                              : "Couldn't create graphics file:",
                  prompter))
        return JobResult::Failure;
    if (!writeTmp(job.headFile, job.files.head.fullPath(), *head,
                  "Couldn't create graphics header file:", prompter))
        return JobResult::Failure;
    return JobResult::Success;
}

bool finishVgaSave(VgaSaveJob& job, JobResult result, DocumentState& state, Prompter& prompter) {
    SafeWriter* writers[] = {job.dictionaryFile.get(), job.graphFile.get(), job.headFile.get()};
    if (result != JobResult::Success) {
        for (SafeWriter* writer : writers)
            if (writer)
                writer->abandon();
        if (result != JobResult::Failure) {
            for (VgaPart part : kSaveOrder) {
                if (job.parts.has(part)) {
                    prompter.tell(saverTitle(part), "Unexpected m_Progress response!");
                    break;
                }
            }
        }
        return false;
    }
    const char* titles[] = {
        "Couldn't create dictionary file:", "Couldn't create new graphics file:",
        "Couldn't create graphics header file:"};
    for (size_t i = 0; i < std::size(writers); ++i) {
        if (!writers[i])
            return false;
        std::string error;
        if (!writers[i]->commit(&error)) {
            for (size_t done = 0; done < i; ++done)
                undoCommit(*writers[done]);
            prompter.tell(titles[i], error, PromptIcon::Exclamation);
            return false;
        }
    }
    for (VgaPart part : kSaveOrder) {
        if (!job.parts.has(part))
            continue;
        state.setLocked(dataKindOf(part), false);
        state.setChanged(dataKindOf(part), false);
    }
    return true;
}

JobResult saveVgaParts(GraphicsArchive& archive, DocumentState& state, VgaPartSet parts,
                       const VgaFiles& files, Prompter& prompter, ProgressSink& progress,
                       const FileChooser& chooseFile) {
    std::optional<VgaSaveJob> job =
        prepareVgaSave(archive, state, parts, files, prompter, chooseFile);
    if (!job)
        return JobResult::Failure;
    JobResult result = runJobHere([&](JobContext& context) { return runVgaSave(*job, context); },
                                  progress, prompter);
    if (!finishVgaSave(*job, result, state, prompter))
        return JobResult::Failure;
    return result;
}
