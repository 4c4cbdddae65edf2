#pragma once
// Reads text line by line as the definition files are read: each line at most maxLength
// characters (a longer line comes in pieces), the line end removed ("\n" or "\r\n").

#include <istream>
#include <string>
#include <string_view>

// Editors on Windows like to start a text with the UTF-8 mark; it is no part of the first line.
inline void skipUtf8ByteOrderMark(std::istream& in) {
    for (int mark : {0xEF, 0xBB, 0xBF}) {
        if (in.peek() != mark)
            return;
        in.get();
    }
}

class LineReader {
public:
    LineReader(std::string_view text, size_t maxLength) : m_text(text), m_maxLength(maxLength) {}

    // False at the end of the text.
    bool next(std::string& line) {
        if (m_pos >= m_text.size())
            return false;
        size_t end = m_text.find('\n', m_pos);
        size_t lineEnd = end == std::string_view::npos ? m_text.size() : end;
        if (lineEnd - m_pos > m_maxLength) {
            line.assign(m_text.substr(m_pos, m_maxLength));
            m_pos += m_maxLength;
            return true;
        }
        line.assign(m_text.substr(m_pos, lineEnd - m_pos));
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        m_pos = lineEnd + 1;
        return true;
    }
    void setMaxLength(size_t maxLength) { m_maxLength = maxLength; }

private:
    std::string_view m_text;
    size_t m_maxLength;
    size_t m_pos = 0;
};
