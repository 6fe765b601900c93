#pragma once
// The display lines of a DXF drawing that holds more than splines: the
// splines keep the display points the spline import gives them, the other
// entities are chained into outlines and turned into points by AddContour,
// and all outlines are numbered in the order the drawing has them.

#include "common/TextFile.h"
#include "geometry/ContourPieces.h"
#include "geometry/DrawingBuilder.h"
#include "geometry/DxfEntities.h"

#include <string_view>

namespace korvel::geometry {

// `splineDisplay` is the display file the spline import made of the same
// drawing (its outlines in spline order, "SPLINE END" last); empty when the
// drawing has no splines. Open chains are counted in openOutlines, the
// entities not read in skipped.
DisplayDrawing DxfDisplayDrawing(DxfEntities entities, const common::Lines& splineDisplay,
                                 const ContourTolerances& tolerances, std::string_view source);

} // namespace korvel::geometry
