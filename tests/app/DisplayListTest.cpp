// What the outline view draws, checked on the scene itself: which lines go
// into which layer, in which colour, how big the marks are, and what the
// operator's marks and choices change.

#include "app/DisplayList.h"

#include "ViewFixture.h"
#include "app/SceneShapes.h"
#include "geometry/PathOverlay.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace korvel::app {
namespace {

using geometry::Point2;
using geometry::Segment;

// The smallest box round a layer's lines.
struct Extent {
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
};
Extent extentOf(const std::vector<Segment>& lines) {
    Extent e;
    for (const auto& s : lines) {
        for (const Point2 p : {s.a, s.b}) {
            e.minX = std::min(e.minX, p.x);
            e.minY = std::min(e.minY, p.y);
            e.maxX = std::max(e.maxX, p.x);
            e.maxY = std::max(e.maxY, p.y);
        }
    }
    return e;
}

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
    const std::vector<Segment> first(lines(Layer::NodeSquares).begin(),
                                     lines(Layer::NodeSquares).begin() + 4);
    const Extent e = extentOf(first);
    const double half = 0.003 * 200;
    EXPECT_DOUBLE_EQ(e.minX, model.node(1).x - half);
    EXPECT_DOUBLE_EQ(e.maxX, model.node(1).x + half);
    EXPECT_DOUBLE_EQ(e.minY, model.node(1).y - half);
    EXPECT_DOUBLE_EQ(e.maxY, model.node(1).y + half);
    const Extent mark = extentOf(lines(Layer::NodeMarks));
    EXPECT_LT(mark.maxX - model.box().maxX, half);

    // Nothing chosen yet: no highlight, no deleted node, no pending start.
    EXPECT_TRUE(lines(Layer::Highlight).empty());
    EXPECT_TRUE(lines(Layer::DeletedNodes).empty());
    EXPECT_TRUE(lines(Layer::PendingStart).empty());
}

TEST_F(DisplayListTest, MarksFollowTheViewWidthOnlyWhenItChanges) {
    writePath();
    build();
    const auto outlines = scene.layer(Layer::Outlines).lines.size();
    const auto before = scene.generation();
    scene.fitMarks(200);
    EXPECT_EQ(scene.generation(), before); // same width: nothing rebuilt
    scene.fitMarks(50);
    EXPECT_NE(scene.generation(), before);
    const Extent e =
        extentOf({lines(Layer::NodeSquares).begin(), lines(Layer::NodeSquares).begin() + 4});
    EXPECT_DOUBLE_EQ(e.maxX - e.minX, 2 * 0.003 * 50);
    const Extent marker =
        extentOf({lines(Layer::SlotMarkers).begin(), lines(Layer::SlotMarkers).begin() + 4});
    EXPECT_DOUBLE_EQ(marker.maxX - marker.minX, 2 * kMarkerHalf * 50);
    EXPECT_EQ(lines(Layer::Outlines).size(), outlines);
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

TEST_F(DisplayListTest, DeletedNodesAndAPendingStartAreMarkedApart) {
    ASSERT_TRUE(session.enterDeleteMode().empty());
    session.leftClick({20, 0}, false);
    build();
    const auto nodes = static_cast<std::size_t>(session.model().nodeCount());
    EXPECT_EQ(lines(Layer::NodeSquares).size(), 4 * (nodes - 1));
    ASSERT_EQ(lines(Layer::DeletedNodes).size(), 2u);
    const Extent gone = extentOf(lines(Layer::DeletedNodes));
    EXPECT_DOUBLE_EQ((gone.minX + gone.maxX) / 2, 20.0);

    session.leftClick({40, 20}, false);
    build();
    ASSERT_EQ(lines(Layer::PendingStart).size(), 4u);
    const Extent start = extentOf(lines(Layer::PendingStart));
    EXPECT_DOUBLE_EQ((start.minX + start.maxX) / 2, 40.0);
    EXPECT_DOUBLE_EQ((start.minY + start.maxY) / 2, 20.0);
    session.leftClick({60, 20}, false);
    build();
    EXPECT_TRUE(lines(Layer::PendingStart).empty());
}

TEST_F(DisplayListTest, UnreadablePathIsLeftOutWithAMessageAndTheRestDrawn) {
    std::filesystem::create_directory(dir.file(geometry::kPathFile));
    writeMachined();
    EXPECT_FALSE(build().empty());
    EXPECT_TRUE(lines(Layer::Path).empty());
    EXPECT_FALSE(lines(Layer::Outlines).empty());
    EXPECT_EQ(lines(Layer::Machined).size(), 1u);
}

TEST_F(DisplayListTest, OverlayIsItsOwnLayerInItsOwnColour) {
    build();
    const auto before = scene.generation();
    scene.setOverlay({{{0, 0}, {1, 1}, {2, 0}}, {{5, 5}}}, {10, 20, 30});
    EXPECT_NE(scene.generation(), before);
    EXPECT_EQ(lines(Layer::Overlay).size(), 2u);
    EXPECT_EQ(scene.layer(Layer::Overlay).style.colour, (Rgb{10, 20, 30}));
    scene.setOverlay({}, {10, 20, 30});
    EXPECT_TRUE(lines(Layer::Overlay).empty());
}

} // namespace
} // namespace korvel::app
