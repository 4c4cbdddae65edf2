#include "pagefile/sprite_shape.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct Run {
    int column = 0; // counted from the leftmost used column
    int start = 0;  // first row, from the top
    int end = 0;    // the row after the last
    const uint8_t* bytes = nullptr;
    int length() const { return end - start; }
};

// The image turned column-major and top-down, so a run's pixels lie side by side.
class Columns {
public:
    Columns(ByteView image, int side) : m_side(side), m_data(size_t(side) * size_t(side)) {
        for (int y = 0; y < side; ++y) {
            const size_t rowStart = size_t(side - 1 - y) * size_t(side);
            for (int x = 0; x < side; ++x) {
                const size_t at = rowStart + size_t(x);
                m_data[size_t(x) * size_t(side) + size_t(y)] =
                    at < image.size() ? image[at] : kTransparentIndex;
            }
        }
        m_left = 0;
        m_right = 0;
        bool any = false;
        for (int x = 0; x < side; ++x) {
            if (!columnEmpty(x)) {
                if (!any)
                    m_left = x;
                m_right = x;
                any = true;
            }
        }
    }

    int left() const { return m_left; }
    int right() const { return m_right; }
    int count() const { return m_right - m_left + 1; }

    // Runs of opaque pixels of column x (absolute), top to bottom.
    void runsOf(int x, std::vector<Run>& out) const {
        const uint8_t* column = &m_data[size_t(x) * size_t(m_side)];
        for (int y = 0; y < m_side;) {
            if (column[y] == kTransparentIndex) {
                ++y;
                continue;
            }
            Run run;
            run.column = x - m_left;
            run.start = y;
            while (y < m_side && column[y] != kTransparentIndex)
                ++y;
            run.end = y;
            run.bytes = column + run.start;
            out.push_back(run);
        }
    }

private:
    bool columnEmpty(int x) const {
        const uint8_t* column = &m_data[size_t(x) * size_t(m_side)];
        return std::all_of(column, column + m_side,
                           [](uint8_t v) { return v == kTransparentIndex; });
    }

    int m_side;
    Bytes m_data;
    int m_left = 0, m_right = 0;
};

void putPost(Bytes& out, const Run& run, int position) {
    ByteWriter w(out);
    w.u16(uint16_t(run.end * 2));
    w.u16(uint16_t(position - run.start)); // signed in the file; 16-bit wrap as the game reads it
    w.u16(uint16_t(run.start * 2));
}

} // namespace

void ExpandShape(ByteView shape, std::span<uint8_t> image, int side) {
    std::fill(image.begin(), image.end(), kTransparentIndex);
    if (side <= 0 || shape.size() < 4)
        return;
    const size_t length = shape.size();
    const int left = readU16At(shape, 0);
    const int right = readU16At(shape, 2);
    for (int c = 0; c <= right - left; ++c) {
        const int x = left + c;
        const size_t tableAt = 4 + 2 * size_t(c);
        if (x >= side || tableAt + 2 > length)
            return;
        size_t post = readU16At(shape, tableAt);
        // A list is read as far as it lies in the chunk; an empty list needs only its end word.
        while (post + 2 <= length) {
            const int endWord = readU16At(shape, post);
            if (endWord == 0 || post + 6 > length)
                break;
            const int source = int16_t(readU16At(shape, post + 2));
            const int end = endWord / 2;
            const int start = readU16At(shape, post + 4) / 2;
            post += 6;
            if (end <= start)
                continue;
            const size_t first = size_t((source + start) & 0xFFFF);
            if (first >= length || first + size_t(end - start) > length)
                break;
            for (int y = start; y < end && y < side; ++y) {
                const size_t at = size_t(side - 1 - y) * size_t(side) + size_t(x);
                if (at < image.size())
                    image[at] = shape[first + size_t(y - start)];
            }
        }
    }
}

Bytes CompressShapeSimple(ByteView image, int side) {
    const Columns columns(image, side);
    Bytes out;
    ByteWriter w(out);
    w.u16(uint16_t(columns.left()));
    w.u16(uint16_t(columns.right()));
    const size_t tableAt = out.size();
    out.resize(tableAt + 2 * size_t(columns.count()), 0);

    int sharedEmptyList = -1;
    std::vector<Run> runs;
    for (int c = 0; c < columns.count(); ++c) {
        runs.clear();
        columns.runsOf(columns.left() + c, runs);
        std::vector<int> positions;
        for (const Run& run : runs) {
            positions.push_back(int(out.size()));
            out.insert(out.end(), run.bytes, run.bytes + run.length());
        }
        if (runs.empty() && sharedEmptyList >= 0) {
            w.patchU16(tableAt + 2 * size_t(c), uint16_t(sharedEmptyList));
            continue;
        }
        w.patchU16(tableAt + 2 * size_t(c), uint16_t(out.size()));
        for (size_t i = 0; i < runs.size(); ++i)
            putPost(out, runs[i], positions[i]);
        if (sharedEmptyList < 0)
            sharedEmptyList = int(out.size());
        w.u16(0);
    }
    return out;
}

Bytes CompressShapeFull(ByteView image, int side) {
    const Columns columns(image, side);
    const int columnCount = columns.count();

    std::vector<Run> runs;
    for (int c = 0; c < columnCount; ++c)
        columns.runsOf(columns.left() + c, runs);
    const size_t runCount = runs.size();

    // Longest first; runs of equal length keep column order.
    std::vector<size_t> order(runCount);
    for (size_t i = 0; i < runCount; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return runs[a].length() > runs[b].length(); });
    std::vector<Run> sorted(runCount);
    for (size_t i = 0; i < runCount; ++i)
        sorted[i] = runs[order[i]];

    // Containment: a run whose bytes appear inside an earlier, uncontained run shares them.
    constexpr size_t kNone = size_t(-1);
    std::vector<size_t> container(runCount, kNone);
    std::vector<int> containedAt(runCount, 0);
    for (size_t i = 1; i < runCount; ++i) {
        const Run& inner = sorted[i];
        const int len = inner.length();
        for (size_t j = 0; j < i && container[i] == kNone; ++j) {
            if (container[j] != kNone)
                continue;
            const Run& outer = sorted[j];
            const uint8_t* from = outer.bytes;
            const uint8_t* last = outer.bytes + (outer.length() - len);
            for (const uint8_t* at = from; at <= last; ++at) {
                at = static_cast<const uint8_t*>(
                    std::memchr(at, inner.bytes[0], size_t(last - at) + 1));
                if (!at)
                    break;
                if (std::memcmp(at, inner.bytes, size_t(len)) == 0) {
                    container[i] = j;
                    containedAt[i] = int(at - from);
                    break;
                }
            }
        }
    }

    // Overlaps: the end of one run equal to the start of another. Links never get undone, so
    // taking the candidates once, largest overlap first, is the same as picking the largest
    // remaining one again and again.
    struct Link {
        int overlap;
        size_t from, to;
    };
    std::vector<Link> candidates;
    for (size_t a = 0; a < runCount; ++a) {
        if (container[a] != kNone)
            continue;
        const Run& first = sorted[a];
        for (size_t b = 0; b < runCount; ++b) {
            if (b == a || container[b] != kNone)
                continue;
            const Run& second = sorted[b];
            const int most = std::min(first.length(), second.length()) - 1;
            for (int k = most; k >= 1; --k) {
                const uint8_t* tail = first.bytes + (first.length() - k);
                if (tail[0] == second.bytes[0] && std::memcmp(tail, second.bytes, size_t(k)) == 0) {
                    candidates.push_back({k, a, b});
                    break;
                }
            }
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Link& x, const Link& y) { return x.overlap > y.overlap; });
    std::vector<size_t> next(runCount, kNone), previous(runCount, kNone);
    std::vector<int> overlapWithNext(runCount, 0);
    std::vector<size_t> tailOfHead(runCount), headOfTail(runCount);
    for (size_t i = 0; i < runCount; ++i)
        tailOfHead[i] = headOfTail[i] = i;
    for (const Link& link : candidates) {
        if (next[link.from] != kNone || previous[link.to] != kNone)
            continue;
        const size_t tail = tailOfHead[link.to];
        if (tail == link.from)
            continue; // would close a cycle
        const size_t head = headOfTail[link.from];
        next[link.from] = link.to;
        previous[link.to] = link.from;
        overlapWithNext[link.from] = link.overlap;
        tailOfHead[head] = tail;
        headOfTail[tail] = head;
    }

    // Pixel area: every chain once, in the order its runs come in the sorted list.
    Bytes out;
    ByteWriter w(out);
    w.u16(uint16_t(columns.left()));
    w.u16(uint16_t(columns.right()));
    const size_t tableAt = out.size();
    out.resize(tableAt + 2 * size_t(columnCount), 0);
    std::vector<int> position(runCount, -1);
    for (size_t i = 0; i < runCount; ++i) {
        if (container[i] != kNone || position[i] >= 0)
            continue;
        size_t run = i;
        while (previous[run] != kNone)
            run = previous[run];
        for (; run != kNone; run = next[run]) {
            position[run] = int(out.size());
            const Run& r = sorted[run];
            out.insert(out.end(), r.bytes, r.bytes + (r.length() - overlapWithNext[run]));
        }
    }
    for (size_t i = 0; i < runCount; ++i)
        if (container[i] != kNone)
            position[i] = position[container[i]] + containedAt[i];

    // Post lists, busiest columns first, each reusing any matching tail already written.
    std::vector<int> runPosition(runCount);
    for (size_t i = 0; i < runCount; ++i)
        runPosition[order[i]] = position[i];
    std::vector<std::vector<size_t>> columnRuns(static_cast<size_t>(columnCount));
    for (size_t i = 0; i < runCount; ++i)
        columnRuns[size_t(runs[i].column)].push_back(i);
    std::vector<int> columnOrder(static_cast<size_t>(columnCount));
    for (int c = 0; c < columnCount; ++c)
        columnOrder[size_t(c)] = c;
    std::stable_sort(columnOrder.begin(), columnOrder.end(), [&](int a, int b) {
        return columnRuns[size_t(a)].size() > columnRuns[size_t(b)].size();
    });

    const size_t listsStart = out.size();
    Bytes list;
    for (int c : columnOrder) {
        list.clear();
        for (size_t run : columnRuns[size_t(c)])
            putPost(list, runs[run], runPosition[run]);
        list.push_back(0);
        list.push_back(0);
        auto found =
            std::search(out.begin() + long(listsStart), out.end(), list.begin(), list.end());
        size_t at = size_t(found - out.begin());
        if (found == out.end()) {
            at = out.size();
            out.insert(out.end(), list.begin(), list.end());
        }
        w.patchU16(tableAt + 2 * size_t(c), uint16_t(at));
    }
    return out;
}
