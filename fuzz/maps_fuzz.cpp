#include "fuzz_input.h"
#include "maps/carmack.h"
#include "maps/header_restore.h"
#include "maps/map_exchange.h"
#include "maps/map_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzInput input(bytes, size);
    RecordingPrompter prompter;
    std::vector<uint16_t> plane(kPlaneCodes);
    switch (input.choice % 5) {
    case 0:
        decodePlane(input.data, plane, 0xABCD, true, CarmackTags{});
        break;
    case 1:
        decodePlane(input.data, plane, 0xABCD, false, CarmackTags{});
        break;
    case 2: {
        MapSet maps;
        maps.insertMap(0);
        importMapBytes(maps, 0, input.data, input.data.size(), prompter);
        break;
    }
    case 3:
        restoreMapOffsets(input.data);
        break;
    default:
        ExpandCarmack(input.data, plane, input.choice * 64u, CarmackTags{});
        recogniseMapSignature(input.data);
        break;
    }
    return 0;
}
