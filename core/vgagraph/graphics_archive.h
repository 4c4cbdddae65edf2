#pragma once
// The VGAGRAPH graphics in memory: the dictionary and the four parts the editor loads and saves
// separately (pictures, fonts, tile8s, text screens). Whether a part is loaded or changed is kept
// with the other kinds in DocumentState (DataKind::Graphics, Fonts, Tile8s, Screens).

#include "app/document_state.h"
#include "common/byte_io.h"
#include "common/game_file_path.h"
#include "vgagraph/huffman.h"
#include "vgagraph/picture.h"
#include "vgagraph/text_screen.h"

#include <vector>

enum class VgaPart { Pictures, Fonts, Tile8s, Screens };
DataKind dataKindOf(VgaPart part);

// The three files of a set: the VGAGRAPH the user chose and its VGAHEAD and VGADICT siblings.
struct VgaFiles {
    GameFilePath graph;
    GameFilePath head;
    GameFilePath dictionary;

    static VgaFiles forGraph(const GameFilePath& graph);
    // Save All knows the last VGAGRAPH and VGAHEAD paths; VGADICT lies beside VGAGRAPH.
    static VgaFiles forGraphAndHead(const GameFilePath& graph, const GameFilePath& head);
};

class GraphicsArchive {
public:
    HuffmanDictionary& dictionary() { return m_dictionary; }
    const HuffmanDictionary& dictionary() const { return m_dictionary; }

    PicturePart& pictures() { return m_pictures; }
    const PicturePart& pictures() const { return m_pictures; }
    // Decompressed font chunks.
    std::vector<Bytes>& fonts() { return m_fonts; }
    const std::vector<Bytes>& fonts() const { return m_fonts; }
    // 4608 bytes once loaded, empty before.
    Bytes& tile8s() { return m_tile8s; }
    const Bytes& tile8s() const { return m_tile8s; }
    std::vector<TextScreen>& screens() { return m_screens; }
    const std::vector<TextScreen>& screens() const { return m_screens; }

    void clear(VgaPart part);
    void clearAll();

private:
    HuffmanDictionary m_dictionary;
    PicturePart m_pictures;
    std::vector<Bytes> m_fonts;
    Bytes m_tile8s;
    std::vector<TextScreen> m_screens;
};
