#pragma once
// Loading VGAGRAPH parts. Every load runs in three steps:
//   prepareVgaLoad  - user-interface thread: disarms Save All and makes sure a dictionary is
//                     loaded (it may ask for VGADICT through the file chooser);
//   runVgaLoad      - the job: reads the files into the job, never into the archive;
//   finishVgaLoad   - user-interface thread, after the worker has ended: on success replaces the
//                     part(s) in the archive and sets the loaded and changed flags.
// A load that fails or is cancelled leaves the archive as it was.

#include "app/document_state.h"
#include "app/job.h"
#include "vgagraph/graphics_archive.h"

#include <optional>
#include <vector>

enum class VgaLoadKind { Complete, Pictures, Fonts, Screens, Tile8s };

struct VgaLoadJob {
    VgaLoadKind kind = VgaLoadKind::Complete;
    VgaFiles files;
    const HuffmanDictionary* dictionary = nullptr;
    // What the job read (a complete load may leave screens and tile8s out when the file has
    // none it can read).
    std::optional<PicturePart> pictures;
    std::optional<std::vector<Bytes>> fonts;
    std::optional<Bytes> tile8s;
    std::optional<std::vector<TextScreen>> screens;
};

// Pictures and the complete set load on the worker under the progress dialog; fonts, screens
// and tile8s are quick and run their job directly on the user-interface thread.
bool vgaLoadRunsOnWorker(VgaLoadKind kind);

// rereadDictionary: true for the menu commands (VGADICT is read again from the chosen folder),
// false for Load All, which has just read it.
std::optional<VgaLoadJob> prepareVgaLoad(GraphicsArchive& archive, DocumentState& state,
                                         VgaLoadKind kind, const VgaFiles& files,
                                         bool rereadDictionary, Prompter& prompter,
                                         const FileChooser& chooseFile = {});
JobResult runVgaLoad(VgaLoadJob& job, JobContext& context);
// True when the archive took the loaded part(s).
bool finishVgaLoad(GraphicsArchive& archive, DocumentState& state, VgaLoadJob& job,
                   JobResult result);

// All three steps on the calling thread (CLI, tests, and the quick loads of the shell).
JobResult loadVgaParts(GraphicsArchive& archive, DocumentState& state, VgaLoadKind kind,
                       const VgaFiles& files, bool rereadDictionary, Prompter& prompter,
                       ProgressSink& progress, const FileChooser& chooseFile = {});

// The single loaders on chunks already read (used by the jobs, open for tests).
// Pictures with their raw font and trailing chunks; fails after a message when a picture does
// not match its table entry.
JobResult LoadGraphics(const VgaChunks& chunks, const HuffmanDictionary& dictionary,
                       PicturePart& pictures, JobContext& context);
// Fonts from chunk 1 on, stopping at a chunk that fails or is shorter than 770 bytes.
std::vector<Bytes> LoadFonts(const VgaChunks& chunks, const HuffmanDictionary& dictionary,
                             Prompter& prompter);
// Every screen chunk of the file, with its chunk number; tile8Chunk is never one.
std::vector<TextScreen> LoadScreens(const VgaChunks& chunks, const HuffmanDictionary& dictionary,
                                    int tile8Chunk, Prompter& prompter);
// The 4608 bytes of the file's tile8 chunk, or nothing after LoadChunk's message.
std::optional<Bytes> LoadTile8s(const VgaChunks& chunks, const HuffmanDictionary& dictionary,
                                Prompter& prompter);
