#pragma once
// The outlines of the opened drawing as the view, the selection and the
// control point classification see them: a point table in file order, a
// node table (the points at which the operator may split an outline) and
// the range of each outline. Rebuilt from PointForDisplay.dat after every
// change of that file.

#include "common/AppDir.h"
#include "common/TextFile.h"
#include "geometry/PlaneGeometry.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace korvel::geometry {

struct OutlinePoint {
    double x = 0.0;
    double y = 0.0;
    std::int16_t firstFlag = 0;   // 1 for the first point of an outline
    std::int16_t outline = 0;     // outline number from the "SPLINE" header
    std::int16_t nodeOrdinal = 0; // ordinal of the node at or before the point (0: none yet)
    std::int32_t position = 0;    // points since that node (0 at the node itself)
    std::int32_t node = 0;        // node index when the point is a node, else 0
    std::int32_t range = 0;       // index into OutlineModel::outlines()
    std::int32_t line = 0;        // line of the display point file (0-based)

    Point2 xy() const { return {x, y}; }
};

struct OutlineNode {
    double x = 0.0;
    double y = 0.0;
    std::int16_t outline = 0; // outline number
    std::int16_t ordinal = 0; // within its outline, from 1
    std::int32_t point = 0;   // index in the point table
    std::int32_t range = 0;   // index into OutlineModel::outlines()

    Point2 xy() const { return {x, y}; }
};

struct OutlineRange {
    std::int16_t number = 0; // from the "SPLINE" header
    std::int32_t firstPoint = 0;
    std::int32_t lastPoint = 0;
    std::int32_t firstNode = 0; // node indices; lastNode < firstNode when it has none
    std::int32_t lastNode = -1;
    // 1 when the turn angles sum to >= 0 (clockwise in index order), else -1.
    std::int16_t orientation = 1;

    std::int32_t pointCount() const { return lastPoint - firstPoint + 1; }
    std::int32_t nodeCount() const { return lastNode >= firstNode ? lastNode - firstNode + 1 : 0; }
};

struct BoundingBox {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
    bool empty = true;

    void add(double x, double y);
    double width() const { return maxX - minX; }
    double height() const { return maxY - minY; }
};

// Centre and width of the visible part of the drawing (mm).
struct ViewRect {
    double cx = 0.0;
    double cy = 0.0;
    double w = 100.0;
};

class OutlineModel {
public:
    // Point indices 0 .. 100,000 and node indices 1 .. 10,000.
    static constexpr std::size_t kMaxPoints = 100001;
    static constexpr std::size_t kMaxNodes = 10000;

    OutlineModel();

    // Builds the model from the lines of a display point file; reading stops
    // at "SPLINE END". Throws UserError beyond the table limits.
    static OutlineModel fromLines(const common::Lines& lines, std::string_view source);
    // Reads PointForDisplay.dat of the application folder.
    static OutlineModel load(const common::AppDir& dir);

    const std::vector<OutlinePoint>& points() const { return m_points; }
    // Index 0 is unused: nodes count from 1.
    const std::vector<OutlineNode>& nodes() const { return m_nodes; }
    std::int32_t nodeCount() const { return static_cast<std::int32_t>(m_nodes.size()) - 1; }
    const std::vector<OutlineRange>& outlines() const { return m_outlines; }
    const BoundingBox& box() const { return m_box; }
    bool empty() const { return m_points.empty(); }

    const OutlinePoint& point(std::int32_t i) const {
        return m_points[static_cast<std::size_t>(i)];
    }
    const OutlineNode& node(std::int32_t n) const { return m_nodes[static_cast<std::size_t>(n)]; }
    const OutlineRange& rangeOfPoint(std::int32_t i) const {
        return m_outlines[static_cast<std::size_t>(point(i).range)];
    }
    const OutlineRange& rangeOfNode(std::int32_t n) const {
        return m_outlines[static_cast<std::size_t>(node(n).range)];
    }

    // Neighbours of a point round its outline (the last point is followed
    // by the first, every outline counts as closed).
    std::int32_t nextInOutline(std::int32_t i) const;
    std::int32_t previousInOutline(std::int32_t i) const;

    // Node of the outline with the given ordinal (from 1), 0 when missing.
    std::int32_t nodeByOrdinal(std::size_t range, std::int32_t ordinal) const;

    // The points of a piece in travel order, from point `from` round its
    // outline towards increasing or decreasing indices up to and including
    // `to` (from = to: once round, the point appearing at both ends). Both
    // points must lie on one outline.
    std::vector<std::int32_t> pieceWalk(std::int32_t from, std::int32_t to, bool increasing) const;

    // The view that shows the whole drawing: centred on the box, width
    // 1.2 x the box width, or 1.2 x height / 0.7 for a tall drawing.
    ViewRect fittedView() const;

private:
    template <typename LineRange>
    static OutlineModel fromRange(const LineRange& lines, std::size_t lineCount,
                                  std::string_view source);
    void addOutline(std::int16_t number);
    void addPoint(double x, double y, bool isNode, std::string_view source, std::int32_t line);
    void finish();
    std::int16_t computeOrientation(const OutlineRange& range) const;

    std::vector<OutlinePoint> m_points;
    std::vector<OutlineNode> m_nodes;
    std::vector<OutlineRange> m_outlines;
    BoundingBox m_box;
    std::int16_t m_nextOrdinal = 1;
    std::int32_t m_position = 0;
};

} // namespace korvel::geometry
