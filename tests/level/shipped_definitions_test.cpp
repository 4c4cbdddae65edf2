// The definition files, symbols and built-in resources the editor ships, checked on their own
// and against the shareware game files.

#include "app/extensions.h"
#include "common/file_io.h"
#include "common/text_lines.h"
#include "level/builtin_resources.h"
#include "level/level_planes.h"
#include "level/level_statistics.h"
#include "level/lists_file.h"
#include "level/map_objects.h"
#include "maps/map_files.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

const char* const kGames[] = {"Wolfenstein 3D", "Spear of Destiny"};

struct Definitions {
    TileVocabulary vocabulary;
    SymbolImage symbols;
    RecordingPrompter prompter;
    MapObjectsLoadResult result;
};

void loadShipped(Definitions& d, const std::string& game) {
    d.result = loadMapObjects(mapObjectFolderPath(testdata::resourcesDir(), game), d.vocabulary,
                              d.symbols, d.prompter);
}

// Only what the check needs from VSWAP: where each sprite chunk is and whether it holds a shape
// (first and last column inside the 64 columns, one post offset per column).
struct SpriteChunks {
    Bytes data;
    uint16_t spriteStart = 0, soundStart = 0;

    bool load(const fs::path& path) {
        std::optional<Bytes> file = readWholeFile(path);
        if (!file || file->size() < 6)
            return false;
        data = std::move(*file);
        spriteStart = readU16At(data, 2);
        soundStart = readU16At(data, 4);
        return soundStart >= spriteStart && 6 + 6 * size_t(readU16At(data, 0)) <= data.size();
    }
    int count() const { return soundStart - spriteStart; }
    bool hasShape(int sprite) const {
        const size_t chunks = readU16At(data, 0);
        const size_t chunk = size_t(spriteStart) + size_t(sprite);
        if (sprite < 0 || chunk >= soundStart || chunk >= chunks)
            return false;
        const uint32_t offset = readU32At(data, 6 + 4 * chunk);
        const uint16_t length = readU16At(data, 6 + 4 * chunks + 2 * chunk);
        if (offset == 0 || length < 6 || size_t(offset) + length > data.size())
            return false;
        const uint16_t left = readU16At(data, offset), right = readU16At(data, offset + 2);
        return left <= right && right < 64 && 4 + 2 * size_t(right - left + 1) <= length;
    }
};

} // namespace

TEST(ShippedDefinitions, EveryGameFolderLoadsWithoutAMessage) {
    for (const char* game : kGames) {
        SCOPED_TRACE(game);
        Definitions d;
        loadShipped(d, game);
        for (const Prompt& prompt : d.prompter.prompts())
            ADD_FAILURE() << prompt.title << ": " << prompt.text;
        EXPECT_TRUE(d.result.listsRead && d.result.symbolsLoaded && d.result.sprinfoRead);
        // Doors, pushwall and floors come from the files themselves, not from the defaults.
        EXPECT_EQ(d.vocabulary.doors.size(), 12u);
        EXPECT_EQ(d.vocabulary.door(10), (DoorKind{100, -3, true, 5, -6}));
        EXPECT_EQ(d.vocabulary.floors.size(), 38u);
        EXPECT_EQ(d.vocabulary.floorCodes.size(), 38u);
        EXPECT_TRUE(d.vocabulary.isPushwall(98));
        // Every listed object that the 3D view can draw carries a sprite number.
        for (size_t i = 0; i < d.vocabulary.objectCodes.size(); ++i) {
            const TileInfo& info = d.vocabulary.info(uint16_t(d.vocabulary.objectCodes[i]));
            if (info.is(ObjectType::Enemy)) {
                EXPECT_TRUE(info.category == 1 || info.category == 3 || info.category == 4);
                EXPECT_LT(info.flag, 4);
            }
        }
    }
}

TEST(ShippedDefinitions, ExtensionsNameTheGameFoldersAndPalettes) {
    RecordingPrompter prompter;
    ExtensionTable table =
        readExtensionsFile(testdata::resourcesDir() / kExtensionsFileName, prompter);
    EXPECT_TRUE(prompter.empty()); // closed by its "#" line
    const std::pair<const char*, ExtensionEntry> expected[] = {
        {"WL1", {"WL1", "Wolfenstein 3D", "Wolfenstein3D"}},
        {"WL6", {"WL6", "Wolfenstein 3D", "Wolfenstein3D"}},
        {"SOD", {"SOD", "Spear of Destiny", "SpearOfDestiny"}},
        {"SDM", {"SDM", "Spear of Destiny", "SpearOfDestiny"}},
    };
    for (const auto& [extension, entry] : expected) {
        const ExtensionEntry* found = table.findIgnoringCase(extension);
        ASSERT_NE(found, nullptr) << extension;
        EXPECT_EQ(*found, entry);
        EXPECT_TRUE(fs::is_directory(
            mapObjectFolderPath(testdata::resourcesDir(), found->mapObjectFolder)));
        std::optional<Bytes> palette =
            readWholeFile(testdata::resourcesDir() / "palette" / (found->paletteName + ".pal"));
        ASSERT_TRUE(palette) << found->paletteName;
        EXPECT_EQ(palette->size(), 768u);
    }
    std::vector<std::string> folders = listMapObjectFolders(testdata::resourcesDir());
    EXPECT_EQ(folders, (std::vector<std::string>{"Spear of Destiny", "Wolfenstein 3D"}));
}

TEST(ShippedDefinitions, FilesKeepTheSyntaxLimits) {
    for (const char* game : kGames) {
        SCOPED_TRACE(game);
        fs::path folder = mapObjectFolderPath(testdata::resourcesDir(), game);
        std::optional<Bytes> lists = readWholeFile(folder / kListsFileName);
        ASSERT_TRUE(lists);
        std::string text(lists->begin(), lists->end());
        // Read with a generous limit to see each line whole, then hold it against its section's.
        LineReader reader(text, 100000);
        std::string line;
        int section = 0;
        while (reader.next(line)) {
            if (!line.empty() && line[0] == '*') {
                ++section;
                continue;
            }
            const size_t limit = section == 1 ? kListsObjectLineLength : kListsWallLineLength;
            EXPECT_LE(line.size() + 2, limit) << line; // room for a Windows line end
            std::optional<ListsEntry> entry = parseListsEntry(line);
            ASSERT_TRUE(entry) << line;
            EXPECT_LE(entry->name.size(), kMaxTileNameLength) << line;
            EXPECT_FALSE(entry->name.empty()) << line;
        }
        EXPECT_EQ(section, 3);

        std::optional<Bytes> symbols = readWholeFile(folder / kSymbolsFileName);
        ASSERT_TRUE(symbols);
        ASSERT_EQ(symbols->size(), kSymbolsBmpFileSize);
        EXPECT_EQ(readU16At(*symbols, 28), 16u);
        EXPECT_EQ(readU32At(*symbols, 30), 0u);
        // Bytes the editor itself would write for this picture.
        std::optional<SymbolImage> picture = decodeSymbolsBmp(*symbols);
        ASSERT_TRUE(picture);
        EXPECT_EQ(encodeSymbolsBmp(*picture), *symbols);
    }
}

TEST(ShippedDefinitions, EveryListedCodeHasASymbolOfItsOwn) {
    for (const char* game : kGames) {
        SCOPED_TRACE(game);
        Definitions d;
        loadShipped(d, game);
        auto symbolPixels = [&](int symbol) {
            std::vector<uint16_t> pixels;
            for (int y = 0; y < kSymbolSize; ++y)
                for (int x = 0; x < kSymbolSize; ++x)
                    pixels.push_back(d.symbols.symbolPixel(symbol, x, y));
            return pixels;
        };
        // Empty cells and object code 0 are black: nothing is drawn for them.
        EXPECT_EQ(d.vocabulary.objectCodes[0], 0);
        EXPECT_EQ(d.vocabulary.wallName(0), "--- Nothing ---");
        EXPECT_EQ(symbolPixels(0), std::vector<uint16_t>(49, 0));
        EXPECT_EQ(symbolPixels(kFirstObjectSymbol), std::vector<uint16_t>(49, 0));
        // Objects: one symbol each (the unused standing dogs share theirs).
        std::set<std::vector<uint16_t>> seen;
        for (size_t i = 0; i < d.vocabulary.objectCodes.size(); ++i) {
            uint16_t code = uint16_t(d.vocabulary.objectCodes[i]);
            // Code 0 (the empty cell, black above) heads the list.
            if (code == 0 || d.vocabulary.objectName(code).starts_with("Unused"))
                continue;
            std::vector<uint16_t> pixels = symbolPixels(objectSymbolIndex(code));
            EXPECT_NE(pixels, std::vector<uint16_t>(49, 0)) << code;
            EXPECT_TRUE(seen.insert(pixels).second) << "symbol of object " << code << " repeats";
        }
        // Doors differ from one another and every floor area has its own colour.
        std::set<std::vector<uint16_t>> planeSymbols;
        for (size_t i = 0; i < d.vocabulary.floorCodes.size(); ++i)
            EXPECT_TRUE(planeSymbols.insert(symbolPixels(d.vocabulary.floorCodes[i])).second)
                << d.vocabulary.floorCodes[i];
        for (const DoorKind& door : d.vocabulary.doors.doors())
            EXPECT_TRUE(planeSymbols.insert(symbolPixels(door.code)).second) << door.code;
    }
}

TEST(ShippedDefinitions, EveryCodeOfTheShareWareMapsIsNamedAndDrawable) {
    REQUIRE_GAME_DATA();
    Definitions d;
    loadShipped(d, "Wolfenstein 3D");
    ASSERT_TRUE(d.prompter.empty());

    MapSet maps;
    RecordingPrompter prompter;
    ASSERT_TRUE(loadMapsHere(maps, GameFilePath::fromPath(testdata::gameDataDir() / "GAMEMAPS.WL1"),
                             std::nullopt, Settings{}, prompter));
    ASSERT_EQ(maps.mapCount(), 10);

    SpriteChunks sprites;
    ASSERT_TRUE(sprites.load(testdata::gameDataDir() / "VSWAP.WL1"));
    EXPECT_EQ(sprites.count(), 436);

    std::set<uint16_t> walls, objects;
    for (int map = 0; map < maps.mapCount(); ++map) {
        for (uint16_t code : maps.plane(map, 0))
            walls.insert(code);
        for (uint16_t code : maps.plane(map, 1))
            objects.insert(code);
    }
    EXPECT_GT(walls.size(), 50u);
    EXPECT_GT(objects.size(), 90u);
    for (uint16_t code : walls) {
        if (code == 0)
            continue;
        EXPECT_FALSE(d.vocabulary.wallName(code).empty()) << "wall code " << code;
        EXPECT_TRUE(code < 64 || d.vocabulary.isDoor(code) || d.vocabulary.isFloor(code))
            << "wall code " << code;
    }
    for (uint16_t code : objects) {
        if (code == 0)
            continue;
        SCOPED_TRACE(::testing::Message() << "object code " << code);
        EXPECT_FALSE(d.vocabulary.objectName(code).empty());
        const TileInfo& info = d.vocabulary.info(code);
        // The victory trigger is a marker without a picture; everything else is drawn.
        EXPECT_EQ(info.is(ObjectType::None), code == 99);
        if (info.is(ObjectType::Static) || info.is(ObjectType::Enemy) ||
            info.is(ObjectType::Boss)) {
            EXPECT_TRUE(sprites.hasShape(info.value)) << "sprite " << info.value;
            if (info.is(ObjectType::Enemy)) { // all eight views of a turning enemy are there
                EXPECT_TRUE(sprites.hasShape(info.value + 7)) << "sprite " << info.value + 7;
            }
        }
    }
}

TEST(ShippedDefinitions, StatisticsOfTheFirstShareWareMap) {
    REQUIRE_GAME_DATA();
    Definitions d;
    loadShipped(d, "Wolfenstein 3D");
    MapSet maps;
    RecordingPrompter prompter;
    ASSERT_TRUE(loadMapsHere(maps, GameFilePath::fromPath(testdata::gameDataDir() / "GAMEMAPS.WL1"),
                             std::nullopt, Settings{}, prompter));
    LevelStatistics s = countLevelStatistics(maps.plane(0, 0), maps.plane(0, 1), d.vocabulary);
    // Counted from the decoded map by kind: 73 decorations, 25 pick-ups, 23 treasures and one
    // dead guard are statics; 11 clips (8 shots), a machine gun (6) and an extra life (25)
    // give ammunition; 37 enemies, of them 11 at every level, 9 from level 3 and 17 at level 4.
    EXPECT_EQ(s.doors, 22);
    EXPECT_EQ(s.statics, 122);
    EXPECT_EQ(s.ammo, 13);
    EXPECT_EQ(s.shots, 119);
    EXPECT_EQ(s.players, 1);
    EXPECT_EQ(s.bosses, 0);
    EXPECT_EQ(s.guards, 37);
    EXPECT_EQ(s.enemies, (std::array<int, 6>{0, 11, 0, 9, 17, 0}));
    EXPECT_EQ(s.turningPoints, 18);
    EXPECT_EQ(s.secretDoors, 5);
    EXPECT_EQ(s.objects, 122 + 1 + 37 + 18 + 5);
    EXPECT_TRUE(s.staticsWithinLimit() && s.playersWithinLimit() && s.guardsWithinLimit() &&
                s.doorsWithinLimit());
}

TEST(BuiltinResources, SampleLevelIsAPlayableLittleLevel) {
    Definitions d;
    loadShipped(d, "Wolfenstein 3D");
    BuiltinLevel level = loadBuiltinLevel(testdata::resourcesDir());
    ASSERT_TRUE(level.fromFile);
    LevelStatistics s = countLevelStatistics(level.plane0, level.plane1, d.vocabulary);
    EXPECT_EQ(s.players, 1);
    EXPECT_GE(s.doors, 4);
    EXPECT_GE(s.guards, 5);
    EXPECT_GE(s.statics, 10);
    EXPECT_GE(s.secretDoors, 1);
    std::set<uint16_t> areas;
    for (size_t i = 0; i < kLevelCells; ++i) {
        uint16_t wall = level.plane0[i], object = level.plane1[i];
        if (d.vocabulary.isFloor(wall))
            areas.insert(wall);
        EXPECT_TRUE(wall == 0 || !d.vocabulary.wallName(wall).empty()) << wall;
        EXPECT_TRUE(object == 0 || !d.vocabulary.objectName(object).empty()) << object;
        // A door stands between two walls on its jamb sides.
        if (d.vocabulary.isDoor(wall)) {
            const DoorKind& door = d.vocabulary.door(size_t(d.vocabulary.doorIndex(wall)));
            size_t step = door.vertical ? kLevelSide : 1;
            EXPECT_LT(level.plane0[i - step], 64);
            EXPECT_LT(level.plane0[i + step], 64);
        }
    }
    EXPECT_GE(areas.size(), 6u);
}

TEST(BuiltinResources, MissingOrDamagedFilesGiveAnEmptyLevelAndABlankScreen) {
    std::vector<uint8_t> screen = loadBuiltinTextScreen(testdata::resourcesDir());
    ASSERT_EQ(screen.size(), kBuiltinScreenFileSize);
    EXPECT_NE(screen, loadBuiltinTextScreen("/no/such/folder"));

    testdata::TempDir dir;
    fs::create_directories(dir / kBuiltinFolderName);
    ASSERT_TRUE(writeWholeFile(dir.path() / kBuiltinFolderName / kBuiltinLevelFileName,
                               Bytes(16383, 0x11)));
    ASSERT_TRUE(writeWholeFile(dir.path() / kBuiltinFolderName / kBuiltinScreenFileName,
                               Bytes(4001, 0x22)));
    for (const fs::path& folder : {fs::path(dir.path()), fs::path("/no/such/folder")}) {
        BuiltinLevel level = loadBuiltinLevel(folder);
        EXPECT_FALSE(level.fromFile);
        EXPECT_EQ(level.plane0, std::vector<uint16_t>(kLevelCells, 0));
        EXPECT_EQ(level.plane1, std::vector<uint16_t>(kLevelCells, 0));
        std::vector<uint8_t> blank = loadBuiltinTextScreen(folder);
        ASSERT_EQ(blank.size(), kBuiltinScreenFileSize);
        EXPECT_EQ(blank[0], ' ');
        EXPECT_EQ(blank[3999], 0x07);
    }
}
