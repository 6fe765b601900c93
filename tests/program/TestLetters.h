#pragma once
// Letters built from exact geometry, whose outline the machine can follow:
// the preview, the restart and the job-time tests make them with the
// generator and run them.

#include "ProgramTestSupport.h"
#include "geometry/PlaneGeometry.h"

#include <cmath>
#include <vector>

namespace korvel::program::test {

inline constexpr double kDeg = geometry::kPi / 180.0;

// A "D": bottom 40 mm, a half circle of radius 60 pressed in 3-degree
// steps, the top back to a slotted right-angle corner, the back down to the
// start, where the joint closes the letter.
inline geometry::PathRecords letterD() {
    geometry::PathRecords path{header(-90), plain(0, 0), contour(40, 0)};
    for (int k = 1; k <= 60; ++k) {
        const double a = -90 + 3.0 * k;
        path.push_back(
            contour(40 + 60 * std::cos(a * kDeg), 60 + 60 * std::sin(a * kDeg), 60, 3 * kDeg));
    }
    path.push_back(contour(0, 120));
    addCorner(path, 0, 120, -90);
    path.push_back(plain(0, 0));
    path.push_back(trailer(-90));
    return path;
}

// A closed 18-gon of 15 mm sides: every corner turns 20 degrees to the
// left and is bent, not slotted.
inline geometry::PathRecords polygon18() {
    std::vector<geometry::Point2> c;
    double x = 0, y = 0;
    for (int k = 0; k < 18; ++k) {
        c.push_back({x, y});
        x += 15 * std::cos(20.0 * k * kDeg);
        y += 15 * std::sin(20.0 * k * kDeg);
    }
    geometry::PathRecords path{header(-20), plain(0, 0)};
    for (int k = 1; k < 18; ++k) {
        addCorner(path, c[k].x, c[k].y, -20);
    }
    path.push_back(plain(0, 0));
    path.push_back(trailer(-20));
    return path;
}

// The D, the 18-gon and the D again: a letter of three pieces.
inline geometry::PathRecords threePieces() {
    geometry::PathRecords path = letterD();
    for (const auto& piece : {polygon18(), letterD()}) {
        path.insert(path.end(), piece.begin(), piece.end());
    }
    return path;
}

} // namespace korvel::program::test
