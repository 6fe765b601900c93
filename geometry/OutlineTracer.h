#pragma once
// Turns the tool or pen path of a G-code or plotter file into display
// points. The machine needs points at most about 10 mm apart (so that arcs
// drawn as long chords still get bend points) and a node at every corner
// sharp enough to be slotted, so that the operator can start and end pieces
// there. Both readers feed their moves through this tracer.
//
// Each point is held back ("pending") until the next segment shows whether
// the path turns there: only then is it known whether it is a node.

#include "geometry/DrawingBuilder.h"
#include "geometry/PlaneGeometry.h"

#include <optional>

namespace korvel::geometry {

using TracePoint = Point2;

class OutlineTracer {
public:
    // `slotAngleThreshold` in degrees: a direction change beyond it makes a
    // node. `minNodeSpacing` (mm): a corner closer than this to the last node
    // written stays an ordinary point (plotter files draw small curves as
    // many short strokes, each of which would otherwise become a node);
    // negative switches the rule off.
    OutlineTracer(DrawingBuilder& builder, double slotAngleThreshold, double minNodeSpacing);

    // Starts a new outline at p, written as a node.
    void start(TracePoint p);
    // Draws a straight segment from the previous point to p. Moves of 0.1 mm
    // or less are ignored.
    void lineTo(TracePoint p);
    // Writes the pending point (without node mark) and ends the outline.
    void finish();
    bool active() const { return m_active; }

private:
    void writePoint(TracePoint p, bool node);

    DrawingBuilder& m_builder;
    double m_threshold; // radians
    double m_minNodeSpacing;
    bool m_active = false;
    bool m_firstSegment = true;
    double m_previousAngle = 0.0;
    TracePoint m_previous;
    TracePoint m_lastNode;
    std::optional<TracePoint> m_pending;
};

} // namespace korvel::geometry
