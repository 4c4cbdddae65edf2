#include "cli_registry.h"

#include "image/bmp.h"
#include "image/png_write.h"

std::vector<KindHandler>& kindHandlers() {
    static std::vector<KindHandler> handlers;
    return handlers;
}

std::vector<CliCommand>& cliCommands() {
    static std::vector<CliCommand> commands;
    return commands;
}

void registerKindHandler(KindHandler handler) { kindHandlers().push_back(std::move(handler)); }
void registerCliCommand(CliCommand command) { cliCommands().push_back(std::move(command)); }

std::string imageExtension(const CliContext& context) {
    return context.option("image-format", "bmp") == "png" ? "png" : "bmp";
}

bool writeExportImage(const CliContext& context, const std::filesystem::path& pathWithoutExtension,
                      const IndexedImage& image) {
    std::filesystem::path path = pathWithoutExtension.string() + "." + imageExtension(context);
    std::string error;
    bool ok = imageExtension(context) == "png" ? writePng8(path, image, context.palette, &error)
                                               : writeBmp8(path, image, context.palette, &error);
    if (!ok)
        std::fprintf(stderr, "Cannot Open: %s\n", path.string().c_str());
    return ok;
}
