#include "maps/map_files.h"

#include "common/file_io.h"
#include "maps/file_start.h"
#include "maps/header_restore.h"
#include "maps/rlew.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr size_t kSignatureWindow = 20;
constexpr size_t kMaxMapheadBytes = 2 + 4 * size_t(kMaxMaps);
const char* const kNoMapsText = "The map header does not point to any maps!";

std::vector<uint16_t> wordsOf(ByteView bytes) {
    std::vector<uint16_t> words(bytes.size() / 2);
    for (size_t i = 0; i < words.size(); ++i)
        words[i] = uint16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return words;
}

void appendWords(Bytes& out, std::span<const uint16_t> words) {
    ByteWriter writer(out);
    for (uint16_t word : words)
        writer.u16(word);
}

bool isMapsBaseName(const std::string& baseName) {
    return equalsIgnoringCase(baseName, "GAMEMAPS") || equalsIgnoringCase(baseName, "MAPTEMP");
}

std::string joinIndexes(const std::vector<int>& indexes) {
    std::string text;
    for (size_t i = 0; i < indexes.size() && i < 10; ++i)
        text += (i ? ", " : "") + std::to_string(indexes[i]);
    if (indexes.size() > 10)
        text += ", ...";
    return text;
}

} // namespace

std::string mapSignature(MapFileFlags flags) {
    char version[32];
    std::snprintf(version, sizeof version, "TR%i.%i:", kVersionMajor, kVersionMinor);
    std::string signature = version;
    if (flags.thirdPlane)
        signature += "3P:";
    if (flags.featureFlags)
        signature += "FF:";
    return signature + "Mapfile was edited with Tessarand (" + kTessarandWebAddress + ")";
}

MapFileFlags recogniseMapSignature(ByteView fileStart) {
    ByteView window = fileStart.first(std::min(fileStart.size(), kSignatureWindow));
    auto at = [&](size_t i, const char* text) {
        const size_t length = std::strlen(text);
        return i + length <= window.size() && std::memcmp(window.data() + i, text, length) == 0;
    };
    MapFileFlags flags;
    auto colon = std::find(window.begin(), window.end(), uint8_t(':'));
    if (colon == window.end())
        return flags;
    const size_t after = size_t(colon - window.begin()) + 1;
    if (at(after, "3P")) {
        flags.thirdPlane = true;
        flags.featureFlags = at(after + 2, ":FF");
    } else if (at(after, "FF")) {
        flags.featureFlags = true;
    }
    return flags;
}

std::optional<Bytes> encodePlane(std::span<const uint16_t> codes, uint16_t rlewTag, bool carmack,
                                 CarmackMode mode, CarmackTags tags) {
    std::vector<uint16_t> rlew{uint16_t(kPlaneBytes)};
    std::vector<uint16_t> runs = CompressRlew(codes, rlewTag);
    rlew.insert(rlew.end(), runs.begin(), runs.end());
    const size_t rlewBytes = rlew.size() * 2;
    if (rlewBytes > kMaxStoredPlane)
        return std::nullopt;
    Bytes stored;
    if (carmack) {
        Bytes packed = CompressCarmack(rlew, mode, tags);
        ByteWriter(stored).u16(uint16_t(rlewBytes));
        stored.insert(stored.end(), packed.begin(), packed.end());
    } else {
        appendWords(stored, rlew);
    }
    if (stored.size() > kMaxStoredPlane)
        return std::nullopt;
    return stored;
}

void decodePlane(ByteView stored, std::span<uint16_t> codes, uint16_t rlewTag, bool carmack,
                 CarmackTags tags) {
    if (stored.size() < 2)
        return;
    std::vector<uint16_t> rlew;
    if (carmack) {
        const size_t expanded = std::clamp<size_t>(readU16At(stored, 0), 2, kMaxStoredPlane);
        rlew.assign(kMaxStoredPlane / 2, 0);
        ExpandCarmack(stored.subspan(2), rlew, expanded, tags);
        rlew.resize(expanded / 2);
    } else {
        rlew = wordsOf(stored);
    }
    if (rlew.empty())
        return;
    ExpandRlew(std::span<const uint16_t>(rlew).subspan(1), codes, rlewTag);
}

// --- loading ---

MapLoad::MapLoad() = default;
MapLoad::~MapLoad() = default;

bool MapLoad::prepare(GameFilePath mapsPath, const std::optional<GameFilePath>& mapheadPath,
                      const Settings& settings, Prompter& prompter,
                      const MapheadChooser& chooseMaphead) {
    m_tags = {settings.nearTag, settings.farTag};
    m_rlewTag = settings.rlewTag;
    m_ignoreMapheadTag = settings.dontLoadRlew;

    const CarmackExpand choice = settings.carmackExpand;
    const char* standardName = choice == CarmackExpand::Disable ? "MAPTEMP" : "GAMEMAPS";
    m_carmack = choice != CarmackExpand::Disable;
    if (settings.mapsOnly && !isMapsBaseName(mapsPath.baseName))
        mapsPath = mapsPath.sibling(standardName);
    if (choice == CarmackExpand::Auto)
        m_carmack = !equalsIgnoringCase(mapsPath.baseName, "MAPTEMP");

    if (!canOpenForReading(mapsPath.fullPath())) {
        if (settings.mapsOnly) {
            mapsPath = mapsPath.sibling(standardName);
            if (choice == CarmackExpand::Auto)
                m_carmack = true;
        }
        if (!settings.mapsOnly || !canOpenForReading(mapsPath.fullPath())) {
            prompter.tell("Cannot Open", mapsPath.fullPath().string());
            return false;
        }
    }
    m_mapsPath = mapsPath;

    // Save All writes MAPHEAD where it was found, else beside the maps file.
    m_mapheadToRemember = mapsPath.sibling("MAPHEAD");
    m_mapheadPath.reset();
    if (mapheadPath) {
        if (canOpenForReading(mapheadPath->fullPath()))
            m_mapheadPath = m_mapheadToRemember = *mapheadPath;
    } else if (settings.checkMaphead) {
        if (auto sibling = mapsPath.existingSibling("MAPHEAD");
            sibling && canOpenForReading(sibling->fullPath()))
            m_mapheadPath = m_mapheadToRemember = *sibling;
    }
    if (!m_mapheadPath && chooseMaphead) {
        if (std::optional<GameFilePath> chosen = chooseMaphead()) {
            if (canOpenForReading(chosen->fullPath()))
                m_mapheadPath = *chosen;
            else
                prompter.tell("Cannot Open", chosen->fullPath().string());
        }
    }

    m_restore = false;
    if (!m_mapheadPath) {
        m_restore = prompter.askYesNo("Tessarand", "Should I try to restore the maphead-file ?");
        if (!m_restore)
            return false;
    }

    m_loaded = std::make_unique<MapSet>();
    m_loaded->setCarmack(m_carmack);
    m_loaded->setLastPaths(m_mapsPath, m_mapheadToRemember);
    return true;
}

JobResult MapLoad::run(JobContext& context) {
    Prompter& prompter = context.prompter();
    if (!m_loaded)
        return JobResult::Failure;
    MapSet& maps = *m_loaded;
    context.title("Loading Headers...");

    std::string error;
    std::optional<Bytes> mapsFile = readWholeFile(m_mapsPath.fullPath(), &error);
    if (!mapsFile) {
        if (error.rfind("file too large", 0) == 0)
            prompter.tell("Tessarand",
                          "The maps file is too large: " + m_mapsPath.fullPath().string());
        else
            prompter.tell("Cannot Open", m_mapsPath.fullPath().string());
        return JobResult::Failure;
    }
    const ByteView file(*mapsFile);

    std::vector<int32_t> offsets;
    if (m_restore) {
        offsets = restoreMapOffsets(file);
        m_rlewTag = kDefaultRlewTag;
    } else {
        std::optional<FileStart> head = readFileStart(m_mapheadPath->fullPath(), kMaxMapheadBytes);
        if (!head) {
            prompter.tell("Cannot Open", m_mapheadPath->fullPath().string());
            return JobResult::Failure;
        }
        if (head->bytes.size() >= 2 && !m_ignoreMapheadTag)
            m_rlewTag = readU16At(head->bytes, 0);
        for (size_t at = 2; at + 4 <= head->bytes.size(); at += 4)
            offsets.push_back(int32_t(readU32At(head->bytes, at)));
    }
    maps.setRlewTag(m_rlewTag);

    context.title("Loading Maps...");
    const int count = int(std::find(offsets.begin(), offsets.end(), 0) - offsets.begin());
    context.range(count);
    context.position(0);

    const MapFileFlags flags = recogniseMapSignature(file);
    maps.setThirdPlaneEnabled(flags.thirdPlane);
    maps.setFeatureFlagsEnabled(flags.featureFlags);
    const int planes = flags.thirdPlane ? 3 : 2;

    std::vector<int> incomplete;
    int lostFrom = -1;
    for (int i = 0; i < count; ++i) {
        if (context.cancelled())
            return JobResult::Failure;
        context.count(i + 1, count);
        context.position(i + 1);
        const int32_t offset = offsets[size_t(i)];
        if (offset < 0)
            continue;
        if (size_t(offset) + kMapHeaderSize > file.size()) {
            lostFrom = i;
            break;
        }
        MapHeader header = MapHeader::fromBytes(file.subspan(size_t(offset), kMapHeaderSize));
        header.nameTerminator = 0;
        maps.setHighestMapIndex(i);
        maps.header(i) = header;
        bool whole = true;
        for (int p = 0; p < planes; ++p) {
            const size_t length =
                std::clamp<size_t>(header.planeLength[size_t(p)], 2, kMaxStoredPlane);
            const int64_t start = header.planeStart[size_t(p)];
            Bytes stored(length, 0);
            if (start >= 0 && uint64_t(start) < file.size()) {
                const size_t present = std::min(length, file.size() - size_t(start));
                std::copy_n(file.begin() + ptrdiff_t(start), present, stored.begin());
                whole = whole && present == length;
            } else {
                whole = false;
            }
            decodePlane(stored, maps.allocatePlane(i, p), m_rlewTag, m_carmack, m_tags);
        }
        if (!whole)
            incomplete.push_back(i);
    }

    if (maps.highestMapIndex() < 0) {
        prompter.tell("Tessarand", kNoMapsText);
        return JobResult::Failure;
    }
    if (lostFrom >= 0 || !incomplete.empty()) {
        std::string text = "The maps file " + m_mapsPath.fileName() + " is damaged.";
        if (lostFrom >= 0)
            text += "\nThe header of map " + std::to_string(lostFrom) +
                    " lies beyond its end; it and the maps after it were not loaded.";
        if (!incomplete.empty())
            text += "\nPlane data beyond its end was left empty in map(s) " +
                    joinIndexes(incomplete) + ".";
        prompter.tell("Tessarand", text, PromptIcon::Exclamation);
    }
    return JobResult::Success;
}

bool MapLoad::finish(JobResult result, MapSet& maps) {
    if (result != JobResult::Success || !m_loaded)
        return false;
    maps = std::move(*m_loaded);
    m_loaded.reset();
    return true;
}

// --- saving ---

MapSave::MapSave() = default;
MapSave::~MapSave() = default;

MapSavePreparation MapSave::prepare(const MapSet& maps, const GameFilePath& mapsPath,
                                    const std::optional<GameFilePath>& mapheadPath,
                                    const Settings& settings, Prompter& prompter) {
    if (settings.nearTag == settings.farTag) {
        prompter.tell("Tessarand",
                      "ERROR !\nYou can't use the same values for neartag and fartag !");
        return MapSavePreparation::Refused;
    }
    m_maps = &maps;
    m_mapsPath = mapsPath;
    m_mapheadPath = mapheadPath ? *mapheadPath : mapsPath.sibling("MAPHEAD");
    if (equalsIgnoringCase(m_mapsPath.fullPath().string(), m_mapheadPath.fullPath().string())) {
        prompter.tell("Tessarand", "The maps file and its header cannot be the same file:\n" +
                                       m_mapsPath.fullPath().string());
        return MapSavePreparation::Refused;
    }

    m_headWriter = std::make_unique<SafeWriter>(m_mapheadPath.fullPath());
    m_mapsWriter = std::make_unique<SafeWriter>(m_mapsPath.fullPath());
    if (!m_headWriter->begin()) {
        prompter.tell("Error while saving maps: Cannot open header file for writing:",
                      m_headWriter->tmpPath().string());
        return MapSavePreparation::CannotCreate;
    }
    if (!m_mapsWriter->begin()) {
        m_headWriter->abandon();
        prompter.tell("Error while saving maps: Cannot open data file for writing:",
                      m_mapsWriter->tmpPath().string());
        return MapSavePreparation::CannotCreate;
    }

    switch (settings.carmackCompress) {
    case CarmackCompress::AsExpanded:
        m_carmack = maps.carmack();
        break;
    case CarmackCompress::Enable:
        m_carmack = true;
        break;
    case CarmackCompress::Disable:
        m_carmack = false;
        break;
    }
    m_mode = settings.carmackMode;
    m_tags = {settings.nearTag, settings.farTag};
    return MapSavePreparation::Ready;
}

JobResult MapSave::run(JobContext& context) {
    Prompter& prompter = context.prompter();
    if (!m_maps || !m_mapsWriter || !m_headWriter)
        return JobResult::Failure;
    const MapSet& maps = *m_maps;
    auto writeFailed = [&](const SafeWriter& writer) {
        prompter.tell("Error while saving maps: Cannot write file:", writer.tmpPath().string());
        return JobResult::Failure;
    };

    const std::string signature =
        mapSignature({maps.thirdPlaneEnabled(), maps.featureFlagsEnabled()});
    const int count = maps.mapCount();
    context.title("Saving Header...");
    context.range(count);
    context.position(0);

    Bytes head;
    ByteWriter(head).u16(maps.rlewTag());
    if (!m_headWriter->write(head))
        return writeFailed(*m_headWriter);
    if (!m_mapsWriter->write(
            ByteView(reinterpret_cast<const uint8_t*>(signature.data()), signature.size())))
        return writeFailed(*m_mapsWriter);
    size_t position = signature.size();

    context.title("Saving Maps...");
    const int planes = maps.thirdPlaneEnabled() ? 3 : 2;
    const Plane empty(kPlaneCodes, 0);
    m_newHeaders.assign(size_t(count), MapHeader());
    m_newOffsets.assign(size_t(count), 0);
    for (int i = 0; i < count; ++i) {
        if (context.cancelled())
            return JobResult::Failure;
        context.count(i + 1, count);
        context.position(i + 1);
        MapHeader header = maps.header(i);
        Bytes chunk;
        for (int p = 0; p < planes; ++p) {
            std::span<const uint16_t> codes = maps.plane(i, p);
            if (codes.empty())
                codes = empty;
            std::optional<Bytes> stored =
                encodePlane(codes, maps.rlewTag(), m_carmack, m_mode, m_tags);
            if (!stored) {
                prompter.tell("Error while saving maps:",
                              "Plane " + std::to_string(p) + " of map " + std::to_string(i) +
                                  " does not fit into 16384 bytes when compressed.\n"
                                  "Nothing was saved.");
                return JobResult::Failure;
            }
            header.planeStart[size_t(p)] = int32_t(position + chunk.size());
            header.planeLength[size_t(p)] = uint16_t(stored->size());
            chunk.insert(chunk.end(), stored->begin(), stored->end());
        }
        if (planes == 2) {
            header.planeStart[2] = header.planeStart[1];
            header.planeLength[2] = header.planeLength[1];
        }
        const int32_t offset = int32_t(position + chunk.size());
        ByteWriter chunkWriter(chunk);
        header.write(chunkWriter);
        Bytes entry;
        ByteWriter(entry).i32(offset);
        if (!m_mapsWriter->write(chunk))
            return writeFailed(*m_mapsWriter);
        if (!m_headWriter->write(entry))
            return writeFailed(*m_headWriter);
        position += chunk.size();
        m_newHeaders[size_t(i)] = header;
        m_newOffsets[size_t(i)] = offset;
    }
    const uint8_t trailer[] = {'M', 'E', 'S', 'X'};
    if (!m_mapsWriter->write(trailer))
        return writeFailed(*m_mapsWriter);
    return JobResult::Success;
}

bool MapSave::finish(JobResult result, MapSet& maps, Prompter& prompter) {
    if (!m_mapsWriter || !m_headWriter)
        return false;
    if (result != JobResult::Success) {
        m_mapsWriter->abandon();
        m_headWriter->abandon();
        return false;
    }
    std::string error;
    if (!m_mapsWriter->commit(&error)) {
        m_headWriter->abandon();
        prompter.tell("Error while saving maps:", error);
        return false;
    }
    if (!m_headWriter->commit(&error)) {
        // A new maps file with the old header would point into the wrong places: put the old
        // maps file back and keep the new one as .tmp.
        std::error_code ignored;
        const fs::path mapsFile = m_mapsWriter->destination();
        fs::rename(mapsFile, m_mapsWriter->tmpPath(), ignored);
        if (fs::exists(m_mapsWriter->bakPath(), ignored))
            fs::rename(m_mapsWriter->bakPath(), mapsFile, ignored);
        prompter.tell("Error while saving maps:", error);
        return false;
    }

    for (int i = 0; i < kMaxMaps; ++i) {
        const bool saved = size_t(i) < m_newHeaders.size();
        maps.setOffset(i, saved ? m_newOffsets[size_t(i)] : 0);
        if (saved) {
            maps.header(i).planeStart = m_newHeaders[size_t(i)].planeStart;
            maps.header(i).planeLength = m_newHeaders[size_t(i)].planeLength;
        }
    }
    maps.setCarmack(m_carmack);
    return true;
}

bool loadMapsHere(MapSet& maps, const GameFilePath& mapsPath,
                  const std::optional<GameFilePath>& mapheadPath, const Settings& settings,
                  Prompter& prompter) {
    MapLoad load;
    if (!load.prepare(mapsPath, mapheadPath, settings, prompter))
        return false;
    NullProgress progress;
    JobResult result =
        runJobHere([&](JobContext& context) { return load.run(context); }, progress, prompter);
    return load.finish(result, maps);
}

bool saveMapsHere(MapSet& maps, const GameFilePath& mapsPath,
                  const std::optional<GameFilePath>& mapheadPath, const Settings& settings,
                  Prompter& prompter) {
    MapSave save;
    if (save.prepare(maps, mapsPath, mapheadPath, settings, prompter) != MapSavePreparation::Ready)
        return false;
    NullProgress progress;
    JobResult result =
        runJobHere([&](JobContext& context) { return save.run(context); }, progress, prompter);
    return save.finish(result, maps, prompter);
}
