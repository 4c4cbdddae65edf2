#include "level/lists_file.h"

#include "common/text_lines.h"

namespace {

// Reads a stream line by line as LineReader reads text: at most maxLength characters at a time
// (the rest of a longer line comes next), the line end removed. Never holds more than one piece,
// so a huge file costs time but no memory.
class StreamLineReader {
public:
    explicit StreamLineReader(std::istream& in) : m_in(in) { skipByteOrderMark(); }

    bool next(std::string& line, size_t maxLength) {
        line.clear();
        std::istream::int_type c = m_in.get();
        if (c == std::istream::traits_type::eof())
            return false;
        while (c != std::istream::traits_type::eof() && c != '\n') {
            line.push_back(static_cast<char>(c));
            if (line.size() == maxLength) {
                // A line of exactly maxLength characters still ends here.
                if (m_in.peek() == '\n')
                    m_in.get();
                else if (m_in.peek() == '\r') {
                    m_in.get();
                    if (m_in.peek() == '\n')
                        m_in.get();
                    else
                        m_in.unget();
                }
                if (line.back() == '\r')
                    line.pop_back();
                return true;
            }
            c = m_in.get();
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return true;
    }

private:
    void skipByteOrderMark() { skipUtf8ByteOrderMark(m_in); }

    std::istream& m_in;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

enum class Section { Walls, Objects, Floors };

// Reads one section up to its "*" line; false when the text ended first.
bool readSection(StreamLineReader& reader, Section section, TileVocabulary& vocabulary) {
    const size_t maxLength =
        section == Section::Objects ? kListsObjectLineLength : kListsWallLineLength;
    std::string line;
    while (reader.next(line, maxLength)) {
        if (!line.empty() && line[0] == '*')
            return true;
        std::optional<ListsEntry> entry = parseListsEntry(line);
        if (!entry)
            continue;
        switch (section) {
        case Section::Walls:
            vocabulary.addWall(entry->code, entry->name);
            break;
        case Section::Objects:
            vocabulary.addObject(entry->code, entry->name);
            break;
        case Section::Floors:
            vocabulary.addFloor(entry->code, entry->name);
            break;
        }
    }
    return false;
}

} // namespace

std::optional<ListsEntry> parseListsEntry(std::string_view line) {
    size_t comma = line.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    std::string_view number = line.substr(0, comma);
    size_t pos = 0;
    while (pos < number.size() && (number[pos] == ' ' || number[pos] == '\t'))
        ++pos;
    if (pos < number.size() && number[pos] == '+')
        ++pos;
    if (pos >= number.size() || !isDigit(number[pos]))
        return std::nullopt;
    uint32_t code = 0;
    for (; pos < number.size() && isDigit(number[pos]); ++pos)
        code = (code * 10 + uint32_t(number[pos] - '0')) & 0xFFFF;

    std::string_view name = line.substr(comma + 1);
    while (!name.empty() && name.front() == '"')
        name.remove_prefix(1);
    while (!name.empty() &&
           (name.back() == '"' || name.back() == ',' || name.back() == '\n' || name.back() == '\r'))
        name.remove_suffix(1);
    if (name.size() > kMaxTileNameLength)
        name = name.substr(0, kMaxTileNameLength);
    return ListsEntry{static_cast<uint16_t>(code), std::string(name)};
}

void readListsFile(std::istream& in, TileVocabulary& vocabulary, Prompter& prompter) {
    StreamLineReader reader(in);
    if (!readSection(reader, Section::Walls, vocabulary))
        prompter.tell("Tessarand", "Can't load Lists.txt (walls)");
    if (!readSection(reader, Section::Objects, vocabulary))
        prompter.tell("Tessarand", "Can't load Lists.txt (objects)");
    if (!readSection(reader, Section::Floors, vocabulary))
        prompter.tell("Tessarand", "Can't load Lists.txt (floors)");
}
