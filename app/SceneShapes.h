#pragma once
// The line shapes of the outline view's scene: outlines point to point,
// the marks round a point, one block of the machining path.

#include "geometry/OutlineModel.h"
#include "geometry/PathFile.h"
#include "geometry/PathOverlay.h"

#include <vector>

namespace korvel::app {

using Lines2 = std::vector<geometry::Segment>;

// Lines between consecutive points of each outline, in file order, and
// from its last point back to its first.
Lines2 OutlineLines(const geometry::OutlineModel& model);

// A square of half-size `half` round `c` (four lines).
void AppendSquare(Lines2& out, geometry::Point2 c, double half);
// An upright cross (+) of half-size `half`.
void AppendCross(Lines2& out, geometry::Point2 c, double half);
// A diagonal cross (x) of half-size `half`.
void AppendSaltire(Lines2& out, geometry::Point2 c, double half);
// A diamond whose corners lie `half` from `c` left, right, above and below.
void AppendDiamond(Lines2& out, geometry::Point2 c, double half);
// Consecutive points joined.
void AppendPolyline(Lines2& out, const std::vector<geometry::Point2>& points);

// The lines of block `block` (from 1) of a machining path, counted as the
// piece list counts them; empty when there is no such block.
Lines2 BlockLines(const geometry::PathRecords& path, int block);

} // namespace korvel::app
