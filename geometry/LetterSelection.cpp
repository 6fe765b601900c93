#include "geometry/LetterSelection.h"

#include "geometry/PlaneGeometry.h"

namespace korvel::geometry {

namespace {

struct OutlineShape {
    std::vector<Point2> points;
    BoundingBox box;
};

OutlineShape shapeOf(const OutlineModel& model, const OutlineRange& range) {
    OutlineShape shape;
    shape.points.reserve(static_cast<std::size_t>(range.pointCount()));
    for (std::int32_t i = range.firstPoint; i <= range.lastPoint; ++i) {
        const Point2 p = model.point(i).xy();
        shape.points.push_back(p);
        shape.box.add(p.x, p.y);
    }
    return shape;
}

bool contains(const OutlineShape& shape, Point2 p) {
    if (shape.points.size() < 3 || p.x < shape.box.minX || p.x > shape.box.maxX ||
        p.y < shape.box.minY || p.y > shape.box.maxY) {
        return false;
    }
    return PointInPolygon(p, shape.points.data(), shape.points.size());
}

std::vector<bool> holeFlags(const OutlineModel& model) {
    const auto& outlines = model.outlines();
    std::vector<OutlineShape> shapes;
    shapes.reserve(outlines.size());
    for (const auto& range : outlines) {
        shapes.push_back(shapeOf(model, range));
    }
    std::vector<bool> holes(outlines.size(), false);
    for (std::size_t i = 0; i < outlines.size(); ++i) {
        const Point2 p = model.point(outlines[i].firstPoint).xy();
        int depth = 0;
        for (std::size_t j = 0; j < outlines.size(); ++j) {
            if (j != i && contains(shapes[j], p)) {
                ++depth;
            }
        }
        holes[i] = depth % 2 == 1;
    }
    return holes;
}

} // namespace

bool IsHole(const OutlineModel& model, std::size_t outline) {
    return holeFlags(model).at(outline);
}

std::vector<PiecePick> WholeLetterPieces(const OutlineModel& model) {
    const std::vector<bool> holes = holeFlags(model);
    std::vector<PiecePick> picks;
    const auto& outlines = model.outlines();
    for (std::size_t i = 0; i < outlines.size(); ++i) {
        if (outlines[i].nodeCount() == 0) {
            continue;
        }
        const std::int32_t node = outlines[i].firstNode;
        picks.push_back({node, node, holes[i]});
    }
    return picks;
}

} // namespace korvel::geometry
