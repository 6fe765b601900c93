// The outline view driven by the mouse as an operator drives it, on the
// offscreen platform (where it must draw without OpenGL): picking with the
// w/100 tolerance and Shift, the node edit pointers, deleted nodes, an end
// node on another outline, dragging and the wheel steps that keep the point
// under the cursor.

#include "ui/PictureView.h"

#include "ViewEvents.h"
#include "app/ViewFixture.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace korvel::ui {
namespace {

using geometry::Point2;
using test::PixelOf;

// 400 x 300 pixels showing 200 mm round (10, 10).
class PictureViewTest : public ::testing::Test, protected test::ViewFixture {
protected:
    PictureViewTest() {
        view.resize(400, 300);
        view.show();
        view.redraw();
    }
    QPointF at(Point2 p) const { return PixelOf(session, view, p); }
    void click(Point2 p, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = {}) {
        test::Click(view, at(p), button, modifiers);
    }
    std::size_t linesOf(app::Layer layer) const {
        return view.displayList().layer(layer).lines.size();
    }
    double startX() const {
        return session.model().node(session.selection().current().startNode).x;
    }

    PictureView view{session, marked};
};

TEST_F(PictureViewTest, DrawsWithoutOpenGLOffscreen) {
    EXPECT_EQ(view.objectName(), "Picture1");
    EXPECT_FALSE(view.usesOpenGL());
    EXPECT_EQ(view.picture().pixelColor(5, 5), QColor(0, 0, 0));
}

TEST_F(PictureViewTest, PicksWithinOneHundredthOfTheViewWidthAndShiftTurnsTheDirection) {
    QSignalSpy changed(&view, &PictureView::selectionChanged);
    const auto& selection = session.selection();
    // w = 200: 2.5 mm beside the corner (20, 0) picks nothing, 1.5 mm does.
    click({22.5, 0});
    EXPECT_TRUE(selection.empty());
    EXPECT_EQ(changed.count(), 0);
    click({21.5, 0});
    ASSERT_TRUE(selection.waitingForEnd());
    EXPECT_EQ(startX(), 20.0);
    EXPECT_EQ(selection.current().mode, 3);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(linesOf(app::Layer::PendingStart), 4u);

    session.cancelSelection();
    click({20, 1.5}, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(selection.current().mode, 2);
}

TEST_F(PictureViewTest, EndNodeOnAnotherOutlineLeavesTheEntryWaiting) {
    QSignalSpy changed(&view, &PictureView::selectionChanged);
    click({0, 0});
    click({40, 0});
    const auto& selection = session.selection();
    EXPECT_TRUE(selection.waitingForEnd());
    EXPECT_EQ(startX(), 0.0);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(linesOf(app::Layer::Path), 0u);
    click({20, 20});
    EXPECT_EQ(selection.completedCount(), 1u);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_GT(linesOf(app::Layer::Path), 0u);
    EXPECT_EQ(linesOf(app::Layer::PendingStart), 0u);
}

TEST_F(PictureViewTest, DeletedNodeIsSkippedAndARightClickRestoresIt) {
    test::DisplayFileBuilder b;
    b.outline(test::Polygon({{0, 0}, {1, 0}, {1, 20}, {0, 20}}, 1));
    open(b);
    view.redraw();
    QSignalSpy menu(&view, &PictureView::contextMenuRequested);
    QSignalSpy changed(&view, &PictureView::selectionChanged);

    view.enterDeleteMode();
    EXPECT_EQ(view.cursor().shape(), Qt::ForbiddenCursor);
    click({0.4, 0});
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(linesOf(app::Layer::DeletedNodes), 2u);
    // The next node within 2 mm, (1, 0), is picked instead.
    click({0.4, 0});
    EXPECT_EQ(startX(), 1.0);
    session.cancelSelection();

    // Right click: 1.2 mm away is too far to restore (w/200 = 1 mm).
    click({1.2, 0}, Qt::RightButton);
    ASSERT_EQ(menu.count(), 1);
    EXPECT_EQ(menu.at(0).at(0).toPoint(), view.mapToGlobal(at({1.2, 0}).toPoint()));
    click({0.9, 0.5}, Qt::RightButton);
    EXPECT_EQ(menu.count(), 1);
    EXPECT_EQ(linesOf(app::Layer::DeletedNodes), 0u);
    EXPECT_EQ(changed.count(), 3);
}

TEST_F(PictureViewTest, AddNodePointerAddsANodeAndEditsAreRefusedWithASelection) {
    QSignalSpy refused(&view, &PictureView::messageRaised);
    const auto nodes = session.model().nodeCount();
    view.enterAddMode();
    EXPECT_EQ(view.cursor().shape(), Qt::CrossCursor);
    click({10, 0.3});
    EXPECT_EQ(session.model().nodeCount(), nodes + 1);
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(linesOf(app::Layer::NodeSquares), 4u * static_cast<std::size_t>(nodes + 1));

    click({0, 0});
    view.enterDeleteMode();
    EXPECT_EQ(refused.count(), 1);
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(PictureViewTest, DragCarriesTheDrawingWithTheMouse) {
    const QPointF from = at({-30, 40});
    const Point2 grabbed = session.view().toDrawing(from.x(), from.y(), 400, 300);
    test::SendMouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(view.cursor().shape(), Qt::SizeAllCursor);
    const QPointF to = from + QPointF(33, -17);
    test::SendMouse(view, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    const Point2 under = session.view().toDrawing(to.x(), to.y(), 400, 300);
    EXPECT_NEAR(under.x, grabbed.x, 1e-9);
    EXPECT_NEAR(under.y, grabbed.y, 1e-9);
    test::SendMouse(view, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
    view.restoreView();
    EXPECT_EQ(session.view().rect().cx, session.view().fittedView().cx);
}

TEST_F(PictureViewTest, WheelStepsKeepThePointUnderTheCursor) {
    struct Step {
        double width;
        int angle;
        double expected;
        QPointF cursor;
    };
    // Either side of the boundaries of the step table, with the cursor
    // towards the corners and the middle of the view.
    const Step steps[] = {
        {99, -120, 119, {10, 290}},     {100, -120, 150, {390, 10}},
        {1000, -120, 1200, {200, 200}}, {10000, -120, 11000, {400, 300}},
        {10001, 120, 9001, {300, 77}},  {5000, 120, 4800, {1, 2}},
        {500, 120, 450, {250, 150}},    {201, 120, 151, {50, 60}},
        {200, 120, 200, {350, 20}},
    };
    auto& rect = session.view();
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "w " << s.width << " angle " << s.angle);
        rect.setView({-35, 12, s.width});
        view.redraw();
        const Point2 before = rect.toDrawing(s.cursor.x(), s.cursor.y(), 400, 300);
        test::Wheel(view, s.cursor, s.angle);
        EXPECT_EQ(rect.rect().w, s.expected);
        const Point2 after = rect.toDrawing(s.cursor.x(), s.cursor.y(), 400, 300);
        EXPECT_NEAR(after.x, before.x, 1e-9 * s.width);
        EXPECT_NEAR(after.y, before.y, 1e-9 * s.width);
        // The node squares keep their size on the screen.
        const auto& square = view.displayList().layer(app::Layer::NodeSquares).lines[0];
        EXPECT_DOUBLE_EQ(square.b.x - square.a.x, 2 * 0.003 * s.expected);
    }
}

} // namespace
} // namespace korvel::ui
