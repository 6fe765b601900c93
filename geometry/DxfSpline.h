#pragma once
// One B-spline of an imported drawing, as the DXF file declares it: its
// control points, its knot vector (values as read), its flag and counts.

#include "geometry/PlaneGeometry.h"

#include <cstdint>
#include <vector>

namespace korvel::geometry {

struct DxfSpline {
    // Control points, sized to the declared count (group 73); x and y are
    // filled independently, in the order groups 10 and 20 come.
    std::vector<Point2> ctrlPts;
    // Knot values as read, sized to the declared count (group 72).
    std::vector<double> knots;
    // 1 when the spline carried a group 70: the parameter 1.0 is then the
    // exact end of the curve (its last control point).
    std::int16_t flag = 0;
    std::int16_t knotCount = 0;  // group 72
    std::int16_t pointCount = 0; // group 73
    // Group 71 when present; a spline without it is cubic.
    int degree = 3;
};

// All splines of a drawing in file order, with the largest declared counts
// met (the sizes the knot and control point tables grew to).
struct DxfDrawing {
    std::vector<DxfSpline> splines;
    int maxKnots = 0;
    int maxCtrlPts = 0;
};

} // namespace korvel::geometry
