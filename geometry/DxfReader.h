#pragma once
// The spline reader of DXF drawings. It reads the lines of Temp.dat (the
// drawing split at every LF, so a CR LF drawing has an empty line after each
// of its lines) and collects every SPLINE entity; everything else of the
// drawing is passed over. A drawing it cannot read ends with a UserError.

#include "geometry/DxfSpline.h"

#include <string_view>
#include <vector>

namespace korvel::geometry {

// Highest spline degree the import evaluates.
inline constexpr int kMaxSplineDegree = 10;

using DxfLines = std::vector<std::string_view>;

DxfDrawing ReadDxfSplines(const DxfLines& lines);

} // namespace korvel::geometry
