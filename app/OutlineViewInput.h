#pragma once
// The picture box's mouse, in pixels, turned into what the operator meant:
// picking nodes, node edits, flipping a small-arc marker, dragging the view
// and zooming with the wheel. The window forwards its mouse events here and
// does what the answer says (redraw, show the context menu, show a
// message); the rules live here, where a test reaches them without a
// screen.

#include "app/DisplayList.h"
#include "common/Message.h"
#include "geometry/OutlineSession.h"
#include "program/MarkedPoints.h"

namespace korvel::app {

// What the window does after a mouse event.
struct ViewResponse {
    geometry::ClickOutcome outcome = geometry::ClickOutcome::Ignored;
    bool markerToggled = false;
    bool rebuild = false;          // the scene changed: rebuild the display list
    bool repaint = false;          // the view moved or a marker changed: draw again
    bool selectionChanged = false; // pieces or nodes changed: refresh lengths and lists
    bool contextMenu = false;      // open the picture box's context menu
    common::Message message;       // a refused action, for a message box
};

class OutlineViewInput {
public:
    // The view is 200 scale units wide: a drag moves the drawing with the
    // mouse.
    static constexpr double kScaleUnits = 200.0;
    // One notch of a mouse wheel (Qt's angle delta per step).
    static constexpr int kWheelNotch = 120;

    OutlineViewInput(geometry::OutlineSession& session, program::MarkedPoints& marked,
                     const DisplayList& scene);

    // The picture box's inner size in pixels.
    void resize(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }

    // While a run is requested, left clicks do nothing.
    void setRunRequested(bool requested) { m_runRequested = requested; }
    bool runRequested() const { return m_runRequested; }

    geometry::Point2 toDrawing(double mx, double my) const;

    ViewResponse leftPress(double mx, double my, bool shift);
    ViewResponse rightPress(double mx, double my);
    // True when the view moved (a drag with the move pointer).
    bool move(double mx, double my);
    void release();
    // Wheel turned by `angleDelta` (positive away from the operator);
    // small deltas of fine wheels add up to whole notches. True when the
    // view changed.
    bool wheel(double mx, double my, int angleDelta);

    // Where the mouse was last seen, in drawing coordinates.
    geometry::Point2 mouseInDrawing() const { return toDrawing(m_mouseX, m_mouseY); }

private:
    bool toggleMarkerAt(geometry::Point2 click);

    geometry::OutlineSession& m_session;
    program::MarkedPoints& m_marked;
    const DisplayList& m_scene;
    int m_width = 1;
    int m_height = 1;
    double m_mouseX = 0.0;
    double m_mouseY = 0.0;
    int m_wheelRest = 0;
    bool m_runRequested = false;
};

} // namespace korvel::app
