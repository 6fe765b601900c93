// The bundled letters from drawing to machining path: every outline picked
// whole, the path closes on itself, its corners and arcs are those of the
// drawing and its length is the outline perimeter plus the joins.

#include "ExampleImport.h"
#include "OutlineShapes.h"
#include "common/AppDir.h"
#include "geometry/OutlineFiles.h"
#include "geometry/OutlineSession.h"
#include "geometry/PathFile.h"
#include "geometry/PlaneGeometry.h"
#include "support/TempDir.h"

#include <cmath>
#include <gtest/gtest.h>

namespace korvel::geometry {
namespace {

// Perimeter of an ellipse (Ramanujan), good to 1e-5 relative here.
double ellipsePerimeter(double a, double b) {
    return kPi * (3 * (a + b) - std::sqrt((3 * a + b) * (a + 3 * b)));
}

class ExampleLetters : public ::testing::Test {
protected:
    PathRecords selectWholeLetter(const std::string& example, const PathParameters& path) {
        test::ImportExample(dir, example);
        OutlineSession session(dir, {5.0, 0.2}, path);
        session.openDrawing();
        session.cancelSelection();
        session.selectWholeLetter();
        total = session.lastPreparation().totalLength;
        return ReadPathFile(dir.file(kPathFile));
    }

    test::TempDir tmp;
    common::AppDir dir{tmp.path()};
    double total = 0.0;
};

TEST_F(ExampleLetters, RingOClosesAndMeasuresItsTwoEllipses) {
    const auto b = test::PathBlocks(selectWholeLetter("ringO.dxf", {}));
    ASSERT_EQ(b.size(), 2u);
    for (const auto& block : b) {
        EXPECT_EQ(block.front().x, block.back().x);
        EXPECT_EQ(block.front().y, block.back().y);
        // Ten display points per node interval leave a few degrees of turn
        // at the nodes of the tight ends; above CornerArcAngleThreshold (5)
        // they count as corners, but none is sharp enough for a slot.
        for (const auto& r : block) {
            if (r.type == kCornerPoint) {
                EXPECT_LT(std::fabs(r.b), 15.0) << r.x << " " << r.y;
            }
        }
    }
    EXPECT_GT(test::BlockArea(b[0]), 0.0);
    EXPECT_LT(test::BlockArea(b[1]), 0.0);
    const double expected = ellipsePerimeter(40, 55) + ellipsePerimeter(25, 40) + 10.0;
    EXPECT_NEAR(total, expected, 0.001 * expected);
}

TEST_F(ExampleLetters, LetterDHasTwoSquareCornersAndARoundBowl) {
    const PathRecords path = selectWholeLetter("letterD.dxf", {});
    const auto b = test::PathBlocks(path);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0].front().x, b[0].back().x);
    EXPECT_EQ(b[0].front().y, b[0].back().y);
    // Back 90 mm, top and bottom 30 mm each, a half circle of 45 mm.
    const double expected = 90.0 + 60.0 + kPi * 45.0;
    EXPECT_NEAR(total, expected, 0.001 * expected);
    // The piece starts at one corner of the back (the header carries its
    // turn) and passes the other one as a corner.
    EXPECT_NEAR(path.front().b, -90.0, 0.5);
    int corners = 0;
    int arcs = 0;
    for (const auto& r : b[0]) {
        if (r.type == kCornerPoint) {
            ++corners;
            EXPECT_NEAR(r.b, -90.0, 0.5);
            EXPECT_NEAR(r.x, 0.0, 0.01);
        }
        // Where the bowl meets the straight top and bottom (x = 30) the
        // circle through the neighbours is wider than the bowl.
        if (r.isArcPoint() && r.x > 30.01) {
            ++arcs;
            EXPECT_NEAR(r.a, 45.0, 0.05 * 45.0);
            EXPECT_NEAR(std::hypot(r.x - 30.0, r.y - 45.0), 45.0, 0.05);
        }
    }
    EXPECT_EQ(corners, 1);
    EXPECT_GT(arcs, 20);
}

TEST_F(ExampleLetters, OffsetLetterDGrowsByTheOffsetAllRound) {
    selectWholeLetter("letterD.dxf", {});
    const double plain = total;
    selectWholeLetter("letterD.dxf", {0.0, 1.0, 1.0, 10.0});
    // Straight sides and square corners grow by 2 T each way, the bowl by
    // pi T: 2 (back ends) + 2 x 1 (top, bottom at the back) + pi.
    EXPECT_NEAR(total - plain, 4.0 + kPi, 0.05);
}

} // namespace
} // namespace korvel::geometry
