#pragma once
// Selecting a whole letter at once: every outline of the drawing becomes one
// piece from its first node once round to itself. Outer contours run
// counter-clockwise (as picked without Shift) and holes, the contours that
// lie inside an odd number of other contours, clockwise (as picked with
// Shift), so the area of the letter comes out positive and a positive
// contour offset makes the whole letter larger.

#include "geometry/OutlineModel.h"

#include <cstdint>
#include <vector>

namespace korvel::geometry {

struct PiecePick {
    std::int32_t startNode = 0;
    std::int32_t endNode = 0;
    bool shift = false;
};

// True when the outline (index into model.outlines()) lies inside an odd
// number of other outlines, judged by its first point.
bool IsHole(const OutlineModel& model, std::size_t outline);

// One pick per outline that has a node, in outline order. Outlines without
// any node cannot be picked and are left out.
std::vector<PiecePick> WholeLetterPieces(const OutlineModel& model);

} // namespace korvel::geometry
