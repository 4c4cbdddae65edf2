#pragma once
// Loading and saving one kind of the page file the way the editor does it: a step on the
// user-interface thread before the job (open the files), the job routine for the worker, and a
// step on the user-interface thread after it (install the data, or put the new file in place).
//
//   PageFileLoad load(PageKind::Sprites, path);
//   if (load.open(prompter)) {
//       JobResult result = <run load.run(context) on the worker under the progress dialog>;
//       load.finish(result, pageFile);
//   }
//
// The job never touches PageFile; a failed or cancelled load leaves the kind as it was.

#include "app/job.h"
#include "app/settings.h"
#include "common/safe_write.h"
#include "pagefile/page_file.h"

#include <filesystem>
#include <fstream>
#include <memory>

// Milliseconds of a steady clock, for PageFile::lastAccessMs.
uint64_t pageFileClockMs();

class PageFileLoad {
public:
    PageFileLoad(PageKind kind, std::filesystem::path path);

    // UI thread: opens the file read-only. When it cannot, tells the kind's "Cannot open" message
    // with the path as text and returns false; then there is no job to run.
    bool open(Prompter& prompter);
    // Worker: reads the file and the kind from it.
    JobResult run(JobContext& context);
    // UI thread: on Success replaces the kind in pageFile, sets its loaded flag, remembers the
    // path and the access time and returns true. Any other result changes nothing.
    bool finish(JobResult result, PageFile& pageFile);

    PageKind kind() const { return m_kind; }
    const std::filesystem::path& path() const { return m_path; }

private:
    PageKind m_kind;
    std::filesystem::path m_path;
    std::ifstream m_in;
    WallSet m_walls;
    SpriteSet m_sprites;
    SoundSet m_sounds;
};

class PageFileSave {
public:
    // `source` must stay unchanged until finish(): the job reads it on the worker.
    PageFileSave(PageKind kind, std::filesystem::path path, const PageFile& source,
                 SpriteCompression compression = SpriteCompression::Good);

    // UI thread: deletes old ".tmp" and ".bak" companions, opens the existing file read-only
    // (it may be missing) and creates the ".tmp". False (with "Cannot Open" and the ".tmp" path)
    // when the ".tmp" cannot be created.
    bool begin(Prompter& prompter);
    // Worker: builds the new file from the kind in memory and the other kinds of the existing
    // file, and writes it to the ".tmp".
    JobResult run(JobContext& context);
    // UI thread: on Success renames the old file to ".bak" and the ".tmp" to the path and
    // records the access time; true when the new file is in place. On any other result the
    // file at the path stays untouched (the ".tmp" may stay until the next save).
    bool finish(JobResult result, PageFile& pageFile, Prompter& prompter);

    PageKind kind() const { return m_kind; }
    const std::filesystem::path& path() const { return m_path; }

private:
    PageKind m_kind;
    std::filesystem::path m_path;
    const PageFile& m_source;
    ShapeCompressor m_compressor;
    SafeWriter m_writer;
    std::ifstream m_existing;
};

// All three steps on the calling thread (command line, tests).
JobResult loadPageFileKind(PageFile& pageFile, PageKind kind, const std::filesystem::path& path,
                           Prompter& prompter, ProgressSink& progress);
JobResult savePageFileKind(PageFile& pageFile, PageKind kind, const std::filesystem::path& path,
                           SpriteCompression compression, Prompter& prompter,
                           ProgressSink& progress);
