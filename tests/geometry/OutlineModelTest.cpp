// The outline model, the view maths and node picking.

#include "geometry/OutlineModel.h"

#include "OutlineShapes.h"
#include "common/Message.h"
#include "geometry/OutlineView.h"
#include "geometry/PlaneGeometry.h"

#include <gtest/gtest.h>

namespace korvel::geometry {
namespace {

using test::DisplayFileBuilder;

TEST(PlaneGeometry, TurnAnglesAreNegativeToTheLeftWrapOnceAndCirclesPassThreePoints) {
    // East then north is a left (counter-clockwise) turn.
    EXPECT_NEAR(TurnAngle({0, 0}, {1, 0}, {1, 1}), -90.0, 1e-12);
    EXPECT_NEAR(TurnAngle({0, 0}, {1, 0}, {1, -1}), 90.0, 1e-12);
    EXPECT_EQ(TurnSign({0, 0}, {1, 0}, {1, 1}), -1);
    EXPECT_EQ(TurnSign({0, 0}, {1, 0}, {2, 0}), 0);
    // Heading west (180) then turning to south-west (-135) wraps to -45.
    EXPECT_NEAR(TurnAngle({1, 0}, {0, 0}, {-1, -1}), -45.0, 1e-9);
    EXPECT_EQ(WrapAngle(180.0), 180.0);
    EXPECT_EQ(WrapAngle(-180.0), -180.0);
    EXPECT_EQ(WrapAngle(190.0), -170.0);
    // A segment of 1e-6 mm or less has no direction (90 degrees).
    EXPECT_EQ(DirectionAngle(UnitDirection({1, 1}, {1, 1})), 90.0);
    EXPECT_EQ(DirectionAngle(UnitDirection({0, 0}, {1e-6, 0})), 90.0);
    EXPECT_EQ(DirectionAngle(UnitDirection({0, 0}, {2e-6, 0})), 0.0);
    EXPECT_EQ(ArcCosine(1.5), 0.0);
    EXPECT_EQ(ArcCosine(-1.0), kPi);
    EXPECT_NEAR(ArcCosine(0.5), kPi / 3.0, 1e-15);
    // The circle through three points; none through three in line.
    const Circle c = CircleThrough({12, 7}, {7, 12}, {2, 7});
    ASSERT_TRUE(c.valid);
    EXPECT_NEAR(c.centre.x, 7.0, 1e-12);
    EXPECT_NEAR(c.centre.y, 7.0, 1e-12);
    EXPECT_NEAR(c.radius, 5.0, 1e-12);
    EXPECT_FALSE(CircleThrough({0, 0}, {1, 1}, {2, 2}).valid);
}

TEST(OutlineModel, TablesFollowTheFileOrder) {
    const common::Lines lines = {"SPLINE 1",     "0.000 0.000 Node",  "5.000 0.000",
                                 "10.000 0.000", "10.000 5.000 Node", "0.000 5.000",
                                 "SPLINE 2",     "20.000 0.000",      "21.000 0.000 Node",
                                 "21.000 1.000", "SPLINE END",        "99.000 99.000 Node"};
    const OutlineModel m = OutlineModel::fromLines(lines, "test");
    ASSERT_EQ(m.points().size(), 8u);
    ASSERT_EQ(m.nodeCount(), 3);
    ASSERT_EQ(m.outlines().size(), 2u);
    EXPECT_EQ(m.point(0).firstFlag, 1);
    EXPECT_EQ(m.point(1).firstFlag, 0);
    EXPECT_EQ(m.point(5).firstFlag, 1);
    // Node ordinals restart per outline; points count from their node.
    EXPECT_EQ(m.node(2).ordinal, 2);
    EXPECT_EQ(m.node(2).point, 3);
    EXPECT_EQ(m.node(3).outline, 2);
    EXPECT_EQ(m.node(3).ordinal, 1);
    EXPECT_EQ(m.point(2).nodeOrdinal, 1);
    EXPECT_EQ(m.point(2).position, 2);
    EXPECT_EQ(m.point(5).nodeOrdinal, 0);
    EXPECT_EQ(m.nodeByOrdinal(0, 2), 2);
    EXPECT_EQ(m.nodeByOrdinal(1, 1), 3);
    EXPECT_EQ(m.nodeByOrdinal(1, 2), 0);
    // Neighbours wrap round each outline.
    EXPECT_EQ(m.previousInOutline(0), 4);
    EXPECT_EQ(m.nextInOutline(4), 0);
    EXPECT_EQ(m.nextInOutline(7), 5);
    // Lines after SPLINE END are not read.
    EXPECT_EQ(m.box().maxX, 21.0);
    EXPECT_EQ(m.box().maxY, 5.0);
}

TEST(OutlineModel, OrientationFollowsIndexOrder) {
    DisplayFileBuilder b;
    b.outline(test::Square20());                                       // counter-clockwise
    b.outline(test::Polygon({{0, 0}, {0, 20}, {20, 20}, {20, 0}}, 1)); // clockwise
    const OutlineModel m = OutlineModel::fromLines(b.lines(), "test");
    EXPECT_EQ(m.outlines()[0].orientation, -1);
    EXPECT_EQ(m.outlines()[1].orientation, 1);
}

TEST(OutlineModel, FittedViewCoversWideAndTallDrawings) {
    DisplayFileBuilder wide;
    wide.outline(test::Polygon({{0, 0}, {100, 0}, {100, 10}, {0, 10}}, 5));
    const ViewRect w = OutlineModel::fromLines(wide.lines(), "t").fittedView();
    EXPECT_NEAR(w.cx, 50.0, 1e-12);
    EXPECT_NEAR(w.cy, 5.0, 1e-12);
    EXPECT_NEAR(w.w, 120.0, 1e-12);
    DisplayFileBuilder tall;
    tall.outline(test::Polygon({{0, 0}, {10, 0}, {10, 70}, {0, 70}}, 5));
    EXPECT_NEAR(OutlineModel::fromLines(tall.lines(), "t").fittedView().w, 120.0, 1e-9);
}

TEST(OutlineModel, TableLimitsGiveAMessageInsteadOfOverflow) {
    common::Lines points = {"SPLINE 1"};
    for (int i = 0; i < 100002; ++i) {
        points.push_back(std::to_string(i % 1000) + ".000 " + std::to_string(i / 1000) + ".000");
    }
    try {
        OutlineModel::fromLines(points, "big.dat");
        FAIL() << "no error for 100,002 points";
    } catch (const common::UserError& e) {
        EXPECT_NE(e.message().en.find("100001"), std::string::npos);
        EXPECT_FALSE(e.message().zh.empty());
    }
    points.resize(100001);
    EXPECT_NO_THROW(OutlineModel::fromLines(points, "ok.dat"));

    common::Lines nodes = {"SPLINE 1"};
    for (int i = 0; i < 10001; ++i) {
        nodes.push_back(std::to_string(i) + ".000 0.000 Node");
    }
    EXPECT_THROW(OutlineModel::fromLines(nodes, "nodes.dat"), common::UserError);
    nodes.pop_back();
    EXPECT_EQ(OutlineModel::fromLines(nodes, "nodes.dat").nodeCount(), 10000);

    // A coordinate no reader lets through is a broken file: it is named
    // with its line, not shown as a point at infinity.
    for (const char* bad : {"1E+308 0 Node", "0 -10000001", "-1e300 5"}) {
        try {
            OutlineModel::fromLines({"SPLINE 1", "0 0 Node", bad}, "far.dat");
            ADD_FAILURE() << bad;
        } catch (const common::UserError& e) {
            EXPECT_NE(e.message().en.find("(line 3: " + std::string(bad)), std::string::npos)
                << e.message().en;
        }
    }
    EXPECT_NO_THROW(OutlineModel::fromLines({"SPLINE 1", "-10000000 10000000 Node"}, "edge.dat"));
}

TEST(OutlineView, WheelStepsGrowWithTheViewWidth) {
    struct Step {
        double w;
        int delta;
        double expected;
    };
    const Step steps[] = {
        {50, -1, 70},     {99.9, 0, 119.9}, {100, -1, 150},   {499, -1, 549},
        {500, -1, 600},   {1000, -1, 1200}, {5000, -1, 5500}, {10000, -1, 11000},
        {10001, 1, 9001}, {10000, 1, 9500}, {5000, 1, 4800},  {1000, 1, 900},
        {500, 1, 450},    {201, 1, 151},    {200, 1, 200},    {150, 3, 150},
    };
    for (const auto& s : steps) {
        EXPECT_DOUBLE_EQ(OutlineView::zoomedWidth(s.w, s.delta), s.expected)
            << "w " << s.w << " delta " << s.delta;
    }
}

TEST(OutlineView, MouseToDrawingCoordinatesStayUnderTheCursorWhileZooming) {
    OutlineView v;
    v.resize(400, 200);
    v.setView({10, 20, 200});
    const Point2 topLeft = v.toDrawing(0, 0, 400, 200);
    EXPECT_DOUBLE_EQ(topLeft.x, -90.0);
    EXPECT_DOUBLE_EQ(topLeft.y, 70.0);
    const Point2 bottomRight = v.toDrawing(400, 200, 400, 200);
    EXPECT_DOUBLE_EQ(bottomRight.x, 110.0);
    EXPECT_DOUBLE_EQ(bottomRight.y, -30.0);
    v.resize(0, 0);
    EXPECT_EQ(v.aspect(), 1.0);

    // Zooming keeps the point under the cursor where it is.
    v.resize(800, 600);
    v.setView({35, -12, 640});
    const Point2 before = v.toDrawing(610, 95, 800, 600);
    v.wheelZoom(610, 95, 800, 600, 120);
    EXPECT_DOUBLE_EQ(v.rect().w, 540.0);
    const Point2 after = v.toDrawing(610, 95, 800, 600);
    EXPECT_NEAR(after.x, before.x, 1e-9);
    EXPECT_NEAR(after.y, before.y, 1e-9);
    v.wheelZoom(610, 95, 800, 600, -120);
    EXPECT_DOUBLE_EQ(v.rect().w, 640.0);
    EXPECT_NEAR(v.toDrawing(610, 95, 800, 600).x, before.x, 1e-9);

    v.fit({1, 2, 300});
    v.pan(20, -10, 2.0); // right and up by (10, 5) scale units of w/200
    EXPECT_DOUBLE_EQ(v.rect().cx, 1 - 10 * 1.5);
    EXPECT_DOUBLE_EQ(v.rect().cy, 2 - 5 * 1.5);
    v.restore();
    EXPECT_DOUBLE_EQ(v.rect().cx, 1.0);
    EXPECT_DOUBLE_EQ(v.rect().w, 300.0);
}

} // namespace
} // namespace korvel::geometry
