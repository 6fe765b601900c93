#pragma once
// SVG drawings as design programs export them (.svg). The shapes (path,
// rect, circle, ellipse, line, polyline, polygon) are read with the
// transforms of their groups, scaled from the page size (mm, cm, in, pt,
// pc or px) and the viewBox to their true size in mm, and turned y up.
// Templates that are drawn only where used (defs, symbol, clipPath, mask,
// pattern, marker) and anything with display="none" are not outlines.
// Text, clones (use) and embedded pictures are counted, so the operator
// learns what was left out.

#include "geometry/ContourPieces.h"
#include "geometry/DrawingBuilder.h"

#include <string_view>
#include <vector>

namespace korvel::geometry {

// Groups nested deeper than this are refused: no design program nests
// anywhere near so deep, and a file that does is broken or hostile.
inline constexpr int kMaxSvgNesting = 500;

struct SvgDrawing {
    std::vector<Contour> contours; // mm, y up, in drawing order
    std::vector<SkippedKind> skipped;
    int zeroRadiusArcs = 0; // arcs of radius 0, read as straight lines
};

// Reads the drawing. Throws UserError (naming `source`, and the element
// and line where one is to blame) for text that is not XML, a root other
// than <svg>, an unreadable size, viewBox, transform or shape attribute, a
// transform that flattens a shape onto a line, nesting beyond
// kMaxSvgNesting, coordinates out of range, or no shape at all.
SvgDrawing ParseSvg(std::string_view text, std::string_view source);

// The drawing as display lines, the contours broken into points by
// AddContour with `tolerances`.
DisplayDrawing ReadSvg(std::string_view text, const ContourTolerances& tolerances,
                       std::string_view source = "SVG");

} // namespace korvel::geometry
