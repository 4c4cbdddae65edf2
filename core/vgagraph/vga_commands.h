#pragma once
// What the shell needs around the VGAGRAPH loaders and savers: the "Load VGAGRAPH parts" and
// "Save VGAGRAPH parts" popup menus with their greying, the unsaved-changes questions and the
// file dialogs of each entry.

#include "app/document_state.h"
#include "common/prompter.h"
#include "vgagraph/graphics_archive.h"
#include "vgagraph/huffman.h"
#include "vgagraph/vga_load.h"
#include "vgagraph/vga_save.h"

#include <optional>
#include <string>
#include <vector>

// Toolbar buttons that open the popups.
constexpr int kCommandLoadVgaParts = 32907; // tooltip "Load VGAGRAPH parts"
constexpr int kCommandSaveVgaParts = 32910; // tooltip "Save VGAGRAPH parts"

enum class VgaSaveKind { Complete, Pictures, Fonts, Screens, Tile8s };

struct VgaMenuEntry {
    int command = 0;
    std::string text;
    bool enabled = true;
};

// "Load all", "Load graphics", "Load fonts", "Load screens", "Load tile8s", always enabled.
std::vector<VgaMenuEntry> vgaLoadMenu();
// "Save all", "Save graphics", "Save fonts", "Save screens", "Save tile8s": a part's entry is
// greyed while the part is not loaded, "Save all" while none is.
std::vector<VgaMenuEntry> vgaSaveMenu(const DocumentState& state);
bool vgaSaveEnabled(VgaSaveKind kind, const DocumentState& state);
std::optional<VgaLoadKind> vgaLoadKindOfCommand(int command);
std::optional<VgaSaveKind> vgaSaveKindOfCommand(int command);

// Asks before a load from the menu replaces unsaved changes of the part (of any part for the
// complete load); true to go on.
bool confirmVgaLoad(VgaLoadKind kind, const DocumentState& state, Prompter& prompter);

// The open dialog of each load and the save dialog of each save (initial name, filter).
FileDialogRequest vgaLoadDialog(VgaLoadKind kind);
FileDialogRequest vgaSaveDialog(VgaSaveKind kind);

// The parts a save entry writes: one part, or for "Save all" (onlyChanged false) and Save All
// (onlyChanged true) the loaded parts.
VgaPartSet vgaPartsOfSave(VgaSaveKind kind, const DocumentState& state, bool onlyChanged = false);
