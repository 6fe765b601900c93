// The outline view on a display with OpenGL (Xvfb with Mesa): the canvas
// draws the path red and the machined outline cyan at the pixels where the
// set view projects them, and the QPainter view of the same session shows
// the same colours at the same pixels, before and after a wheel zoom.

#include "ViewEvents.h"
#include "app/ViewFixture.h"
#include "ui/PictureView.h"

#include <QTest>
#include <cstdlib>

namespace korvel::ui {

using geometry::Point2;

namespace {

struct Probe {
    Point2 at;
    QColor colour;
    const char* what;
};

bool close(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 8 &&
           std::abs(a.blue() - b.blue()) <= 8;
}

// Lines one or two pixels wide may fall either side of the projected
// point: the colour must appear within a pixel of it.
bool colourNear(const QImage& image, QPointF pixel, QColor colour) {
    const int x0 = static_cast<int>(pixel.x());
    const int y0 = static_cast<int>(pixel.y());
    for (int y = y0 - 1; y <= y0 + 1; ++y) {
        for (int x = x0 - 1; x <= x0 + 1; ++x) {
            if (image.valid(x, y) && close(image.pixelColor(x, y), colour)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class PictureViewGlTest : public QObject {
    Q_OBJECT

    static void checkProbes(PictureView& view, const geometry::OutlineSession& session,
                            const char* renderer) {
        const QImage image = view.picture();
        const qreal ratio = image.devicePixelRatio();
        const Probe probes[] = {
            {{15, 0}, QColor(255, 0, 0), "path"},
            {{50, 0}, QColor(0, 255, 255), "machined outline"},
            {{0, 10}, QColor(190, 190, 190), "outline"},
            {{30, 10}, QColor(0, 0, 0), "background"},
        };
        for (const auto& probe : probes) {
            const QPointF pixel = test::PixelOf(session, view, probe.at) * ratio;
            const QByteArray where = QByteArray(renderer) + ": " + probe.what + " at pixel " +
                                     QByteArray::number(pixel.x()) + ", " +
                                     QByteArray::number(pixel.y()) + " is " +
                                     image.pixelColor(pixel.toPoint()).name().toLatin1();
            QVERIFY2(colourNear(image, pixel, probe.colour), where.constData());
        }
    }

private slots:
    void pathRedAndMachinedCyanAtTheirPixelsInBothRenderers() {
        test::ViewFixture f;
        f.writePath();
        f.writeMachined();
        PictureView gl(f.session, f.marked);
        QVERIFY2(gl.usesOpenGL(), "no OpenGL context on this display");
        PictureView painter(f.session, f.marked, nullptr, PictureView::Renderer::Painter);
        QVERIFY(!painter.usesOpenGL());
        for (PictureView* view : {&gl, &painter}) {
            view->resize(400, 300);
            view->show();
            QVERIFY(QTest::qWaitForWindowExposed(view));
            view->redraw();
        }
        checkProbes(gl, f.session, "OpenGL");
        checkProbes(painter, f.session, "QPainter");
        QVERIFY(gl.usesOpenGL()); // the canvas set itself up

        // Zoomed in towards the path: both follow the same projection.
        f.session.view().setView({10, 10, 300});
        test::Wheel(gl, test::PixelOf(f.session, gl, {15, 0}), 120);
        QCOMPARE(f.session.view().rect().w, 250.0);
        checkProbes(gl, f.session, "OpenGL zoomed");
        checkProbes(painter, f.session, "QPainter zoomed");
    }
};

} // namespace korvel::ui

QTEST_MAIN(korvel::ui::PictureViewGlTest)
#include "PictureViewGlTest.moc"
