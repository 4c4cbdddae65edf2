#pragma once
// The main dialog's command identifiers and their tooltip texts.

#include <string>

namespace command {
constexpr int LoadAll = 32806;
constexpr int SaveAll = 32794;
constexpr int LoadMaps = 32791;
constexpr int SaveMaps = 32795;
constexpr int LoadWalls = 32797;
constexpr int SaveWalls = 32798;
constexpr int LoadSprites = 32793;
constexpr int SaveSprites = 32792;
constexpr int LoadVgaGraph = 32907;
constexpr int SaveVgaGraph = 32910;
constexpr int LoadSounds = 32881;
constexpr int SaveSounds = 32883;
constexpr int LoadMusic = 32908;
constexpr int SaveMusic = 32909;
constexpr int ShowAbout = 32911;
constexpr int PrevLevel = 32784;
constexpr int NextLevel = 32783;
constexpr int GotoLevel = 32789;
constexpr int ImportExportMap = 32894;
// "Load VGAGRAPH parts" popup
constexpr int LoadVgaAll = 32919;
constexpr int LoadGraphics = 32872;
constexpr int LoadFonts = 32890;
constexpr int LoadScreens = 32874;
constexpr int LoadTile8s = 32920;
// "Save VGAGRAPH parts" popup
constexpr int SaveVgaAll = 108;
constexpr int SaveGraphics = 32873;
constexpr int SaveFonts = 32893;
constexpr int SaveScreens = 32875;
constexpr int SaveTile8s = 109;
constexpr int AboutMenu = 16;
} // namespace command

// Main toolbar, top to bottom; 0 stands for a separator.
constexpr int kMainToolbarLayout[] = {
    command::LoadAll,      command::SaveAll,     0, command::LoadMaps,    command::SaveMaps,
    0,                     command::LoadWalls,   command::SaveWalls,     0,
    command::LoadSprites,  command::SaveSprites, 0, command::LoadVgaGraph, command::SaveVgaGraph,
    0,                     command::LoadSounds,  command::SaveSounds,    0,
    command::LoadMusic,    command::SaveMusic,   0, command::ShowAbout,
};

// Disabled at start: nothing is loaded that could be saved.
constexpr int kInitiallyDisabledCommands[] = {
    command::SaveAll,    command::SaveMaps,     command::SaveWalls, command::SaveSprites,
    command::SaveSounds, command::SaveVgaGraph, command::SaveMusic,
};

// The string-table text for a command or control id; empty when there is none.
std::string commandTooltip(int id);
// Cut as tooltip requests are: 79 characters for narrow, 159 for wide requests.
std::string tooltipForRequest(int id, bool wideRequest);
