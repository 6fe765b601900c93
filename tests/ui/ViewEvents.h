#pragma once
// Mouse and wheel events for the outline view's tests, sent the way the
// window system delivers them (button held during a drag, wheel angle in
// eighths of a degree), and the pixel of a drawing point on the view.

#include "geometry/PlaneGeometry.h"
#include "ui/PictureView.h"
#include "ui/ScenePainter.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

namespace korvel::test {

inline void SendMouse(QWidget& w, QEvent::Type type, QPointF at, Qt::MouseButton button,
                      Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = {}) {
    QMouseEvent event(type, at, w.mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(&w, &event);
}

inline void Click(QWidget& w, QPointF at, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = {}) {
    SendMouse(w, QEvent::MouseButtonPress, at, button, button, modifiers);
    SendMouse(w, QEvent::MouseButtonRelease, at, button, Qt::NoButton, modifiers);
}

inline void Wheel(QWidget& w, QPointF at, int angle) {
    QWheelEvent event(at, w.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &event);
}

// The pixel (from the view's top-left) where a drawing point is shown.
inline QPointF PixelOf(const geometry::OutlineSession& session, const QWidget& view,
                       geometry::Point2 p) {
    return ui::ViewTransform(session.view(), view.size()).map(QPointF(p.x, p.y));
}

} // namespace korvel::test
