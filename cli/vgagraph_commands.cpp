// VGAGRAPH in tessarand-cli: counts for `info`, pictures, font characters, tile8s and screens
// for `export`, and VGAHEAD, VGAGRAPH and VGADICT for `compress-all`.

#include "cli_registry.h"

#include "vgagraph/font.h"
#include "vgagraph/tile8.h"
#include "vgagraph/vga_load.h"
#include "vgagraph/vga_save.h"

#include <cstdio>

namespace fs = std::filesystem;

namespace {

// The set Load All would load: the selected VGAGRAPH with the selected VGAHEAD and VGADICT (or
// their siblings).
std::optional<VgaFiles> selectedFiles(const CliContext& context) {
    const LoadAllSelection& selection = context.selection;
    if (!selection.vgaGraph)
        return std::nullopt;
    VgaFiles files = VgaFiles::forGraph(*selection.vgaGraph);
    if (selection.vgaHead)
        files.head = *selection.vgaHead;
    if (selection.vgaDict)
        files.dictionary = *selection.vgaDict;
    return files;
}

struct LoadedSet {
    GraphicsArchive archive;
    DocumentState state;
    VgaFiles files;
};

std::unique_ptr<LoadedSet> loadSet(CliContext& context) {
    std::optional<VgaFiles> files = selectedFiles(context);
    if (!files)
        return nullptr;
    auto set = std::make_unique<LoadedSet>();
    set->files = *files;
    NullProgress progress;
    if (!LoadHuffman(set->archive.dictionary(), files->dictionary.fullPath(), context.prompter))
        return nullptr;
    if (loadVgaParts(set->archive, set->state, VgaLoadKind::Complete, *files, false,
                     context.prompter, progress) != JobResult::Success)
        return nullptr;
    return set;
}

std::string numbered(const char* prefix, int number, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%0*d", prefix, digits, number);
    return text;
}

bool makeFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        std::fprintf(stderr, "Cannot Open: %s\n", folder.string().c_str());
    return !error;
}

bool info(CliContext& context, InfoCounts& counts) {
    if (!selectedFiles(context))
        return true; // no VGAGRAPH in the folder: nothing to count, nothing failed
    std::unique_ptr<LoadedSet> set = loadSet(context);
    if (!set)
        return false;
    const GraphicsArchive& archive = set->archive;
    counts["pictures"] = archive.pictures().count();
    counts["fonts"] = long(archive.fonts().size());
    if (set->state.loaded(DataKind::Tile8s))
        counts["tile8s"] = kTile8Count;
    counts["screens"] = long(archive.screens().size());
    return true;
}

bool exportKinds(CliContext& context, const fs::path& outDir, const std::set<std::string>& kinds) {
    if (!kinds.count("pictures") && !kinds.count("fonts") && !kinds.count("tile8s") &&
        !kinds.count("screens"))
        return true;
    std::unique_ptr<LoadedSet> set = loadSet(context);
    if (!set)
        return false;
    const GraphicsArchive& archive = set->archive;
    bool ok = true;
    if (kinds.count("pictures") && archive.pictures().count() > 0) {
        ok = makeFolder(outDir / "pictures") && ok;
        for (int i = 0; i < archive.pictures().count(); ++i) {
            const IndexedImage& picture = archive.pictures().pictures[size_t(i)];
            if (!picture.empty())
                ok = writeExportImage(context, outDir / "pictures" / numbered("pic", i, 3),
                                      picture) &&
                     ok;
        }
    }
    if (kinds.count("fonts")) {
        for (size_t f = 0; f < archive.fonts().size(); ++f) {
            const Bytes& font = archive.fonts()[f];
            fs::path folder = outDir / "fonts" / ("font" + std::to_string(f));
            ok = makeFolder(folder) && ok;
            for (int c = 0; c < kFontCharacterCount; ++c) {
                IndexedImage image = fontCharacterImage(font, c);
                if (fontCharacterShown(font, c) && !image.empty())
                    ok = writeExportImage(context, folder / numbered("char", c, 3), image) && ok;
            }
        }
    }
    if (kinds.count("tile8s") && set->state.loaded(DataKind::Tile8s)) {
        ok = makeFolder(outDir / "tile8s") && ok;
        for (int t = 0; t < kTile8Count; ++t)
            ok = writeExportImage(context, outDir / "tile8s" / numbered("tile", t, 2),
                                  tile8Image(archive.tile8s(), t)) &&
                 ok;
    }
    if (kinds.count("screens") && !archive.screens().empty()) {
        ok = makeFolder(outDir / "screens") && ok;
        for (size_t s = 0; s < archive.screens().size(); ++s) {
            fs::path path = outDir / "screens" / (numbered("screen", int(s), 2) + ".SCR");
            ok = exportScreenFile(archive.screens()[s], path, context.prompter) && ok;
        }
    }
    return ok;
}

// The set is saved into copies of its files in OUTDIR, so that the chunks kept as they are come
// from the loaded set; the backups the save leaves there are removed.
bool compress(CliContext& context, const fs::path& outDir) {
    if (!context.selection.vgaGraph)
        return true;
    std::unique_ptr<LoadedSet> set = loadSet(context);
    if (!set)
        return false;
    auto into = [&](const GameFilePath& file) {
        GameFilePath moved = file;
        moved.folder = outDir.string();
        return moved;
    };
    VgaFiles target{into(set->files.graph), into(set->files.head), into(set->files.dictionary)};
    std::error_code error;
    for (auto [from, to] :
         {std::pair{set->files.graph, target.graph}, std::pair{set->files.head, target.head}}) {
        fs::copy_file(from.fullPath(), to.fullPath(), fs::copy_options::overwrite_existing, error);
        fs::permissions(to.fullPath(), fs::perms::owner_write, fs::perm_options::add, error);
    }
    NullProgress progress;
    bool ok = saveVgaParts(set->archive, set->state, vgaPartsToSave(set->state, false), target,
                           context.prompter, progress) == JobResult::Success;
    for (const GameFilePath& file : {target.graph, target.head, target.dictionary})
        fs::remove(file.withSuffix(".bak"), error);
    return ok;
}

CliRegistration registration(KindHandler{"vgagraph", info, exportKinds, compress});

} // namespace
