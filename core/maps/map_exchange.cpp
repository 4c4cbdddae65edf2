#include "maps/map_exchange.h"

#include "common/file_io.h"
#include "maps/file_start.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* kRefusedTitle = "Unable to import map!";
constexpr size_t kMaxNameLength = 255;
// Header, the longest name and three planes: nothing after that is ever read.
constexpr size_t kMaxUsefulFileSize = 18 + kMaxNameLength + 3 * kPlaneBytes;

MapImportResult refuse(Prompter& prompter, const std::string& text) {
    prompter.tell(kRefusedTitle, text);
    return MapImportResult::Refused;
}

void readPlane(ByteView bytes, std::span<uint16_t> plane) {
    for (size_t i = 0; i < plane.size(); ++i)
        plane[i] = readU16At(bytes, 2 * i);
}

} // namespace

Bytes encodeMapExchange(const MapSet& maps, int index) {
    const int planes = maps.thirdPlaneEnabled() ? 3 : 2;
    Bytes out;
    out.reserve(18 + kMapNameLength + size_t(planes) * kPlaneBytes);
    ByteWriter writer(out);
    writer.bytes(ByteView(reinterpret_cast<const uint8_t*>(kMapExchangeMagic), 8));
    writer.u8(uint8_t(planes));
    writer.u16(1);
    writer.u16(uint16_t(index));
    writer.u16(kMapSide);
    writer.u16(kMapSide);
    writer.u8(uint8_t(kMapNameLength));
    const MapHeader& header = maps.header(index);
    writer.bytes(ByteView(reinterpret_cast<const uint8_t*>(header.name.data()), kMapNameLength));
    for (int p = 0; p < planes; ++p) {
        std::span<const uint16_t> plane = maps.plane(index, p);
        for (size_t i = 0; i < kPlaneCodes; ++i)
            writer.u16(i < plane.size() ? plane[i] : 0);
    }
    return out;
}

bool exportMap(const MapSet& maps, int index, const std::filesystem::path& path,
               Prompter& prompter) {
    if (!maps.hasMap(index) || !writeWholeFile(path, encodeMapExchange(maps, index))) {
        prompter.tell("Unable to create file:", path.string(), PromptIcon::Exclamation);
        return false;
    }
    return true;
}

MapImportResult importMapBytes(MapSet& maps, int index, ByteView data, uintmax_t fileSize,
                               Prompter& prompter) {
    if (!maps.hasMap(index) || maps.plane(index, 0).empty() || maps.plane(index, 1).empty())
        return refuse(prompter, "There is no map to import into!");

    if (fileSize == kRawPlanesFileSize && data.size() == kRawPlanesFileSize) {
        readPlane(data.first(kPlaneBytes), maps.plane(index, 0));
        readPlane(data.subspan(kPlaneBytes), maps.plane(index, 1));
        return MapImportResult::Imported;
    }

    ByteReader in(data);
    ByteView magic = in.bytes(8);
    if (!in.ok() || std::memcmp(magic.data(), kMapExchangeMagic, 8) != 0)
        return refuse(prompter, "Unknown map format!");
    const uint8_t planeCount = in.u8();
    if (in.ok() && planeCount != 2 && planeCount != 3)
        return refuse(prompter, "Only two or three planes supported!");
    const uint16_t mapCount = in.u16();
    if (in.ok() && mapCount != 1)
        return refuse(prompter, "Importing multiple maps is not implemented yet!");
    in.u16(); // the index the map had in its own set
    const uint16_t width = in.u16();
    const uint16_t height = in.u16();
    if (in.ok() && (width != kMapSide || height != kMapSide))
        return refuse(prompter, "Only 64x64 maps supported yet!");
    const uint8_t nameLength = in.u8();
    ByteView name = in.bytes(nameLength);
    ByteView planes = in.bytes(size_t(planeCount) * kPlaneBytes);
    // A short file would leave the map half old, half new.
    if (!in.ok())
        return refuse(prompter, "The map file is incomplete!");

    bool withThird = planeCount == 3;
    if (withThird && !maps.thirdPlaneEnabled()) {
        PromptAnswer answer = prompter.ask({"The map uses a third plane!",
                                            "The third plane is currently not enabled.\n"
                                            "Shall it be enabled now?",
                                            PromptIcon::Question, PromptButtons::YesNoCancel});
        if (answer == PromptAnswer::Cancel)
            return MapImportResult::Cancelled;
        if (answer == PromptAnswer::Yes)
            maps.setThirdPlaneEnabled(true);
        else
            withThird = false;
    }

    MapHeader& header = maps.header(index);
    header.name.fill(0);
    header.nameTerminator = 0;
    std::copy_n(name.begin(), std::min(name.size(), kMapNameLength),
                reinterpret_cast<uint8_t*>(header.name.data()));
    for (int p = 0; p < (withThird ? 3 : 2); ++p)
        readPlane(planes.subspan(size_t(p) * kPlaneBytes, kPlaneBytes), maps.plane(index, p));
    return MapImportResult::Imported;
}

MapImportResult importMap(MapSet& maps, int index, const std::filesystem::path& path,
                          Prompter& prompter) {
    std::optional<FileStart> file = readFileStart(path, kMaxUsefulFileSize);
    if (!file) {
        prompter.tell("Unable to open file:", path.string(), PromptIcon::Exclamation);
        return MapImportResult::Refused;
    }
    return importMapBytes(maps, index, file->bytes, file->fileSize, prompter);
}
