#pragma once
// Reading and writing a map set: MAPHEAD with GAMEMAPS (Carmack over RLEW) or MAPTEMP (RLEW
// only). Loading and saving are split the way the shell runs them: prepare() on the UI thread
// (settings, file lookup, questions, the .tmp files), run() on the worker under the progress
// dialog, finish() back on the UI thread with the job's result.

#include "app/job.h"
#include "app/program_info.h"
#include "app/settings.h"
#include "common/game_file_path.h"
#include "common/prompter.h"
#include "common/safe_write.h"
#include "maps/carmack.h"
#include "maps/map_set.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The largest stored plane and expanded RLEW stream a reader accepts.
constexpr size_t kMaxStoredPlane = 16384;

struct MapFileFlags {
    bool thirdPlane = false;
    bool featureFlags = false;
};

// "TR1.27:" + "3P:" + "FF:" + the note naming the editor, without a terminator.
std::string mapSignature(MapFileFlags flags);
// Looks at the first 20 bytes only: the first ":" followed by "3P" (then ":FF") or "FF".
MapFileFlags recogniseMapSignature(ByteView fileStart);

// A plane as stored in the maps file: length word, then the RLEW stream (8192, codes) or its
// Carmack compression. Nothing when the result would not fit the 16384 bytes a reader allows.
std::optional<Bytes> encodePlane(std::span<const uint16_t> codes, uint16_t rlewTag, bool carmack,
                                 CarmackMode mode, CarmackTags tags);
// The reverse; stored is the plane's bytes from the file (2..16384 of them, zeros where the file
// ended). codes keeps its zeros wherever the data stops early.
void decodePlane(ByteView stored, std::span<uint16_t> codes, uint16_t rlewTag, bool carmack,
                 CarmackTags tags);

// The shell's open dialog for MAPHEAD ("Maphead.*"); nothing when the user cancels.
using MapheadChooser = std::function<std::optional<GameFilePath>()>;

class MapLoad {
public:
    MapLoad();
    ~MapLoad();

    // UI thread. Takes tags and Carmack choices from settings, adjusts the file name (Load only
    // Gamemaps/Maptemp), finds MAPHEAD (given, sibling, chooser) and otherwise asks whether to
    // restore it. False when nothing is to be loaded (any message already shown).
    bool prepare(GameFilePath mapsPath, const std::optional<GameFilePath>& mapheadPath,
                 const Settings& settings, Prompter& prompter,
                 const MapheadChooser& chooseMaphead = {});
    // Worker: reads the files into a set of its own; the document is not touched.
    JobResult run(JobContext& context);
    // UI thread: on success the loaded set replaces maps (with its last paths set) and true is
    // returned; on failure or cancel maps stays exactly as it was.
    bool finish(JobResult result, MapSet& maps);

    const GameFilePath& mapsPath() const { return m_mapsPath; }
    bool carmack() const { return m_carmack; }
    bool restoreRequested() const { return m_restore; }
    // The RLEW tag in use after the job (MAPHEAD's, the setting's, or 0xABCD when restored);
    // the Config page shows it as "%04X".
    uint16_t rlewTagInUse() const { return m_rlewTag; }

private:
    GameFilePath m_mapsPath;
    std::optional<GameFilePath> m_mapheadPath; // none when restoring
    GameFilePath m_mapheadToRemember;
    bool m_carmack = true;
    bool m_restore = false;
    bool m_ignoreMapheadTag = false;
    CarmackTags m_tags;
    uint16_t m_rlewTag = kDefaultRlewTag;
    std::unique_ptr<MapSet> m_loaded;
};

enum class MapSavePreparation {
    Ready,        // the .tmp files exist; run the job
    Refused,      // nothing was touched (equal tags, maps file named like its header)
    CannotCreate, // a .tmp file could not be created; the message was shown
};

class MapSave {
public:
    MapSave();
    ~MapSave();

    // UI thread. MAPHEAD is the given path or else the sibling "MAPHEAD" of the maps path.
    // Deletes old .tmp/.bak companions and creates both .tmp files.
    MapSavePreparation prepare(const MapSet& maps, const GameFilePath& mapsPath,
                               const std::optional<GameFilePath>& mapheadPath,
                               const Settings& settings, Prompter& prompter);
    // Worker: writes both .tmp files from the set (which must not change meanwhile).
    JobResult run(JobContext& context);
    // UI thread: on success renames old files to .bak and the .tmp files into place, then
    // stores the new offsets, plane starts and lengths and the Carmack state in maps; true when
    // all of it worked. On failure or cancel the old files stay untouched and the .tmp remain.
    bool finish(JobResult result, MapSet& maps, Prompter& prompter);

    const GameFilePath& mapheadPath() const { return m_mapheadPath; }
    bool carmack() const { return m_carmack; }

private:
    const MapSet* m_maps = nullptr;
    GameFilePath m_mapsPath;
    GameFilePath m_mapheadPath;
    std::unique_ptr<SafeWriter> m_mapsWriter;
    std::unique_ptr<SafeWriter> m_headWriter;
    bool m_carmack = true;
    CarmackMode m_mode = CarmackMode::Compatible;
    CarmackTags m_tags;
    std::vector<MapHeader> m_newHeaders;
    std::vector<int32_t> m_newOffsets;
};

// Load or save in one go on the calling thread (CLI, tests): prepare, run, finish.
bool loadMapsHere(MapSet& maps, const GameFilePath& mapsPath,
                  const std::optional<GameFilePath>& mapheadPath, const Settings& settings,
                  Prompter& prompter);
bool saveMapsHere(MapSet& maps, const GameFilePath& mapsPath,
                  const std::optional<GameFilePath>& mapheadPath, const Settings& settings,
                  Prompter& prompter);
