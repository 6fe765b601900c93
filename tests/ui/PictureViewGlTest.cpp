// The outline view on a display with OpenGL (Xvfb with Mesa): the canvas
// draws the path red and the machined outline cyan at the pixels where the
// set view projects them, and the QPainter view of the same session shows
// the same colours at the same pixels, before and after a wheel zoom; the
// mouse passes through the canvas to the view.

#include "ViewEvents.h"
#include "app/ViewFixture.h"
#include "ui/PictureView.h"

#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace korvel::ui {
namespace {

using geometry::Point2;

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

void checkProbes(PictureView& view, const geometry::OutlineSession& session) {
    struct Probe {
        Point2 at;
        QColor colour;
        const char* what;
    };
    const Probe probes[] = {
        {{15, 0}, QColor(255, 0, 0), "path"},
        {{50, 0}, QColor(0, 255, 255), "machined outline"},
        {{0, 10}, QColor(190, 190, 190), "outline"},
        {{30, 10}, QColor(0, 0, 0), "background"},
    };
    const QImage image = view.picture();
    for (const auto& probe : probes) {
        const QPointF pixel = test::PixelOf(session, view, probe.at) * image.devicePixelRatio();
        EXPECT_TRUE(colourNear(image, pixel, probe.colour))
            << probe.what << " at pixel " << pixel.x() << ", " << pixel.y() << " is "
            << image.pixelColor(pixel.toPoint()).name().toStdString();
    }
}

TEST(PictureViewGl, PathRedAndMachinedCyanAtTheirPixelsInBothRenderers) {
    test::ViewFixture f;
    f.writePath();
    f.writeMachined();
    PictureView gl(f.session, f.marked);
    ASSERT_TRUE(gl.usesOpenGL()) << "no OpenGL context on this display";
    PictureView painter(f.session, f.marked, nullptr, PictureView::Renderer::Painter);
    ASSERT_FALSE(painter.usesOpenGL());
    for (PictureView* view : {&gl, &painter}) {
        view->resize(400, 300);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
        view->redraw();
    }
    {
        SCOPED_TRACE("OpenGL");
        checkProbes(gl, f.session);
    }
    {
        SCOPED_TRACE("QPainter");
        checkProbes(painter, f.session);
    }
    EXPECT_TRUE(gl.usesOpenGL()); // the canvas set itself up

    // Zoomed in towards the path: both follow the same projection.
    f.session.view().setView({10, 10, 300});
    test::Wheel(gl, test::PixelOf(f.session, gl, {15, 0}), 120);
    EXPECT_EQ(f.session.view().rect().w, 250.0);
    {
        SCOPED_TRACE("OpenGL zoomed");
        checkProbes(gl, f.session);
    }
    {
        SCOPED_TRACE("QPainter zoomed");
        checkProbes(painter, f.session);
    }

    // A click through the window system reaches the view, not the canvas
    // lying over it.
    const QPoint node = test::PixelOf(f.session, gl, {20, 20}).toPoint();
    QTest::mouseClick(gl.windowHandle(), Qt::LeftButton, {}, node);
    EXPECT_TRUE(f.session.selection().waitingForEnd());
}

} // namespace
} // namespace korvel::ui
