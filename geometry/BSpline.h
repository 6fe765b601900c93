#pragma once
// Evaluation of the imported B-splines: de Boor's algorithm for one point,
// and the parameters at which the display points of a spline are taken.

#include "geometry/DxfSpline.h"

#include <array>
#include <span>
#include <vector>

namespace korvel::geometry {

// x, y and two zeros: the record the point evaluation has always returned.
using ArcPoint = std::array<double, 4>;

// The point of the B-spline at parameter u (de Boor). With `splineFlag` 1
// the parameter 1.0 is the end of the curve and gives the last control
// point. The span is the one whose knot interval holds u; a parameter at or
// beyond the last knot of the curve's stretch (or before its first one)
// uses the last (first) non-empty span, so the curve's end is its limit
// value from inside. Requires ctrlPts.size() + degree + 1 == knots.size().
ArcPoint EvaluateBSpline(std::span<const Point2> ctrlPts, std::span<const double> knots, int degree,
                         double u, int splineFlag);

// The knot vector on which a spline's display points are computed: as read
// when the curve runs from 0 to 1 (knot degree+1 is 0, knot points+1 is 1),
// otherwise mapped linearly so that it does. The mapping leaves the curve
// as it is; it only moves the parameter values.
std::vector<double> NormalizedKnots(const DxfSpline& spline);

// The distinct knots of the curve's stretch [0, 1] in order; knots count
// as distinct when they differ at all.
std::vector<double> UniqueKnots(std::span<const double> knots, int degree, size_t pointCount);

// Every unique knot and the midpoint after it; the last entry is 1.0.
std::vector<double> RefinedParameters(std::span<const double> unique);

} // namespace korvel::geometry
