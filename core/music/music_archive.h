#pragma once
// The AdLib songs of AUDIOT. AUDIOHED lists 32-bit offsets into AUDIOT; a chunk is taken for a
// song by its content, because AUDIOT also holds sound effects and other chunks.

#include "common/byte_io.h"
#include "common/game_file_path.h"
#include "common/prompter.h"

#include <cstdint>
#include <string>
#include <vector>

// Where the IMF events of a song chunk lie within it.
struct ImfSpan {
    size_t offset = 0;
    size_t length = 0;
};

// A chunk either starts with the byte length of its events, or with a 0 word and is events from
// its first byte to its end. A length beyond the chunk is cut to the chunk.
ImfSpan songEventSpan(ByteView song);
ByteView songEvents(ByteView song);

// The content test that tells a song from the other AUDIOT chunks.
bool isSongChunk(ByteView chunk);

class MusicArchive {
public:
    size_t songCount() const { return m_songs.size(); }
    // The whole chunk as stored in AUDIOT, length word included.
    ByteView song(size_t index) const { return m_songs.at(index); }
    uint32_t songSize(size_t index) const { return m_songSizes.at(index); }
    uint32_t songChunk(size_t index) const { return m_songChunks.at(index); }
    bool loaded() const { return m_loaded; }

    const GameFilePath& audioData() const { return m_audioData; }
    const GameFilePath& audioHeader() const { return m_audioHeader; }

    void clear();

private:
    friend bool LoadMusic(MusicArchive&, const GameFilePath&, Prompter&);

    std::vector<Bytes> m_songs;
    std::vector<uint32_t> m_songSizes;
    std::vector<uint32_t> m_songChunks;
    bool m_loaded = false;
    GameFilePath m_audioData;
    GameFilePath m_audioHeader;
};

// Reads the songs of audioData, with AUDIOHED of the same folder and extension. Clears the
// archive first; every failure is told through the prompter and leaves no music loaded.
// Runs on the calling thread (the editor runs it on its own thread, not as a job).
bool LoadMusic(MusicArchive& archive, const GameFilePath& audioData, Prompter& prompter);

// The chunks of AUDIOT as AUDIOHED lists them; an entry whose range is not inside AUDIOT (or
// runs backwards) is an empty view, as no data of it can be trusted.
std::vector<ByteView> audioChunks(ByteView header, ByteView audio);
