#include "app/DisplayList.h"

#include "app/SceneShapes.h"
#include "common/TextFile.h"
#include "geometry/OutlineFiles.h"
#include "geometry/PathFile.h"

#include <cmath>
#include <filesystem>
#include <limits>

namespace korvel::app {

using geometry::Point2;

namespace {

// The lines of a file, none when it does not exist (no path prepared yet).
common::Lines linesIfPresent(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        return {};
    }
    return common::ReadLines(file);
}

// A damaged file may hold numbers no screen can show (1e999, 1e300); such
// points are left out rather than handed to the renderers.
constexpr double kFarthestDrawable = 1e9; // mm

bool drawable(Point2 p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) < kFarthestDrawable &&
           std::fabs(p.y) < kFarthestDrawable;
}

std::vector<geometry::Segment> drawableOnly(std::vector<geometry::Segment> lines) {
    std::erase_if(lines,
                  [](const geometry::Segment& s) { return !drawable(s.a) || !drawable(s.b); });
    return lines;
}

bool isSmallArcPoint(const geometry::PathRecord& r, double bendToSlotRadius) {
    return r.type == geometry::kContourPoint && r.a > program::kMarkableMinRadius &&
           r.a < bendToSlotRadius && drawable({r.x, r.y});
}

} // namespace

DisplayList::DisplayList() {
    m_layers.resize(kLayerCount);
    for (std::size_t i = 0; i < kLayerCount; ++i) {
        m_layers[i].layer = static_cast<Layer>(i);
        m_layers[i].style = kLayerStyles[i];
    }
}

common::Message DisplayList::rebuild(const geometry::OutlineSession& session,
                                     program::MarkedPoints& marked, double bendToSlotRadius,
                                     int highlighted) {
    const geometry::OutlineModel& model = session.model();
    linesOf(Layer::Outlines) = drawableOnly(OutlineLines(model));

    m_nodes.clear();
    for (std::int32_t n = 1; n <= model.nodeCount(); ++n) {
        if (drawable(model.node(n).xy()) && !session.nodeEdits().isDeleted(model.node(n))) {
            m_nodes.push_back(model.node(n).xy());
        }
    }
    m_deleted.clear();
    for (const auto& node : session.nodeEdits().deleted()) {
        m_deleted.push_back(node.xy());
    }
    m_pendingStart.reset();
    const auto& selection = session.selection();
    if (selection.waitingForEnd()) {
        const std::int32_t start = selection.current().startNode;
        if (start >= 1 && start <= model.nodeCount()) {
            m_pendingStart = model.node(start).xy();
        }
    }

    common::Message problem;
    const common::AppDir& dir = session.dir();
    try {
        linesOf(Layer::Machined) =
            drawableOnly(geometry::ReadPathSegments(dir.file(geometry::kMachinedFile)));
    } catch (const common::UserError& e) {
        linesOf(Layer::Machined).clear();
        problem = e.message();
    }
    geometry::PathRecords path;
    try {
        const common::Lines lines = linesIfPresent(dir.file(geometry::kPathFile));
        path = geometry::ParsePathLines(lines, geometry::kPathFile);
        linesOf(Layer::Path) = drawableOnly(geometry::PathSegments(lines));
    } catch (const common::UserError& e) {
        path.clear();
        linesOf(Layer::Path).clear();
        problem = e.message();
    }

    m_markers.clear();
    for (const auto& r : path) {
        if (isSmallArcPoint(r, bendToSlotRadius) && marked.enter(r.x, r.y)) {
            m_markers.push_back({r.x, r.y, static_cast<std::int16_t>(marked.bendsAt(r.x, r.y))});
        }
    }
    m_highlighted = highlighted;
    linesOf(Layer::Highlight) = drawableOnly(BlockLines(path, highlighted));

    m_markWidth = session.view().rect().w;
    sizeMarks();
    ++m_generation;
    return problem;
}

void DisplayList::fitMarks(double viewWidth) {
    if (viewWidth == m_markWidth) {
        return;
    }
    m_markWidth = viewWidth;
    sizeMarks();
    ++m_generation;
}

void DisplayList::refreshMarkers(const program::MarkedPoints& marked) {
    for (auto& m : m_markers) {
        m.value = static_cast<std::int16_t>(marked.bendsAt(m.x, m.y));
    }
    sizeMarkers();
    ++m_generation;
}

void DisplayList::setOverlay(const std::vector<Polyline>& polylines, Rgb colour) {
    auto& overlay = m_layers[static_cast<std::size_t>(Layer::Overlay)];
    overlay.lines.clear();
    overlay.style.colour = colour;
    for (const auto& p : polylines) {
        AppendPolyline(overlay.lines, p);
    }
    ++m_generation;
}

void DisplayList::sizeMarks() {
    const double w = m_markWidth;
    auto& marks = linesOf(Layer::NodeMarks);
    auto& squares = linesOf(Layer::NodeSquares);
    marks.clear();
    squares.clear();
    marks.reserve(2 * m_nodes.size());
    squares.reserve(4 * m_nodes.size());
    for (const Point2 p : m_nodes) {
        AppendCross(marks, p, kNodeMarkHalf * w);
        AppendSquare(squares, p, kNodeSquareHalf * w);
    }
    auto& deleted = linesOf(Layer::DeletedNodes);
    deleted.clear();
    for (const Point2 p : m_deleted) {
        AppendSaltire(deleted, p, kDeletedNodeHalf * w);
    }
    auto& pending = linesOf(Layer::PendingStart);
    pending.clear();
    if (m_pendingStart) {
        AppendSquare(pending, *m_pendingStart, kPendingStartHalf * w);
    }
    sizeMarkers();
}

void DisplayList::sizeMarkers() {
    auto& slot = linesOf(Layer::SlotMarkers);
    auto& bend = linesOf(Layer::BendMarkers);
    slot.clear();
    bend.clear();
    for (const auto& m : m_markers) {
        AppendDiamond(m.value != 0 ? bend : slot, {m.x, m.y}, kMarkerHalf * m_markWidth);
    }
}

std::optional<Point2> DisplayList::markerAt(Point2 click) const {
    const double half = kMarkerHalf * m_markWidth;
    std::optional<Point2> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const auto& m : m_markers) {
        if (std::fabs(m.x - click.x) <= half && std::fabs(m.y - click.y) <= half) {
            const double d = geometry::Distance({m.x, m.y}, click);
            if (d < bestDistance) {
                bestDistance = d;
                best = Point2{m.x, m.y};
            }
        }
    }
    return best;
}

} // namespace korvel::app
