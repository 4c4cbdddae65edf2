#include "vgagraph/vga_commands.h"

namespace {

constexpr const char* kGraphFilterNamed =
    "All VGAGRAPH files (VGAGRAPH.*)|VGAGRAPH.*|Wolf3D (*.WL6)|*.WL6|Wolf3D Demo (*.WL1)|*.WL1|"
    "Spear of Destiny (*.SOD)|*.SOD|Operation Zusammenkunft (*.OZ6)|*.OZ6|All files (*.*)|*.*||";
constexpr const char* kGraphFilter =
    "All VGAGRAPH files|VGAGRAPH.*|Wolf3D (*.WL6)|*.WL6|Wolf3D Demo (*.WL1)|*.WL1|"
    "Spear of Destiny (*.SOD)|*.SOD|Operation Zusammenkunft (*.OZ6)|*.OZ6|All files (*.*)|*.*||";

struct LoadEntry {
    int command;
    const char* text;
    VgaLoadKind kind;
};
constexpr LoadEntry kLoadEntries[] = {
    {32919, "Load all", VgaLoadKind::Complete},  {32872, "Load graphics", VgaLoadKind::Pictures},
    {32890, "Load fonts", VgaLoadKind::Fonts},   {32874, "Load screens", VgaLoadKind::Screens},
    {32920, "Load tile8s", VgaLoadKind::Tile8s},
};

struct SaveEntry {
    int command;
    const char* text;
    VgaSaveKind kind;
};
constexpr SaveEntry kSaveEntries[] = {
    {108, "Save all", VgaSaveKind::Complete},  {32873, "Save graphics", VgaSaveKind::Pictures},
    {32893, "Save fonts", VgaSaveKind::Fonts}, {32875, "Save screens", VgaSaveKind::Screens},
    {109, "Save tile8s", VgaSaveKind::Tile8s},
};

std::optional<VgaPart> partOf(VgaSaveKind kind) {
    switch (kind) {
    case VgaSaveKind::Pictures:
        return VgaPart::Pictures;
    case VgaSaveKind::Fonts:
        return VgaPart::Fonts;
    case VgaSaveKind::Screens:
        return VgaPart::Screens;
    case VgaSaveKind::Tile8s:
        return VgaPart::Tile8s;
    case VgaSaveKind::Complete:
        break;
    }
    return std::nullopt;
}

} // namespace

std::vector<VgaMenuEntry> vgaLoadMenu() {
    std::vector<VgaMenuEntry> entries;
    for (const LoadEntry& entry : kLoadEntries)
        entries.push_back({entry.command, entry.text, true});
    return entries;
}

std::vector<VgaMenuEntry> vgaSaveMenu(const DocumentState& state) {
    std::vector<VgaMenuEntry> entries;
    for (const SaveEntry& entry : kSaveEntries)
        entries.push_back({entry.command, entry.text, vgaSaveEnabled(entry.kind, state)});
    return entries;
}

bool vgaSaveEnabled(VgaSaveKind kind, const DocumentState& state) {
    if (std::optional<VgaPart> part = partOf(kind))
        return state.loaded(dataKindOf(*part));
    return vgaPartsToSave(state, false).any();
}

std::optional<VgaLoadKind> vgaLoadKindOfCommand(int command) {
    for (const LoadEntry& entry : kLoadEntries)
        if (entry.command == command)
            return entry.kind;
    return std::nullopt;
}

std::optional<VgaSaveKind> vgaSaveKindOfCommand(int command) {
    for (const SaveEntry& entry : kSaveEntries)
        if (entry.command == command)
            return entry.kind;
    return std::nullopt;
}

bool confirmVgaLoad(VgaLoadKind kind, const DocumentState& state, Prompter& prompter) {
    const char* title = nullptr;
    const char* text = nullptr;
    bool changed = false;
    switch (kind) {
    case VgaLoadKind::Complete:
        changed = state.changed(DataKind::Graphics) || state.changed(DataKind::Fonts) ||
                  state.changed(DataKind::Tile8s) || state.changed(DataKind::Screens);
        title = "VGAGRAPH changes unsaved!";
        text = "Do you really want to load a new VGAGRAPH set?";
        break;
    case VgaLoadKind::Pictures:
        changed = state.changed(DataKind::Graphics);
        title = "Graphics changes unsaved!";
        text = "Do you really want to load new graphics?";
        break;
    case VgaLoadKind::Fonts:
        changed = state.changed(DataKind::Fonts);
        title = "Font changes unsaved!";
        text = "Do you really want to load new fonts?";
        break;
    case VgaLoadKind::Screens:
        changed = state.changed(DataKind::Screens);
        title = "Screen changes unsaved!";
        text = "Do you really want to load new screens?";
        break;
    case VgaLoadKind::Tile8s:
        changed = state.changed(DataKind::Tile8s);
        title = "Tile8s changes unsaved!";
        text = "Do you really want to load new tile8s?";
        break;
    }
    return !changed || prompter.askYesNo(title, text);
}

FileDialogRequest vgaLoadDialog(VgaLoadKind kind) {
    switch (kind) {
    case VgaLoadKind::Complete:
        return {"Load complete VGAGRAPH...", "VGAGRAPH.*", "", kGraphFilter};
    case VgaLoadKind::Pictures:
        return {"Load graphics...", "VGAGRAPH.*", "", kGraphFilter};
    case VgaLoadKind::Fonts:
        return {"Load fonts...", "VGAGRAPH.*", "", kGraphFilterNamed};
    case VgaLoadKind::Screens:
        return {"Load screens...", "VGAGRAPH.*", "", kGraphFilterNamed};
    case VgaLoadKind::Tile8s:
        return {"Load tile8s...", "VGAGRAPH.*", "", kGraphFilter};
    }
    return {};
}

FileDialogRequest vgaSaveDialog(VgaSaveKind kind) {
    switch (kind) {
    case VgaSaveKind::Complete:
    case VgaSaveKind::Pictures:
        return {"Save graphics...", "", "", kGraphFilterNamed};
    case VgaSaveKind::Fonts:
        return {"Save fonts...", "", "", kGraphFilterNamed};
    case VgaSaveKind::Screens:
        return {"Save screens...", "", "", kGraphFilterNamed};
    case VgaSaveKind::Tile8s:
        return {"Save tile8s...", "", "", kGraphFilterNamed};
    }
    return {};
}

VgaPartSet vgaPartsOfSave(VgaSaveKind kind, const DocumentState& state, bool onlyChanged) {
    if (std::optional<VgaPart> part = partOf(kind))
        return VgaPartSet::only(*part);
    return vgaPartsToSave(state, onlyChanged);
}
