#include "level/sprinfo_file.h"

#include "common/text_lines.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>

namespace {

using Traits = std::istream::traits_type;

// A printable character as itself, anything else as \xNN, so a message about binary garbage
// stays readable.
std::string describeCharacter(int c) {
    if (c >= 0x20 && c < 0x7F)
        return std::string(1, static_cast<char>(c));
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", unsigned(c) & 0xFFu);
    return text;
}

bool isSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int digitValue(int c, int base) {
    int value = 36;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'z')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'Z')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

class SprinfoReader {
public:
    SprinfoReader(std::istream& in, TileVocabulary& vocabulary, Prompter& prompter)
        : m_in(in), m_vocabulary(vocabulary), m_prompter(prompter) {}

    void run() {
        skipByteOrderMark();
        for (size_t lines = 0; lines < kMaxSprinfoLines; ++lines) {
            skipWhitespace();
            int first = m_in.peek();
            if (first == Traits::eof())
                return;
            if (first == ';') {
                skipRestOfLine();
                continue;
            }
            if (!definition())
                return;
        }
    }

private:
    // One definition starting at the current token; false when reading must end.
    bool definition() {
        std::optional<uint16_t> tile = tileToken();
        if (!tile)
            return false;
        int64_t picture = 0, type = 0, flag = 0;
        if (!integer(*tile, picture) || !integer(*tile, type) || !integer(*tile, flag))
            return false;
        if (type == static_cast<int>(ObjectType::Door)) {
            int64_t lock = 0, side = 0;
            if (!integer(*tile, lock) || !integer(*tile, side))
                return false;
            m_vocabulary.doors.add({*tile, static_cast<int32_t>(picture), flag != 0,
                                    static_cast<int32_t>(lock), static_cast<int32_t>(side)});
        } else {
            int64_t extra = 0;
            if (type == static_cast<int>(ObjectType::Enemy) && !integer(*tile, extra))
                return false;
            m_vocabulary.defineObject(*tile, static_cast<uint16_t>(picture),
                                      static_cast<uint8_t>(type), static_cast<uint8_t>(flag),
                                      static_cast<uint8_t>(extra));
        }
        return restOfLine(*tile);
    }

    // The tile token: decimal, kept to 16 bits. A token starting with "END" ends the file
    // (nothing returned, nothing reported).
    std::optional<uint16_t> tileToken() {
        constexpr size_t kKept = 32;
        std::string token;
        for (int c = m_in.peek(); c != Traits::eof() && !isSpace(c); c = m_in.peek()) {
            m_in.get();
            if (token.size() < kKept)
                token.push_back(static_cast<char>(c));
        }
        if (token.starts_with("END"))
            return std::nullopt;
        size_t pos = 0;
        bool negative = false;
        if (token[0] == '+' || token[0] == '-') {
            negative = token[0] == '-';
            ++pos;
        }
        if (pos >= token.size() || digitValue(token[pos], 10) < 0) {
            int bad = pos < token.size() ? static_cast<unsigned char>(token[pos]) : ' ';
            m_prompter.tell(kSprinfoErrorTitle,
                            "Illegal character at the start of a definition: '" +
                                describeCharacter(bad) + "'!");
            return std::nullopt;
        }
        uint32_t value = 0;
        for (; pos < token.size() && digitValue(token[pos], 10) >= 0; ++pos)
            value = (value * 10 + uint32_t(token[pos] - '0')) & 0xFFFF;
        if (negative)
            value = (0x10000 - value) & 0xFFFF;
        uint16_t tile = static_cast<uint16_t>(value);
        if (pos < token.size()) {
            illegalInDefinition(tile, static_cast<unsigned char>(token[pos]));
            return std::nullopt;
        }
        return tile;
    }

    // An integer as C's %i reads it: optional sign, then 0x hexadecimal, 0 octal or decimal;
    // saturated to 32 bits. Whitespace before it may span lines.
    bool integer(uint16_t tile, int64_t& result) {
        skipWhitespace();
        int c = m_in.peek();
        if (c == Traits::eof()) {
            m_prompter.tell(kSprinfoErrorTitle,
                            "Definition of tile " + std::to_string(tile) + " is incomplete!");
            return false;
        }
        bool negative = false;
        if (c == '+' || c == '-') {
            negative = c == '-';
            m_in.get();
            c = m_in.peek();
        }
        if (digitValue(c, 10) < 0) {
            illegalInDefinition(tile, c == Traits::eof() ? ' ' : c);
            return false;
        }
        int base = 10;
        if (c == '0') {
            m_in.get();
            int next = m_in.peek();
            if (next == 'x' || next == 'X') {
                m_in.get();
                if (digitValue(m_in.peek(), 16) < 0) {
                    m_in.unget(); // "0x" without digits is the number 0 followed by an x
                    result = 0;
                    return true;
                }
                base = 16;
            } else {
                base = 8;
            }
        }
        constexpr int64_t kLimit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
        int64_t value = 0;
        for (int digit = digitValue(m_in.peek(), base); digit >= 0;
             digit = digitValue(m_in.peek(), base)) {
            m_in.get();
            value = std::min(value * base + digit, kLimit);
        }
        if (negative)
            value = -value;
        result = std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int32_t>::max());
        return true;
    }

    // After a definition only blanks, tabs and a comment may follow on its line.
    bool restOfLine(uint16_t tile) {
        for (;;) {
            int c = m_in.peek();
            if (c == ' ' || c == '\t' || c == '\r') {
                m_in.get();
                continue;
            }
            if (c == Traits::eof() || c == '\n')
                return true;
            if (c == ';') {
                skipRestOfLine();
                return true;
            }
            m_prompter.tell(kSprinfoErrorTitle, "Illegal character after definition of tile " +
                                                    std::to_string(tile) + ": '" +
                                                    describeCharacter(c) + "'!");
            return false;
        }
    }

    void illegalInDefinition(uint16_t tile, int c) {
        m_prompter.tell(kSprinfoErrorTitle, "Illegal character in definition of tile " +
                                                std::to_string(tile) + ": '" +
                                                describeCharacter(c) + "'!");
    }

    void skipWhitespace() {
        while (isSpace(m_in.peek()))
            m_in.get();
    }

    void skipRestOfLine() {
        for (int c = m_in.get(); c != Traits::eof() && c != '\n'; c = m_in.get()) {
        }
    }

    void skipByteOrderMark() { skipUtf8ByteOrderMark(m_in); }

    std::istream& m_in;
    TileVocabulary& m_vocabulary;
    Prompter& m_prompter;
};

} // namespace

void readSprinfoFile(std::istream& in, TileVocabulary& vocabulary, Prompter& prompter) {
    SprinfoReader(in, vocabulary, prompter).run();
}
