#include "maps/header_restore.h"

#include "maps/map_set.h"

namespace {

constexpr size_t kSizeFieldsAt = 18;

bool plausibleHeader(ByteView file, size_t at) {
    if (at + kMapHeaderSize > file.size())
        return false;
    MapHeader header = MapHeader::fromBytes(file.subspan(at, kMapHeaderSize));
    for (int p = 0; p < 2; ++p) {
        const int64_t start = header.planeStart[size_t(p)];
        if (start < 0 || start >= int64_t(file.size()))
            return false;
    }
    return true;
}

} // namespace

std::vector<int32_t> restoreMapOffsets(ByteView mapsFile) {
    std::vector<int32_t> offsets;
    for (size_t p = kSizeFieldsAt; p + 4 <= mapsFile.size(); ++p) {
        if (mapsFile[p] != 0x40 || mapsFile[p + 1] != 0 || mapsFile[p + 2] != 0x40 ||
            mapsFile[p + 3] != 0)
            continue;
        const size_t at = p - kSizeFieldsAt;
        if (at > size_t(INT32_MAX) || !plausibleHeader(mapsFile, at))
            continue;
        offsets.push_back(int32_t(at));
        if (offsets.size() == size_t(kMaxMaps))
            break;
    }
    return offsets;
}
