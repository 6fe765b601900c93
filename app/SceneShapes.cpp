#include "app/SceneShapes.h"

namespace korvel::app {

using geometry::Point2;

Lines2 OutlineLines(const geometry::OutlineModel& model) {
    Lines2 out;
    const auto& points = model.points();
    out.reserve(points.size());
    for (const auto& range : model.outlines()) {
        for (std::int32_t i = range.firstPoint; i < range.lastPoint; ++i) {
            out.push_back({model.point(i).xy(), model.point(i + 1).xy()});
        }
        // Picking walks every outline round as a closed ring, and the
        // readers do not repeat the first point at the end: the closing
        // line is drawn so the operator sees the ring a piece runs on.
        if (range.pointCount() > 2) {
            out.push_back({model.point(range.lastPoint).xy(), model.point(range.firstPoint).xy()});
        }
    }
    return out;
}

void AppendSquare(Lines2& out, Point2 c, double half) {
    const Point2 a{c.x - half, c.y - half};
    const Point2 b{c.x + half, c.y - half};
    const Point2 d{c.x + half, c.y + half};
    const Point2 e{c.x - half, c.y + half};
    out.push_back({a, b});
    out.push_back({b, d});
    out.push_back({d, e});
    out.push_back({e, a});
}

void AppendCross(Lines2& out, Point2 c, double half) {
    out.push_back({{c.x - half, c.y}, {c.x + half, c.y}});
    out.push_back({{c.x, c.y - half}, {c.x, c.y + half}});
}

void AppendSaltire(Lines2& out, Point2 c, double half) {
    out.push_back({{c.x - half, c.y - half}, {c.x + half, c.y + half}});
    out.push_back({{c.x - half, c.y + half}, {c.x + half, c.y - half}});
}

void AppendDiamond(Lines2& out, Point2 c, double half) {
    const Point2 left{c.x - half, c.y};
    const Point2 bottom{c.x, c.y - half};
    const Point2 right{c.x + half, c.y};
    const Point2 top{c.x, c.y + half};
    out.push_back({left, bottom});
    out.push_back({bottom, right});
    out.push_back({right, top});
    out.push_back({top, left});
}

void AppendPolyline(Lines2& out, const std::vector<Point2>& points) {
    for (std::size_t i = 1; i < points.size(); ++i) {
        out.push_back({points[i - 1], points[i]});
    }
}

Lines2 BlockLines(const geometry::PathRecords& path, int block) {
    // A block line after points closes a block, any other opens one; points
    // outside a block open one of their own, as the lengths count them.
    Lines2 out;
    int current = 0;
    bool inBlock = false;
    const geometry::PathRecord* previous = nullptr;
    for (const auto& r : path) {
        if (r.isBlockLine()) {
            current += inBlock ? 0 : 1;
            inBlock = !inBlock;
            previous = nullptr;
            continue;
        }
        if (!inBlock) {
            ++current;
            inBlock = true;
        }
        if (current == block && previous != nullptr) {
            out.push_back({{previous->x, previous->y}, {r.x, r.y}});
        }
        previous = &r;
    }
    return out;
}

} // namespace korvel::app
