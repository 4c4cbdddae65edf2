#include "fuzz_input.h"
#include "pagefile/page_file.h"
#include "pagefile/sprite_shape.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzInput input(bytes, size);
    RecordingPrompter prompter;
    NullProgress progress;
    JobContext context(progress, prompter);
    switch (input.choice % 4) {
    case 0: {
        WallSet walls;
        readWalls(input.data, walls, context);
        break;
    }
    case 1: {
        SpriteSet sprites;
        readSprites(input.data, sprites, context);
        break;
    }
    case 2: {
        SoundSet sounds;
        readSounds(input.data, sounds, context);
        break;
    }
    default: {
        const int side = input.choice & 0x80 ? 128 : 64;
        Bytes image(size_t(side) * side, 255);
        ExpandShape(input.data, image, side);
        break;
    }
    }
    return 0;
}
