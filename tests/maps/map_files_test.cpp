#include "common/file_io.h"
#include "maps/header_restore.h"
#include "maps/map_files.h"
#include "maps/maps_test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace fs = std::filesystem;

namespace {

const char* const kNoMaps = "The map header does not point to any maps!";

Bytes fileBytes(const fs::path& path) {
    return readWholeFile(path).value_or(Bytes{});
}

void copyMapFiles(const fs::path& to) {
    for (const char* name : {"GAMEMAPS.WL1", "MAPHEAD.WL1"}) {
        fs::copy_file(testdata::gameDataDir() / name, to / name);
        fs::permissions(to / name, fs::perms::owner_write, fs::perm_options::add);
    }
}

GameFilePath pathIn(const fs::path& folder, const std::string& base) {
    return GameFilePath{folder.string(), base, "WL1"};
}

void expectSamePlanes(const MapSet& actual, const MapSet& expected, const std::string& what) {
    ASSERT_EQ(actual.mapCount(), expected.mapCount()) << what;
    ASSERT_EQ(actual.thirdPlaneEnabled(), expected.thirdPlaneEnabled()) << what;
    for (int map = 0; map < expected.mapCount(); ++map) {
        EXPECT_EQ(actual.header(map).nameText(), expected.header(map).nameText()) << what;
        for (int p = 0; p < (expected.thirdPlaneEnabled() ? 3 : 2); ++p) {
            std::span<const uint16_t> a = actual.plane(map, p), b = expected.plane(map, p);
            ASSERT_EQ(a.size(), kPlaneCodes) << what << " map " << map << " plane " << p;
            EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end()))
                << what << " map " << map << " plane " << p;
        }
    }
}

// Carmack and RLEW decoding written straight from the unit tables, as another program would.
std::vector<uint16_t> decodeCarmackUnits(const Bytes& data) {
    std::vector<uint16_t> out;
    size_t i = 0;
    while (i + 2 <= data.size()) {
        const uint8_t count = data[i], kind = data[i + 1];
        if ((kind == 0xA7 || kind == 0xA8) && count == 0) {
            out.push_back(uint16_t(kind << 8 | data.at(i + 2)));
            i += 3;
        } else if (kind == 0xA7) {
            const size_t back = data.at(i + 2);
            for (int k = 0; k < count; ++k)
                out.push_back(out.at(out.size() - back));
            i += 3;
        } else if (kind == 0xA8) {
            const size_t from = data.at(i + 2) | data.at(i + 3) << 8;
            for (size_t k = 0; k < count; ++k)
                out.push_back(out.at(from + k));
            i += 4;
        } else {
            out.push_back(uint16_t(count | kind << 8));
            i += 2;
        }
    }
    EXPECT_EQ(i, data.size());
    return out;
}

std::vector<uint16_t> decodeRlewUnits(const std::vector<uint16_t>& words, uint16_t tag) {
    std::vector<uint16_t> out;
    for (size_t i = 0; i < words.size();) {
        if (words[i] == tag) {
            out.insert(out.end(), words.at(i + 1), words.at(i + 2));
            i += 3;
        } else {
            out.push_back(words[i++]);
        }
    }
    return out;
}

class RecordingProgress : public ProgressSink {
public:
    void setTitle(const std::string& title) override { titles.push_back(title); }
    void setCount(const std::string& count) override { counts.push_back(count); }
    void setRange(int low, int high) override { ranges.push_back(high - low); }
    void setPosition(int position) override { positions.push_back(position); }
    std::vector<std::string> titles, counts;
    std::vector<int> ranges, positions;
};

Settings saveSettings(CarmackCompress compress, CarmackMode mode) {
    Settings settings;
    settings.carmackCompress = compress;
    settings.carmackMode = mode;
    return settings;
}

} // namespace

TEST(MapFiles, LoadsTheSharewareMaps) {
    REQUIRE_GAME_DATA();
    auto maps = mapstest::sharewareMaps();
    ASSERT_TRUE(maps);
    ASSERT_EQ(maps->mapCount(), 10);
    EXPECT_EQ(maps->rlewTag(), 0xABCD);
    EXPECT_TRUE(maps->carmack());
    EXPECT_FALSE(maps->thirdPlaneEnabled());
    const std::vector<std::string> names = {"Wolf1 Map1", "Wolf1 Map2",  "Wolf1 Map3", "Wolf1 Map4",
                                            "Wolf1 Map5", "Wolf1 Map6",  "Wolf1 Map7", "Wolf1 Map8",
                                            "Wolf1 Boss", "Wolf1 Secret"};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(maps->header(i).nameText(), names[size_t(i)]);

    std::span<const uint16_t> objects = maps->plane(0, 1);
    std::vector<size_t> starts;
    for (size_t cell = 0; cell < objects.size(); ++cell)
        if (objects[cell] >= 19 && objects[cell] <= 22)
            starts.push_back(cell);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], 57u * 64 + 29);
    EXPECT_EQ(objects[starts[0]], 20);
    EXPECT_EQ(maps->plane(0, 0)[0], 1);
    EXPECT_EQ(maps->lastMapsPath().baseName, "GAMEMAPS");
    EXPECT_EQ(maps->lastMapheadPath().baseName, "MAPHEAD");
}

TEST(MapFiles, SaveAndReloadReproducesEveryPlane) {
    REQUIRE_GAME_DATA();
    auto original = mapstest::sharewareMaps();
    ASSERT_TRUE(original);
    struct Form {
        const char* name;
        const char* baseName;
        CarmackCompress compress;
        CarmackMode mode;
        bool carmack;
    };
    const std::vector<Form> forms = {
        {"Carmack compatible", "GAMEMAPS", CarmackCompress::Enable, CarmackMode::Compatible, true},
        {"Carmack best result", "GAMEMAPS", CarmackCompress::Enable, CarmackMode::BestResult, true},
        {"RLEW only", "MAPTEMP", CarmackCompress::Disable, CarmackMode::Compatible, false},
        {"as loaded", "GAMEMAPS", CarmackCompress::AsExpanded, CarmackMode::Compatible, true},
    };
    std::map<std::string, uintmax_t> sizes;
    for (const Form& form : forms) {
        testdata::TempDir dir;
        MapSet maps = *original;
        RecordingPrompter prompter;
        ASSERT_TRUE(saveMapsHere(maps, pathIn(dir.path(), form.baseName), std::nullopt,
                                 saveSettings(form.compress, form.mode), prompter))
            << form.name;
        EXPECT_TRUE(prompter.empty()) << form.name;
        EXPECT_EQ(maps.carmack(), form.carmack) << form.name;
        EXPECT_EQ(fs::file_size(dir / "MAPHEAD.WL1"), 2u + 4 * 10) << form.name;
        Bytes data = fileBytes(dir / (std::string(form.baseName) + ".WL1"));
        const std::string signature = mapSignature({});
        ASSERT_GT(data.size(), signature.size() + 4);
        EXPECT_EQ(std::string(data.begin(), data.begin() + ptrdiff_t(signature.size())), signature);
        EXPECT_EQ(std::string(data.end() - 4, data.end()), "MESX");
        sizes[form.name] = data.size();

        MapSet reloaded;
        ASSERT_TRUE(loadMapsHere(reloaded, pathIn(dir.path(), form.baseName), std::nullopt,
                                 Settings(), prompter))
            << form.name;
        EXPECT_EQ(reloaded.carmack(), form.carmack) << form.name;
        EXPECT_EQ(reloaded.rlewTag(), original->rlewTag());
        expectSamePlanes(reloaded, *original, form.name);
        // The headers in memory now describe the new file.
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(reloaded.header(i), maps.header(i)) << form.name << " map " << i;
            EXPECT_EQ(reloaded.header(i).planeStart[2], reloaded.header(i).planeStart[1]);
        }
    }
    EXPECT_LE(sizes["Carmack best result"], sizes["Carmack compatible"]);
    EXPECT_LT(sizes["Carmack compatible"], sizes["RLEW only"]);
}

TEST(MapFiles, CompatibleFileExpandsWithAnIndependentReader) {
    REQUIRE_GAME_DATA();
    auto original = mapstest::sharewareMaps();
    ASSERT_TRUE(original);
    testdata::TempDir dir;
    MapSet maps = *original;
    RecordingPrompter prompter;
    ASSERT_TRUE(saveMapsHere(maps, pathIn(dir.path(), "GAMEMAPS"), std::nullopt,
                             saveSettings(CarmackCompress::Enable, CarmackMode::Compatible),
                             prompter));
    const Bytes head = fileBytes(dir / "MAPHEAD.WL1");
    const Bytes data = fileBytes(dir / "GAMEMAPS.WL1");
    const uint16_t tag = readU16At(head, 0);
    EXPECT_EQ(tag, 0xABCD);
    for (int map = 0; map < 10; ++map) {
        const size_t at = readU32At(head, 2 + 4 * size_t(map));
        ASSERT_LE(at + 40, data.size());
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&data[at + 22])),
                  original->header(map).nameText());
        for (int p = 0; p < 2; ++p) {
            const size_t start = readU32At(data, at + 4 * size_t(p));
            const size_t length = readU16At(data, at + 12 + 2 * size_t(p));
            ASSERT_LE(start + length, at);
            ByteView stored(data.data() + start, length);
            std::vector<uint16_t> rlew =
                decodeCarmackUnits(Bytes(stored.begin() + 2, stored.end()));
            EXPECT_EQ(rlew.size() * 2, readU16At(stored, 0));
            ASSERT_FALSE(rlew.empty());
            EXPECT_EQ(rlew[0], 8192);
            std::vector<uint16_t> codes = decodeRlewUnits({rlew.begin() + 1, rlew.end()}, tag);
            std::span<const uint16_t> expected = original->plane(map, p);
            EXPECT_TRUE(std::equal(codes.begin(), codes.end(), expected.begin(), expected.end()))
                << "map " << map << " plane " << p;
        }
    }
}

TEST(MapFiles, RestoresAMissingMapheadWhenTheUserAgrees) {
    REQUIRE_GAME_DATA();
    auto original = mapstest::sharewareMaps();
    ASSERT_TRUE(original);
    testdata::TempDir dir;
    MapSet written = *original;
    RecordingPrompter prompter;
    ASSERT_TRUE(
        saveMapsHere(written, pathIn(dir.path(), "GAMEMAPS"), std::nullopt, Settings(), prompter));
    fs::remove(dir / "MAPHEAD.WL1");

    Settings settings;
    settings.rlewTag = 0x1234; // restoring always uses 0xABCD
    MapSet kept = *original;
    kept.header(0).setName("untouched");
    prompter.script(PromptAnswer::No);
    EXPECT_FALSE(
        loadMapsHere(kept, pathIn(dir.path(), "GAMEMAPS"), std::nullopt, settings, prompter));
    EXPECT_EQ(kept.header(0).nameText(), "untouched");

    prompter.clear();
    MapSet restored;
    MapLoad load;
    ASSERT_TRUE(load.prepare(pathIn(dir.path(), "GAMEMAPS"), std::nullopt, settings, prompter));
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].title, "Tessarand");
    EXPECT_EQ(prompter.prompts()[0].text, "Should I try to restore the maphead-file ?");
    EXPECT_EQ(prompter.prompts()[0].buttons, PromptButtons::YesNo);
    EXPECT_TRUE(load.restoreRequested());
    NullProgress progress;
    JobResult result = runJobHere([&](JobContext& c) { return load.run(c); }, progress, prompter);
    ASSERT_TRUE(load.finish(result, restored));
    EXPECT_EQ(load.rlewTagInUse(), 0xABCD);
    expectSamePlanes(restored, *original, "restored");
    EXPECT_EQ(restored.lastMapheadPath(), pathIn(dir.path(), "MAPHEAD"));
}

TEST(MapFiles, RestoringTheOriginalFileFindsEveryMap) {
    REQUIRE_GAME_DATA();
    const Bytes data = fileBytes(testdata::gameDataDir() / "GAMEMAPS.WL1");
    const Bytes head = fileBytes(testdata::gameDataDir() / "MAPHEAD.WL1");
    std::vector<int32_t> expected;
    for (size_t at = 2; at + 4 <= head.size() && readU32At(head, at) != 0; at += 4)
        expected.push_back(int32_t(readU32At(head, at)));
    EXPECT_EQ(restoreMapOffsets(data), expected);
}

TEST(MapFiles, RestoreIgnoresPatternsThatCannotBeHeaders) {
    auto header = [](int32_t planeStart) {
        MapHeader h;
        h.planeStart = {planeStart, planeStart, planeStart};
        h.planeLength = {2, 2, 2};
        Bytes bytes;
        ByteWriter out(bytes);
        h.write(out);
        return bytes;
    };
    const Bytes pattern = {0x40, 0x00, 0x40, 0x00};
    struct Case {
        const char* name;
        Bytes file;
        std::vector<int32_t> expected;
    };
    Bytes lowPattern = pattern;
    lowPattern.resize(100, 0);
    Bytes falseInData(200, 0x11); // the 0x11111111 plane starts lie far outside
    std::copy(pattern.begin(), pattern.end(), falseInData.begin() + 64);
    Bytes trueHeader(30, 0);
    Bytes h = header(4);
    trueHeader.insert(trueHeader.end(), h.begin(), h.end());
    Bytes manyHeaders(10, 0);
    for (int i = 0; i < 600; ++i) {
        Bytes next = header(2);
        manyHeaders.insert(manyHeaders.end(), next.begin(), next.end());
    }
    std::vector<int32_t> firstFiveHundred;
    for (int i = 0; i < 500; ++i)
        firstFiveHundred.push_back(10 + 40 * i);
    const std::vector<Case> cases = {
        {"pattern before byte 18", lowPattern, {}},
        {"pattern inside plane data", falseInData, {}},
        {"a real header", trueHeader, {30}},
        {"header cut by the end of the file", Bytes(trueHeader.begin(), trueHeader.end() - 1), {}},
        {"at most 500", manyHeaders, firstFiveHundred},
        {"empty file", {}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(restoreMapOffsets(c.file), c.expected) << c.name;
}

TEST(MapFiles, SignatureCarriesThirdPlaneAndFeatureFlags) {
    struct Case {
        std::string start;
        bool thirdPlane, featureFlags;
    };
    const std::vector<Case> cases = {
        {"TR1.27:3P:FF:Mapfile was edited", true, true},
        {"TR1.27:3P:Mapfile was edited", true, false},
        {"TR1.27:FF:Mapfile was edited", false, true},
        {"TR1.27:Mapfile was edited", false, false},
        {"TED5v1.0", false, false},
        {"ABCDEFGHIJKLMNOPQRST:3P:FF:", false, false},
        {"ABCDEFGHIJKLMNOPQ:3P:FF", true, false},
        {"x:3", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        MapFileFlags flags = recogniseMapSignature(
            ByteView(reinterpret_cast<const uint8_t*>(c.start.data()), c.start.size()));
        EXPECT_EQ(flags.thirdPlane, c.thirdPlane) << c.start;
        EXPECT_EQ(flags.featureFlags, c.featureFlags) << c.start;
    }
    for (bool third : {false, true})
        for (bool ff : {false, true}) {
            std::string text = mapSignature({third, ff});
            MapFileFlags flags = recogniseMapSignature(
                ByteView(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
            EXPECT_EQ(flags.thirdPlane, third);
            EXPECT_EQ(flags.featureFlags, ff);
        }
}

TEST(MapFiles, ThirdPlaneAndFeatureFlagsSurviveASave) {
    REQUIRE_GAME_DATA();
    auto original = mapstest::sharewareMaps();
    ASSERT_TRUE(original);
    testdata::TempDir dir;
    MapSet maps = *original;
    maps.setThirdPlaneEnabled(true);
    maps.setFeatureFlagsEnabled(true);
    for (int map = 0; map < maps.mapCount(); ++map)
        for (size_t cell = 0; cell < kPlaneCodes; ++cell)
            maps.plane(map, 2)[cell] = uint16_t((cell * (map + 3)) % 29 | 0xA700);
    RecordingPrompter prompter;
    ASSERT_TRUE(
        saveMapsHere(maps, pathIn(dir.path(), "GAMEMAPS"), std::nullopt, Settings(), prompter));
    const Bytes data = fileBytes(dir / "GAMEMAPS.WL1");
    EXPECT_EQ(std::string(data.begin(), data.begin() + 13), "TR1.27:3P:FF:");
    MapSet reloaded;
    ASSERT_TRUE(
        loadMapsHere(reloaded, pathIn(dir.path(), "GAMEMAPS"), std::nullopt, Settings(), prompter));
    EXPECT_TRUE(reloaded.featureFlagsEnabled());
    expectSamePlanes(reloaded, maps, "third plane");
}

TEST(MapFiles, CarmackAndFileNameFollowTheSettings) {
    REQUIRE_GAME_DATA();
    testdata::TempDir dir;
    copyMapFiles(dir.path());
    fs::copy_file(dir / "GAMEMAPS.WL1", dir / "MAPTEMP.WL1");
    fs::copy_file(dir / "GAMEMAPS.WL1", dir / "LEVELS.WL1");
    testdata::TempDir onlyGamemaps;
    copyMapFiles(onlyGamemaps.path());

    struct Case {
        const char* name;
        const fs::path& folder;
        const char* baseName;
        CarmackExpand expand;
        bool mapsOnly;
        const char* expectedBase; // nullptr: nothing can be loaded
        bool carmack;
    };
    const std::vector<Case> cases = {
        {"MAPTEMP with Auto", dir.path(), "MAPTEMP", CarmackExpand::Auto, false, "MAPTEMP", false},
        {"GAMEMAPS with Auto", dir.path(), "GAMEMAPS", CarmackExpand::Auto, false, "GAMEMAPS",
         true},
        {"other name with Auto", dir.path(), "LEVELS", CarmackExpand::Auto, false, "LEVELS", true},
        {"MAPTEMP with Enable", dir.path(), "MAPTEMP", CarmackExpand::Enable, false, "MAPTEMP",
         true},
        {"GAMEMAPS with Disable", dir.path(), "GAMEMAPS", CarmackExpand::Disable, false, "GAMEMAPS",
         false},
        {"maps only renames to GAMEMAPS", dir.path(), "LEVELS", CarmackExpand::Auto, true,
         "GAMEMAPS", true},
        {"maps only with Disable renames to MAPTEMP", dir.path(), "LEVELS", CarmackExpand::Disable,
         true, "MAPTEMP", false},
        {"maps only falls back to GAMEMAPS", onlyGamemaps.path(), "MAPTEMP", CarmackExpand::Auto,
         true, "GAMEMAPS", true},
        {"missing file", onlyGamemaps.path(), "MAPTEMP", CarmackExpand::Auto, false, nullptr,
         false},
    };
    for (const Case& c : cases) {
        Settings settings;
        settings.carmackExpand = c.expand;
        settings.mapsOnly = c.mapsOnly;
        RecordingPrompter prompter;
        MapLoad load;
        const bool prepared =
            load.prepare(pathIn(c.folder, c.baseName), std::nullopt, settings, prompter);
        if (!c.expectedBase) {
            EXPECT_FALSE(prepared) << c.name;
            ASSERT_EQ(prompter.prompts().size(), 1u) << c.name;
            EXPECT_EQ(prompter.prompts()[0].title, "Cannot Open") << c.name;
            EXPECT_EQ(prompter.prompts()[0].text, (c.folder / "MAPTEMP.WL1").string());
            continue;
        }
        ASSERT_TRUE(prepared) << c.name;
        EXPECT_TRUE(prompter.empty()) << c.name;
        EXPECT_EQ(load.mapsPath().baseName, c.expectedBase) << c.name;
        EXPECT_EQ(load.carmack(), c.carmack) << c.name;
    }
}

TEST(MapFiles, TagsComeFromMapheadAndTheSettings) {
    REQUIRE_GAME_DATA();
    auto original = mapstest::sharewareMaps();
    ASSERT_TRUE(original);
    struct Case {
        const char* name;
        uint16_t savedTag;
        uint8_t nearTag, farTag;
        bool dontLoadRlew;
        uint16_t settingsTag;
        uint16_t tagInUse;
        bool planesRight;
    };
    const std::vector<Case> cases = {
        {"tag read from MAPHEAD", 0x4242, 0xA7, 0xA8, false, 0xABCD, 0x4242, true},
        {"MAPHEAD tag ignored, the setting matches", 0x4242, 0xA7, 0xA8, true, 0x4242, 0x4242,
         true},
        {"MAPHEAD tag ignored, the setting is wrong", 0x4242, 0xA7, 0xA8, true, 0xABCD, 0xABCD,
         false},
        {"other near and far tags", 0xABCD, 0x12, 0x34, false, 0xABCD, 0xABCD, true},
    };
    for (const Case& c : cases) {
        testdata::TempDir dir;
        MapSet maps = *original;
        maps.setRlewTag(c.savedTag);
        Settings settings;
        settings.nearTag = c.nearTag;
        settings.farTag = c.farTag;
        RecordingPrompter prompter;
        ASSERT_TRUE(
            saveMapsHere(maps, pathIn(dir.path(), "GAMEMAPS"), std::nullopt, settings, prompter));
        EXPECT_EQ(readU16At(fileBytes(dir / "MAPHEAD.WL1"), 0), c.savedTag) << c.name;
        settings.dontLoadRlew = c.dontLoadRlew;
        settings.rlewTag = c.settingsTag;
        MapLoad load;
        ASSERT_TRUE(load.prepare(pathIn(dir.path(), "GAMEMAPS"), std::nullopt, settings, prompter));
        NullProgress progress;
        MapSet reloaded;
        ASSERT_TRUE(load.finish(
            runJobHere([&](JobContext& context) { return load.run(context); }, progress, prompter),
            reloaded));
        EXPECT_EQ(load.rlewTagInUse(), c.tagInUse) << c.name;
        EXPECT_EQ(reloaded.rlewTag(), c.tagInUse) << c.name;
        bool same = true;
        for (int map = 0; map < 10; ++map)
            for (int p = 0; p < 2; ++p)
                same =
                    same && std::equal(reloaded.plane(map, p).begin(), reloaded.plane(map, p).end(),
                                       original->plane(map, p).begin());
        EXPECT_EQ(same, c.planesRight) << c.name;
    }
}

TEST(MapFiles, MapheadComesFromTheGivenPathTheSiblingOrTheChooser) {
    REQUIRE_GAME_DATA();
    testdata::TempDir dir;
    copyMapFiles(dir.path());
    fs::rename(dir / "MAPHEAD.WL1", dir / "HEADER.BIN");
    const GameFilePath chosen{dir.path().string(), "HEADER", "BIN"};

    RecordingPrompter prompter;
    MapSet maps;
    MapLoad given;
    ASSERT_TRUE(given.prepare(pathIn(dir.path(), "GAMEMAPS"), chosen, Settings(), prompter));
    NullProgress progress;
    ASSERT_TRUE(given.finish(
        runJobHere([&](JobContext& c) { return given.run(c); }, progress, prompter), maps));
    EXPECT_EQ(maps.mapCount(), 10);
    EXPECT_EQ(maps.lastMapheadPath(), chosen);
    EXPECT_TRUE(prompter.empty());

    int asked = 0;
    MapLoad viaDialog;
    ASSERT_TRUE(
        viaDialog.prepare(pathIn(dir.path(), "GAMEMAPS"), std::nullopt, Settings(), prompter, [&] {
            ++asked;
            return std::optional<GameFilePath>(chosen);
        }));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(viaDialog.restoreRequested());

    // Without "Try first Maphead" the sibling is not looked at.
    Settings noSibling;
    noSibling.checkMaphead = false;
    fs::copy_file(dir / "HEADER.BIN", dir / "MAPHEAD.WL1");
    prompter.script(PromptAnswer::No);
    MapLoad unchecked;
    EXPECT_FALSE(
        unchecked.prepare(pathIn(dir.path(), "GAMEMAPS"), std::nullopt, noSibling, prompter));
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].text, "Should I try to restore the maphead-file ?");
    fs::remove(dir / "MAPHEAD.WL1");
    prompter.clear();

    // A chosen file that cannot be opened is reported, then restoring is offered.
    prompter.script(PromptAnswer::Ok);
    prompter.script(PromptAnswer::No);
    MapLoad missing;
    EXPECT_FALSE(
        missing.prepare(pathIn(dir.path(), "GAMEMAPS"), std::nullopt, Settings(), prompter, [&] {
            return std::optional<GameFilePath>(GameFilePath{dir.path().string(), "NONE", "WL1"});
        }));
    ASSERT_EQ(prompter.prompts().size(), 2u);
    EXPECT_EQ(prompter.prompts()[0].title, "Cannot Open");
    EXPECT_EQ(prompter.prompts()[0].text, (dir / "NONE.WL1").string());
    EXPECT_EQ(prompter.prompts()[1].text, "Should I try to restore the maphead-file ?");
}

TEST(MapFiles, BadFilesGiveClearMessagesAndKeepTheMapsInMemory) {
    REQUIRE_GAME_DATA();
    auto original = mapstest::sharewareMaps();
    ASSERT_TRUE(original);
    const Bytes head = fileBytes(testdata::gameDataDir() / "MAPHEAD.WL1");
    const Bytes data = fileBytes(testdata::gameDataDir() / "GAMEMAPS.WL1");
    auto offsetOf = [&](int map) { return int32_t(readU32At(head, 2 + 4 * size_t(map))); };
    auto mapheadWith = [&](std::vector<int32_t> offsets) {
        Bytes bytes;
        ByteWriter out(bytes);
        out.u16(0xABCD);
        for (int32_t offset : offsets)
            out.i32(offset);
        return bytes;
    };
    auto patched = [&](int map, size_t field, int32_t value, size_t size) {
        Bytes bytes = data;
        ByteWriter out(bytes);
        if (size == 2)
            out.patchU16(size_t(offsetOf(map)) + field, uint16_t(value));
        else
            out.patchU32(size_t(offsetOf(map)) + field, uint32_t(value));
        return bytes;
    };
    std::mt19937 random(7);
    Bytes garbage(data.size());
    for (uint8_t& byte : garbage)
        byte = uint8_t(random());
    Bytes garbageHead(head.size());
    for (uint8_t& byte : garbageHead)
        byte = uint8_t(random() | 0x80);
    Bytes bigHead = head;
    bigHead.resize(1 << 20, 0);

    std::vector<int32_t> sixty, sixHundred;
    for (int i = 0; i < 60; ++i)
        sixty.push_back(offsetOf(i % 10));
    sixty.insert(sixty.end(), 20, 0);
    for (int i = 0; i < 600; ++i)
        sixHundred.push_back(offsetOf(i % 10));

    struct Case {
        const char* name;
        std::optional<Bytes> maphead; // nothing: the original file
        std::optional<Bytes> gamemaps;
        int maps;            // 0: the load fails
        std::string message; // the one message expected, "" for none
        std::function<void(const MapSet&)> check;
    };
    auto sameAsOriginal = [&](int first, int count, int from) {
        return [&, first, count, from](const MapSet& maps) {
            for (int i = 0; i < count; ++i)
                for (int p = 0; p < 2; ++p) {
                    std::span<const uint16_t> a = maps.plane(first + i, p);
                    std::span<const uint16_t> b = original->plane((from + i) % 10, p);
                    EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end()))
                        << "map " << first + i;
                }
        };
    };
    const std::vector<Case> cases = {
        {"empty MAPHEAD", Bytes{}, {}, 0, kNoMaps, {}},
        {"MAPHEAD of one byte", Bytes{0xCD}, {}, 0, kNoMaps, {}},
        {"MAPHEAD with a cut offset",
         Bytes(head.begin(), head.begin() + 2 + 4 * 3 + 2),
         {},
         3,
         "",
         sameAsOriginal(0, 3, 0)},
        {"garbage MAPHEAD", garbageHead, {}, 0, kNoMaps, {}},
        {"offsets beyond the file",
         mapheadWith({0x7FFFFFF0, 30000, int32_t(data.size()) - 39}),
         {},
         0,
         kNoMaps,
         {}},
        {"negative offsets are skipped",
         mapheadWith({-5, offsetOf(1), offsetOf(2)}),
         {},
         3,
         "",
         [&](const MapSet& maps) {
             EXPECT_EQ(maps.header(0).nameText(), "");
             EXPECT_EQ(maps.plane(0, 0).size(), kPlaneCodes);
             EXPECT_TRUE(std::all_of(maps.plane(0, 0).begin(), maps.plane(0, 0).end(),
                                     [](uint16_t code) { return code == 0; }));
             sameAsOriginal(1, 2, 1)(maps);
         }},
        {"sixty offsets then zeros", mapheadWith(sixty), {}, 60, "", sameAsOriginal(0, 60, 0)},
        {"at most 500 offsets", mapheadWith(sixHundred), {}, 500, "", sameAsOriginal(490, 10, 0)},
        {"oversized MAPHEAD", bigHead, {}, 10, "", sameAsOriginal(0, 10, 0)},
        {"empty GAMEMAPS", {}, Bytes{}, 0, kNoMaps, {}},
        {"GAMEMAPS cut before the fifth header",
         {},
         Bytes(data.begin(), data.begin() + offsetOf(4) + 20),
         4,
         "The maps file GAMEMAPS.WL1 is damaged.\nThe header of map 4 lies beyond its end; it "
         "and the maps after it were not loaded.",
         sameAsOriginal(0, 4, 0)},
        {"GAMEMAPS cut inside a plane",
         {},
         Bytes(data.begin(), data.begin() + 100),
         0,
         kNoMaps,
         {}},
        {"plane length above 16384 is limited",
         {},
         patched(0, 12, 0xFFFF, 2),
         10,
         "",
         sameAsOriginal(0, 10, 0)},
        {"plane length below 2 is limited",
         {},
         patched(3, 14, 0, 2),
         10,
         "",
         [&](const MapSet& maps) {
             EXPECT_TRUE(std::all_of(maps.plane(3, 1).begin(), maps.plane(3, 1).end(),
                                     [](uint16_t code) { return code == 0; }));
             sameAsOriginal(4, 6, 4)(maps);
         }},
        {"negative plane start",
         {},
         patched(2, 0, -100, 4),
         10,
         "The maps file GAMEMAPS.WL1 is damaged.\nPlane data beyond its end was left empty in "
         "map(s) 2.",
         sameAsOriginal(3, 7, 3)},
    };
    for (const Case& c : cases) {
        testdata::TempDir dir;
        copyMapFiles(dir.path());
        if (c.maphead) {
            ASSERT_TRUE(writeWholeFile(dir / "MAPHEAD.WL1", *c.maphead));
        }
        if (c.gamemaps) {
            ASSERT_TRUE(writeWholeFile(dir / "GAMEMAPS.WL1", *c.gamemaps));
        }
        MapSet maps = *original;
        maps.header(9).setName("in memory");
        RecordingPrompter prompter;
        const bool loaded =
            loadMapsHere(maps, pathIn(dir.path(), "GAMEMAPS"), std::nullopt, Settings(), prompter);
        EXPECT_EQ(loaded, c.maps > 0) << c.name;
        if (c.message.empty()) {
            EXPECT_TRUE(prompter.empty()) << c.name << ": " << prompter.prompts()[0].text;
        } else {
            ASSERT_EQ(prompter.prompts().size(), 1u) << c.name;
            EXPECT_EQ(prompter.prompts()[0].title, "Tessarand") << c.name;
            EXPECT_EQ(prompter.prompts()[0].text, c.message) << c.name;
        }
        if (!loaded) {
            MapSet unchanged = *original;
            unchanged.header(9).setName("in memory");
            expectSamePlanes(maps, unchanged, c.name);
            continue;
        }
        EXPECT_EQ(maps.mapCount(), c.maps) << c.name;
        for (int i = 0; i < maps.mapCount(); ++i)
            for (int p = 0; p < 2; ++p)
                EXPECT_EQ(maps.plane(i, p).size(), kPlaneCodes) << c.name;
        if (c.check)
            c.check(maps);
    }

    // Random bytes in place of GAMEMAPS: whatever is found is reported, nothing breaks.
    testdata::TempDir dir;
    copyMapFiles(dir.path());
    ASSERT_TRUE(writeWholeFile(dir / "GAMEMAPS.WL1", garbage));
    MapSet maps = *original;
    RecordingPrompter prompter;
    const bool loaded =
        loadMapsHere(maps, pathIn(dir.path(), "GAMEMAPS"), std::nullopt, Settings(), prompter);
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].text.rfind(
                  loaded ? "The maps file GAMEMAPS.WL1 is damaged" : kNoMaps, 0),
              0u);
}

TEST(MapFiles, JobsReportTheirPhasesAndRunOnAWorker) {
    REQUIRE_GAME_DATA();
    auto original = mapstest::sharewareMaps();
    ASSERT_TRUE(original);
    testdata::TempDir dir;
    copyMapFiles(dir.path());
    RecordingPrompter prompter;

    MapSave save;
    MapSet maps = *original;
    ASSERT_EQ(
        save.prepare(maps, pathIn(dir.path(), "GAMEMAPS"), std::nullopt, Settings(), prompter),
        MapSavePreparation::Ready);
    RecordingProgress saveProgress;
    JobChannel channel;
    Worker worker;
    worker.start(channel, saveProgress, prompter, [&](JobContext& c) { return save.run(c); });
    channel.markReady();
    worker.join();
    ASSERT_EQ(channel.result(), JobResult::Success);
    EXPECT_TRUE(save.finish(*channel.result(), maps, prompter));
    EXPECT_EQ(saveProgress.titles,
              (std::vector<std::string>{"Saving Header...", "Saving Maps..."}));
    EXPECT_EQ(saveProgress.ranges, std::vector<int>{10});
    EXPECT_EQ(saveProgress.counts.front(), "1/10");
    EXPECT_EQ(saveProgress.counts.back(), "10/10");
    EXPECT_EQ(saveProgress.positions.back(), 10);

    MapLoad load;
    ASSERT_TRUE(load.prepare(pathIn(dir.path(), "GAMEMAPS"), std::nullopt, Settings(), prompter));
    RecordingProgress loadProgress;
    channel.reset();
    worker.start(channel, loadProgress, prompter, [&](JobContext& c) { return load.run(c); });
    channel.markReady();
    worker.join();
    MapSet reloaded;
    ASSERT_TRUE(load.finish(channel.result().value_or(JobResult::Failure), reloaded));
    EXPECT_EQ(loadProgress.titles,
              (std::vector<std::string>{"Loading Headers...", "Loading Maps..."}));
    EXPECT_EQ(loadProgress.counts.size(), 10u);
    EXPECT_EQ(loadProgress.counts.back(), "10/10");
    expectSamePlanes(reloaded, *original, "worker");
    EXPECT_TRUE(prompter.empty());
}

TEST(MapFiles, FailedOrCancelledSavesLeaveTheOldFiles) {
    REQUIRE_GAME_DATA();
    auto original = mapstest::sharewareMaps();
    ASSERT_TRUE(original);
    const Bytes oldHead = fileBytes(testdata::gameDataDir() / "MAPHEAD.WL1");
    const Bytes oldData = fileBytes(testdata::gameDataDir() / "GAMEMAPS.WL1");

    struct Case {
        const char* name;
        std::function<void(const fs::path& dir, Settings&, MapSet&)> arrange;
        MapSavePreparation preparation;
        bool cancel;
        std::string title; // of the one message expected, "" for none
    };
    const std::vector<Case> cases = {
        {"cancelled", [](const fs::path&, Settings&, MapSet&) {}, MapSavePreparation::Ready, true,
         ""},
        {"plane that cannot be stored",
         [](const fs::path&, Settings&, MapSet& maps) {
             std::span<uint16_t> plane = maps.plane(3, 0);
             for (size_t cell = 0; cell < plane.size(); ++cell)
                 plane[cell] = cell % 2 ? uint16_t(cell) : maps.rlewTag();
         },
         MapSavePreparation::Ready, false, "Error while saving maps:"},
        {"equal near and far tags",
         [](const fs::path&, Settings& settings, MapSet&) { settings.nearTag = settings.farTag; },
         MapSavePreparation::Refused, false, "Tessarand"},
        {"maps .tmp cannot be created",
         [](const fs::path& dir, Settings&, MapSet&) {
             fs::create_directory(dir / "GAMEMAPS.WL1.tmp");
             writeWholeFile(dir / "GAMEMAPS.WL1.tmp" / "keep", Bytes{1});
         },
         MapSavePreparation::CannotCreate, false,
         "Error while saving maps: Cannot open data file for writing:"},
        {"MAPHEAD .tmp cannot be created",
         [](const fs::path& dir, Settings&, MapSet&) {
             fs::create_directory(dir / "MAPHEAD.WL1.tmp");
             writeWholeFile(dir / "MAPHEAD.WL1.tmp" / "keep", Bytes{1});
         },
         MapSavePreparation::CannotCreate, false,
         "Error while saving maps: Cannot open header file for writing:"},
    };
    for (const Case& c : cases) {
        testdata::TempDir dir;
        copyMapFiles(dir.path());
        Settings settings;
        settings.carmackMode = CarmackMode::BestResult;
        MapSet maps = *original;
        c.arrange(dir.path(), settings, maps);
        const MapSet before = maps;
        RecordingPrompter prompter;
        MapSave save;
        ASSERT_EQ(
            save.prepare(maps, pathIn(dir.path(), "GAMEMAPS"), std::nullopt, settings, prompter),
            c.preparation)
            << c.name;
        if (c.preparation == MapSavePreparation::Ready) {
            JobChannel channel;
            if (c.cancel)
                channel.requestCancel();
            NullProgress progress;
            JobContext context(progress, prompter, &channel);
            const JobResult result = save.run(context);
            EXPECT_EQ(result, JobResult::Failure) << c.name;
            EXPECT_FALSE(save.finish(result, maps, prompter)) << c.name;
            EXPECT_TRUE(fs::exists(dir / "GAMEMAPS.WL1.tmp")) << c.name;
            EXPECT_TRUE(fs::exists(dir / "MAPHEAD.WL1.tmp")) << c.name;
        }
        if (c.title.empty()) {
            EXPECT_TRUE(prompter.empty()) << c.name;
        } else {
            ASSERT_EQ(prompter.prompts().size(), 1u) << c.name;
            EXPECT_EQ(prompter.prompts()[0].title, c.title) << c.name;
        }
        EXPECT_EQ(fileBytes(dir / "MAPHEAD.WL1"), oldHead) << c.name;
        EXPECT_EQ(fileBytes(dir / "GAMEMAPS.WL1"), oldData) << c.name;
        EXPECT_FALSE(fs::exists(dir / "GAMEMAPS.WL1.bak")) << c.name;
        EXPECT_FALSE(fs::exists(dir / "MAPHEAD.WL1.bak")) << c.name;
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(maps.header(i), before.header(i)) << c.name;
        EXPECT_EQ(maps.carmack(), before.carmack()) << c.name;
    }
}

TEST(MapFiles, EachSaveKeepsOneBackupOfTheFilesBeforeIt) {
    REQUIRE_GAME_DATA();
    auto original = mapstest::sharewareMaps();
    ASSERT_TRUE(original);
    testdata::TempDir dir;
    copyMapFiles(dir.path());
    const Bytes oldData = fileBytes(dir / "GAMEMAPS.WL1");
    MapSet maps = *original;
    RecordingPrompter prompter;
    ASSERT_TRUE(
        saveMapsHere(maps, pathIn(dir.path(), "GAMEMAPS"), std::nullopt, Settings(), prompter));
    EXPECT_EQ(fileBytes(dir / "GAMEMAPS.WL1.bak"), oldData);
    const Bytes firstSave = fileBytes(dir / "GAMEMAPS.WL1");
    const Bytes firstHead = fileBytes(dir / "MAPHEAD.WL1");
    maps.removeMap(9);
    maps.removeMap(8);
    ASSERT_TRUE(
        saveMapsHere(maps, pathIn(dir.path(), "GAMEMAPS"), std::nullopt, Settings(), prompter));
    EXPECT_EQ(fileBytes(dir / "GAMEMAPS.WL1.bak"), firstSave);
    EXPECT_EQ(fileBytes(dir / "MAPHEAD.WL1.bak"), firstHead);
    EXPECT_EQ(fs::file_size(dir / "MAPHEAD.WL1"), 2u + 4 * 8);
    int backups = 0;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        backups += entry.path().extension() == ".bak";
    EXPECT_EQ(backups, 2);
    EXPECT_FALSE(fs::exists(dir / "GAMEMAPS.WL1.tmp"));
}
