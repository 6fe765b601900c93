#include "geometry/OutlineTracer.h"

#include "common/Basic.h"

#include <cmath>
#include <numbers>

namespace korvel::geometry {

namespace {

constexpr double kIgnoredMove = 0.1;   // mm: smaller moves add nothing
constexpr double kSubdivideStep = 5.0; // mm between points of a long move

// Direction of travel in radians, (-pi, pi]; a segment too short to have
// a direction points straight up, as everywhere in the outline geometry.
double direction(TracePoint from, TracePoint to) {
    return SegmentAngle(from, to) * std::numbers::pi / 180.0;
}

} // namespace

OutlineTracer::OutlineTracer(DrawingBuilder& builder, double slotAngleThreshold,
                             double minNodeSpacing)
    : m_builder(builder), m_threshold(slotAngleThreshold * std::numbers::pi / 180.0),
      m_minNodeSpacing(minNodeSpacing) {}

void OutlineTracer::writePoint(TracePoint p, bool node) {
    m_builder.addPoint(p.x, p.y, node);
    if (node) {
        m_lastNode = p;
    }
}

void OutlineTracer::start(TracePoint p) {
    finish();
    m_builder.beginOutline();
    writePoint(p, true);
    m_previous = p;
    m_firstSegment = true;
    m_active = true;
}

void OutlineTracer::lineTo(TracePoint p) {
    if (!m_active) {
        return;
    }
    const double d = Distance(m_previous, p);
    if (!(d > kIgnoredMove)) {
        return;
    }
    const double angle = direction(m_previous, p);
    if (m_firstSegment) {
        m_firstSegment = false;
    } else if (m_pending) {
        const double turn = std::fabs(angle - m_previousAngle);
        bool node = turn > m_threshold && turn < 2.0 * std::numbers::pi - m_threshold;
        if (node && m_minNodeSpacing >= 0.0) {
            node = Distance(*m_pending, m_lastNode) > m_minNodeSpacing;
        }
        writePoint(*m_pending, node);
        m_pending.reset();
    }
    m_previousAngle = angle;

    // Long moves are broken into points about 5 mm apart.
    const double n = common::Fix((d - kSubdivideStep) / kSubdivideStep);
    if (n >= 1.0) {
        m_builder.reserveCheck(n);
        const int count = static_cast<int>(n);
        for (int j = 1; j <= count; ++j) {
            const double f = static_cast<double>(j) / (count + 1);
            writePoint(
                {m_previous.x + (p.x - m_previous.x) * f, m_previous.y + (p.y - m_previous.y) * f},
                false);
        }
    }
    m_pending = p;
    m_previous = p;
}

void OutlineTracer::finish() {
    if (m_pending) {
        writePoint(*m_pending, false);
        m_pending.reset();
    }
    if (m_active) {
        m_builder.endOutline();
    }
    m_active = false;
}

} // namespace korvel::geometry
