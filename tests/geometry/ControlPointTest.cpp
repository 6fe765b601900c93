// Classification of picked pieces into control point blocks.

#include "OutlineShapes.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "geometry/ControlPointWriter.h"
#include "geometry/OutlineModel.h"
#include "geometry/PathFile.h"
#include "geometry/PlaneGeometry.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace korvel::geometry {
namespace {

OutlineModel modelOf(std::initializer_list<test::Shape> shapes) {
    test::DisplayFileBuilder b;
    for (const auto& s : shapes) {
        b.outline(s);
    }
    return OutlineModel::fromLines(b.lines(), "test");
}

PathRecords ofType(const common::Lines& lines, std::int16_t type) {
    PathRecords picked;
    for (const auto& r : ParsePathLines(lines, "test")) {
        if (r.type == type) {
            picked.push_back(r);
        }
    }
    return picked;
}

const ControlPointParameters kWriter{30.0, 0.2};

TEST(ControlPoints, SquarePiecesBothWaysAndTheirLimits) {
    const OutlineModel m = modelOf({test::Square20(), test::Circle(50, 50, 10, 36, {0})});
    ControlPointWriter w(kWriter);
    // Counter-clockwise in index order (orientation -1): no Shift gives
    // sign 1, mode 3, so k = 3 travels towards increasing indices.
    const common::Lines lines = w.pieceLines(m, 1, 1, 3, {});
    ASSERT_EQ(lines.size(), 89u);
    EXPECT_EQ(lines.front(), "SPLINE -90.0000 3");
    EXPECT_EQ(lines[1], "0.000000 0.000000 1 0.00000000 0.00000000 0.00000000");
    EXPECT_EQ(lines[2], "1.000000 0.000000 0 0.00000000 0.00000000 0.00000000");
    EXPECT_EQ(lines[21], "20.000000 0.000000 1 0.00000000 0.00000000 0.00000000");
    EXPECT_EQ(lines[22], "20.000000 0.000000 2 0.00000000 -90.00000000 0.00000000");
    EXPECT_EQ(lines[23], "20.000000 0.000000 1 0.00000000 0.00000000 0.00000000");
    EXPECT_EQ(lines[87], "0.000000 0.000000 1 0.00000000 0.00000000 0.00000000");
    EXPECT_EQ(lines.back(), "SPLINE -90.0000 0");
    EXPECT_EQ(ofType(lines, kCornerPoint).size(), 3u);
    EXPECT_EQ(ofType(lines, kContourPoint).size(), 76u);

    // Shift on a counter-clockwise outline: sign -1, mode 2. From the node
    // at (20,0) back to the one at (0,0): 20 points, no corner between.
    const PathRecords r = ParsePathLines(w.pieceLines(m, 2, 1, -2, {}), "test");
    ASSERT_EQ(r.size(), 23u);
    EXPECT_TRUE(r.front().isHeader());
    EXPECT_EQ(r.front().a, 2.0);
    EXPECT_DOUBLE_EQ(r.front().b, 90.0); // right turn at (20,0) going back west
    EXPECT_EQ(r[1].x, 20.0);
    EXPECT_EQ(r[1].type, kPlainPoint);
    EXPECT_EQ(r[20].x, 1.0);
    EXPECT_EQ(r[21].x, 0.0);
    EXPECT_EQ(r[21].type, kPlainPoint);
    EXPECT_TRUE(r.back().isTrailer());

    // A piece must stay on one outline.
    EXPECT_THROW(w.pieceLines(m, 1, 5, 3, {}), common::UserError);
    EXPECT_THROW(w.pieceLines(m, 0, 1, 3, {}), common::UserError);
    EXPECT_THROW(w.pieceLines(m, 1, 6, 3, {}), common::UserError);
    EXPECT_EQ(w.pieceLines(m, 5, 5, 3, {}).size(), 39u); // 36 points, the end again, 2 block lines

    // A corner exactly at the threshold is no corner.
    ControlPointWriter atThreshold({90.0, 0.2});
    EXPECT_EQ(ofType(atThreshold.pieceLines(m, 1, 1, 3, {}), kCornerPoint).size(), 0u);
    ControlPointWriter below({89.999, 0.2});
    EXPECT_EQ(ofType(below.pieceLines(m, 1, 1, 3, {}), kCornerPoint).size(), 3u);
}

TEST(ControlPoints, CirclePointsCarryTheRadiusAndBendAngle) {
    const OutlineModel m = modelOf({test::Circle(0, 0, 50, 360, {0, 90, 180, 270}, true)});
    ControlPointWriter w(kWriter);
    ASSERT_EQ(m.outlines()[0].orientation, 1);
    const PathRecords arcs = ofType(w.pieceLines(m, 1, 1, -3, {}), kContourPoint);
    // Chord between neighbours of a 360-gon of radius 50, over the radius.
    const double theta = 2.0 * std::sin(kPi / 360.0);
    double bend = 0.0;
    for (const auto& p : arcs) {
        EXPECT_NEAR(p.a, 50.0, 0.01);
        EXPECT_NEAR(p.b, theta, 1e-5);
        EXPECT_NEAR(std::hypot(p.x, p.y), 50.0, 1e-5);
        bend += p.b;
    }
    EXPECT_EQ(arcs.size(), 359u);
    EXPECT_NEAR(bend, 2.0 * kPi * 359.0 / 360.0, 1e-3);
    EXPECT_TRUE(w.arcMemory());
}

// The first point of the drawing is a corner wherever a piece passes it,
// however small its turn; a node elsewhere with the same turn is contour.
TEST(ControlPoints, FirstPointOfTheDrawingIsAlwaysACorner) {
    const OutlineModel m = modelOf({test::Circle(0, 0, 50, 360, {0, 90, 180}, true),
                                    test::Circle(200, 0, 50, 360, {0, 90}, true)});
    ControlPointWriter w(kWriter);
    // Round the first circle from its node at point 90: point 0 is passed.
    const common::Lines first = w.pieceLines(m, 2, 2, -3, {});
    const PathRecords corners = ofType(first, kCornerPoint);
    ASSERT_EQ(corners.size(), 1u);
    EXPECT_NEAR(corners[0].x, 50.0, 1e-6);
    EXPECT_NEAR(corners[0].y, 0.0, 1e-6);
    EXPECT_NEAR(std::fabs(corners[0].b), 1.0, 1e-3) << "the turn angle is kept";
    // The second circle's first point is not the drawing's first point.
    const std::int32_t second = m.outlines()[1].firstNode;
    EXPECT_TRUE(ofType(w.pieceLines(m, second + 1, second + 1, -3, {}), kCornerPoint).empty());
}

// A contour point is an arc point only with both neighbours (in file order)
// within 20 mm; the bend angle is the arriving segment over the radius.
TEST(ControlPoints, ArcPointNeedsBothNeighboursWithinTwentyMillimetres) {
    struct Case {
        const char* name;
        Point2 before; // the point's neighbour before it, the point at (0, 0)
        Point2 after;
        bool arc;
    };
    // (12, 16) is exactly 20 mm from (0, 0).
    const Case cases[] = {
        {"both at 20 mm", {-20, 0}, {12, 16}, true},
        {"before at 10 mm", {-10, 0}, {12, 16}, true},
        {"before beyond 20 mm", {-20.001, 0}, {12, 16}, false},
        {"after beyond 20 mm", {-20, 0}, {12.0006, 16.0008}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const OutlineModel m = modelOf({{{-40, 0, true},
                                         {c.before.x, c.before.y, false},
                                         {0, 0, false},
                                         {c.after.x, c.after.y, false},
                                         {12, 60, true}}});
        for (const int k : {1, -1}) {
            ControlPointWriter w(kWriter);
            const common::Lines lines =
                k > 0 ? w.pieceLines(m, 1, 2, k, {}) : w.pieceLines(m, 2, 1, k, {});
            const PathRecords points = ParsePathLines(lines, "test");
            const auto at = std::find_if(points.begin(), points.end(), [](const PathRecord& r) {
                return !r.isHeader() && !r.isTrailer() && r.x == 0.0 && r.y == 0.0;
            });
            ASSERT_NE(at, points.end());
            EXPECT_EQ(at->type, kContourPoint);
            if (!c.arc) {
                EXPECT_EQ(at->a, 0.0);
                continue;
            }
            const Circle circle = CircleThrough(c.before, {0, 0}, c.after);
            EXPECT_NEAR(at->a, circle.radius, 1e-5);
            const double arriving = k > 0 ? Distance(c.before, {0, 0}) : 20.0;
            EXPECT_NEAR(at->b, arriving / circle.radius, 1e-7);
        }
    }
}

TEST(ControlPoints, TinyTurnBelowTheArcJoinAngleStaysStraight) {
    // Segments of 10 mm with a turn of 0.15 degrees at (10, 0).
    const double a = -0.15 * kPi / 180.0;
    const OutlineModel m = modelOf({{{0, 0, true},
                                     {10, 0, false},
                                     {10 + 10 * std::cos(a), 10 * std::sin(a), true},
                                     {10, -30, false}}});
    const common::Lines lines = ControlPointWriter(kWriter).pieceLines(m, 1, 2, 1, {});
    ASSERT_EQ(lines.size(), 5u);
    const auto f = common::SplitFields(lines[2]);
    ASSERT_EQ(f.size(), 6u);
    EXPECT_EQ(f[0], "10.000000");
    EXPECT_EQ(f[2], "0");
    EXPECT_EQ(f[3], "0.00000000");
    EXPECT_NEAR(common::Val(f[4]), 0.15, 1e-5);
    EXPECT_EQ(f[5], "0.00000000");
}

// A circle of radius 700 with a point every 10 mm: every point is an arc
// candidate, but an arc of that radius may only continue, never start; above
// one metre a radius is never an arc, even right after one.
TEST(ControlPoints, LargeRadiusContinuesAnArcButDoesNotStartOne) {
    const OutlineModel m =
        modelOf({test::Circle(0, 0, 50, 360, {0}, true), test::Circle(0, 0, 700, 440, {0}, true),
                 test::Circle(0, 0, 1200, 760, {0}, true)});
    const std::int32_t bigNode = m.outlines()[1].firstNode;
    const std::int32_t hugeNode = m.outlines()[2].firstNode;
    ControlPointWriter fresh(kWriter);
    for (const auto& p : ofType(fresh.pieceLines(m, bigNode, bigNode, -3, {}), kContourPoint)) {
        EXPECT_EQ(p.a, 0.0);
        EXPECT_EQ(p.b, 0.0);
    }
    EXPECT_FALSE(fresh.arcMemory());
    // The same piece after a piece that ended on an arc: the memory
    // carries over from block to block.
    ControlPointWriter afterArc(kWriter);
    afterArc.pieceLines(m, 1, 1, -3, {});
    const PathRecords arcs =
        ofType(afterArc.pieceLines(m, bigNode, bigNode, -3, {}), kContourPoint);
    for (const auto& p : arcs) {
        EXPECT_NEAR(p.a, 700.0, 0.1);
    }
    EXPECT_EQ(arcs.size(), 439u);
    ControlPointWriter w(kWriter);
    w.setArcMemory(true);
    for (const auto& p : ofType(w.pieceLines(m, hugeNode, hugeNode, -3, {}), kContourPoint)) {
        ASSERT_EQ(p.a, 0.0);
    }
}

TEST(ControlPoints, HandAddedNodeGivesAJointBetweenPlainPoints) {
    test::Shape s = test::Square20();
    s[10].node = true; // (10, 0), inside the first straight run
    const OutlineModel m = modelOf({s});
    ControlPointWriter w(kWriter);
    const common::Lines lines = w.pieceLines(m, 1, 1, 3, {{10.0, 0.0004}});
    EXPECT_EQ(lines[11], "10.000000 0.000000 1 0.00000000 0.00000000 0.00000000");
    EXPECT_EQ(lines[12], "10.000000 0.000000 5 0.00000000 0.00000000 0.00000000");
    EXPECT_EQ(lines[13], "10.000000 0.000000 1 0.00000000 0.00000000 0.00000000");
    // Without the added-node entry the straight node is a contour point.
    const common::Lines plain = w.pieceLines(m, 1, 1, 3, {{10.0, 0.002}});
    EXPECT_EQ(plain[11], "10.000000 0.000000 0 0.00000000 0.00000000 0.00000000");
}

} // namespace
} // namespace korvel::geometry
