#include "vgagraph/tile8.h"

#include "vgagraph/vga_chunks.h"

#include <algorithm>

size_t tile8Offset(int tile, int x, int y) {
    return size_t(tile) * kTile8Bytes + size_t(x & 3) * 16 + size_t(y) * 2 + size_t(x / 4);
}

IndexedImage tile8Image(ByteView tiles, int tile) {
    IndexedImage image(kTile8Side, kTile8Side);
    if (tile < 0 || tile >= kTile8Count)
        return image;
    for (int y = 0; y < kTile8Side; ++y) {
        for (int x = 0; x < kTile8Side; ++x) {
            size_t at = tile8Offset(tile, x, y);
            image.set(x, y, at < tiles.size() ? tiles[at] : 0);
        }
    }
    return image;
}

bool setTile8Image(Bytes& tiles, int tile, const IndexedImage& image) {
    if (tile < 0 || tile >= kTile8Count)
        return false;
    if (tiles.size() < kTile8ChunkSize)
        tiles.resize(kTile8ChunkSize, 0);
    for (int y = 0; y < kTile8Side; ++y)
        for (int x = 0; x < kTile8Side; ++x)
            tiles[tile8Offset(tile, x, y)] = image.contains(x, y) ? image.at(x, y) : 0;
    return true;
}

int usedTile8Count(ByteView tiles) {
    size_t end = std::min(tiles.size(), kTile8ChunkSize);
    while (end > 0 && tiles[end - 1] == 0)
        --end;
    return int((end + kTile8Bytes - 1) / kTile8Bytes);
}
