#pragma once
// The map exchange file (".MAP"): one level with its name and planes, to move levels between
// games and map sets. Also accepted on import: a raw file of exactly 16384 bytes holding planes 0
// and 1 (the format of the built-in sample level).

#include "common/prompter.h"
#include "maps/map_set.h"

#include <filesystem>

constexpr size_t kRawPlanesFileSize = 2 * kPlaneBytes;
constexpr char kMapExchangeMagic[8] = "TRv1.23"; // with its zero byte

// The file's bytes for map index of the set: 16418 bytes, or 24610 with the third plane.
Bytes encodeMapExchange(const MapSet& maps, int index);
// Writes the file; on failure tells "Unable to create file:" with the path.
bool exportMap(const MapSet& maps, int index, const std::filesystem::path& path,
               Prompter& prompter);

enum class MapImportResult {
    Imported,  // the map changed: mark maps changed and select the map again
    Refused,   // a message was shown; the map and the set are unchanged
    Cancelled, // the user cancelled the third-plane question
};

// Overwrites map index with the file's planes and name. A three-plane file for a set without
// the third plane asks whether to enable it (for the whole set). Nothing changes unless the file
// is complete and acceptable.
MapImportResult importMap(MapSet& maps, int index, const std::filesystem::path& path,
                          Prompter& prompter);
// The same from bytes; fileSize is the size of the whole file (only exactly 16384 means raw
// planes), data may be its start.
MapImportResult importMapBytes(MapSet& maps, int index, ByteView data, uintmax_t fileSize,
                               Prompter& prompter);
