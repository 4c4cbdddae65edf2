#include "fuzz_input.h"
#include "vgagraph/huffman.h"
#include "vgagraph/vga_chunks.h"

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzInput input(bytes, size);
    if (input.choice % 2 == 0) {
        readVgaHead(input.data);
        return 0;
    }
    // A dictionary from the first 1020 bytes, then the rest decoded and counted with it.
    const size_t dictionarySize = std::min<size_t>(1020, input.data.size());
    std::optional<HuffmanDictionary> dictionary =
        HuffmanDictionary::fromBytes(input.data.first(dictionarySize));
    if (!dictionary)
        return 0;
    BuildCodeTable(*dictionary);
    std::array<uint8_t, 4096> out{};
    HuffmanExpand(input.data.subspan(dictionarySize), out, *dictionary);
    readPictureTable(input.data.subspan(dictionarySize), *dictionary);
    return 0;
}
