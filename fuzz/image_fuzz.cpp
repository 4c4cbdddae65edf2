#include "fuzz_input.h"
#include "image/bmp.h"
#include "level/symbol_image.h"
#include "pagefile/wav.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzInput input(bytes, size);
    switch (input.choice % 4) {
    case 0:
        decodeBmpRgb(input.data);
        break;
    case 1:
        readBmpColorTable(input.data);
        break;
    case 2:
        decodeSymbolsBmp(input.data);
        break;
    default:
        parseWav(input.data);
        break;
    }
    return 0;
}
