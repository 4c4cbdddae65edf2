// Music in tessarand-cli: the song count for `info`, music/songNN.imf for `export`, and
// `render-song`, which plays a song through the sequencer into a WAV file.

#include "cli_registry.h"
#include "imf_sequencer.h"
#include "music/music_archive.h"
#include "music/pcm_wav.h"

#include "common/file_io.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <set>

namespace fs = std::filesystem;

namespace {

// Loads the songs of the chosen extension; false (LoadMusic has said why) when they cannot be
// read. Without an AUDIOT of that extension the loader reports the one it looked for.
bool loadSongs(CliContext& context, MusicArchive& archive) {
    GameFilePath audioData = context.selection.audioData.value_or(
        GameFilePath{context.selection.folder, "AUDIOT", context.selection.extension});
    return LoadMusic(archive, audioData, context.prompter);
}

bool musicInfo(CliContext& context, InfoCounts& counts) {
    MusicArchive archive;
    if (!context.selection.audioData)
        return true;
    if (!loadSongs(context, archive))
        return false;
    counts["songs"] = long(archive.songCount());
    return true;
}

bool exportMusic(CliContext& context, const fs::path& outDir, const std::set<std::string>& kinds) {
    if (!kinds.count("music") || !context.selection.audioData)
        return true;
    MusicArchive archive;
    if (!loadSongs(context, archive))
        return false;
    fs::path folder = outDir / "music";
    std::error_code error;
    fs::create_directories(folder, error);
    bool ok = true;
    for (size_t i = 0; i < archive.songCount(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "song%02zu.imf", i);
        fs::path path = folder / name;
        if (!writeWholeFile(path, archive.song(i))) {
            std::fprintf(stderr, "Cannot Open: %s\n", path.string().c_str());
            ok = false;
        }
    }
    return ok;
}

std::optional<size_t> parseIndex(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 9)
        return std::nullopt;
    return size_t(std::stoul(text));
}

int renderSong(CliContext& context, const std::vector<std::string>& positional) {
    if (positional.size() != 3) {
        std::fprintf(stderr, "tessarand-cli: render-song takes FOLDER, INDEX and OUT.wav\n");
        return kExitUsage;
    }
    std::optional<size_t> index = parseIndex(positional[1]);
    if (!index) {
        std::fprintf(stderr, "tessarand-cli: INDEX must be a song number from 0\n");
        return kExitUsage;
    }
    double seconds = -1;
    if (std::string text = context.option("seconds"); !text.empty()) {
        char* end = nullptr;
        seconds = std::strtod(text.c_str(), &end);
        if (*end != '\0' || !std::isfinite(seconds) || seconds <= 0) {
            std::fprintf(stderr, "tessarand-cli: --seconds needs a positive number\n");
            return kExitUsage;
        }
    }

    MusicArchive archive;
    if (!loadSongs(context, archive))
        return kExitDataError;
    if (*index >= archive.songCount()) {
        std::fprintf(stderr, "tessarand-cli: there is no song %zu (songs 0 to %zu)\n", *index,
                     archive.songCount() - 1);
        return kExitUsage;
    }

    ImfSequencer sequencer;
    sequencer.start(songEvents(archive.song(*index)));
    uint64_t ticks = sequencer.length();
    if (seconds > 0)
        ticks = std::min<uint64_t>(ticks, uint64_t(std::llround(seconds * kImfTickRate)));
    uint64_t frames = ticks * uint64_t(sequencer.sampleRate()) / kImfTickRate;
    std::optional<Bytes> header = pcm16WavHeader(uint32_t(sequencer.sampleRate()), 1, frames);
    if (!header) {
        std::fprintf(stderr, "tessarand-cli: the song is too long for a WAV file; use --seconds\n");
        return kExitDataError;
    }

    const fs::path out = positional[2];
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(header->data()), std::streamsize(header->size()));
    std::vector<int16_t> block(size_t(sequencer.sampleRate()));
    Bytes bytes;
    for (uint64_t left = frames; left > 0 && file;) {
        size_t count = size_t(std::min<uint64_t>(left, block.size()));
        sequencer.render(block.data(), count);
        bytes.clear();
        ByteWriter writer(bytes);
        for (size_t i = 0; i < count; ++i)
            writer.i16(block[i]);
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        left -= count;
    }
    file.close();
    if (!file) {
        std::fprintf(stderr, "Cannot Open: %s\n", out.string().c_str());
        return kExitDataError;
    }
    return kExitOk;
}

CliRegistration musicKind(KindHandler{"music", musicInfo, exportMusic, nullptr});
CliRegistration renderSongCommand(CliCommand{
    "render-song", "tessarand-cli render-song FOLDER INDEX OUT.wav [--ext EXT] [--seconds N]",
    renderSong, 0});

} // namespace
