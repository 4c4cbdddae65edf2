#include "pagefile/sprite_shape.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Bottom-up image of side x side, everything transparent.
struct Image {
    int side;
    Bytes pixels;
    explicit Image(int s) : side(s), pixels(size_t(s) * size_t(s), kTransparentIndex) {}
    void set(int x, int y, uint8_t v) {
        pixels[size_t(side - 1 - y) * size_t(side) + size_t(x)] = v;
    }
    uint8_t at(int x, int y) const {
        return pixels[size_t(side - 1 - y) * size_t(side) + size_t(x)];
    }
};

Image expand(ByteView shape, int side) {
    Image out(side);
    out.pixels.assign(out.pixels.size(), 7); // ExpandShape must clear it first
    ExpandShape(shape, out.pixels, side);
    return out;
}

struct Post {
    int end, source, start;
};

std::vector<Post> postsAt(const Bytes& shape, size_t at) {
    std::vector<Post> posts;
    while (readU16At(shape, at) != 0) {
        posts.push_back({readU16At(shape, at) / 2, int16_t(readU16At(shape, at + 2)),
                         readU16At(shape, at + 4) / 2});
        at += 6;
    }
    return posts;
}

using Compressor = Bytes (*)(ByteView, int);
const std::vector<std::pair<const char*, Compressor>> kCompressors = {
    {"simple", CompressShapeSimple}, {"full", CompressShapeFull}};

TEST(SpriteShape, EmptyImageIsOneColumnWithAnEmptyList) {
    const Image image(64);
    for (auto [name, compress] : kCompressors) {
        SCOPED_TRACE(name);
        Bytes shape = compress(image.pixels, 64);
        ASSERT_EQ(shape.size(), 8u);
        EXPECT_EQ(readU16At(shape, 0), 0);
        EXPECT_EQ(readU16At(shape, 2), 0);
        EXPECT_TRUE(postsAt(shape, readU16At(shape, 4)).empty());
        EXPECT_EQ(expand(shape, 64).pixels, image.pixels);
    }
}

TEST(SpriteShape, SinglePixelIsOnePostInOneColumn) {
    Image image(64);
    image.set(10, 20, 42);
    for (auto [name, compress] : kCompressors) {
        SCOPED_TRACE(name);
        Bytes shape = compress(image.pixels, 64);
        EXPECT_EQ(readU16At(shape, 0), 10);
        EXPECT_EQ(readU16At(shape, 2), 10);
        std::vector<Post> posts = postsAt(shape, readU16At(shape, 4));
        ASSERT_EQ(posts.size(), 1u);
        EXPECT_EQ(posts[0].start, 20);
        EXPECT_EQ(posts[0].end, 21);
        EXPECT_EQ(shape[size_t(posts[0].source + 20)], 42);
    }
}

TEST(SpriteShape, GapInAColumnGivesTwoPosts) {
    Image image(64);
    for (int y : {3, 4, 5, 7, 8})
        image.set(0, y, uint8_t(y));
    for (auto [name, compress] : kCompressors) {
        SCOPED_TRACE(name);
        Bytes shape = compress(image.pixels, 64);
        std::vector<Post> posts = postsAt(shape, readU16At(shape, 4));
        ASSERT_EQ(posts.size(), 2u);
        EXPECT_EQ(posts[0].start, 3);
        EXPECT_EQ(posts[0].end, 6);
        EXPECT_EQ(posts[1].start, 7);
        EXPECT_EQ(posts[1].end, 9);
    }
}

TEST(SpriteShape, FullCompressorSharesIdenticalColumns) {
    Image image(64);
    for (int x : {5, 6})
        for (int y = 10; y < 30; ++y)
            image.set(x, y, uint8_t(y * 3));
    Bytes simple = CompressShapeSimple(image.pixels, 64);
    Bytes full = CompressShapeFull(image.pixels, 64);
    // Same post list, hence the same pixel bytes.
    EXPECT_EQ(readU16At(full, 4), readU16At(full, 6));
    EXPECT_NE(readU16At(simple, 4), readU16At(simple, 6));
    EXPECT_EQ(full.size(), 2u * 4 + 20 + 6 + 2);
    EXPECT_LT(full.size(), simple.size());
}

TEST(SpriteShape, FullCompressorMergesContainedAndOverlappingRuns) {
    Image image(64);
    const std::vector<uint8_t> a = {1, 2, 3, 4, 5, 6};
    const std::vector<uint8_t> inside = {3, 4, 5};   // contained in a
    const std::vector<uint8_t> after = {5, 6, 9, 9}; // overlaps a's end by two bytes
    auto column = [&](int x, const std::vector<uint8_t>& values) {
        for (size_t i = 0; i < values.size(); ++i)
            image.set(x, 2 + int(i), values[i]);
    };
    column(0, a);
    column(1, inside);
    column(2, after);
    Bytes full = CompressShapeFull(image.pixels, 64);
    // Pixel area: 1 2 3 4 5 6 9 9 written once.
    const size_t pixelStart = 2 * (3 + 2);
    EXPECT_EQ(Bytes(full.begin() + pixelStart, full.begin() + pixelStart + 8),
              (Bytes{1, 2, 3, 4, 5, 6, 9, 9}));
    EXPECT_EQ(expand(full, 64).pixels, image.pixels);
}

// An empty column between two columns whose list is the only one written: its empty list is the
// terminator at the very end of the shape and must still expand, with the column after it.
TEST(SpriteShape, EmptyListAtTheEndOfTheShapeStillExpands) {
    Image image(64);
    image.set(0, 9, 50);
    image.set(2, 9, 50);
    for (auto [name, compress] : kCompressors) {
        SCOPED_TRACE(name);
        Bytes shape = compress(image.pixels, 64);
        EXPECT_EQ(expand(shape, 64).pixels, image.pixels);
    }
}

Image randomImage(int side, unsigned seed, int colors, int clearPercent) {
    std::mt19937 random(seed);
    Image image(side);
    for (int x = 0; x < side; ++x)
        for (int y = 0; y < side; ++y)
            if (int(random() % 100) >= clearPercent)
                image.set(x, y, uint8_t(random() % unsigned(colors)));
    return image;
}

TEST(SpriteShape, EveryShapeExpandsBackAndFullIsNeverLarger) {
    struct Case {
        int side;
        unsigned seed;
        int colors, clearPercent;
    };
    const std::vector<Case> cases = {
        {64, 1, 2, 50},  {64, 2, 4, 30},   {64, 3, 200, 10}, {64, 4, 3, 90},
        {128, 5, 2, 50}, {128, 6, 16, 20}, {128, 7, 255, 0}, {64, 8, 255, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seed);
        const Image image = randomImage(c.side, c.seed, c.colors, c.clearPercent);
        Bytes simple = CompressShapeSimple(image.pixels, c.side);
        Bytes full = CompressShapeFull(image.pixels, c.side);
        EXPECT_LE(full.size(), simple.size());
        EXPECT_LE(simple.size(), 65535u);
        EXPECT_EQ(expand(simple, c.side).pixels, image.pixels);
        EXPECT_EQ(expand(full, c.side).pixels, image.pixels);
    }
}

// A checkerboard at 128 puts the simple shape's pixel bytes beyond 32767: their 16-bit source
// offsets wrap and must still find the bytes.
TEST(SpriteShape, BusyHighResolutionShapeRoundTrips) {
    Image image(128);
    for (int x = 0; x < 128; ++x)
        for (int y = 0; y < 128; ++y)
            if ((x + y) % 2)
                image.set(x, y, uint8_t((x * 7 + y) % 255));
    for (auto [name, compress] : kCompressors) {
        SCOPED_TRACE(name);
        Bytes shape = compress(image.pixels, 128);
        EXPECT_EQ(expand(shape, 128).pixels, image.pixels);
    }
    EXPECT_GT(CompressShapeSimple(image.pixels, 128).size(), 32768u);
}

// Hand-made broken shapes: nothing may be written outside the image, and what lies inside the
// raster and the chunk is still drawn.
TEST(SpriteShape, WildShapesAreClippedToTheImageAndTheChunk) {
    auto shapeOf = [](uint16_t left, uint16_t right, std::vector<uint16_t> words) {
        Bytes shape;
        ByteWriter w(shape);
        w.u16(left);
        w.u16(right);
        for (uint16_t word : words)
            w.u16(word);
        return shape;
    };
    struct Case {
        const char* name;
        Bytes shape;
        int x, y; // a pixel that must be drawn, or x < 0
        uint8_t value;
    };
    // Column offsets point at 8; a post (end 2*e, source s, start 2*b), terminator, pixel bytes.
    const std::vector<Case> cases = {
        {"empty", {}, -1, 0, 0},
        {"threeBytes", {1, 0, 2}, -1, 0, 0},
        {"columnsPastTheSide", shapeOf(62, 70, {22, 22, 22, 22, 22, 22, 22, 22, 22}), -1, 0, 0},
        {"rightBeforeLeft", shapeOf(10, 3, {6, 0}), -1, 0, 0},
        {"tablePastTheChunk", shapeOf(0, 4000, {14, 0}), -1, 0, 0},
        {"offsetPastTheChunk", shapeOf(0, 0, {60000}), -1, 0, 0},
        {"rowsPastTheSide",
         shapeOf(0, 0, {6, 140, uint16_t(14 - 60), 120, 0, 0x0A0A, 0x0A0A, 0x0A0A, 0x0A0A, 0x0A0A}),
         0, 63, 10},
        {"sourceBeforeTheChunk", shapeOf(0, 0, {6, 10, uint16_t(-40), 0, 0}), -1, 0, 0},
        {"sourcePastTheChunk", shapeOf(0, 0, {6, 10, 500, 0, 0}), -1, 0, 0},
        {"postCutShort", shapeOf(0, 0, {6, 10}), -1, 0, 0},
        {"hugeRows", shapeOf(0, 0, {6, 0xFFFE, 16, 0xFFF0, 0, 0x0B0B}), -1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int side = 64;
        Bytes guarded(size_t(side * side) + 64, 0xEE);
        std::span<uint8_t> image(guarded.data() + 32, size_t(side * side));
        ExpandShape(c.shape, image, side);
        for (size_t i = 0; i < 32; ++i) {
            ASSERT_EQ(guarded[i], 0xEE);
            ASSERT_EQ(guarded[guarded.size() - 1 - i], 0xEE);
        }
        if (c.x >= 0) {
            EXPECT_EQ(image[size_t(side - 1 - c.y) * size_t(side) + size_t(c.x)], c.value);
        }
        size_t drawn = 0;
        for (uint8_t v : image)
            drawn += v != kTransparentIndex;
        if (c.x < 0) {
            EXPECT_EQ(drawn, 0u);
        }
    }
}

} // namespace
