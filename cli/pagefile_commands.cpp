// The page file in tessarand-cli: wall, sprite and sound counts for `info`, walls/wallNNN,
// sprites/spriteNNN and sounds/soundNNN.wav for `export`, and VSWAP rewritten for `compress-all`.

#include "cli_registry.h"
#include "pagefile/page_file_jobs.h"
#include "pagefile/wav.h"

#include <cstdio>
#include <optional>

namespace fs = std::filesystem;

namespace {

const std::optional<GameFilePath>& selected(const CliContext& context, PageKind kind) {
    switch (kind) {
    case PageKind::Walls:
        return context.selection.walls;
    case PageKind::Sprites:
        return context.selection.sprites;
    case PageKind::Sounds:
        break;
    }
    return context.selection.sounds;
}

// False only when a file was there but could not be read (the loader has printed why).
bool load(CliContext& context, PageFile& pageFile, PageKind kind) {
    const std::optional<GameFilePath>& file = selected(context, kind);
    if (!file)
        return true;
    NullProgress progress;
    return loadPageFileKind(pageFile, kind, file->fullPath(), context.prompter, progress) ==
           JobResult::Success;
}

bool pageFileInfo(CliContext& context, InfoCounts& counts) {
    PageFile pageFile;
    bool ok = true;
    for (PageKind kind : {PageKind::Walls, PageKind::Sprites, PageKind::Sounds})
        ok = load(context, pageFile, kind) && ok;
    if (pageFile.isLoaded(PageKind::Walls)) {
        counts["walls"] = long(pageFile.walls.count());
        counts["wall_side"] = pageFile.walls.side;
    }
    if (pageFile.isLoaded(PageKind::Sprites)) {
        counts["sprites"] = long(pageFile.sprites.count());
        counts["sprite_side"] = pageFile.sprites.side;
    }
    if (pageFile.isLoaded(PageKind::Sounds))
        counts["sounds"] = long(pageFile.sounds.count());
    return ok;
}

bool makeFolder(CliContext& context, const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        context.prompter.tell("Cannot Open", folder.string());
    return !error;
}

std::string numbered(const char* prefix, size_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%03zu", prefix, index);
    return name;
}

bool exportPageFile(CliContext& context, const fs::path& outDir,
                    const std::set<std::string>& kinds) {
    PageFile pageFile;
    bool ok = true;
    if (kinds.count("walls") && load(context, pageFile, PageKind::Walls) &&
        pageFile.isLoaded(PageKind::Walls)) {
        const fs::path folder = outDir / "walls";
        ok = makeFolder(context, folder) && ok;
        for (size_t i = 0; ok && i < pageFile.walls.count(); ++i)
            if (pageFile.walls.hasImage(i))
                ok = writeExportImage(context, folder / numbered("wall", i),
                                      pageFile.walls.picture(i));
    } else if (kinds.count("walls") && context.selection.walls) {
        ok = false;
    }
    if (kinds.count("sprites") && load(context, pageFile, PageKind::Sprites) &&
        pageFile.isLoaded(PageKind::Sprites)) {
        const fs::path folder = outDir / "sprites";
        ok = makeFolder(context, folder) && ok;
        for (size_t i = 0; ok && i < pageFile.sprites.count(); ++i)
            if (pageFile.sprites.hasImage(i))
                ok = writeExportImage(context, folder / numbered("sprite", i),
                                      pageFile.sprites.picture(i));
    } else if (kinds.count("sprites") && context.selection.sprites) {
        ok = false;
    }
    if (kinds.count("sounds") && load(context, pageFile, PageKind::Sounds) &&
        pageFile.isLoaded(PageKind::Sounds)) {
        const fs::path folder = outDir / "sounds";
        ok = makeFolder(context, folder) && ok;
        for (size_t i = 0; ok && i < pageFile.sounds.count(); ++i) {
            const Bytes& sound = pageFile.sounds.sounds[i];
            if (sound.empty())
                continue;
            const fs::path path = folder / (numbered("sound", i) + ".wav");
            ok = writeWav8(path, sound, kDefaultSampleRate);
            if (!ok)
                context.prompter.tell("Cannot Open", path.string());
        }
    } else if (kinds.count("sounds") && context.selection.sounds) {
        ok = false;
    }
    return ok;
}

SpriteCompression spriteCompression(const CliContext& context) {
    const std::string chosen = context.option("sprite-compression");
    if (chosen == "none")
        return SpriteCompression::None;
    if (chosen == "good")
        return SpriteCompression::Good;
    return readSettingsFile(context.programFolder / kSettingsFileName).spriteCompression;
}

// Each loaded kind is saved into a copy of its file in OUTDIR, so kinds that are not loaded
// stay as they were; the backups the saves leave in OUTDIR are removed.
bool compressPageFile(CliContext& context, const fs::path& outDir) {
    PageFile pageFile;
    bool ok = true;
    const SpriteCompression compression = spriteCompression(context);
    std::set<fs::path> copied;
    for (PageKind kind : {PageKind::Walls, PageKind::Sprites, PageKind::Sounds}) {
        const std::optional<GameFilePath>& file = selected(context, kind);
        if (!file)
            continue;
        if (!load(context, pageFile, kind)) {
            ok = false;
            continue;
        }
        const fs::path target = outDir / file->fileName();
        std::error_code error;
        if (copied.insert(target).second) {
            fs::copy_file(file->fullPath(), target, fs::copy_options::overwrite_existing, error);
            fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, error);
        }
        NullProgress progress;
        if (savePageFileKind(pageFile, kind, target, compression, context.prompter, progress) !=
            JobResult::Success)
            ok = false;
        fs::remove(target.string() + ".bak", error);
        pageFile.free(kind);
    }
    return ok;
}

CliRegistration registration(KindHandler{"pagefile", pageFileInfo, exportPageFile,
                                         compressPageFile});

} // namespace
