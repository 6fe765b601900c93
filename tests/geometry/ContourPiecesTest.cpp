#include "geometry/ContourPieces.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "common/Message.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace korvel::geometry {
namespace {

struct Written {
    Point2 p;
    bool node = false;
};

// The points of the first outline of the builder's display lines.
std::vector<Written> outlinePoints(DrawingBuilder& builder) {
    const DisplayDrawing drawing = builder.finish();
    std::vector<Written> points;
    for (const auto& line : drawing.lines) {
        const auto fields = common::SplitFields(line);
        if (common::FieldAt(fields, 0) == "SPLINE") {
            if (!points.empty()) {
                break;
            }
            continue;
        }
        points.push_back(
            {{common::Val(common::FieldAt(fields, 0)), common::Val(common::FieldAt(fields, 1))},
             common::FieldAt(fields, 2) == "Node"});
    }
    return points;
}

std::vector<Written> flatten(const Contour& contour, const ContourTolerances& tol = {}) {
    DrawingBuilder builder("0.000000", "test");
    AddContour(builder, contour, tol);
    return outlinePoints(builder);
}

double area(const std::vector<Written>& points) {
    std::vector<Point2> polygon;
    for (const auto& w : points) {
        polygon.push_back(w.p);
    }
    return std::fabs(SignedArea(polygon.data(), polygon.size()));
}

int nodeCount(const std::vector<Written>& points) {
    int count = 0;
    for (const auto& w : points) {
        count += w.node ? 1 : 0;
    }
    return count;
}

// A circle of radius 50 about (10, 20) drawn as four bulged quarter arcs.
Contour bulgeCircle(double r) {
    const double quarter = std::tan(kPi / 8.0);
    const Point2 c{10.0, 20.0};
    const Point2 e{c.x + r, c.y}, n{c.x, c.y + r}, w{c.x - r, c.y}, s{c.x, c.y - r};
    return {{ContourPiece::bulge(e, n, quarter), ContourPiece::bulge(n, w, quarter),
             ContourPiece::bulge(w, s, quarter), ContourPiece::bulge(s, e, quarter)},
            true};
}

TEST(ContourPieces, CircleStaysOnTheCircleWithinTheTolerances) {
    const double r = 50.0;
    ContourTolerances tol;
    tol.chordErrorTol = 0.02;
    tol.lineStepLength = 3.0;
    const auto points = flatten(bulgeCircle(r), tol);
    ASSERT_GT(points.size(), 8U);
    for (std::size_t i = 0; i < points.size(); ++i) {
        // Six decimals in the file.
        EXPECT_NEAR(Distance(points[i].p, {10.0, 20.0}), r, 2e-6);
        if (i > 0) {
            const double chord = Distance(points[i - 1].p, points[i].p);
            EXPECT_LE(chord, tol.lineStepLength + 1e-6);
            // Sagitta of the chord on this circle.
            EXPECT_LE(r - std::sqrt(r * r - chord * chord / 4.0), tol.chordErrorTol + 1e-6);
        }
    }
    // Smooth all round: only the start is a node, and the outline ends on it.
    EXPECT_EQ(nodeCount(points), 1);
    EXPECT_TRUE(points.front().node);
    EXPECT_NEAR(Distance(points.front().p, points.back().p), 0.0, 1e-9);
    EXPECT_NEAR(area(points), kPi * r * r, kPi * r * r * 0.002);
}

TEST(ContourPieces, CornersSharperThanTheThresholdAreNodes) {
    // A plate with a right angle at b, a 22-degree bend at c, a 58-degree
    // bend at k and a rounded corner whose arc meets its lines tangentially
    // at (0, 30) and almost so (10 degrees) at d.
    const Point2 a{0, 0}, b{40, 0}, c{40, 30}, k{38, 35}, d{10, 40}, f{0, 30};
    const Contour shape{{ContourPiece::line(a, b), ContourPiece::line(b, c),
                         ContourPiece::line(c, k), ContourPiece::line(k, d),
                         ContourPiece::bulge(d, f, std::tan(kPi / 8.0)), ContourPiece::line(f, a)},
                        true};
    ContourTolerances tol;
    tol.slotAngleThreshold = 30.0;
    std::vector<Point2> nodes;
    for (const auto& w : flatten(shape, tol)) {
        if (w.node) {
            nodes.push_back(w.p);
        }
    }
    const std::vector<Point2> expected{a, b, k};
    ASSERT_EQ(nodes.size(), expected.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        EXPECT_NEAR(Distance(nodes[i], expected[i]), 0.0, 1e-6) << i;
    }
    // Below the 22-degree bend, c is a corner too; above every turn only
    // the start is left.
    tol.slotAngleThreshold = 20.0;
    EXPECT_EQ(nodeCount(flatten(shape, tol)), 4);
    tol.slotAngleThreshold = 179.0;
    EXPECT_EQ(nodeCount(flatten(shape, tol)), 1);
}

TEST(ContourPieces, StraightPiecesAreSteppedLikeTheNcReader) {
    // 30 mm: five points in between, 5 mm apart; 9.9 mm: none.
    const auto long_ = flatten({{ContourPiece::line({0, 0}, {30, 0})}, false});
    ASSERT_EQ(long_.size(), 7U);
    EXPECT_NEAR(long_[1].p.x, 5.0, 1e-9);
    EXPECT_EQ(flatten({{ContourPiece::line({0, 0}, {9.9, 0})}, false}).size(), 2U);
}

TEST(ContourPieces, ReversedPiecesRetraceThemselves) {
    const std::vector<ContourPiece> pieces{
        ContourPiece::quadratic({0, 0}, {5, 10}, {10, 0}),
        ContourPiece::cubic({0, 0}, {0, 10}, {10, 10}, {12, -3}),
        ContourPiece::arc({1, 2}, 8.0, 3.0, 0.4, 0.3, -2.5),
        ContourPiece::bulge({0, 0}, {10, 0}, -0.7),
    };
    for (const auto& piece : pieces) {
        const ContourPiece back = piece.reversed();
        for (const double t : {0.0, 0.2, 0.5, 0.9, 1.0}) {
            const Point2 forward = piece.at(t);
            const Point2 backward = back.at(1.0 - t);
            EXPECT_NEAR(forward.x, backward.x, 1e-9);
            EXPECT_NEAR(forward.y, backward.y, 1e-9);
        }
    }
}

TEST(ContourPieces, BulgeArcsBendToTheRightSide) {
    // A positive bulge turns counter-clockwise: from (0,0) to (10,0) the
    // half circle passes below the chord; a negative one above it.
    EXPECT_NEAR(ContourPiece::bulge({0, 0}, {10, 0}, 1.0).at(0.5).y, -5.0, 1e-9);
    EXPECT_NEAR(ContourPiece::bulge({0, 0}, {10, 0}, -1.0).at(0.5).y, 5.0, 1e-9);
}

TEST(ContourPieces, AbsurdTolerancesAreRefusedNotLoopedOver) {
    ContourTolerances tol;
    tol.chordErrorTol = 1e-12;
    EXPECT_THROW(flatten(bulgeCircle(1000.0), tol), common::UserError);
    // Unset process values fall back to workable ones.
    GeometryParameters unset;
    const ContourTolerances fallback = ContourTolerancesFor(unset, std::nan(""));
    EXPECT_GT(fallback.chordErrorTol, 0.0);
    EXPECT_GT(fallback.lineStepLength, 0.0);
    EXPECT_GT(fallback.slotAngleThreshold, 0.0);
}

} // namespace
} // namespace korvel::geometry
