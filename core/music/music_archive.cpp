#include "music/music_archive.h"

#include "common/file_io.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <optional>

namespace {

const char* const kLoadTitle = "CTessarandDlg::LoadMusic()";

constexpr size_t kMinSongChunk = 62;
constexpr int kTestedWords = 30;
constexpr int kBadWordLimit = 15;

std::string format(const char* pattern, int a, int b, int c) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

} // namespace

ImfSpan songEventSpan(ByteView song) {
    if (song.size() < 2)
        return {};
    size_t length = readU16At(song, 0);
    if (length == 0)
        return {0, song.size()};
    return {2, std::min(length, song.size() - 2)};
}

ByteView songEvents(ByteView song) {
    ImfSpan span = songEventSpan(song);
    return song.subspan(span.offset, span.length);
}

bool isSongChunk(ByteView chunk) {
    if (chunk.size() < kMinSongChunk)
        return false;
    ByteReader reader(chunk);
    if (reader.u16() == 0)
        reader.seek(0);
    int bad = 0;
    for (int word = 0; word < kTestedWords; ++word) {
        if (reader.remaining() < 4)
            return false; // a song has more than this; never read into the next chunk
        uint32_t event = reader.u32();
        // A zero word, or one with a delay, is unlikely in the opening events of a song.
        if (event == 0 || event > 0xFFFF)
            if (++bad >= kBadWordLimit)
                return false;
    }
    return true;
}

std::vector<ByteView> audioChunks(ByteView header, ByteView audio) {
    std::vector<ByteView> chunks;
    size_t offsets = header.size() / 4;
    if (offsets < 2)
        return chunks;
    chunks.reserve(offsets - 1);
    for (size_t i = 0; i + 1 < offsets; ++i) {
        uint32_t start = readU32At(header, i * 4);
        uint32_t end = readU32At(header, i * 4 + 4);
        if (start > end || end > audio.size())
            chunks.emplace_back();
        else
            chunks.push_back(audio.subspan(start, end - start));
    }
    return chunks;
}

void MusicArchive::clear() {
    m_songs.clear();
    m_songSizes.clear();
    m_songChunks.clear();
    m_loaded = false;
    m_audioData = {};
    m_audioHeader = {};
}

bool LoadMusic(MusicArchive& archive, const GameFilePath& audioData, Prompter& prompter) {
    archive.clear();
    auto fail = [&](const std::string& title, const std::string& text) {
        prompter.tell(title, text, PromptIcon::Exclamation);
        archive.clear();
        return false;
    };

    GameFilePath audioHeader = audioData.sibling("AUDIOHED");
    std::optional<Bytes> header = readWholeFile(audioHeader.fullPath());
    if (!header)
        return fail("CTessarandDlg::OnLoadMusic(): Unable to open audio head file:",
                    audioHeader.fullPath().string());
    std::optional<Bytes> audio = readWholeFile(audioData.fullPath());
    if (!audio)
        return fail("CTessarandDlg::OnLoadMusic(): Unable to open audio file:",
                    audioData.fullPath().string());

    std::vector<ByteView> chunks = audioChunks(*header, *audio);
    size_t songs = 0;
    for (ByteView chunk : chunks)
        if (isSongChunk(chunk))
            ++songs;
    if (songs == 0)
        return fail(kLoadTitle, "Unable to find first song!");

    try {
        archive.m_songs.reserve(songs);
    } catch (const std::bad_alloc&) {
        return fail(kLoadTitle, "Unable to allocate memory for music array!");
    }
    try {
        archive.m_songSizes.reserve(songs);
    } catch (const std::bad_alloc&) {
        return fail(kLoadTitle, "Unable to allocate memory for music lengths!");
    }
    try {
        archive.m_songChunks.reserve(songs);
    } catch (const std::bad_alloc&) {
        return fail(kLoadTitle, "Unable to allocate memory for music chunk list!");
    }

    for (size_t i = 0; i < chunks.size(); ++i) {
        if (!isSongChunk(chunks[i]))
            continue;
        int number = int(archive.m_songs.size()) + 1;
        try {
            archive.m_songs.emplace_back(chunks[i].begin(), chunks[i].end());
        } catch (const std::bad_alloc&) {
            return fail(kLoadTitle, format("Unable to allocate memory for song %i (chunk %i, %i "
                                           "bytes)!",
                                           number, int(i), int(chunks[i].size())));
        }
        archive.m_songSizes.push_back(uint32_t(chunks[i].size()));
        archive.m_songChunks.push_back(uint32_t(i));
    }
    if (archive.m_songs.size() < songs)
        return fail(kLoadTitle, "Didn't find next song!");

    archive.m_audioData = audioData;
    archive.m_audioHeader = audioHeader;
    archive.m_loaded = true;
    return true;
}
