// Points of B-splines against independent forms of the same curves, and the
// parameters at which the display points are taken.

#include "geometry/BSpline.h"

#include "geometry/DisplayPointWriter.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace korvel::test {
namespace {

using geometry::DxfSpline;
using geometry::EvaluateBSpline;
using geometry::Point2;

// Bernstein form of one Bezier segment of any degree.
Point2 bernstein(const std::vector<Point2>& p, double u) {
    const int n = static_cast<int>(p.size()) - 1;
    Point2 r;
    for (int i = 0; i <= n; ++i) {
        const double b = std::tgamma(n + 1) / (std::tgamma(i + 1) * std::tgamma(n - i + 1)) *
                         std::pow(u, i) * std::pow(1.0 - u, n - i);
        r.x += b * p[static_cast<size_t>(i)].x;
        r.y += b * p[static_cast<size_t>(i)].y;
    }
    return r;
}

const std::vector<Point2> kBezier = {{0.0, 0.0}, {10.0, 40.0}, {70.0, 50.0}, {100.0, 0.0}};
const std::vector<double> kBezierKnots = {0, 0, 0, 0, 1, 1, 1, 1};

TEST(BSpline, DeBoorMatchesBernsteinOnClampedBezierSegmentsOfEveryDegree) {
    struct Case {
        int degree;
        std::vector<Point2> points;
    };
    const std::vector<Case> cases = {
        {3, kBezier},
        {2, {{0.0, 0.0}, {5.0, 9.0}, {12.0, -3.0}}},
        {5, {{0, 0}, {1, 4}, {3, 5}, {6, 2}, {8, -1}, {9, 3}}},
    };
    for (const auto& c : cases) {
        std::vector<double> knots(static_cast<size_t>(c.degree + 1), 0.0);
        knots.resize(2 * knots.size(), 1.0);
        for (int i = 0; i <= 1000; ++i) {
            const double u = i / 1000.0;
            const auto p = EvaluateBSpline(c.points, knots, c.degree, u, 0);
            const Point2 q = bernstein(c.points, u);
            ASSERT_NEAR(p[0], q.x, 1e-12) << "degree " << c.degree << " u = " << u;
            ASSERT_NEAR(p[1], q.y, 1e-12) << "degree " << c.degree << " u = " << u;
            ASSERT_EQ(p[2], 0.0);
            ASSERT_EQ(p[3], 0.0);
        }
    }
}

TEST(BSpline, EndOfTheCurveWithAndWithoutFlag) {
    // With the flag the end is the last control point itself; without it the
    // last span's limit, which for a clamped curve is the same point.
    const auto flagged = EvaluateBSpline(kBezier, kBezierKnots, 3, 1.0, 1);
    EXPECT_EQ(flagged[0], 100.0);
    EXPECT_EQ(flagged[1], 0.0);
    const auto plain = EvaluateBSpline(kBezier, kBezierKnots, 3, 1.0, 0);
    EXPECT_NEAR(plain[0], 100.0, 1e-12);
    EXPECT_NEAR(plain[1], 0.0, 1e-12);
    // Beyond the end the last span goes on (no index runs off the table).
    const auto beyond = EvaluateBSpline(kBezier, kBezierKnots, 3, 1.25, 0);
    EXPECT_TRUE(std::isfinite(beyond[0]) && std::isfinite(beyond[1]));
}

TEST(BSpline, TripleKnotPassesThroughTheSharedControlPoint) {
    // Two Bezier pieces meeting at a corner (40, 40).
    const std::vector<Point2> pts = {{0, 0},   {10, 10}, {30, 30}, {40, 40},
                                     {50, 30}, {70, 10}, {80, 0}};
    const std::vector<double> knots = {0, 0, 0, 0, 0.5, 0.5, 0.5, 1, 1, 1, 1};
    const auto corner = EvaluateBSpline(pts, knots, 3, 0.5, 0);
    EXPECT_NEAR(corner[0], 40.0, 1e-12);
    EXPECT_NEAR(corner[1], 40.0, 1e-12);
    // Each half is the Bezier of its own four points.
    const auto q = EvaluateBSpline(pts, knots, 3, 0.75, 0);
    const Point2 b = bernstein({{40, 40}, {50, 30}, {70, 10}, {80, 0}}, 0.5);
    EXPECT_NEAR(q[0], b.x, 1e-12);
    EXPECT_NEAR(q[1], b.y, 1e-12);
}

TEST(BSpline, UnclampedUniformCurveStartsAtItsFirstFullSpan) {
    // A uniform cubic B-spline (knots 0..7) is defined on [3, 4]; after the
    // mapping to [0, 1] its start is (P0 + 4 P1 + P2) / 6.
    DxfSpline s;
    s.ctrlPts = {{0, 0}, {6, 12}, {18, 6}, {30, 24}};
    s.knots = {0, 1, 2, 3, 4, 5, 6, 7};
    s.knotCount = 8;
    s.pointCount = 4;
    const auto knots = geometry::NormalizedKnots(s);
    EXPECT_EQ(knots[3], 0.0);
    EXPECT_EQ(knots[4], 1.0);
    const auto start = EvaluateBSpline(s.ctrlPts, knots, 3, 0.0, 0);
    EXPECT_NEAR(start[0], (0 + 4 * 6 + 18) / 6.0, 1e-12);
    EXPECT_NEAR(start[1], (0 + 4 * 12 + 6) / 6.0, 1e-12);
    const auto end = EvaluateBSpline(s.ctrlPts, knots, 3, 1.0, 0);
    EXPECT_NEAR(end[0], (6 + 4 * 18 + 30) / 6.0, 1e-12);
    EXPECT_NEAR(end[1], (12 + 4 * 6 + 24) / 6.0, 1e-12);
    const auto unique = geometry::UniqueKnots(knots, 3, 4);
    EXPECT_EQ(unique, (std::vector<double>{0.0, 1.0}));
}

TEST(BSpline, RefinedParametersEndAtOneAndNodesDropPointsThatCoincide) {
    EXPECT_EQ(geometry::RefinedParameters(std::vector<double>{0.0, 0.5, 1.0}),
              (std::vector<double>{0.0, 0.25, 0.5, 0.75, 1.0}));

    // Knots 0.5 and 0.5 + 1e-9 are two unique knots, but their points lie
    // within 0.001 mm, so they make one node.
    DxfSpline s;
    s.ctrlPts = {{0, 0}, {10, 40}, {70, 50}, {100, 0}, {120, 30}};
    s.knots = {0, 0, 0, 0, 0.5, 1, 1, 1, 1};
    s.knotCount = 9;
    s.pointCount = 5;
    const auto plain = geometry::NodeParameters(s, s.knots);
    EXPECT_EQ(plain, (std::vector<double>{0.0, 0.25, 0.5, 0.75, 1.0}));

    s.ctrlPts.push_back({130, 10});
    s.knots = {0, 0, 0, 0, 0.5, 0.5 + 1e-9, 1, 1, 1, 1};
    s.knotCount = 10;
    s.pointCount = 6;
    EXPECT_EQ(geometry::UniqueKnots(s.knots, 3, 6).size(), 4u);
    const auto nodes = geometry::NodeParameters(s, s.knots);
    // Refined: 0, .25, .5, .5+5e-10, .5+1e-9, .75+5e-10, 1 -> the two
    // parameters right after 0.5 fall onto its point.
    ASSERT_EQ(nodes.size(), 5u);
    EXPECT_EQ(nodes[2], 0.5);
    EXPECT_GT(nodes[3], 0.75);
}

} // namespace
} // namespace korvel::test
