#pragma once
// The Huffman coding of VGAGRAPH chunks: the dictionary read from VGADICT (255 nodes, head 254),
// the code table derived from it, the decoder, the counting decoder and the encoder.
// Bits are taken and produced least significant bit first; the last byte is padded with zeros.

#include "common/byte_io.h"
#include "common/prompter.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

constexpr size_t kHuffmanNodeCount = 255;
constexpr size_t kHuffmanDictionarySize = 1020; // 255 nodes of two 16-bit children
constexpr uint16_t kHuffmanHead = 254;
constexpr uint16_t kHuffmanMaxChild = 510;
// Codes are kept in 64 bits; a leaf deeper than that can be decoded but not encoded.
constexpr uint32_t kHuffmanMaxCodeLength = 64;

struct HuffmanNode {
    uint16_t child0 = 0; // where a 0 bit leads: 0..255 a byte value, 256..510 node value - 256
    uint16_t child1 = 0;
    bool operator==(const HuffmanNode&) const = default;
};

struct HuffmanCode {
    uint64_t code = 0;   // bit k is the branch taken at the (k+1)-th node from the head
    uint32_t length = 0; // 0: the byte value has no code
};

// An open-file dialog the shell shows for core; the answer is the chosen file or nothing.
struct FileDialogRequest {
    std::string title;
    std::string initialName;
    std::string defaultExtension;
    std::string filter; // "Text|pattern|...||"
};
using FileChooser =
    std::function<std::optional<std::filesystem::path>(const FileDialogRequest& request)>;

class HuffmanDictionary {
public:
    // The nodes from the bytes of a VGADICT file (at least 1020; later bytes are kept and
    // written back). Nothing, with the reason in *problem, when the bytes are too few or the
    // tree cannot be walked safely: a child beyond 510, a node leading back to one that leads
    // to it, or a node reached from two places.
    static std::optional<HuffmanDictionary> fromBytes(ByteView data,
                                                      std::string* problem = nullptr);
    // The file form: the 255 nodes, then any bytes that followed them when read.
    Bytes toBytes() const;

    // Whether the editor may use this dictionary (cleared when the user starts a load so that
    // VGADICT is read again from the chosen folder).
    bool loaded() const { return m_loaded; }
    void setLoaded(bool loaded) { m_loaded = loaded; }

    const std::array<HuffmanNode, kHuffmanNodeCount>& nodes() const { return m_nodes; }
    const std::array<HuffmanCode, 256>& codeTable() const { return m_codes; }
    bool canEncode(uint8_t value) const { return m_codes[value].length != 0; }
    // Byte values the encoder has no code for (not a leaf, or deeper than 64 levels).
    std::vector<int> unencodableValues() const;
    // Same nodes, whatever trailing bytes or flags.
    bool sameTree(const HuffmanDictionary& other) const { return m_nodes == other.m_nodes; }

    // One step of the decoder: four bits from one node.
    struct NibbleStep {
        uint8_t symbols[4];
        uint8_t count;
        uint8_t next; // node index after the four bits
    };
    const NibbleStep& step(unsigned node, unsigned nibble) const {
        return m_steps[node * 16 + nibble];
    }

private:
    friend void BuildCodeTable(HuffmanDictionary& dictionary);

    std::array<HuffmanNode, kHuffmanNodeCount> m_nodes{};
    std::array<HuffmanCode, 256> m_codes{};
    std::vector<NibbleStep> m_steps = std::vector<NibbleStep>(kHuffmanNodeCount * 16);
    Bytes m_trailing;
    bool m_loaded = false;
};

// Fills the code table and the decoder's tables from the nodes (0 branch before 1 branch, a
// later leaf of the same value wins). Only for nodes that fromBytes() accepted.
void BuildCodeTable(HuffmanDictionary& dictionary);

// Reads VGADICT into dictionary and marks it loaded. When the file cannot be opened the path is
// shown and, if chooseFile is given, the user is asked for the dictionary. A file shorter than
// 1020 bytes or a broken tree is refused with a message and leaves dictionary untouched; a tree
// that lacks byte values is taken with a warning (it decodes, but cannot save those values).
bool LoadHuffman(HuffmanDictionary& dictionary, const std::filesystem::path& path,
                 Prompter& prompter, const FileChooser& chooseFile = {});
// The dictionary in memory, or else VGADICT read as LoadHuffman does; false when there is none.
bool ensureHuffmanLoaded(HuffmanDictionary& dictionary, const std::filesystem::path& path,
                         Prompter& prompter, const FileChooser& chooseFile = {});
// The dialog that asks for a dictionary when inserting the first picture into an empty archive;
// the chosen file is then read with LoadHuffman.
FileDialogRequest graphicsDictionaryDialog();

// Decodes source into destination until it is full or the source is used up (the padding bits
// of the last byte decode too). Returns the number of bytes written; the rest is left as it was.
size_t HuffmanExpand(ByteView source, std::span<uint8_t> destination,
                     const HuffmanDictionary& dictionary);
// The number of bytes decoding the whole source yields, padding bits included.
size_t HuffmanCountSymbols(ByteView source, const HuffmanDictionary& dictionary);
// The compressed bytes, or nothing when a source byte has no code (*missingValue tells which).
std::optional<Bytes> HuffmanCompress(ByteView source, const HuffmanDictionary& dictionary,
                                     int* missingValue = nullptr);

// Writes the dictionary as VGADICT through the safe-writing protocol; on failure shows the file
// name titled "Couldn't create dictionary file:".
bool SaveDictionary(const HuffmanDictionary& dictionary, const std::filesystem::path& path,
                    Prompter& prompter);
