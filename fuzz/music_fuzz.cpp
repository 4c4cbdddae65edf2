#include "fuzz_input.h"
#include "music/music_archive.h"
#include "music/song_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzInput input(bytes, size);
    if (input.choice % 2 == 0) {
        SongModel model = ParseSong(input.data);
        buildImfSong(model);
        return 0;
    }
    const size_t split = std::min<size_t>(input.choice * 8u, input.data.size());
    for (ByteView chunk : audioChunks(input.data.first(split), input.data.subspan(split)))
        isSongChunk(chunk);
    return 0;
}
