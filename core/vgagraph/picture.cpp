#include "vgagraph/picture.h"

#include <algorithm>

size_t planarOffset(int x, int y, int width, int height) {
    size_t planeWidth = size_t(width / 4);
    return size_t(x & 3) * planeWidth * size_t(height) + size_t(y) * planeWidth + size_t(x / 4);
}

IndexedImage pictureFromPlanar(ByteView planar, int width, int height) {
    IndexedImage image(std::max(width, 0), std::max(height, 0));
    if (image.empty())
        return image;
    size_t next = 0;
    for (int plane = 0; plane < 4; ++plane) {
        for (int y = 0; y < image.height; ++y) {
            uint8_t* row = &image.pixels[image.indexOf(0, y)];
            for (int x = plane; x < image.width; x += 4)
                row[x] = next < planar.size() ? planar[next++] : 0;
        }
    }
    return image;
}

Bytes pictureToPlanar(const IndexedImage& image) {
    Bytes planar;
    if (image.empty())
        return planar;
    planar.reserve(image.pixels.size());
    for (int plane = 0; plane < 4; ++plane) {
        for (int y = 0; y < image.height; ++y) {
            const uint8_t* row = &image.pixels[image.indexOf(0, y)];
            for (int x = plane; x < image.width; x += 4)
                planar.push_back(row[x]);
        }
    }
    return planar;
}

int roundUpToFour(int value) {
    return (value + 3) & ~3;
}

void resizePicture(IndexedImage& image, int width, int height, uint8_t fill) {
    IndexedImage resized(roundUpToFour(std::max(width, 0)), std::max(height, 0), fill);
    int keepWidth = std::min(image.width, resized.width);
    int keepHeight = std::min(image.height, resized.height);
    for (int y = 0; y < keepHeight; ++y)
        for (int x = 0; x < keepWidth; ++x)
            resized.set(x, y, image.at(x, y));
    image = std::move(resized);
}

std::vector<PictureSize> PicturePart::table() const {
    std::vector<PictureSize> sizes;
    sizes.reserve(pictures.size());
    for (const IndexedImage& picture : pictures)
        sizes.push_back({int16_t(picture.width), int16_t(picture.height)});
    return sizes;
}

size_t insertPicture(PicturePart& part, size_t after, uint8_t fill) {
    size_t at = part.pictures.empty() ? 0 : std::min(after + 1, part.pictures.size());
    part.pictures.insert(part.pictures.begin() + std::ptrdiff_t(at),
                         IndexedImage(kNewPictureSide, kNewPictureSide, fill));
    return at;
}

int removePicture(PicturePart& part, size_t index) {
    if (index < part.pictures.size())
        part.pictures.erase(part.pictures.begin() + std::ptrdiff_t(index));
    if (part.pictures.empty())
        return -1;
    return int(std::min(index, part.pictures.size() - 1));
}
