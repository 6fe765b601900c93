#include "geometry/NodeEdits.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/OutlineFiles.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace korvel::geometry {

namespace {

constexpr std::string_view kNodePattern = "0.000000";
// An added node is found again in the file within this distance.
constexpr double kSameLine = 0.001;
// A click this close to an outline point marks the point itself.
constexpr double kOnPoint = 0.1;

[[noreturn]] void throwListFull() {
    const std::string n = std::to_string(NodeEdits::kMaxEdits);
    throw common::UserError(
        common::notice("节点编辑最多 " + n + " 个，请先取消部分编辑",
                       "At most " + n + " node edits are kept; undo some edits first"));
}

bool near(Point2 a, Point2 b, double tolerance) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
}

// Coordinates as the display point file keeps them.
Point2 asWritten(Point2 p) {
    return {common::Val(common::FormatNumber(p.x, kNodePattern)),
            common::Val(common::FormatNumber(p.y, kNodePattern))};
}

struct LineInfo {
    Point2 p;
    bool node = false;
    bool isPoint = false;
};

LineInfo parseLine(const std::string& line) {
    LineInfo info;
    if (line == kSplineEnd || common::Trim(line).empty()) {
        return info;
    }
    const auto fields = common::SplitFields(line);
    if (common::FieldAt(fields, 0) == kSplineWord) {
        return info;
    }
    info.isPoint = true;
    info.p = {common::Val(common::FieldAt(fields, 0)), common::Val(common::FieldAt(fields, 1))};
    info.node = common::FieldAt(fields, 2) == kNodeWord;
    return info;
}

std::string withoutNodeMark(const std::string& line) {
    const std::string suffix = std::string(" ") + std::string(kNodeWord);
    if (line.size() >= suffix.size() &&
        line.compare(line.size() - suffix.size(), suffix.size(), suffix) == 0) {
        return line.substr(0, line.size() - suffix.size());
    }
    return line;
}

// The point of the model nearest to the click within the tolerance box.
std::optional<std::int32_t> nearestPoint(const OutlineModel& model, Point2 click,
                                         double tolerance) {
    std::optional<std::int32_t> best;
    double bestDistance = std::numeric_limits<double>::max();
    const auto& points = model.points();
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!near(points[i].xy(), click, tolerance)) {
            continue;
        }
        const double d = Distance(points[i].xy(), click);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<std::int32_t>(i);
        }
    }
    return best;
}

struct SegmentHit {
    std::int32_t from = 0; // the new node goes after this point's line
    Point2 foot;
};

// The nearest segment (round each outline) whose perpendicular foot lies on
// it within the tolerance of the click.
std::optional<SegmentHit> nearestSegment(const OutlineModel& model, Point2 click,
                                         double tolerance) {
    std::optional<SegmentHit> best;
    double bestDistance = std::numeric_limits<double>::max();
    for (const auto& range : model.outlines()) {
        if (range.pointCount() < 2) {
            continue;
        }
        for (std::int32_t i = range.firstPoint; i <= range.lastPoint; ++i) {
            const Point2 a = model.point(i).xy();
            const Point2 b = model.point(model.nextInOutline(i)).xy();
            const double dx = b.x - a.x;
            const double dy = b.y - a.y;
            const double len2 = dx * dx + dy * dy;
            if (len2 <= kZeroLength * kZeroLength) {
                continue;
            }
            const double u = ((click.x - a.x) * dx + (click.y - a.y) * dy) / len2;
            if (u <= 0.0 || u >= 1.0) {
                continue;
            }
            const Point2 foot{a.x + u * dx, a.y + u * dy};
            const double d = Distance(foot, click);
            if (near(foot, click, tolerance) && d < bestDistance) {
                bestDistance = d;
                best = SegmentHit{i, foot};
            }
        }
    }
    return best;
}

void rewriteDisplayFile(const common::AppDir& dir, const common::Lines& before,
                        const common::Lines& after) {
    // The unchanged copy in Temp.dat lets the operator recover by hand if
    // the machine loses power during the rewrite.
    common::WriteLines(dir.file(kTempFile), before);
    common::RewriteAtomically(dir.file(kDisplayFile), after, dir.file(kDisplayRewriteFile));
}

} // namespace

std::vector<Point2> NodeEdits::addedPoints() const {
    std::vector<Point2> points;
    points.reserve(m_added.size());
    for (const auto& a : m_added) {
        points.push_back(a.p);
    }
    return points;
}

bool NodeEdits::isDeleted(const OutlineNode& node) const {
    for (const auto& d : m_deleted) {
        if (near(d.xy(), node.xy(), kSameNode)) {
            return true;
        }
    }
    return false;
}

void NodeEdits::deleteNode(const OutlineNode& node) {
    if (m_deleted.size() >= kMaxEdits) {
        throwListFull();
    }
    m_deleted.push_back(node);
}

bool NodeEdits::restoreNear(Point2 click, double tolerance) {
    for (auto it = m_deleted.begin(); it != m_deleted.end(); ++it) {
        if (near(it->xy(), click, tolerance)) {
            m_deleted.erase(it);
            return true;
        }
    }
    return false;
}

void NodeEdits::undoLastDelete() {
    if (!m_deleted.empty()) {
        m_deleted.pop_back();
    }
}

bool NodeEdits::addNode(const common::AppDir& dir, const OutlineModel& model, Point2 click,
                        double tolerance) {
    if (m_added.size() >= kMaxEdits) {
        throwListFull();
    }
    const common::Lines before = common::ReadLines(dir.file(kDisplayFile));
    common::Lines after = before;
    AddedNode added;
    const auto markPoint = [&](std::int32_t index) {
        const OutlinePoint& p = model.point(index);
        added.p = p.xy();
        added.wasNode = p.node != 0;
        auto& line = after.at(static_cast<std::size_t>(p.line));
        if (!added.wasNode) {
            line += ' ';
            line += kNodeWord;
        }
    };
    // A click right on an outline point marks that point; anywhere else
    // along the outline the joint goes exactly where the operator clicked,
    // on the edge under the click.
    const auto hit = nearestPoint(model, click, tolerance);
    if (hit &&
        Distance(model.point(*hit).xy(), click) <= kOnPoint) { // NOLINT(bugprone-branch-clone)
        markPoint(*hit);
    } else if (const auto seg = nearestSegment(model, click, tolerance)) {
        added.p = asWritten(seg->foot);
        added.inserted = true;
        const auto at = static_cast<std::size_t>(model.point(seg->from).line) + 1;
        after.insert(after.begin() + static_cast<long>(at),
                     DisplayPointLine(added.p.x, added.p.y, true, kNodePattern));
    } else if (hit) {
        // Beside a corner, outside the reach of both its edges: the corner
        // point itself is the nearest place on the outline.
        markPoint(*hit);
    } else {
        return false;
    }
    if (!added.wasNode) {
        rewriteDisplayFile(dir, before, after);
    }
    m_added.push_back(added);
    return true;
}

bool NodeEdits::undoLastAdd(const common::AppDir& dir) {
    if (m_added.empty()) {
        return false;
    }
    const AddedNode last = m_added.back();
    m_added.pop_back();
    if (last.wasNode) {
        return true;
    }
    const common::Lines before = common::ReadLines(dir.file(kDisplayFile));
    common::Lines after = before;
    for (std::size_t i = 0; i < after.size(); ++i) {
        const LineInfo info = parseLine(after[i]);
        if (!info.isPoint || !info.node || !near(info.p, last.p, kSameLine)) {
            continue;
        }
        if (last.inserted) {
            after.erase(after.begin() + static_cast<long>(i));
        } else {
            after[i] = withoutNodeMark(after[i]);
        }
        rewriteDisplayFile(dir, before, after);
        break;
    }
    return true;
}

void NodeEdits::undoAllAdds(const common::AppDir& dir) {
    while (undoLastAdd(dir)) {
    }
}

void NodeEdits::clear() {
    m_deleted.clear();
    m_added.clear();
}

} // namespace korvel::geometry
