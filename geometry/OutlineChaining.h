#pragma once
// Joins the loose pieces of a drawing into outlines. CAD programs often
// draw a letter as a run of separate lines and arcs (or open polylines)
// whose ends only touch; the machine bends one strip per outline, so the
// pieces whose ends meet are put end to end, turned round where a piece was
// drawn the other way.

#include "geometry/ContourPieces.h"

#include <cstddef>
#include <vector>

namespace korvel::geometry {

// Ends closer than this (mm) are taken as the same point: far below what a
// bent strip shows, far above the rounding of any CAD program.
inline constexpr double kChainTolerance = 0.05;

// An outline, or a piece of one, with its place in the drawing: the index
// of the first drawing element it was made from.
struct OrderedContour {
    Contour contour;
    std::size_t order = 0;
};

// Chains the open pieces; closed ones are passed on as they are. Each
// chain starts with the earliest piece not yet used, in its own direction,
// and grows at its end (then at its start) by the earliest piece with an
// end within `tolerance`, until no piece fits or its ends meet; a chain
// whose ends meet is closed. The outlines come in drawing order (by the
// order of their first piece).
std::vector<OrderedContour> ChainOutlines(std::vector<OrderedContour> pieces,
                                          double tolerance = kChainTolerance);

} // namespace korvel::geometry
