#include "maps/map_set.h"

#include <gtest/gtest.h>

namespace {

// Each map's planes hold its number, so moves are easy to follow.
MapSet numberedSet(int count, bool thirdPlane) {
    MapSet maps;
    maps.setThirdPlaneEnabled(thirdPlane);
    maps.setHighestMapIndex(count - 1);
    for (int map = 0; map < count; ++map) {
        maps.header(map).setName("M" + std::to_string(map));
        for (int p = 0; p < (thirdPlane ? 3 : 2); ++p)
            std::fill(maps.plane(map, p).begin(), maps.plane(map, p).end(), uint16_t(map * 10 + p));
    }
    return maps;
}

std::vector<std::string> names(const MapSet& maps) {
    std::vector<std::string> result;
    for (int map = 0; map < maps.mapCount(); ++map)
        result.push_back(maps.header(map).nameText());
    return result;
}

} // namespace

TEST(MapSet, InsertAndRemoveMoveTheLaterMaps) {
    for (bool third : {false, true}) {
        MapSet maps = numberedSet(3, third);
        ASSERT_TRUE(maps.insertMap(1));
        EXPECT_EQ(names(maps), (std::vector<std::string>{"M0", "", "M1", "M2"}));
        EXPECT_EQ(maps.plane(1, 0)[100], 0);
        EXPECT_EQ(maps.plane(2, 1)[100], 11);
        EXPECT_EQ(maps.plane(1, 2).empty(), !third);
        EXPECT_EQ(maps.header(1).width, 64);
        ASSERT_TRUE(maps.insertMap(4));
        EXPECT_EQ(maps.mapCount(), 5);
        EXPECT_FALSE(maps.insertMap(6));

        ASSERT_TRUE(maps.removeMap(0));
        EXPECT_EQ(names(maps), (std::vector<std::string>{"", "M1", "M2", ""}));
        EXPECT_EQ(maps.plane(1, 0)[0], 10);
        EXPECT_TRUE(maps.plane(4, 0).empty());
        EXPECT_FALSE(maps.removeMap(4));
        EXPECT_FALSE(maps.removeMap(-1));
    }
}

TEST(MapSet, HoldsAtMost500Maps) {
    MapSet maps;
    maps.setHighestMapIndex(kMaxMaps - 1);
    EXPECT_EQ(maps.mapCount(), 500);
    EXPECT_FALSE(maps.insertMap(0));
    EXPECT_EQ(maps.plane(499, 1).size(), kPlaneCodes);
    EXPECT_TRUE(maps.plane(500, 0).empty());
    maps.freeMaps();
    EXPECT_EQ(maps.highestMapIndex(), -1);
    EXPECT_TRUE(maps.plane(0, 0).empty());
    EXPECT_TRUE(maps.insertMap(0));
}

TEST(MapSet, ThirdPlaneComesAndGoesForEveryMap) {
    MapSet maps = numberedSet(3, false);
    EXPECT_TRUE(maps.plane(2, 2).empty());
    maps.setThirdPlaneEnabled(true);
    for (int map = 0; map < 3; ++map) {
        ASSERT_EQ(maps.plane(map, 2).size(), kPlaneCodes);
        EXPECT_EQ(maps.plane(map, 2)[4095], 0);
    }
    EXPECT_TRUE(maps.plane(3, 2).empty());
    maps.setThirdPlaneEnabled(false);
    for (int map = 0; map < 3; ++map)
        EXPECT_TRUE(maps.plane(map, 2).empty());
    EXPECT_EQ(maps.plane(2, 1)[0], 21);
}

TEST(MapSet, NamesAreCutAt16AndHeadersKeepTheirBytes) {
    MapHeader header;
    header.setName("A name longer than sixteen");
    EXPECT_EQ(header.nameText(), "A name longer th");
    header.planeStart = {-1, 70000, 3};
    header.planeLength = {2, 65535, 9};
    header.reserved = 0x5A;
    Bytes bytes;
    ByteWriter out(bytes);
    header.write(out);
    ASSERT_EQ(bytes.size(), kMapHeaderSize);
    EXPECT_EQ(readU16At(bytes, 18), 64);
    EXPECT_EQ(MapHeader::fromBytes(bytes), header);
}
