#pragma once
// Moves a machining path parallel to itself by the contour offset the
// operator typed, so a letter can be made a little larger or smaller than
// drawn (wall thickness, light box tolerance).

#include "geometry/PathFile.h"

namespace korvel::geometry {

// Every point of every block moves along the bisector of its two
// neighbours by |T / sin(half the angle between them)| (a mitred parallel
// offset): a straight point moves by exactly |T| at right angles to the
// path. Positive T moves to the right of the travel direction (outward of a
// counter-clockwise outer contour). Points that share their position (the
// three lines of a corner or joint) move together, measured against the
// nearest distinct neighbours. A block whose first and last points
// coincide is a closed contour: its ends are mitred against each other and
// stay together. The ends of an open block move at right angles to their
// single segment. Headers, trailers and the arc parameters are unchanged.
void ApplyContourOffset(PathRecords& records, double offset);

} // namespace korvel::geometry
