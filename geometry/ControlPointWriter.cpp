#include "geometry/ControlPointWriter.h"

#include "common/Basic.h"
#include "common/Message.h"
#include "geometry/OutlineFiles.h"
#include "geometry/PathFile.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace korvel::geometry {

namespace {

constexpr std::string_view kCoordPattern = "0.000000";
constexpr std::string_view kParamPattern = "0.00000000";

bool isAddedNode(Point2 p, const std::vector<Point2>& added) {
    for (const Point2& a : added) {
        if (std::fabs(a.x - p.x) < kCoincidence && std::fabs(a.y - p.y) < kCoincidence) {
            return true;
        }
    }
    return false;
}

constexpr std::string_view kLineEnd = "\r\n";

void appendPointLine(std::string& out, Point2 p, int type, double a, double b, double c) {
    common::AppendNumber(out, p.x, kCoordPattern);
    out += ' ';
    common::AppendNumber(out, p.y, kCoordPattern);
    out += ' ';
    char typeText[12];
    out.append(typeText, std::to_chars(typeText, typeText + sizeof typeText, type).ptr);
    for (double v : {a, b, c}) {
        out += ' ';
        // Most parameters are exactly 0; their text is known.
        if (v == 0.0) {
            out += kParamPattern;
        } else {
            common::AppendNumber(out, v, kParamPattern);
        }
    }
}

void appendBlockLine(std::string& out, double turnAngle, int mark) {
    out += kSplineWord;
    out += ' ';
    common::AppendNumber(out, turnAngle, "0.0000");
    out += common::Str(mark);
}

void writePoint(std::string& out, Point2 p, int type, double a, double b) {
    appendPointLine(out, p, type, a, b, 0.0);
    out += kLineEnd;
}

void writeMarkedPoint(std::string& out, Point2 p, int type, double b) {
    writePoint(out, p, kPlainPoint, 0.0, 0.0);
    writePoint(out, p, type, 0.0, b);
    writePoint(out, p, kPlainPoint, 0.0, 0.0);
}

void writeBlockLine(std::string& out, double turnAngle, int mark) {
    appendBlockLine(out, turnAngle, mark);
    out += kLineEnd;
}

} // namespace

// The walk from start to end only ends when both lie on one outline.
void CheckPiece(const OutlineModel& model, std::int32_t startNode, std::int32_t endNode) {
    const auto valid = [&](std::int32_t n) { return n >= 1 && n <= model.nodeCount(); };
    if (!valid(startNode) || !valid(endNode)) {
        throw common::UserError(common::error("所选节点不存在", "The picked node does not exist"));
    }
    if (model.node(startNode).range != model.node(endNode).range) {
        throw common::UserError(common::error("起始节点和结束节点必须在同一轮廓上",
                                              "Start and end node must lie on the same outline"));
    }
}

std::string ControlPointLine(Point2 p, int type, double a, double b, double c) {
    std::string line;
    appendPointLine(line, p, type, a, b, c);
    return line;
}

std::string ControlBlockLine(double turnAngle, int mark) {
    std::string line;
    appendBlockLine(line, turnAngle, mark);
    return line;
}

double ControlPointWriter::segmentAngle(const OutlineModel& model, std::int32_t from,
                                        std::int32_t to) {
    if (from != m_segment.from || to != m_segment.to) {
        m_segment = {from, to, SegmentAngle(model.point(from).xy(), model.point(to).xy())};
    }
    return m_segment.angle;
}

// The turn at point i in the travel direction (as TurnAngle of the point
// before, the point and the point after).
double ControlPointWriter::travelTurnAngle(const Walk& walk, std::int32_t i) {
    const OutlineModel& m = walk.model;
    const std::int32_t before = walk.increasing ? m.previousInOutline(i) : m.nextInOutline(i);
    const std::int32_t after = walk.increasing ? m.nextInOutline(i) : m.previousInOutline(i);
    const double in = segmentAngle(m, before, i);
    return WrapAngle(in - segmentAngle(m, i, after));
}

void ControlPointWriter::appendPieceText(std::string& out, const OutlineModel& model,
                                         std::int32_t startNode, std::int32_t endNode, int k,
                                         const std::vector<Point2>& addedNodes) {
    CheckPiece(model, startNode, endNode);
    m_segment = {}; // point indices of another model mean other segments
    const Walk walk{model, startNode, k > 0, addedNodes};
    const std::int32_t s = model.node(startNode).point;
    const std::int32_t e = model.node(endNode).point;
    // From S towards E in the travel direction, round the end of the
    // outline when needed; S = E goes once round the whole outline.
    const std::vector<std::int32_t> points = model.pieceWalk(s, e, walk.increasing);
    if (out.empty()) {
        out.reserve(points.size() * 64 + 64);
    }
    writeBlockLine(out, travelTurnAngle(walk, s), std::abs(k));
    for (std::size_t n = 0; n + 1 < points.size(); ++n) {
        classifyPoint(out, walk, points[n]);
    }
    writePoint(out, model.point(e).xy(), kPlainPoint, 0.0, 0.0);
    writeBlockLine(out, travelTurnAngle(walk, e), 0);
}

common::Lines ControlPointWriter::pieceLines(const OutlineModel& model, std::int32_t startNode,
                                             std::int32_t endNode, int k,
                                             const std::vector<Point2>& addedNodes) {
    std::string text;
    appendPieceText(text, model, startNode, endNode, k, addedNodes);
    return common::SplitLines(text);
}

void ControlPointWriter::appendPiece(const common::AppDir& dir, const OutlineModel& model,
                                     std::int32_t startNode, std::int32_t endNode, int k,
                                     const std::vector<Point2>& addedNodes) {
    std::string text;
    appendPieceText(text, model, startNode, endNode, k, addedNodes);
    common::AppendBytesAtomically(dir.file(kControlFile), text);
}

void ControlPointWriter::classifyPoint(std::string& out, const Walk& walk, std::int32_t i) {
    const OutlinePoint& p = walk.model.point(i);
    if (p.node != 0) {
        if (p.node == walk.startNode) {
            writePoint(out, p.xy(), kPlainPoint, 0.0, 0.0);
            return;
        }
        const double t = travelTurnAngle(walk, i);
        if (isAddedNode(p.xy(), walk.addedNodes)) {
            writeMarkedPoint(out, p.xy(), kJointPoint, 0.0);
            return;
        }
        // The very first point of the drawing always counts as a corner.
        if (std::fabs(t) > m_params.CornerArcAngleThreshold || i == 0) {
            writeMarkedPoint(out, p.xy(), kCornerPoint, t);
            return;
        }
    }
    writeContourPoint(out, walk, i);
}

void ControlPointWriter::writeContourPoint(std::string& out, const Walk& walk, std::int32_t i) {
    const OutlineModel& m = walk.model;
    const Point2 p = m.point(i).xy();
    const double t = travelTurnAngle(walk, i);
    // The arc test looks at the neighbours in file order, round the outline.
    const Point2 prev = m.point(m.previousInOutline(i)).xy();
    const Point2 next = m.point(m.nextInOutline(i)).xy();
    const double dPrev = Distance(prev, p);
    const double dNext = Distance(p, next);
    double radius = 0.0;
    double b = t;
    if (std::fabs(t) > m_params.ArcJoinAngleThreshold && dPrev <= kArcNeighbourhood &&
        dNext <= kArcNeighbourhood) {
        const Circle circle = CircleThrough(prev, p, next);
        if (circle.valid && circle.radius > 0.0) {
            radius = circle.radius;
            b = (walk.increasing ? dPrev : dNext) / radius;
        }
    }
    bool isArc = radius > 0.0;
    if (radius > kArcMaxRadius || (radius > kArcStartRadius && !m_lastWasArc)) {
        radius = 0.0;
        b = 0.0;
        isArc = false;
    }
    m_lastWasArc = isArc;
    writePoint(out, p, kContourPoint, radius, b);
}

} // namespace korvel::geometry
