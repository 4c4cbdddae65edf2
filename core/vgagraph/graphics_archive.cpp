#include "vgagraph/graphics_archive.h"

DataKind dataKindOf(VgaPart part) {
    switch (part) {
    case VgaPart::Pictures:
        return DataKind::Graphics;
    case VgaPart::Fonts:
        return DataKind::Fonts;
    case VgaPart::Tile8s:
        return DataKind::Tile8s;
    case VgaPart::Screens:
        return DataKind::Screens;
    }
    return DataKind::Graphics;
}

void GraphicsArchive::clear(VgaPart part) {
    switch (part) {
    case VgaPart::Pictures:
        m_pictures = PicturePart{};
        break;
    case VgaPart::Fonts:
        m_fonts.clear();
        break;
    case VgaPart::Tile8s:
        m_tile8s.clear();
        break;
    case VgaPart::Screens:
        m_screens.clear();
        break;
    }
}

void GraphicsArchive::clearAll() {
    for (VgaPart part : {VgaPart::Pictures, VgaPart::Fonts, VgaPart::Tile8s, VgaPart::Screens})
        clear(part);
}

VgaFiles VgaFiles::forGraph(const GameFilePath& graph) {
    return {graph, graph.sibling("VGAHEAD"), graph.sibling("VGADICT")};
}

VgaFiles VgaFiles::forGraphAndHead(const GameFilePath& graph, const GameFilePath& head) {
    return {graph, head, graph.sibling("VGADICT")};
}
