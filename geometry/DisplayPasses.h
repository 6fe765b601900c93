#pragma once
// The passes that clean the display point file after every import, and the
// Y mirror. Each works on the lines in memory; the *File variants rewrite
// PointForDisplay.dat through PointForDisplay0.dat (write the new file,
// delete the old one, rename), so a failure leaves the old file as it was.

#include "common/AppDir.h"
#include "common/TextFile.h"

#include <cstddef>

namespace korvel::geometry {

// The duplicate pass compares every line with all earlier ones; it holds at
// most this many lines. Larger files are refused, never cut.
inline constexpr std::size_t kMaxDuplicatePassLines = 32001;

// Drops every line that is exactly equal to an earlier one (the closing
// point of a contour, and textually equal lines of different outlines).
// Throws UserError for more than kMaxDuplicatePassLines lines.
common::Lines RemoveDuplicateLines(const common::Lines& lines);

// Thins straight runs: from each written point only the last point that is
// still on the straight line and less than 5 mm away is kept; nodes and
// outline headers are always kept. A point held back on a curve is written
// before a node it does not lie in line with, and the last point of an
// outline is always written, so an outline keeps its shape and its end.
common::Lines ThinDisplayPoints(const common::Lines& lines);

// Every point (x, y) becomes (x, -y) with six decimals; node marks,
// headers and the end line stay.
common::Lines MirrorDisplayPoints(const common::Lines& lines);

void RemoveDuplicateLinesFile(const common::AppDir& dir);
void ThinDisplayPointsFile(const common::AppDir& dir);
void MirrorDisplayPointsFile(const common::AppDir& dir);

// Writes lines as the new display point file through PointForDisplay0.dat.
void RewriteDisplayFile(const common::AppDir& dir, const common::Lines& lines);

} // namespace korvel::geometry
