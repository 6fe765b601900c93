#pragma once
// Display point files of simple shapes, written the way the importers write
// them, for the outline, selection and path tests: square20 (a 20 mm
// square), ringO (the letter O: two concentric circles), circles and
// polylines with chosen nodes.

#include "common/AppDir.h"
#include "common/Basic.h"
#include "common/TextFile.h"
#include "geometry/OutlineFiles.h"
#include "geometry/PathFile.h"
#include "geometry/PlaneGeometry.h"

#include <cmath>
#include <set>
#include <vector>

namespace korvel::test {

struct ShapePoint {
    double x = 0.0;
    double y = 0.0;
    bool node = false;
};
using Shape = std::vector<ShapePoint>;

class DisplayFileBuilder {
public:
    DisplayFileBuilder& outline(const Shape& shape) {
        m_lines.push_back(geometry::OutlineHeader(++m_count));
        for (const auto& p : shape) {
            m_lines.push_back(geometry::DisplayPointLine(p.x, p.y, p.node, "0.000000"));
        }
        return *this;
    }
    common::Lines lines() const {
        common::Lines all = m_lines;
        all.emplace_back(geometry::kSplineEnd);
        return all;
    }
    void write(const common::AppDir& dir) const {
        common::WriteLines(dir.file(geometry::kDisplayFile), lines());
    }

private:
    common::Lines m_lines;
    int m_count = 0;
};

// Straight segments through the corners (closed), a point every `step` mm,
// the corners marked as nodes. Corners in the given order = index order.
inline Shape Polygon(const std::vector<geometry::Point2>& corners, double step) {
    Shape shape;
    for (std::size_t c = 0; c < corners.size(); ++c) {
        const auto a = corners[c];
        const auto b = corners[(c + 1) % corners.size()];
        const int n = static_cast<int>(std::lround(geometry::Distance(a, b) / step));
        for (int j = 0; j < n; ++j) {
            const double u = static_cast<double>(j) / n;
            shape.push_back({a.x + u * (b.x - a.x), a.y + u * (b.y - a.y), j == 0});
        }
    }
    return shape;
}

// 20 mm square from (0,0), counter-clockwise in index order, 1 mm steps.
inline Shape Square20() {
    return Polygon({{0, 0}, {20, 0}, {20, 20}, {0, 20}}, 1.0);
}

// Circle of `count` points, counter-clockwise in index order (clockwise
// when `clockwise`), nodes at the given point ordinals.
inline Shape Circle(double cx, double cy, double r, int count, const std::set<int>& nodes,
                    bool clockwise = false) {
    Shape shape;
    for (int i = 0; i < count; ++i) {
        const double a = 2.0 * geometry::kPi * i / count * (clockwise ? -1.0 : 1.0);
        shape.push_back({cx + r * std::cos(a), cy + r * std::sin(a), nodes.count(i) != 0});
    }
    return shape;
}

// The letter O: outer circle r = 50, inner r = 30, 360 points each, written
// clockwise in index order as a DXF import from end to start would.
inline DisplayFileBuilder RingO() {
    DisplayFileBuilder b;
    b.outline(Circle(0, 0, 50, 360, {0, 90, 180, 270}, true));
    b.outline(Circle(0, 0, 30, 360, {0, 90, 180, 270}, true));
    return b;
}

// The point records of each block of a path, block by block.
inline std::vector<geometry::PathRecords> PathBlocks(const geometry::PathRecords& path) {
    std::vector<geometry::PathRecords> out;
    bool in = false;
    for (const auto& r : path) {
        if (r.isBlockLine()) {
            if (!in) {
                out.emplace_back();
            }
            in = !in;
        } else {
            out.back().push_back(r);
        }
    }
    return out;
}

// Signed area of a block's points (positive counter-clockwise).
inline double BlockArea(const geometry::PathRecords& block) {
    std::vector<geometry::Point2> points;
    for (const auto& r : block) {
        points.push_back({r.x, r.y});
    }
    return geometry::SignedArea(points.data(), points.size());
}

} // namespace korvel::test
