#include "geometry/DisplayPasses.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "geometry/OutlineFiles.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

namespace korvel::geometry {

namespace {

constexpr double kSamePoint = 0.0001;  // mm
constexpr double kOnLine = 0.005;      // mm of detour that still counts as straight
constexpr double kMaxThinnedRun = 5.0; // mm between kept points on a straight run
constexpr std::string_view kLineEnd = "\r\n";

using DisplayPoint = DisplayThinner::Point;

// x, y and the node mark: the first three fields, split at single blanks
// as every reader of the file splits them, in one walk over the line.
DisplayPoint parsePoint(std::string_view line) {
    std::string_view fields[3];
    size_t start = 0;
    for (auto& field : fields) {
        if (start > line.size()) {
            break;
        }
        size_t end = start;
        while (end < line.size() && line[end] != ' ') {
            ++end;
        }
        field = line.substr(start, end - start);
        start = end + 1;
    }
    return {common::Val(fields[0]), common::Val(fields[1]), fields[2] == kNodeWord};
}

// Display coordinates are bounded by the readers, so the plain formula
// cannot overflow (and is several times faster than hypot on the hundreds
// of thousands of points of a curve-heavy drawing).
double distance(const DisplayPoint& a, const DisplayPoint& b) {
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

// L lies on the straight line from P to C when going through it is hardly
// longer than going straight.
bool between(const DisplayPoint& p, const DisplayPoint& l, const DisplayPoint& c) {
    return distance(c, l) + distance(l, p) - distance(c, p) <= kOnLine;
}

// Collects lines into a list.
class LinesSink : public DisplayLineSink {
public:
    void line(std::string_view text) override { m_lines.emplace_back(text); }
    common::Lines take() { return std::move(m_lines); }

private:
    common::Lines m_lines;
};

} // namespace

void DisplayThinner::line(std::string_view text) {
    if (IsSplineLine(text)) {
        flushPending();
        m_next.line(text);
        m_lastSet = false;
        return;
    }
    const DisplayPoint c = parsePoint(text);
    if (m_lastSet && std::fabs(c.x - m_first.x) <= kSamePoint &&
        std::fabs(c.y - m_first.y) <= kSamePoint) {
        m_last = c;
    }
    if (!m_lastSet) {
        m_first = c;
    }
    if (c.node || !m_lastSet) {
        if (c.node && m_hasPending && !between(m_anchor, m_pendingPoint, c)) {
            flushPending();
        }
        m_hasPending = false;
        m_next.line(text);
        m_anchor = c;
        m_last = c;
        m_lastSet = true;
        return;
    }
    if (distance(m_last, m_anchor) > kSamePoint &&
        !(between(m_anchor, m_last, c) && distance(c, m_anchor) < kMaxThinnedRun)) {
        flushPending();
        m_anchor = m_last;
    }
    m_pending.assign(text);
    m_hasPending = true;
    m_pendingPoint = c;
    m_last = c;
}

void DisplayThinner::finish() {
    flushPending();
}

void DisplayThinner::flushPending() {
    if (m_hasPending) {
        m_next.line(m_pending);
        m_hasPending = false;
    }
}

namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 16;
// Twice as many slots as lines can be kept: the table is never more than
// half full, so a search always meets a free slot soon.
constexpr std::size_t kSlots = std::size_t{1} << 16;
static_assert(kSlots >= 2 * kMaxDuplicatePassLines);

void throwTooManyLines(std::size_t count) {
    const std::string limit = std::to_string(kMaxDuplicatePassLines);
    const std::string have = std::to_string(count);
    throw common::UserError(common::error(
        "显示点文件有 " + have + " 行，超过 " + limit + " 行，图形过于复杂，无法打开！",
        "The display point file has " + have + " lines, more than " + limit +
            "; the drawing is too complex to open!"));
}

} // namespace

std::uint32_t DisplayDeduplicator::keep(std::string_view text) {
    if (m_blocks.empty() ||
        m_blocks.back().size() + text.size() + kLineEnd.size() > m_blocks.back().capacity() ||
        m_blocks.back().size() >= kBlockBytes) {
        // A line longer than a block gets a block of its own, at offset 0.
        m_blocks.emplace_back().reserve(std::max(kBlockBytes, text.size() + kLineEnd.size()));
    }
    std::string& block = m_blocks.back();
    const auto place = static_cast<std::uint32_t>(((m_blocks.size() - 1) << 16) | block.size());
    block += text;
    block += kLineEnd;
    return place;
}

std::string_view DisplayDeduplicator::keptLine(std::uint32_t place) const {
    const std::string_view block = m_blocks[place >> 16];
    const std::size_t start = place & 0xFFFFu;
    return block.substr(start, block.find('\r', start) - start);
}

void DisplayDeduplicator::line(std::string_view text) {
    if (++m_count > kMaxDuplicatePassLines) {
        return; // only counted: finish() refuses the drawing
    }
    if (m_slots.empty()) {
        m_slots.assign(kSlots, 0);
    }
    std::size_t slot = std::hash<std::string_view>{}(text) & (kSlots - 1);
    for (; m_slots[slot] != 0; slot = (slot + 1) & (kSlots - 1)) {
        if (keptLine(m_slots[slot] - 1) == text) {
            return;
        }
    }
    m_slots[slot] = keep(text) + 1;
    if (!IsSplineLine(text)) {
        ++m_clean.pointLines;
        m_clean.nodes += common::FieldOf(text, 2) == kNodeWord ? 1 : 0;
    } else if (text != kSplineEnd) {
        ++m_clean.outlines;
    }
}

CleanDisplay DisplayDeduplicator::finish() {
    if (m_count > kMaxDuplicatePassLines) {
        throwTooManyLines(m_count);
    }
    std::size_t size = 0;
    for (const auto& block : m_blocks) {
        size += block.size();
    }
    m_clean.text.reserve(size);
    for (auto& block : m_blocks) {
        m_clean.text += block;
        std::string().swap(block);
    }
    m_blocks.clear();
    std::vector<std::uint32_t>().swap(m_slots);
    return std::move(m_clean);
}

CleanDisplay DisplayCleaner::finish() {
    m_thinner.finish();
    return m_unique.finish();
}

CleanDisplay CleanDisplayLines(const common::Lines& lines) {
    DisplayCleaner cleaner;
    for (const auto& line : lines) {
        cleaner.line(line);
    }
    return cleaner.finish();
}

common::Lines RemoveDuplicateLines(const common::Lines& lines) {
    if (lines.size() > kMaxDuplicatePassLines) {
        throwTooManyLines(lines.size());
    }
    DisplayDeduplicator unique;
    for (const auto& line : lines) {
        unique.line(line);
    }
    return common::SplitLines(unique.finish().text);
}

common::Lines ThinDisplayPoints(const common::Lines& lines) {
    LinesSink kept;
    DisplayThinner thinner(kept);
    for (const auto& line : lines) {
        thinner.line(line);
    }
    thinner.finish();
    return kept.take();
}

common::Lines MirrorDisplayPoints(const common::Lines& lines) {
    common::Lines out;
    out.reserve(lines.size());
    for (const auto& line : lines) {
        if (IsSplineLine(line) || common::Trim(line).empty()) {
            out.push_back(line);
            continue;
        }
        const DisplayPoint p = parsePoint(line);
        out.push_back(DisplayPointLine(p.x, -p.y, p.node, "0.000000"));
    }
    return out;
}

void RewriteDisplayFile(const common::AppDir& dir, const common::Lines& lines) {
    common::RewriteAtomically(dir.file(kDisplayFile), lines, dir.file(kDisplayRewriteFile));
}

void RewriteDisplayText(const common::AppDir& dir, std::string_view text) {
    common::RewriteBytesAtomically(dir.file(kDisplayFile), text, dir.file(kDisplayRewriteFile));
}

void RemoveDuplicateLinesFile(const common::AppDir& dir) {
    RewriteDisplayFile(dir, RemoveDuplicateLines(common::ReadLines(dir.file(kDisplayFile))));
}

void ThinDisplayPointsFile(const common::AppDir& dir) {
    RewriteDisplayFile(dir, ThinDisplayPoints(common::ReadLines(dir.file(kDisplayFile))));
}

void MirrorDisplayPointsFile(const common::AppDir& dir) {
    RewriteDisplayFile(dir, MirrorDisplayPoints(common::ReadLines(dir.file(kDisplayFile))));
}

} // namespace korvel::geometry
