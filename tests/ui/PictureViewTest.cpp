// The outline view driven by the mouse as an operator drives it, on the
// offscreen platform (where it must draw without OpenGL): picking with the
// w/100 tolerance and Shift, the node edit pointers, deleted nodes, an end
// node on another outline, dragging and the wheel steps that keep the point
// under the cursor.

#include "ui/PictureView.h"

#include "ViewEvents.h"
#include "app/ViewFixture.h"
#include "geometry/OutlineFiles.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace korvel::ui {

using geometry::Point2;
using test::Click;
using test::PixelOf;

class PictureViewTest : public QObject {
    Q_OBJECT

    struct Rig : test::ViewFixture {
        Rig() {
            view.resize(400, 300);
            view.show();
            view.redraw();
        }
        QPointF at(Point2 p) const { return PixelOf(session, view, p); }
        void click(Point2 p, Qt::MouseButton button = Qt::LeftButton,
                   Qt::KeyboardModifiers modifiers = {}) {
            Click(view, at(p), button, modifiers);
        }
        PictureView view{session, marked};
    };
    std::unique_ptr<Rig> rig;

private slots:
    void init() { rig = std::make_unique<Rig>(); }
    void cleanup() { rig.reset(); }

    void drawsWithoutOpenGLOffscreen() {
        QCOMPARE(rig->view.objectName(), QString("Picture1"));
        QVERIFY(!rig->view.usesOpenGL());
        const QImage image = rig->view.picture();
        QCOMPARE(image.pixelColor(5, 5), QColor(0, 0, 0));
    }

    void picksWithinOneHundredthOfTheViewWidthAndShiftTurnsTheDirection() {
        QSignalSpy changed(&rig->view, &PictureView::selectionChanged);
        const auto& selection = rig->session.selection();
        // w = 200: 2.5 mm beside the corner (20, 0) picks nothing, 1.5 mm does.
        rig->click({22.5, 0});
        QVERIFY(selection.empty());
        QCOMPARE(changed.count(), 0);
        rig->click({21.5, 0});
        QVERIFY(selection.waitingForEnd());
        QCOMPARE(rig->session.model().node(selection.current().startNode).x, 20.0);
        QCOMPARE(selection.current().mode, std::int16_t{3});
        QCOMPARE(changed.count(), 1);
        QCOMPARE(rig->view.displayList().layer(app::Layer::PendingStart).lines.size(), 4u);

        rig->session.cancelSelection();
        rig->click({20, 1.5}, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(selection.current().mode, std::int16_t{2});
    }

    void endNodeOnAnotherOutlineLeavesTheEntryWaiting() {
        QSignalSpy changed(&rig->view, &PictureView::selectionChanged);
        rig->click({0, 0});
        rig->click({40, 0});
        const auto& selection = rig->session.selection();
        QVERIFY(selection.waitingForEnd());
        QCOMPARE(rig->session.model().node(selection.current().startNode).x, 0.0);
        QCOMPARE(changed.count(), 1);
        QVERIFY(rig->view.displayList().layer(app::Layer::Path).lines.empty());
        rig->click({20, 20});
        QCOMPARE(selection.completedCount(), 1u);
        QCOMPARE(changed.count(), 2);
        QVERIFY(!rig->view.displayList().layer(app::Layer::Path).lines.empty());
        QVERIFY(rig->view.displayList().layer(app::Layer::PendingStart).lines.empty());
    }

    void deletedNodeIsSkippedAndARightClickRestoresIt() {
        test::DisplayFileBuilder b;
        b.outline(test::Polygon({{0, 0}, {1, 0}, {1, 20}, {0, 20}}, 1));
        rig->open(b);
        rig->view.redraw();
        QSignalSpy menu(&rig->view, &PictureView::contextMenuRequested);
        QSignalSpy changed(&rig->view, &PictureView::selectionChanged);

        rig->view.enterDeleteMode();
        QCOMPARE(rig->view.cursor().shape(), Qt::ForbiddenCursor);
        rig->click({0.4, 0});
        QCOMPARE(rig->view.cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(rig->view.displayList().layer(app::Layer::DeletedNodes).lines.size(), 2u);
        // The next node within 2 mm, (1, 0), is picked instead.
        rig->click({0.4, 0});
        const auto& selection = rig->session.selection();
        QCOMPARE(rig->session.model().node(selection.current().startNode).x, 1.0);
        rig->session.cancelSelection();

        // Right click: 1.2 mm away is too far to restore (w/200 = 1 mm).
        rig->click({1.2, 0}, Qt::RightButton);
        QCOMPARE(menu.count(), 1);
        QCOMPARE(menu.at(0).at(0).toPoint(), rig->view.mapToGlobal(rig->at({1.2, 0}).toPoint()));
        rig->click({0.9, 0.5}, Qt::RightButton);
        QCOMPARE(menu.count(), 1);
        QVERIFY(rig->view.displayList().layer(app::Layer::DeletedNodes).lines.empty());
        QCOMPARE(changed.count(), 3);
    }

    void addNodePointerAddsANodeAndEditsAreRefusedWithASelection() {
        QSignalSpy refused(&rig->view, &PictureView::messageRaised);
        const auto nodes = rig->session.model().nodeCount();
        rig->view.enterAddMode();
        QCOMPARE(rig->view.cursor().shape(), Qt::CrossCursor);
        rig->click({10, 0.3});
        QCOMPARE(rig->session.model().nodeCount(), nodes + 1);
        QCOMPARE(rig->view.cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(rig->view.displayList().layer(app::Layer::NodeSquares).lines.size(),
                 4u * static_cast<std::size_t>(nodes + 1));

        rig->click({0, 0});
        rig->view.enterDeleteMode();
        QCOMPARE(refused.count(), 1);
        QCOMPARE(rig->view.cursor().shape(), Qt::ArrowCursor);
    }

    void dragCarriesTheDrawingWithTheMouse() {
        const QPointF from = rig->at({-30, 40});
        const Point2 grabbed = rig->session.view().toDrawing(from.x(), from.y(), 400, 300);
        test::SendMouse(rig->view, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(rig->view.cursor().shape(), Qt::SizeAllCursor);
        const QPointF to = from + QPointF(33, -17);
        test::SendMouse(rig->view, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        const Point2 under = rig->session.view().toDrawing(to.x(), to.y(), 400, 300);
        QVERIFY(std::abs(under.x - grabbed.x) < 1e-9);
        QVERIFY(std::abs(under.y - grabbed.y) < 1e-9);
        test::SendMouse(rig->view, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(rig->view.cursor().shape(), Qt::ArrowCursor);
        rig->view.restoreView();
        QCOMPARE(rig->session.view().rect().cx, rig->session.view().fittedView().cx);
    }

    void wheelStepsKeepThePointUnderTheCursor_data() {
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("angle");
        QTest::addColumn<double>("expected");
        QTest::addColumn<QPointF>("cursor");
        // Either side of each boundary of the step table, towards the
        // corners and the middle of the view.
        QTest::newRow("out below 100") << 99.0 << -120 << 119.0 << QPointF(10, 290);
        QTest::newRow("out at 100") << 100.0 << -120 << 150.0 << QPointF(390, 10);
        QTest::newRow("out at 1000") << 1000.0 << -120 << 1200.0 << QPointF(200, 200);
        QTest::newRow("out at 10000") << 10000.0 << -120 << 11000.0 << QPointF(400, 300);
        QTest::newRow("in above 10000") << 10001.0 << 120 << 9001.0 << QPointF(300, 77);
        QTest::newRow("in at 5000") << 5000.0 << 120 << 4800.0 << QPointF(1, 2);
        QTest::newRow("in at 500") << 500.0 << 120 << 450.0 << QPointF(250, 150);
        QTest::newRow("in at 201") << 201.0 << 120 << 151.0 << QPointF(50, 60);
        QTest::newRow("in stops at 200") << 200.0 << 120 << 200.0 << QPointF(350, 20);
    }

    void wheelStepsKeepThePointUnderTheCursor() {
        QFETCH(double, width);
        QFETCH(int, angle);
        QFETCH(double, expected);
        QFETCH(QPointF, cursor);
        auto& view = rig->session.view();
        view.setView({-35, 12, width});
        const Point2 before = view.toDrawing(cursor.x(), cursor.y(), 400, 300);
        test::Wheel(rig->view, cursor, angle);
        QCOMPARE(view.rect().w, expected);
        const Point2 after = view.toDrawing(cursor.x(), cursor.y(), 400, 300);
        QVERIFY(std::abs(after.x - before.x) < 1e-9 * width);
        QVERIFY(std::abs(after.y - before.y) < 1e-9 * width);
        // The node squares keep their size on the screen.
        const auto& square = rig->view.displayList().layer(app::Layer::NodeSquares).lines[0];
        QCOMPARE(square.b.x - square.a.x, 2 * 0.003 * expected);
    }
};

} // namespace korvel::ui

QTEST_MAIN(korvel::ui::PictureViewTest)
#include "PictureViewTest.moc"
