#pragma once
// The outline language of vector drawings: the `d` attribute of an SVG
// path ("M 10 10 h 80 a 20 20 0 0 1 20 20 ... z") read into contours in
// the drawing's own units, before any transform. Every command is taken,
// absolute (upper case) and relative (lower case), with the numbers of
// further pieces following without a repeated letter.

#include "geometry/ContourPieces.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace korvel::geometry {

struct SvgPathData {
    std::vector<Contour> contours; // one per subpath that draws something
    // Arcs with a zero radius: drawn as the straight line between their ends,
    // as every SVG viewer draws them.
    int zeroRadiusArcs = 0;
    // Character at which the data stopped being readable; the contours
    // then hold what came before it.
    std::optional<std::size_t> errorAt;
};

SvgPathData ParseSvgPathData(std::string_view d);

// The arc from `from` to `to` of an SVG "A" command, its centre found from
// the end points, radii, x-axis rotation (degrees) and the two flags. Radii
// too small to reach are scaled up until they just do. Nothing when a
// radius is zero (the caller draws a line) or the ends coincide.
std::optional<ContourPiece> SvgArc(Point2 from, double rx, double ry, double rotationDegrees,
                                   bool largeArc, bool sweep, Point2 to);

} // namespace korvel::geometry
