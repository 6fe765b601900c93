#pragma once
// The spline reader of DXF drawings. It reads the lines of Temp.dat (the
// drawing split at every LF, so a CR LF drawing has an empty line after each
// of its lines) and collects every SPLINE entity; everything else of the
// drawing is passed over. A drawing it cannot read ends with a UserError.

#include "common/TextFile.h"
#include "geometry/DxfSpline.h"

namespace korvel::geometry {

// Highest spline degree the import evaluates.
inline constexpr int kMaxSplineDegree = 10;

DxfDrawing ReadDxfSplines(const common::Lines& lines);

} // namespace korvel::geometry
