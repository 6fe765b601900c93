#include "app/OutlineViewInput.h"

#include <cstdlib>

namespace korvel::app {

using geometry::ClickOutcome;
using geometry::Point2;

OutlineViewInput::OutlineViewInput(geometry::OutlineSession& session, program::MarkedPoints& marked,
                                   const DisplayList& scene)
    : m_session(session), m_marked(marked), m_scene(scene) {}

void OutlineViewInput::resize(int width, int height) {
    m_width = width > 0 ? width : 1;
    m_height = height > 0 ? height : 1;
    m_session.view().resize(width, height);
}

Point2 OutlineViewInput::toDrawing(double mx, double my) const {
    return m_session.view().toDrawing(mx, my, m_width, m_height);
}

bool OutlineViewInput::toggleMarkerAt(Point2 click) {
    const auto marker = m_scene.markerAt(click);
    if (!marker) {
        return false;
    }
    // A node nearer to the click than the marker keeps the click: the
    // operator aimed at the node.
    const std::int32_t node = m_session.pickNode(click);
    if (node != 0 && geometry::Distance(m_session.model().node(node).xy(), click) <
                         geometry::Distance(*marker, click)) {
        return false;
    }
    m_marked.toggle(marker->x, marker->y);
    return true;
}

ViewResponse OutlineViewInput::leftPress(double mx, double my, bool shift) {
    ViewResponse response;
    m_mouseX = mx;
    m_mouseY = my;
    if (m_runRequested) {
        return response;
    }
    const Point2 click = toDrawing(mx, my);
    if (m_session.pointer() == geometry::Pointer::Normal && toggleMarkerAt(click)) {
        response.markerToggled = true;
        response.repaint = true;
        return response;
    }
    try {
        response.outcome = m_session.leftClick(click, shift);
    } catch (const common::UserError& e) {
        response.message = e.message();
        return response;
    }
    switch (response.outcome) {
    case ClickOutcome::NodeDeleted:
    case ClickOutcome::NodeAdded:
    case ClickOutcome::StartPicked:
    case ClickOutcome::PieceAppended:
        response.rebuild = true;
        response.selectionChanged = true;
        break;
    default:
        break;
    }
    return response;
}

ViewResponse OutlineViewInput::rightPress(double mx, double my) {
    ViewResponse response;
    m_mouseX = mx;
    m_mouseY = my;
    response.outcome = m_session.rightClick(toDrawing(mx, my));
    if (response.outcome == ClickOutcome::NodeRestored) {
        response.rebuild = true;
        response.selectionChanged = true;
    } else {
        response.contextMenu = true;
    }
    return response;
}

bool OutlineViewInput::move(double mx, double my) {
    const double dx = mx - m_mouseX;
    const double dy = my - m_mouseY;
    m_mouseX = mx;
    m_mouseY = my;
    if (m_session.pointer() != geometry::Pointer::Move || (dx == 0.0 && dy == 0.0)) {
        return false;
    }
    m_session.mouseMove(dx, dy, m_width / kScaleUnits);
    return true;
}

void OutlineViewInput::release() {
    m_session.mouseUp();
}

bool OutlineViewInput::wheel(double mx, double my, int angleDelta) {
    m_mouseX = mx;
    m_mouseY = my;
    m_wheelRest += angleDelta;
    bool changed = false;
    while (std::abs(m_wheelRest) >= kWheelNotch) {
        const int step = m_wheelRest > 0 ? kWheelNotch : -kWheelNotch;
        m_wheelRest -= step;
        const double before = m_session.view().rect().w;
        m_session.view().wheelZoom(mx, my, m_width, m_height, step);
        changed = changed || m_session.view().rect().w != before;
    }
    return changed;
}

} // namespace korvel::app
