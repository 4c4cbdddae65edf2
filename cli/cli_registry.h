#pragma once
// tessarand-cli is assembled from one file per kind of game data (cli/maps_commands.cpp, ...):
// each registers what it adds to `info`, `export` and `compress-all`, and any command of its own.

#include "app/load_all_scan.h"
#include "common/prompter.h"
#include "image/palette.h"

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitDataError = 1;
constexpr int kExitUsage = 2;

struct CliContext {
    std::filesystem::path programFolder; // resources (extensions.txt, palette/, MapObjects/)
    LoadAllSelection selection;          // the files of the chosen extension
    Palette palette;                     // the extension's palette
    std::map<std::string, std::string> options; // --name value
    StderrPrompter prompter;

    std::string option(const std::string& name, const std::string& fallback = "") const {
        auto it = options.find(name);
        return it == options.end() ? fallback : it->second;
    }
};

// Counts by the JSON keys of `info` (maps, walls, wall_side, ...); a kind that cannot be
// read leaves its keys out rather than printing zero.
using InfoCounts = std::map<std::string, long>;

struct KindHandler {
    std::string name;
    // Adds this kind's counts; false (with a message printed) when its files could not be read.
    std::function<bool(CliContext&, InfoCounts&)> info;
    // Writes the requested export kinds it knows ("maps", "walls", ...) into outDir.
    std::function<bool(CliContext&, const std::filesystem::path& outDir,
                       const std::set<std::string>& kinds)>
        exportKinds;
    // Loads this kind and writes it into outDir under the loaded files' names.
    std::function<bool(CliContext&, const std::filesystem::path& outDir)> compress;
};

// A command of its own: receives the positional arguments after the command name.
struct CliCommand {
    std::string name;
    std::string usage;
    std::function<int(CliContext&, const std::vector<std::string>& positional)> run;
    int folderArgument = 0; // which positional argument is the game folder, -1 for none
};

void registerKindHandler(KindHandler handler);
void registerCliCommand(CliCommand command);
std::vector<KindHandler>& kindHandlers();
std::vector<CliCommand>& cliCommands();

// Registers at static-initialisation time: `static CliRegistration reg(KindHandler{...});`
struct CliRegistration {
    explicit CliRegistration(KindHandler handler) { registerKindHandler(std::move(handler)); }
    explicit CliRegistration(CliCommand command) { registerCliCommand(std::move(command)); }
};

// Image exports write BMP or, with --image-format png, PNG.
std::string imageExtension(const CliContext& context);
struct IndexedImage;
bool writeExportImage(const CliContext& context, const std::filesystem::path& pathWithoutExtension,
                      const IndexedImage& image);
