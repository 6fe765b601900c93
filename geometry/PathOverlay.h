#pragma once
// The lines the outline view draws over the drawing for the prepared path
// (CtrP.dat, red) and for the outlines already machined (YJG.dat, cyan).

#include "common/TextFile.h"
#include "geometry/PlaneGeometry.h"

#include <filesystem>
#include <vector>

namespace korvel::geometry {

struct Segment {
    Point2 a;
    Point2 b;
};

// Every line that is not a "SPLINE" line is a point (fields 1 and 2) joined
// to the previous point of its block; a "SPLINE" line starts a new block.
// As the machine always drew them, nothing is drawn from a previous point at
// exactly (0, 0), the "no point yet" of a block.
std::vector<Segment> PathSegments(const common::Lines& lines);

// The same for a file; a missing file draws nothing.
std::vector<Segment> ReadPathSegments(const std::filesystem::path& file);

} // namespace korvel::geometry
