// tessarand-cli: batch access to the editor's core. It never changes its input folder.

#include "app/extensions.h"
#include "app/load_all_scan.h"
#include "app/settings.h"
#include "cli_registry.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const char* const kUsage =
    "usage:\n"
    "  tessarand-cli info FOLDER [--ext EXT] [--json]\n"
    "  tessarand-cli export FOLDER OUTDIR [--ext EXT] [--kinds LIST] [--image-format bmp|png]\n"
    "  tessarand-cli compress-all FOLDER OUTDIR [--ext EXT]\n"
    "      [--carmack-compress as-loaded|enable|disable] [--carmack-mode compatible|best]\n"
    "      [--sprite-compression none|good]\n";

const std::vector<std::string> kExportKinds = {"maps",     "walls", "sprites", "sounds", "pictures",
                                               "fonts",    "tile8s", "screens", "music"};
const std::vector<std::string> kCountKeys = {"maps",     "walls",  "wall_side", "sprites",
                                             "sprite_side", "sounds", "pictures",  "fonts",
                                             "tile8s",   "screens", "songs"};

int usageError(const std::string& message) {
    if (!message.empty())
        std::fprintf(stderr, "tessarand-cli: %s\n", message.c_str());
    std::fputs(kUsage, stderr);
    for (const CliCommand& command : cliCommands())
        std::fprintf(stderr, "  %s\n", command.usage.c_str());
    return kExitUsage;
}

fs::path programFolder(const char* argv0) {
    std::error_code error;
    fs::path self = fs::canonical("/proc/self/exe", error);
    if (error)
        self = fs::absolute(argv0, error);
    return self.parent_path();
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
            continue;
        }
        out += c;
    }
    return out + "\"";
}

// Chooses the extension and the files of every kind, and the extension's palette.
bool prepareContext(CliContext& context, const fs::path& folder, FolderScan& scan) {
    std::optional<FolderScan> scanned = scanFolder(folder);
    if (!scanned) {
        std::fprintf(stderr, "Unable to find files in directory!: Please select another directory!\n");
        return false;
    }
    scan = *scanned;
    Settings settings = readSettingsFile(context.programFolder / kSettingsFileName);
    std::string extension = context.option("ext");
    if (extension.empty())
        extension = chooseDefaultExtension(scan, settings.lastExtension).value_or("");
    context.selection = selectFilesForExtension(scan, folder.string(), extension);

    ExtensionTable table =
        readExtensionsFile(context.programFolder / kExtensionsFileName, context.prompter);
    const ExtensionEntry* entry = table.findIgnoringCase(extension);
    std::string paletteName = entry ? entry->paletteName : kDefaultPaletteName;
    context.palette = wolfensteinPalette();
    if (auto palette = readPaletteFile(context.programFolder / "palette" / (paletteName + ".pal")))
        context.palette = *palette;
    return true;
}

int runInfo(CliContext& context, const fs::path& folder, bool json) {
    FolderScan scan;
    if (!prepareContext(context, folder, scan))
        return kExitDataError;
    InfoCounts counts;
    bool allRead = true;
    for (KindHandler& handler : kindHandlers())
        if (handler.info && !handler.info(context, counts))
            allRead = false;

    const std::string& extension = context.selection.extension;
    if (json) {
        std::ostringstream out;
        out << "{\"folder\":" << jsonString(folder.string())
            << ",\"extension\":" << jsonString(extension) << ",\"extensions\":[";
        for (size_t i = 0; i < scan.extensions.size(); ++i)
            out << (i ? "," : "") << jsonString(scan.extensions[i]);
        out << "],\"files\":{";
        for (size_t g = 0; g < kFileGroupCount; ++g) {
            out << (g ? "," : "") << jsonString(fileGroupLabel(FileGroup(g))) << ":[";
            for (size_t i = 0; i < scan.groups[g].size(); ++i)
                out << (i ? "," : "") << jsonString(scan.groups[g][i]);
            out << "]";
        }
        out << "}";
        for (const std::string& key : kCountKeys)
            if (auto it = counts.find(key); it != counts.end())
                out << "," << jsonString(key) << ":" << it->second;
        out << "}\n";
        std::fputs(out.str().c_str(), stdout);
        return allRead ? kExitOk : kExitDataError;
    }
    std::printf("Folder: %s\n", folder.string().c_str());
    std::printf("Extensions:");
    for (const std::string& found : scan.extensions)
        std::printf(" %s", found.c_str());
    std::printf("\n");
    for (size_t g = 0; g < kFileGroupCount; ++g) {
        std::printf("%s:", fileGroupLabel(FileGroup(g)));
        for (const std::string& name : scan.groups[g])
            std::printf(" %s", name.c_str());
        std::printf("\n");
    }
    std::printf("Chosen extension: %s\n", extension.empty() ? "(none)" : extension.c_str());
    for (const std::string& key : kCountKeys)
        if (auto it = counts.find(key); it != counts.end())
            std::printf("%s: %ld\n", key.c_str(), it->second);
    return allRead ? kExitOk : kExitDataError;
}

bool sameFolder(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::exists(b, error) && fs::equivalent(a, b, error);
}

int runExport(CliContext& context, const fs::path& folder, const fs::path& outDir) {
    std::set<std::string> kinds(kExportKinds.begin(), kExportKinds.end());
    if (std::string list = context.option("kinds"); !list.empty()) {
        kinds.clear();
        std::stringstream stream(list);
        std::string kind;
        while (std::getline(stream, kind, ',')) {
            if (std::find(kExportKinds.begin(), kExportKinds.end(), kind) == kExportKinds.end())
                return usageError("unknown kind: " + kind);
            kinds.insert(kind);
        }
    }
    std::string format = context.option("image-format", "bmp");
    if (format != "bmp" && format != "png")
        return usageError("--image-format must be bmp or png");
    if (sameFolder(folder, outDir))
        return usageError("OUTDIR must not be the game folder");
    FolderScan scan;
    if (!prepareContext(context, folder, scan))
        return kExitDataError;
    std::error_code error;
    fs::create_directories(outDir, error);
    if (error) {
        std::fprintf(stderr, "Cannot Open: %s\n", outDir.string().c_str());
        return kExitDataError;
    }
    bool ok = true;
    for (KindHandler& handler : kindHandlers())
        if (handler.exportKinds && !handler.exportKinds(context, outDir, kinds))
            ok = false;
    return ok ? kExitOk : kExitDataError;
}

int runCompressAll(CliContext& context, const fs::path& folder, const fs::path& outDir) {
    const std::map<std::string, std::vector<std::string>> allowed = {
        {"carmack-compress", {"as-loaded", "enable", "disable"}},
        {"carmack-mode", {"compatible", "best"}},
        {"sprite-compression", {"none", "good"}},
    };
    for (const auto& [name, values] : allowed) {
        std::string value = context.option(name);
        if (!value.empty() && std::find(values.begin(), values.end(), value) == values.end())
            return usageError("bad value for --" + name + ": " + value);
    }
    if (sameFolder(folder, outDir))
        return usageError("OUTDIR must not be the game folder");
    FolderScan scan;
    if (!prepareContext(context, folder, scan))
        return kExitDataError;
    std::error_code error;
    fs::create_directories(outDir, error);
    if (error) {
        std::fprintf(stderr, "Cannot Open: %s\n", outDir.string().c_str());
        return kExitDataError;
    }
    bool ok = true;
    for (KindHandler& handler : kindHandlers())
        if (handler.compress && !handler.compress(context, outDir))
            ok = false;
    return ok ? kExitOk : kExitDataError;
}

} // namespace

int main(int argc, char** argv) {
    CliContext context;
    context.programFolder = programFolder(argv[0]);
    std::vector<std::string> positional;
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--json") {
            json = true;
        } else if (arg == "--help" || arg == "-h") {
            usageError("");
            return kExitOk;
        } else if (arg.rfind("--", 0) == 0) {
            if (i + 1 >= argc)
                return usageError("missing value for " + arg);
            context.options[arg.substr(2)] = argv[++i];
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty())
        return usageError("no command");
    const std::string command = positional[0];
    positional.erase(positional.begin());

    if (command == "info") {
        if (positional.size() != 1)
            return usageError("info takes one FOLDER");
        return runInfo(context, positional[0], json);
    }
    if (command == "export") {
        if (positional.size() != 2)
            return usageError("export takes FOLDER and OUTDIR");
        return runExport(context, positional[0], positional[1]);
    }
    if (command == "compress-all") {
        if (positional.size() != 2)
            return usageError("compress-all takes FOLDER and OUTDIR");
        return runCompressAll(context, positional[0], positional[1]);
    }
    for (CliCommand& other : cliCommands()) {
        if (other.name != command)
            continue;
        if (other.folderArgument >= 0) {
            if (int(positional.size()) <= other.folderArgument)
                return usageError(other.name + ": missing FOLDER");
            FolderScan scan;
            if (!prepareContext(context, positional[size_t(other.folderArgument)], scan))
                return kExitDataError;
        }
        return other.run(context, positional);
    }
    return usageError("unknown command: " + command);
}
