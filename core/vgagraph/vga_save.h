#pragma once
// Saving VGAGRAPH parts. A save rebuilds the existing VGAGRAPH around the parts being saved
// (or, for pictures, writes a new one from the chunks kept at the last load) and writes VGADICT,
// VGAGRAPH and VGAHEAD through the safe-writing protocol:
//   prepareVgaSave - user-interface thread: drops parts that are not loaded and makes sure a
//                    dictionary is loaded;
//   runVgaSave     - the job: builds all three files in memory and writes their ".tmp" files;
//   finishVgaSave  - user-interface thread, after the worker has ended: on success renames the
//                    old files to ".bak" and the ".tmp" files into place, and clears the changed
//                    flags of the saved parts. A failed or cancelled save leaves the old files.
// Several parts (the complete save) are rebuilt one after the other in memory in the order
// pictures, screens, fonts, tile8s and written once.

#include "app/document_state.h"
#include "app/job.h"
#include "common/safe_write.h"
#include "vgagraph/graphics_archive.h"

#include <memory>
#include <optional>

struct VgaPartSet {
    bool pictures = false;
    bool fonts = false;
    bool tile8s = false;
    bool screens = false;

    static VgaPartSet only(VgaPart part);
    bool has(VgaPart part) const;
    void set(VgaPart part, bool value);
    bool any() const { return pictures || fonts || tile8s || screens; }
};

// The parts the complete save writes: the loaded ones, and with onlyChanged (Save All) only
// those with unsaved changes.
VgaPartSet vgaPartsToSave(const DocumentState& state, bool onlyChanged);

struct VgaSaveJob {
    VgaPartSet parts;
    VgaFiles files;
    const GraphicsArchive* archive = nullptr;
    std::unique_ptr<SafeWriter> dictionaryFile;
    std::unique_ptr<SafeWriter> graphFile;
    std::unique_ptr<SafeWriter> headFile;
};

// Nothing when no requested part is loaded or no dictionary can be loaded.
std::optional<VgaSaveJob> prepareVgaSave(GraphicsArchive& archive, const DocumentState& state,
                                         VgaPartSet parts, const VgaFiles& files,
                                         Prompter& prompter, const FileChooser& chooseFile = {});
JobResult runVgaSave(VgaSaveJob& job, JobContext& context);
// True when the files were put in place.
bool finishVgaSave(VgaSaveJob& job, JobResult result, DocumentState& state, Prompter& prompter);

// All three steps on the calling thread (CLI, tests).
JobResult saveVgaParts(GraphicsArchive& archive, DocumentState& state, VgaPartSet parts,
                       const VgaFiles& files, Prompter& prompter, ProgressSink& progress,
                       const FileChooser& chooseFile = {});

// The rebuilding steps on a file's chunks, one per saver (open for tests). Each shows its
// message and returns false when the file does not allow it.
bool rebuildWithPictures(VgaChunks& file, const PicturePart& pictures,
                         const HuffmanDictionary& dictionary, JobContext& context);
bool rebuildWithFonts(VgaChunks& file, const std::vector<Bytes>& fonts,
                      const HuffmanDictionary& dictionary, JobContext& context);
bool rebuildWithTile8s(VgaChunks& file, ByteView tile8s, const HuffmanDictionary& dictionary,
                       JobContext& context);
bool rebuildWithScreens(VgaChunks& file, const std::vector<TextScreen>& screens,
                        const HuffmanDictionary& dictionary, JobContext& context);
// A VGAGRAPH that does not exist yet: picture table, the kept font chunks, the pictures and the
// kept trailing chunks.
bool buildNewGraphics(VgaChunks& file, const PicturePart& pictures,
                      const HuffmanDictionary& dictionary, JobContext& context);
