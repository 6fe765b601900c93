#pragma once
// What part of the drawing the outline view shows, and how mouse positions
// map to drawing coordinates. The window only draws with these numbers and
// forwards the mouse; zoom, pan and the fitted view are worked out here.

#include "geometry/OutlineModel.h"
#include "geometry/PlaneGeometry.h"

namespace korvel::geometry {

class OutlineView {
public:
    // The visible rectangle: cx +- w/2 horizontally, cy +- aspect*w/2
    // vertically.
    const ViewRect& rect() const { return m_rect; }
    double aspect() const { return m_aspect; }
    double left() const { return m_rect.cx - m_rect.w / 2.0; }
    double right() const { return m_rect.cx + m_rect.w / 2.0; }
    double bottom() const { return m_rect.cy - m_aspect * m_rect.w / 2.0; }
    double top() const { return m_rect.cy + m_aspect * m_rect.w / 2.0; }

    void setView(const ViewRect& rect) { m_rect = rect; }
    // The viewport changed size (pixels); a zero size counts as 1.
    void resize(int width, int height);

    // A newly opened drawing: show all of it and keep that view for
    // "还原视图".
    void fit(const ViewRect& fitted);
    // "还原视图": back to the view saved by fit().
    void restore() { m_rect = m_fitted; }
    const ViewRect& fittedView() const { return m_fitted; }

    // Drawing coordinates of a mouse position (pixels from the top-left of
    // a picture box of pw x ph pixels; screen y grows downwards).
    Point2 toDrawing(double mx, double my, double pw, double ph) const;

    // One step of the mouse wheel: coarser steps the wider the view. A
    // wheel delta of 1 or more (turned away from the operator) zooms in,
    // below 1 zooms out. Zooming in stops at 200 mm.
    static double zoomedWidth(double w, int wheelDelta);
    // Zoom by one wheel step keeping the drawing point under the cursor
    // where it is on the screen.
    void wheelZoom(double mx, double my, double pw, double ph, int wheelDelta);

    // Drag with the move pointer: the drawing follows the mouse. The mouse
    // moved by (dmx, dmy) pixels; `pixelScale` is the picture box's
    // pixels per scale unit (the view moves w/200 per unit).
    void pan(double dmx, double dmy, double pixelScale);

    // Node picking: a click picks a node within w/100 in both coordinates;
    // a deleted node is restored by a right click within w/200.
    double pickTolerance() const { return m_rect.w / 100.0; }
    double restoreTolerance() const { return m_rect.w / 200.0; }

private:
    ViewRect m_rect;
    ViewRect m_fitted;
    double m_aspect = 1.0;
};

} // namespace korvel::geometry
