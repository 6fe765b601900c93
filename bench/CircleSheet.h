#pragma once
// The large drawing of the outline view's benchmarks: 100 circles of radius
// 20 mm on a 50 mm grid, 320 display points each (32,000 point lines), 100
// of them nodes (10,000 nodes, the node table's size).

#include "common/TextFile.h"
#include "geometry/OutlineFiles.h"
#include "geometry/PlaneGeometry.h"

#include <cmath>

namespace korvel::bench {

inline constexpr int kSheetCircles = 100;
inline constexpr int kSheetPointsPerCircle = 320;

inline geometry::Point2 SheetPoint(int circle, int i) {
    const double a = 2.0 * geometry::kPi * i / kSheetPointsPerCircle;
    return {(circle % 10) * 50.0 + 20.0 * std::cos(a), (circle / 10) * 50.0 + 20.0 * std::sin(a)};
}

inline common::Lines CircleSheet() {
    common::Lines lines;
    for (int c = 0; c < kSheetCircles; ++c) {
        lines.push_back(geometry::OutlineHeader(c + 1));
        for (int i = 0; i < kSheetPointsPerCircle; ++i) {
            const auto p = SheetPoint(c, i);
            const bool node = (i * 100) % kSheetPointsPerCircle < 100;
            lines.push_back(geometry::DisplayPointLine(p.x, p.y, node, "0.000000"));
        }
    }
    lines.emplace_back(geometry::kSplineEnd);
    return lines;
}

} // namespace korvel::bench
