#pragma once
// The spline reader of DXF drawings. It reads the drawing's text line by
// line as Temp.dat holds it (split at every LF, so a CR LF drawing has an
// empty line after each of its lines) and collects every SPLINE entity;
// everything else of the drawing is passed over. A drawing it cannot read
// ends with a UserError.

#include "geometry/DxfSpline.h"

#include <string_view>
#include <vector>

namespace korvel::geometry {

// Highest spline degree the import evaluates.
inline constexpr int kMaxSplineDegree = 10;

// `text` is the whole drawing, decoded; nothing is copied out of it.
DxfDrawing ReadDxfSplines(std::string_view text);

} // namespace korvel::geometry
