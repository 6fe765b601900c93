#pragma once
// The drawing entities of a DXF file besides splines: LINE, ARC, CIRCLE,
// LWPOLYLINE, POLYLINE (with its VERTEX entities up to SEQEND) and ELLIPSE,
// each turned into pieces of an outline in drawing coordinates (an entity
// drawn with its extrusion towards -Z, as a mirrored view writes it, is
// mirrored back). Entities that are no outline (TEXT, HATCH, INSERT,
// DIMENSION, ...) are counted by name. Only the ENTITIES section is drawn;
// block definitions are not. SPLINE entities are left to the spline reader:
// only their places in the drawing are noted, so that every outline keeps
// its place.

#include "geometry/DrawingBuilder.h"
#include "geometry/OutlineChaining.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace korvel::geometry {

struct DxfEntities {
    // Outlines and loose pieces (open polylines, lines, arcs) with their
    // place among the drawn entities; not chained yet.
    std::vector<OrderedContour> pieces;
    // The place of every SPLINE entity of the file, in file order.
    std::vector<std::size_t> splineOrder;
    // Entities of the ENTITIES section that are not read as outlines.
    std::vector<SkippedKind> skipped;
};

// The largest bulge read: tan of a quarter of the included angle, about
// 359.8 degrees. Larger bulges only come from broken files.
inline constexpr double kMaxBulge = 1000.0;

// Reads the group code and value pairs of the whole file. Throws UserError
// (naming `source` and the line) for a line that should be a group code and
// is none, a value that is no number, a coordinate out of range, a polyline
// of fewer than two vertices, a bulge that is not finite or beyond
// kMaxBulge, an arc or circle whose radius is not greater than 0 and an
// ellipse without size.
DxfEntities ReadDxfEntities(std::string_view text, std::string_view source);

// True when the file has a line that reads SPLINE: the spline reader's own
// test of whether it has anything to read.
bool HasSplineLine(std::string_view text);

} // namespace korvel::geometry
