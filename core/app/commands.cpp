#include "app/commands.h"

#include <utility>

std::string commandTooltip(int id) {
    static const std::pair<int, const char*> kTooltips[] = {
        {command::LoadAll, "Load All"},
        {command::SaveAll, "Save all changes (only when Load All was used)"},
        {command::LoadMaps, "Load Maps"},
        {command::SaveMaps, "Save Maps"},
        {command::LoadWalls, "Load Walls"},
        {command::SaveWalls, "Save Walls"},
        {command::LoadSprites, "Load Sprites"},
        {command::SaveSprites, "Save Sprites"},
        {command::LoadVgaGraph, "Load VGAGRAPH parts"},
        {command::SaveVgaGraph, "Save VGAGRAPH parts"},
        {command::LoadSounds, "Load Sounds"},
        {command::SaveSounds, "Save sounds"},
        {command::LoadMusic, "Load music"},
        {command::SaveMusic, "Save music"},
        {command::ShowAbout, "Show infos about Tessarand!"},
        {command::PrevLevel, "Prev Level"},
        {command::NextLevel, "Next Level"},
        {command::GotoLevel, "Goto Level"},
    };
    for (const auto& [commandId, text] : kTooltips)
        if (commandId == id)
            return text;
    return {};
}

std::string tooltipForRequest(int id, bool wideRequest) {
    return commandTooltip(id).substr(0, wideRequest ? 159 : 79);
}
