#include "geometry/DisplayPasses.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "geometry/OutlineFiles.h"

#include <cmath>
#include <string>
#include <unordered_set>

namespace korvel::geometry {

namespace {

constexpr double kSamePoint = 0.0001;  // mm
constexpr double kOnLine = 0.005;      // mm of detour that still counts as straight
constexpr double kMaxThinnedRun = 5.0; // mm between kept points on a straight run
constexpr std::string_view kLineEnd = "\r\n";

using DisplayPoint = DisplayThinner::Point;

DisplayPoint parsePoint(std::string_view line) {
    return {common::Val(common::FieldOf(line, 0)), common::Val(common::FieldOf(line, 1)),
            common::FieldOf(line, 2) == kNodeWord};
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

void throwTooManyLines(std::size_t count) {
    const std::string limit = std::to_string(kMaxDuplicatePassLines);
    const std::string have = std::to_string(count);
    throw common::UserError(common::error(
        "显示点文件有 " + have + " 行，超过 " + limit + " 行，图形过于复杂，无法打开！",
        "The display point file has " + have + " lines, more than " + limit +
            "; the drawing is too complex to open!"));
}

DisplayDeduplicator::DisplayDeduplicator() : m_seen(0, LineHash{this}, LineEqual{this}) {}

std::string_view DisplayDeduplicator::keptLine(std::uint32_t index) const {
    const std::size_t start = m_starts[index];
    const std::size_t end = index + 1 < m_starts.size() ? m_starts[index + 1] : m_text.size();
    return std::string_view(m_text).substr(start, end - start - kLineEnd.size());
}

void DisplayDeduplicator::line(std::string_view text) {
    if (++m_count > kMaxDuplicatePassLines) {
        return; // only counted: finish() refuses the drawing
    }
    if (m_count == 1) {
        m_seen.reserve(kMaxDuplicatePassLines);
    }
    // The line is taken in on trial and given back when an equal one was
    // kept before.
    const std::size_t start = m_text.size();
    m_text += text;
    m_text += kLineEnd;
    m_starts.push_back(static_cast<std::uint32_t>(start));
    if (!m_seen.insert(static_cast<std::uint32_t>(m_starts.size() - 1)).second) {
        m_text.resize(start);
        m_starts.pop_back();
        return;
    }
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
    m_clean.text = std::move(m_text);
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
