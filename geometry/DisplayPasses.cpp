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

struct DisplayPoint {
    double x = 0.0;
    double y = 0.0;
    bool node = false;
};

DisplayPoint parsePoint(std::string_view line) {
    const auto fields = common::SplitFields(line);
    return {common::Val(common::FieldAt(fields, 0)), common::Val(common::FieldAt(fields, 1)),
            common::FieldAt(fields, 2) == kNodeWord};
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

class Thinner {
public:
    void line(const std::string& text) {
        if (IsSplineLine(text)) {
            flushPending();
            m_out.push_back(text);
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
            if (c.node && m_pending != nullptr && !between(m_anchor, m_pendingPoint, c)) {
                flushPending();
            }
            m_pending = nullptr;
            m_out.push_back(text);
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
        m_pending = &text;
        m_pendingPoint = c;
        m_last = c;
    }

    common::Lines take() {
        flushPending();
        return std::move(m_out);
    }

private:
    void flushPending() {
        if (m_pending != nullptr) {
            m_out.push_back(*m_pending);
            m_pending = nullptr;
        }
    }

    common::Lines m_out;
    DisplayPoint m_first, m_last, m_anchor;
    // L counts as set from the first point of an outline on; a separate flag
    // keeps a point lying exactly at the origin from restarting the outline.
    bool m_lastSet = false;
    // The pending line is one of the input lines, which outlive the pass.
    const std::string* m_pending = nullptr;
    DisplayPoint m_pendingPoint;
};

void throwTooManyLines(std::size_t count) {
    const std::string limit = std::to_string(kMaxDuplicatePassLines);
    const std::string have = std::to_string(count);
    throw common::UserError(common::error(
        "显示点文件有 " + have + " 行，超过 " + limit + " 行，图形过于复杂，无法打开！",
        "The display point file has " + have + " lines, more than " + limit +
            "; the drawing is too complex to open!"));
}

} // namespace

common::Lines RemoveDuplicateLines(const common::Lines& lines) {
    if (lines.size() > kMaxDuplicatePassLines) {
        throwTooManyLines(lines.size());
    }
    std::unordered_set<std::string_view> seen;
    seen.reserve(lines.size());
    common::Lines out;
    out.reserve(lines.size());
    for (const auto& line : lines) {
        if (seen.insert(line).second) {
            out.push_back(line);
        }
    }
    return out;
}

common::Lines ThinDisplayPoints(const common::Lines& lines) {
    Thinner thinner;
    for (const auto& line : lines) {
        thinner.line(line);
    }
    return thinner.take();
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
