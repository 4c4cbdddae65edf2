#include "vgagraph/huffman.h"

#include "common/safe_write.h"

#include <cstdio>
#include <cstring>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// A dictionary with more than this behind its nodes is not a dictionary file we should echo.
constexpr size_t kMaxKeptTrailingBytes = 65536;

std::string formatText(const char* format, int a, int b = 0) {
    char text[256];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

bool isLeaf(uint16_t child) {
    return child < 256;
}

enum class Visit : uint8_t { Unseen, OnPath, Done };

// Walks the tree from the head; the first reason it cannot be walked safely, or "".
std::string checkTree(const std::array<HuffmanNode, kHuffmanNodeCount>& nodes, unsigned node,
                      std::array<Visit, kHuffmanNodeCount>& state) {
    state[node] = Visit::OnPath;
    for (uint16_t child : {nodes[node].child0, nodes[node].child1}) {
        if (isLeaf(child))
            continue;
        if (child > kHuffmanMaxChild)
            return formatText("Node %i of the dictionary points to %i, outside the tree!",
                              int(node), int(child));
        unsigned next = child - 256u;
        if (state[next] == Visit::OnPath)
            return formatText("Node %i of the dictionary leads back to node %i, which leads to it!",
                              int(node), int(next));
        if (state[next] == Visit::Done)
            return formatText("Node %i of the dictionary is reached from two places of the tree!",
                              int(next));
        std::string problem = checkTree(nodes, next, state);
        if (!problem.empty())
            return problem;
    }
    state[node] = Visit::Done;
    return {};
}

void walkCodes(const HuffmanDictionary& dictionary, std::array<HuffmanCode, 256>& codes,
               unsigned node, uint64_t code, uint32_t depth) {
    ++depth;
    const HuffmanNode& here = dictionary.nodes()[node];
    uint64_t mask = depth <= 64 ? uint64_t(1) << (depth - 1) : 0;
    // A leaf too deep for 64 bits gets no code (and does not spoil a usable one).
    if (isLeaf(here.child0)) {
        if (depth <= kHuffmanMaxCodeLength)
            codes[here.child0] = HuffmanCode{code, depth};
    } else {
        walkCodes(dictionary, codes, here.child0 - 256u, code, depth);
    }
    if (isLeaf(here.child1)) {
        if (depth <= kHuffmanMaxCodeLength)
            codes[here.child1] = HuffmanCode{code | mask, depth};
    } else {
        walkCodes(dictionary, codes, here.child1 - 256u, code | mask, depth);
    }
}

std::optional<Bytes> readFileStart(const fs::path& path, size_t limit) {
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    Bytes data(limit);
    in.read(reinterpret_cast<char*>(data.data()), std::streamsize(limit));
    data.resize(size_t(in.gcount()));
    return data;
}

} // namespace

std::optional<HuffmanDictionary> HuffmanDictionary::fromBytes(ByteView data, std::string* problem) {
    auto fail = [&](const std::string& reason) -> std::optional<HuffmanDictionary> {
        if (problem)
            *problem = reason;
        return std::nullopt;
    };
    if (data.size() < kHuffmanDictionarySize)
        return fail("Huffman table incomplete!");
    HuffmanDictionary dictionary;
    ByteReader reader(data);
    for (HuffmanNode& node : dictionary.m_nodes) {
        node.child0 = reader.u16();
        node.child1 = reader.u16();
    }
    std::array<Visit, kHuffmanNodeCount> state{};
    if (std::string reason = checkTree(dictionary.m_nodes, kHuffmanHead, state); !reason.empty())
        return fail(reason);
    if (data.size() - kHuffmanDictionarySize <= kMaxKeptTrailingBytes)
        dictionary.m_trailing.assign(data.begin() + kHuffmanDictionarySize, data.end());
    BuildCodeTable(dictionary);
    return dictionary;
}

Bytes HuffmanDictionary::toBytes() const {
    Bytes out;
    out.reserve(kHuffmanDictionarySize + m_trailing.size());
    ByteWriter writer(out);
    for (const HuffmanNode& node : m_nodes) {
        writer.u16(node.child0);
        writer.u16(node.child1);
    }
    writer.bytes(m_trailing);
    return out;
}

std::vector<int> HuffmanDictionary::unencodableValues() const {
    std::vector<int> values;
    for (int value = 0; value < 256; ++value)
        if (m_codes[size_t(value)].length == 0)
            values.push_back(value);
    return values;
}

void BuildCodeTable(HuffmanDictionary& dictionary) {
    std::array<HuffmanCode, 256> codes{};
    walkCodes(dictionary, codes, kHuffmanHead, 0, 0);
    dictionary.m_codes = codes;

    // Four bits at a time from every node of the tree; nodes off the tree are never reached.
    std::array<bool, kHuffmanNodeCount> reachable{};
    std::vector<unsigned> pending{kHuffmanHead};
    reachable[kHuffmanHead] = true;
    while (!pending.empty()) {
        unsigned node = pending.back();
        pending.pop_back();
        for (uint16_t child : {dictionary.m_nodes[node].child0, dictionary.m_nodes[node].child1}) {
            if (!isLeaf(child) && !reachable[child - 256u]) {
                reachable[child - 256u] = true;
                pending.push_back(child - 256u);
            }
        }
    }
    for (unsigned start = 0; start < kHuffmanNodeCount; ++start) {
        if (!reachable[start])
            continue;
        for (unsigned nibble = 0; nibble < 16; ++nibble) {
            HuffmanDictionary::NibbleStep step{};
            unsigned node = start;
            for (unsigned bit = 0; bit < 4; ++bit) {
                const HuffmanNode& here = dictionary.m_nodes[node];
                uint16_t value = (nibble >> bit) & 1 ? here.child1 : here.child0;
                if (isLeaf(value)) {
                    step.symbols[step.count++] = uint8_t(value);
                    node = kHuffmanHead;
                } else {
                    node = value - 256u;
                }
            }
            step.next = uint8_t(node);
            dictionary.m_steps[start * 16 + nibble] = step;
        }
    }
}

FileDialogRequest graphicsDictionaryDialog() {
    return {"Load graphics dictionary...", "Vgadict.*", "*.WL6",
            "Wolf3D(WL6)|*.WL6|Wolf3D Demo(WL1)|*.WL1|Spear of Destiny(SOD)|*.SOD|Operation "
            "Zusammenkunft(OZ6)|*.OZ6|All files|*.*||"};
}

bool ensureHuffmanLoaded(HuffmanDictionary& dictionary, const fs::path& path,
                         Prompter& prompter, const FileChooser& chooseFile) {
    return dictionary.loaded() || LoadHuffman(dictionary, path, prompter, chooseFile);
}

bool LoadHuffman(HuffmanDictionary& dictionary, const fs::path& path, Prompter& prompter,
                 const FileChooser& chooseFile) {
    constexpr size_t kReadLimit = kHuffmanDictionarySize + kMaxKeptTrailingBytes + 1;
    std::optional<Bytes> data = readFileStart(path, kReadLimit);
    if (!data) {
        prompter.tell("CTessarandDlg::LoadHuffman(): Couldn't open file:", path.string());
        if (!chooseFile)
            return false;
        FileDialogRequest request = graphicsDictionaryDialog();
        request.title = "Please select the graphics dictionary...";
        std::optional<fs::path> chosen = chooseFile(request);
        if (!chosen)
            return false;
        data = readFileStart(*chosen, kReadLimit);
        if (!data)
            return false;
    }
    if (data->size() < kHuffmanDictionarySize) {
        prompter.tell("File reading error!", "Huffman table incomplete!", PromptIcon::Exclamation);
        return false;
    }
    if (data->size() == kReadLimit)
        data->resize(kHuffmanDictionarySize);
    std::string problem;
    std::optional<HuffmanDictionary> read = HuffmanDictionary::fromBytes(*data, &problem);
    if (!read) {
        prompter.tell("Huffman table corrupt!", problem, PromptIcon::Exclamation);
        return false;
    }
    dictionary = std::move(*read);
    dictionary.setLoaded(true);
    if (std::vector<int> missing = dictionary.unencodableValues(); !missing.empty()) {
        char text[256];
        std::snprintf(text, sizeof text,
                      "The dictionary has no usable code for %i byte values (the first is %i).\n"
                      "Graphics can be loaded with it, but nothing that holds these values can be "
                      "saved!",
                      int(missing.size()), missing.front());
        prompter.tell("Huffman table incomplete!", text, PromptIcon::Exclamation);
    }
    return true;
}

size_t HuffmanExpand(ByteView source, std::span<uint8_t> destination,
                     const HuffmanDictionary& dictionary) {
    if (destination.empty() || source.empty())
        return 0;
    uint8_t* out = destination.data();
    uint8_t* const end = out + destination.size();
    const uint8_t* in = source.data();
    const uint8_t* const inEnd = in + source.size();
    unsigned node = kHuffmanHead;
    // Blocks of symbols go through a local buffer that takes four bytes per step unchecked;
    // only the symbols themselves reach the destination, the bytes behind stay as they were.
    constexpr size_t kBlock = 64;
    uint8_t block[kBlock + 8];
    while (in < inEnd) {
        size_t count = 0;
        while (in < inEnd && count <= kBlock - 8) {
            unsigned byte = *in++;
            const HuffmanDictionary::NibbleStep& low = dictionary.step(node, byte & 15);
            std::memcpy(block + count, low.symbols, 4);
            count += low.count;
            const HuffmanDictionary::NibbleStep& high = dictionary.step(low.next, byte >> 4);
            std::memcpy(block + count, high.symbols, 4);
            count += high.count;
            node = high.next;
        }
        size_t room = size_t(end - out);
        if (count >= room) {
            std::memcpy(out, block, room);
            return destination.size();
        }
        std::memcpy(out, block, count);
        out += count;
    }
    return size_t(out - destination.data());
}

size_t HuffmanCountSymbols(ByteView source, const HuffmanDictionary& dictionary) {
    size_t count = 0;
    unsigned node = kHuffmanHead;
    for (uint8_t byte : source) {
        const HuffmanDictionary::NibbleStep& low = dictionary.step(node, byte & 15);
        const HuffmanDictionary::NibbleStep& high = dictionary.step(low.next, byte >> 4);
        count += low.count + high.count;
        node = high.next;
    }
    return count;
}

std::optional<Bytes> HuffmanCompress(ByteView source, const HuffmanDictionary& dictionary,
                                     int* missingValue) {
    const std::array<HuffmanCode, 256>& codes = dictionary.codeTable();
    Bytes out;
    out.reserve(source.size());
    uint64_t pending = 0;
    unsigned pendingBits = 0;
    auto put = [&](uint64_t bits, unsigned length) {
        pending |= bits << pendingBits;
        pendingBits += length;
        while (pendingBits >= 8) {
            out.push_back(uint8_t(pending));
            pending >>= 8;
            pendingBits -= 8;
        }
    };
    for (uint8_t value : source) {
        const HuffmanCode& code = codes[value];
        if (code.length == 0) {
            if (missingValue)
                *missingValue = value;
            return std::nullopt;
        }
        if (code.length <= 56) {
            put(code.code, code.length);
        } else {
            put(code.code & 0xFFFFFFFFu, 32);
            put(code.code >> 32, code.length - 32);
        }
    }
    if (pendingBits > 0)
        out.push_back(uint8_t(pending));
    return out;
}

bool SaveDictionary(const HuffmanDictionary& dictionary, const fs::path& path, Prompter& prompter) {
    if (!writeFileSafely(path, dictionary.toBytes())) {
        prompter.tell("Couldn't create dictionary file:", path.string(), PromptIcon::Exclamation);
        return false;
    }
    return true;
}
