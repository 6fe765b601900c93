#include "geometry/ControlPointWriter.h"

#include "common/Basic.h"
#include "common/Message.h"
#include "geometry/OutlineFiles.h"
#include "geometry/PathFile.h"

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

void writeMarkedPoint(common::Lines& out, Point2 p, int type, double b) {
    out.push_back(ControlPointLine(p, kPlainPoint, 0.0, 0.0, 0.0));
    out.push_back(ControlPointLine(p, type, 0.0, b, 0.0));
    out.push_back(ControlPointLine(p, kPlainPoint, 0.0, 0.0, 0.0));
}

// The walk from start to end only ends when both lie on one outline.
void checkPiece(const OutlineModel& model, std::int32_t startNode, std::int32_t endNode) {
    const auto valid = [&](std::int32_t n) { return n >= 1 && n <= model.nodeCount(); };
    if (!valid(startNode) || !valid(endNode)) {
        throw common::UserError(common::error("所选节点不存在", "The picked node does not exist"));
    }
    if (model.node(startNode).range != model.node(endNode).range) {
        throw common::UserError(common::error("起始节点和结束节点必须在同一轮廓上",
                                              "Start and end node must lie on the same outline"));
    }
}

} // namespace

std::string ControlPointLine(Point2 p, int type, double a, double b, double c) {
    std::string line;
    line.reserve(80);
    line += common::FormatNumber(p.x, kCoordPattern);
    line += ' ';
    line += common::FormatNumber(p.y, kCoordPattern);
    line += ' ';
    line += std::to_string(type);
    for (double v : {a, b, c}) {
        line += ' ';
        // Most parameters are exactly 0; their text is known.
        line += v == 0.0 ? std::string(kParamPattern) : common::FormatNumber(v, kParamPattern);
    }
    return line;
}

std::string ControlBlockLine(double turnAngle, int mark) {
    return std::string(kSplineWord) + ' ' + common::FormatNumber(turnAngle, "0.0000") +
           common::Str(mark);
}

double ControlPointWriter::travelTurnAngle(const Walk& walk, std::int32_t i) const {
    const OutlineModel& m = walk.model;
    const std::int32_t before = walk.increasing ? m.previousInOutline(i) : m.nextInOutline(i);
    const std::int32_t after = walk.increasing ? m.nextInOutline(i) : m.previousInOutline(i);
    return TurnAngle(m.point(before).xy(), m.point(i).xy(), m.point(after).xy());
}

common::Lines ControlPointWriter::pieceLines(const OutlineModel& model, std::int32_t startNode,
                                             std::int32_t endNode, int k,
                                             const std::vector<Point2>& addedNodes) {
    checkPiece(model, startNode, endNode);
    const Walk walk{model, startNode, k > 0, addedNodes};
    const std::int32_t s = model.node(startNode).point;
    const std::int32_t e = model.node(endNode).point;
    common::Lines out;
    out.push_back(ControlBlockLine(travelTurnAngle(walk, s), std::abs(k)));
    // From S towards E in the travel direction, round the end of the
    // outline when needed; S = E goes once round the whole outline.
    const std::vector<std::int32_t> points = model.pieceWalk(s, e, walk.increasing);
    for (std::size_t n = 0; n + 1 < points.size(); ++n) {
        classifyPoint(out, walk, points[n]);
    }
    out.push_back(ControlPointLine(model.point(e).xy(), kPlainPoint, 0.0, 0.0, 0.0));
    out.push_back(ControlBlockLine(travelTurnAngle(walk, e), 0));
    return out;
}

void ControlPointWriter::appendPiece(const common::AppDir& dir, const OutlineModel& model,
                                     std::int32_t startNode, std::int32_t endNode, int k,
                                     const std::vector<Point2>& addedNodes) {
    common::AppendLines(dir.file(kControlFile),
                        pieceLines(model, startNode, endNode, k, addedNodes));
}

void ControlPointWriter::classifyPoint(common::Lines& out, const Walk& walk, std::int32_t i) {
    const OutlinePoint& p = walk.model.point(i);
    if (p.node != 0) {
        if (p.node == walk.startNode) {
            out.push_back(ControlPointLine(p.xy(), kPlainPoint, 0.0, 0.0, 0.0));
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

void ControlPointWriter::writeContourPoint(common::Lines& out, const Walk& walk, std::int32_t i) {
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
    out.push_back(ControlPointLine(p, kContourPoint, radius, b, 0.0));
}

} // namespace korvel::geometry
