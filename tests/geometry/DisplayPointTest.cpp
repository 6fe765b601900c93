// The display point file: the points of a clamped Bezier spline worked out
// by hand, the count of points per node interval, the order from the curve's
// end to its start.

#include "DxfTestText.h"
#include "ImportFixture.h"
#include "common/Basic.h"
#include "common/Message.h"
#include "geometry/DxfMessages.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvel::test {
namespace {

// (x, y) of the Bezier (0,0) (10,40) (70,50) (100,0) at u, in Bernstein form.
std::pair<double, double> bezierPoint(double u) {
    const double v = 1.0 - u;
    const double b1 = 3 * u * v * v;
    const double b2 = 3 * u * u * v;
    const double b3 = u * u * u;
    return {10 * b1 + 70 * b2 + 100 * b3, 40 * b1 + 50 * b2};
}

SplineSpec bezierSpline() {
    SplineSpec s;
    s.points = {{0.0, 0.0}, {10.0, 40.0}, {70.0, 50.0}, {100.0, 0.0}};
    s.knots = {0, 0, 0, 0, 1, 1, 1, 1};
    return s;
}

class DisplayPointTest : public ImportFixture {};

TEST_F(DisplayPointTest, ClampedBezierWithTenPointsPerIntervalGivesTheTwentyPoints) {
    const auto summary = importSplines({bezierSpline()});
    // Nodes at 0, 0.5 and 1; points at u = 1, 0.95, ... 0.55 (node at 1) and
    // 0.5, 0.45, ... 0.05 (node at 0.5); u = 0 itself is not written.
    std::vector<std::string> expected = {"SPLINE 1"};
    for (int k = 0; k < 20; ++k) {
        const double u = 1.0 - 0.05 * k;
        const auto [x, y] = bezierPoint(u);
        std::string line =
            common::FormatNumber(x, "0.000") + " " + common::FormatNumber(y, "0.000");
        if (k == 0 || k == 10) {
            line += " Node";
        }
        expected.push_back(line);
    }
    expected.push_back("SPLINE END");
    EXPECT_EQ(displayLines(), expected);
    // Spot values worked out by hand: u = 1 is the end point, u = 0.5 is
    // (1/8)(0 + 3*10 + 3*70 + 100, 3*40 + 3*50) = (42.5, 33.75).
    EXPECT_EQ(expected[1], "100.000 0.000 Node");
    EXPECT_EQ(expected[11], "42.500 33.750 Node");
    EXPECT_EQ(summary.outlines, 1);
    EXPECT_EQ(summary.points, 20);
    EXPECT_EQ(summary.nodes, 2);
}

TEST_F(DisplayPointTest, EveryIntervalGetsExactlyTheDensifyCount) {
    // Knots at thirds and sevenths make steps that do not add up exactly;
    // each interval still gives exactly `densify` points.
    SplineSpec s;
    for (int i = 0; i < 12; ++i) {
        s.points.emplace_back(10.0 * i, (i % 3) * 7.0);
    }
    s.knots = {0,   0,       0,       0,       1.0 / 7, 2.0 / 7, 1.0 / 3, 3.0 / 7,
               0.5, 4.0 / 7, 2.0 / 3, 6.0 / 7, 1,       1,       1,       1};
    const auto drawing = writeDrawing("s.dxf", joinDxf(drawingLines({s}), "\n"));
    for (int densify : {1, 2, 3, 7, 10, 13, 100}) {
        const auto summary = import(drawing, densify);
        // 10 unique knots -> 19 refined parameters -> 18 intervals.
        EXPECT_EQ(summary.nodes, 18) << densify;
        EXPECT_EQ(summary.points, 18 * densify) << densify;
        const auto lines = displayLines();
        EXPECT_EQ(lines.size(), static_cast<size_t>(18 * densify + 2));
    }
}

TEST_F(DisplayPointTest, PointsRunFromTheCurveEndToItsStart) {
    SplineSpec s;
    s.points = {{0.0, 0.0},   {0.0, 30.0},  {0.0, 60.0}, {0.0, 90.0},
                {10.0, 90.0}, {20.0, 90.0}, {30.0, 90.0}};
    s.knots = {0, 0, 0, 0, 0.5, 0.5, 0.5, 1, 1, 1, 1};
    importSplines({s}, 3, "\r\n");
    // Straight pieces with evenly spread control points move evenly in u:
    // from (30, 90) back along the top, the corner (0, 90) as a node, down.
    const std::vector<std::string> expected = {
        "SPLINE 1",           "30.000 90.000 Node", "25.000 90.000",     "20.000 90.000",
        "15.000 90.000 Node", "10.000 90.000",      "5.000 90.000",      "0.000 90.000 Node",
        "0.000 75.000",       "0.000 60.000",       "0.000 45.000 Node", "0.000 30.000",
        "0.000 15.000",       "SPLINE END"};
    EXPECT_EQ(displayLines(), expected);
}

TEST_F(DisplayPointTest, CurveOnOnePointWritesOnlyItsHeader) {
    SplineSpec s;
    s.points.assign(4, {5.0, 5.0});
    s.knots = {0, 0, 0, 0, 1, 1, 1, 1};
    const auto summary = importSplines({s, bezierSpline()});
    const auto lines = displayLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "SPLINE 1");
    EXPECT_EQ(lines[1], "SPLINE 2");
    EXPECT_EQ(summary.outlines, 2);
    EXPECT_EQ(summary.points, 20);
}

TEST_F(DisplayPointTest, KnotsNotEndingAtOneGiveTheSameCurve) {
    // The same two-piece spline with knots 0..1 and 0..10.
    SplineSpec unit;
    unit.points = {{0, 0}, {10, 10}, {30, 30}, {40, 40}, {50, 30}, {70, 10}, {80, 0}};
    unit.knots = {0, 0, 0, 0, 0.5, 0.5, 0.5, 1, 1, 1, 1};
    SplineSpec scaled = unit;
    scaled.knots = {0, 0, 0, 0, 5, 5, 5, 10, 10, 10, 10};
    importSplines({unit});
    const std::string a = displayBytes();
    importSplines({scaled});
    EXPECT_EQ(displayBytes(), a);
}

// A densify count below one, and one that would give 20 splines of 18 node
// intervals 11.8 million points, are refused before any point is computed.
TEST_F(DisplayPointTest, DensifyBelowOneOrAbsurdPointCountIsRefusedAndTheOldFileStays) {
    SplineSpec s;
    for (int i = 0; i < 12; ++i) {
        s.points.emplace_back(10.0 * i, (i % 3) * 7.0);
    }
    s.knots = clampedKnots(12);
    const auto drawing =
        writeDrawing("many.dxf", joinDxf(drawingLines(std::vector<SplineSpec>(20, s)), "\n"));
    import(drawing);
    expectRefusedKeepingDisplay(drawing, 0, geometry::dxfmsg::badDensify(0).en);
    expectRefusedKeepingDisplay(
        drawing, 32767, geometry::dxfmsg::tooManyDisplayPoints(20LL * 18 * 32767, 5000000).en);
}

} // namespace
} // namespace korvel::test
