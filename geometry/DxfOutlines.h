#pragma once
// The display lines of a DXF drawing that holds more than splines: the
// splines keep the display points the spline import gives them, the other
// entities are chained into outlines and turned into points by AddContour,
// and all outlines are numbered in the order the drawing has them.

#include "common/TextFile.h"
#include "geometry/ContourPieces.h"
#include "geometry/DisplayLineSink.h"
#include "geometry/DrawingBuilder.h"
#include "geometry/DxfEntities.h"

#include <cstdint>
#include <string_view>

namespace korvel::geometry {

// `splineDisplay` is the display file the spline import made of the same
// drawing (its outlines in spline order, "SPLINE END" last); empty when the
// drawing has no splines. Open chains are counted in openOutlines, the
// entities not read in skipped.
DisplayDrawing DxfDisplayDrawing(DxfEntities entities, const common::Lines& splineDisplay,
                                 const ContourTolerances& tolerances, std::string_view source);

struct DxfDrawingRead {
    int outlines = 0;        // outlines handed on
    int droppedOutlines = 0; // outlines of fewer than two points left out
    int openOutlines = 0;    // chains whose ends do not meet
    std::vector<SkippedKind> skipped;
};

// Reads every outline of the DXF drawing `text` and hands its display lines
// (before thinning, "SPLINE END" last) to `sink`. A drawing of splines only
// goes through ReadDxfDisplay as it always did. The whole drawing is read
// and checked before the first line goes out; a drawing with splines that
// the spline reader refuses is refused with its message. Throws UserError.
DxfDrawingRead ReadDxfDrawing(std::string_view text, std::int16_t densify,
                              const ContourTolerances& tolerances, std::string_view source,
                              DisplayLineSink& sink);

} // namespace korvel::geometry
