// What the outline view draws, checked on the scene itself: which lines go
// into which layer, in which colour, how big the node squares are, the
// small-arc markers, the highlighted piece and a path file that cannot be
// read.

#include "app/DisplayList.h"

#include "ViewFixture.h"

#include <gtest/gtest.h>

namespace korvel::app {
namespace {

using geometry::Point2;
using geometry::Segment;

class DisplayListTest : public ::testing::Test, protected test::ViewFixture {
protected:
    common::Message build(int highlighted = 0) {
        return scene.rebuild(session, marked, 5.0, highlighted);
    }
    const std::vector<Segment>& lines(Layer layer) const { return scene.layer(layer).lines; }

    DisplayList scene;
};

TEST_F(DisplayListTest, EveryLayerHoldsItsLinesInItsColour) {
    writePath();
    writeMachined();
    EXPECT_TRUE(build().empty());

    // Outlines point to point and closed, never from one outline to the
    // next: every line of the two squares is a 1 mm step.
    const auto& model = session.model();
    EXPECT_EQ(lines(Layer::Outlines).size(), model.points().size());
    for (const auto& s : lines(Layer::Outlines)) {
        EXPECT_NEAR(geometry::Distance(s.a, s.b), 1.0, 1e-9);
    }

    // The path in red and the machined pieces in cyan, as their files give
    // them, a block never joined to the next.
    EXPECT_EQ(scene.layer(Layer::Path).style.colour, (Rgb{255, 0, 0}));
    EXPECT_EQ(scene.layer(Layer::Machined).style.colour, (Rgb{0, 255, 255}));
    ASSERT_EQ(lines(Layer::Path).size(), 5u);
    EXPECT_EQ(lines(Layer::Path)[4].a.y, 1.0);
    ASSERT_EQ(lines(Layer::Machined).size(), 1u);
    EXPECT_EQ(lines(Layer::Machined)[0].b.x, 60.0);

    // Every node: a white mark and a yellow square of half-size 0.003 w.
    EXPECT_EQ(scene.layer(Layer::NodeMarks).style.colour, (Rgb{255, 255, 255}));
    EXPECT_EQ(scene.layer(Layer::NodeSquares).style.colour, (Rgb{255, 255, 0}));
    ASSERT_EQ(lines(Layer::NodeSquares).size(), 4u * static_cast<std::size_t>(model.nodeCount()));
    // The first square, round node 1, starts at its lower left corner and
    // ends at its upper left.
    const double half = 0.003 * 200;
    const Point2 n = model.node(1).xy();
    const Segment& low = lines(Layer::NodeSquares)[0];
    const Segment& high = lines(Layer::NodeSquares)[2];
    EXPECT_DOUBLE_EQ(low.a.x, n.x - half);
    EXPECT_DOUBLE_EQ(low.a.y, n.y - half);
    EXPECT_DOUBLE_EQ(high.b.x, n.x - half);
    EXPECT_DOUBLE_EQ(high.a.y, n.y + half);
    EXPECT_DOUBLE_EQ(high.a.x, n.x + half);

    // Nothing chosen yet: no highlight, no deleted node, no pending start.
    EXPECT_TRUE(lines(Layer::Highlight).empty());
    EXPECT_TRUE(lines(Layer::DeletedNodes).empty());
    EXPECT_TRUE(lines(Layer::PendingStart).empty());
}

TEST_F(DisplayListTest, SmallArcPointsGetMarkersThatTheOperatorFlips) {
    writePath();
    build();
    // The 3 mm and 2 mm arcs lie between 0.1 mm and the 5 mm threshold.
    ASSERT_EQ(marked.points().size(), 2u);
    EXPECT_EQ(marked.points()[0].value, 0);
    EXPECT_EQ(scene.layer(Layer::SlotMarkers).style.colour, (Rgb{255, 255, 255}));
    EXPECT_EQ(lines(Layer::SlotMarkers).size(), 8u);
    EXPECT_TRUE(lines(Layer::BendMarkers).empty());

    const double half = kMarkerHalf * 200;
    ASSERT_TRUE(scene.markerAt({5 + 0.9 * half, -0.9 * half}).has_value());
    EXPECT_EQ(scene.markerAt({5 + 0.9 * half, 0})->x, 5.0);
    EXPECT_FALSE(scene.markerAt({5 + 1.1 * half, 0}).has_value());
    EXPECT_FALSE(scene.markerAt({10, 0}).has_value()); // the 8 mm arc is bent anyway

    marked.toggle(5, 0);
    scene.refreshMarkers(marked);
    EXPECT_EQ(lines(Layer::SlotMarkers).size(), 4u);
    EXPECT_EQ(lines(Layer::BendMarkers).size(), 4u);
    EXPECT_NE(scene.layer(Layer::BendMarkers).style.colour,
              scene.layer(Layer::SlotMarkers).style.colour);
    // A new drawing of the same path keeps the operator's choice.
    build();
    EXPECT_EQ(marked.points().size(), 2u);
    EXPECT_TRUE(marked.bendsAt(5, 0));
    EXPECT_EQ(lines(Layer::BendMarkers).size(), 4u);
}

TEST_F(DisplayListTest, HighlightDrawsTheChosenPieceOfTheListOnly) {
    writePath();
    struct Case {
        int piece;
        std::size_t lines;
        double firstY;
    };
    for (const Case c : {Case{1, 4, 0.0}, Case{2, 1, 1.0}, Case{0, 0, 0.0}, Case{3, 0, 0.0}}) {
        build(c.piece);
        EXPECT_EQ(scene.highlighted(), c.piece);
        ASSERT_EQ(lines(Layer::Highlight).size(), c.lines) << "piece " << c.piece;
        if (c.lines > 0) {
            EXPECT_EQ(lines(Layer::Highlight)[0].a.y, c.firstY);
        }
    }
}

TEST_F(DisplayListTest, DamagedPathFilesNeverReachTheScreen) {
    // Numbers no screen can show are left out, the rest of the block stays.
    common::WriteLines(dir.file(geometry::kPathFile),
                       {"SPLINE 0.000000 3.0", "1 0 0 3 0.1 0", "-1e300 0 0 3 0.1 0",
                        "5 1e300 1 0 0 0", "9 0 1 0 0 0", "12 0 1 0 0 0", "SPLINE 0.000000 0.0"});
    EXPECT_TRUE(build(1).empty());
    ASSERT_EQ(lines(Layer::Path).size(), 1u);
    EXPECT_EQ(lines(Layer::Path)[0].a.x, 9.0);
    EXPECT_EQ(lines(Layer::Highlight).size(), 1u);
    EXPECT_EQ(marked.points().size(), 1u);

    // A path file that cannot be read: a message, and the rest is drawn.
    std::filesystem::remove(dir.file(geometry::kPathFile));
    std::filesystem::create_directory(dir.file(geometry::kPathFile));
    writeMachined();
    EXPECT_FALSE(build().empty());
    EXPECT_TRUE(lines(Layer::Path).empty());
    EXPECT_FALSE(lines(Layer::Outlines).empty());
    EXPECT_EQ(lines(Layer::Machined).size(), 1u);
}

} // namespace
} // namespace korvel::app
