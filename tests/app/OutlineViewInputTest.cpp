// The picture box's mouse rules without a window: flipping a small-arc
// marker against picking the node beside it, clicks during a run and fine
// wheels.

#include "app/OutlineViewInput.h"

#include "ViewFixture.h"

#include <gtest/gtest.h>

namespace korvel::app {
namespace {

using geometry::ClickOutcome;
using geometry::Point2;

// 400 x 400 pixels showing 200 mm round (10, 10): 2 pixels per mm.
class ViewInputTest : public ::testing::Test, protected test::ViewFixture {
protected:
    ViewInputTest() {
        input.resize(400, 400);
        writePath();
        scene.rebuild(session, marked, 5.0, 0);
    }
    static double px(double x) { return (x + 90) * 2; }
    static double py(double y) { return (110 - y) * 2; }

    DisplayList scene;
    OutlineViewInput input{session, marked, scene};
};

TEST_F(ViewInputTest, AMarkerClickFlipsItUnlessANodeIsNearer) {
    // (5.5, 0): the 3 mm arc's marker, no node within reach.
    const auto flip = input.leftPress(px(5.5), py(0), false);
    EXPECT_TRUE(flip.markerToggled);
    EXPECT_TRUE(flip.repaint);
    EXPECT_FALSE(flip.selectionChanged);
    EXPECT_TRUE(marked.bendsAt(5, 0));
    EXPECT_TRUE(session.selection().empty());

    // Between the 2 mm arc at (19, 0) and the corner node (20, 0): the
    // nearer one takes the click.
    EXPECT_FALSE(input.leftPress(px(19.7), py(0), false).markerToggled);
    EXPECT_TRUE(session.selection().waitingForEnd());
    EXPECT_FALSE(marked.bendsAt(19, 0));
    session.cancelSelection();
    EXPECT_TRUE(input.leftPress(px(19.2), py(0), false).markerToggled);
    EXPECT_TRUE(marked.bendsAt(19, 0));
    EXPECT_TRUE(session.selection().empty());

    // In delete-node mode the click goes to the node, not the marker.
    ASSERT_TRUE(session.enterDeleteMode().empty());
    const auto deleted = input.leftPress(px(19.2), py(0), false);
    EXPECT_EQ(deleted.outcome, ClickOutcome::NodeDeleted);
    EXPECT_TRUE(deleted.rebuild);
    EXPECT_TRUE(marked.bendsAt(19, 0));
}

TEST_F(ViewInputTest, ARunRequestedIgnoresLeftClicksOnly) {
    input.setRunRequested(true);
    EXPECT_EQ(input.leftPress(px(0), py(0), false).outcome, ClickOutcome::Ignored);
    EXPECT_FALSE(input.leftPress(px(5), py(0), false).markerToggled);
    EXPECT_TRUE(session.selection().empty());
    EXPECT_TRUE(input.rightPress(px(-50), py(0)).contextMenu);
    EXPECT_TRUE(input.wheel(px(0), py(0), -120));
}

TEST_F(ViewInputTest, FineWheelDeltasAddUpToWholeSteps) {
    EXPECT_FALSE(input.wheel(200, 200, -60));
    EXPECT_EQ(session.view().rect().w, 200.0);
    EXPECT_TRUE(input.wheel(200, 200, -60));
    EXPECT_EQ(session.view().rect().w, 250.0);
    EXPECT_TRUE(input.wheel(200, 200, 240)); // two steps in
    EXPECT_EQ(session.view().rect().w, 200.0);
    EXPECT_FALSE(input.wheel(200, 200, 120)); // in no further than 200 mm
}

} // namespace
} // namespace korvel::app
