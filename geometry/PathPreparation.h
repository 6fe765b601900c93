#pragma once
// Turns the collected control point blocks (PointForControl.dat) into the
// machining path (CtrP.dat): corners too close to an earlier corner are
// dropped, because the strip between them would be used up by the corner
// shortening, and the contour offset is applied.

#include "common/AppDir.h"
#include "geometry/OutlineParameters.h"
#include "geometry/PathFile.h"

namespace korvel::geometry {

// Records scanned on each side of a corner for close corners.
inline constexpr std::size_t kCloseCornerScan = 1000;

// A corner turning right by more than 0.1 and less than 179.9 degrees is
// shortened; a left turn (negative angle) and a U-turn are not.
bool CornerIsShortened(double turnAngle);

// Half the inner angle of a corner: (180 - |b|) / 2 degrees.
double CornerHalfAngle(double turnAngle);

// The strip length a corner takes up because the engraving cutter rounds
// its inside: k * (r / tan(beta) - (90 - beta) * r * pi / 180), 0 for a
// corner that is not shortened.
double CornerShortening(double turnAngle, double cutterRadius, double compFactor);

// Shortening plus the contour offset's share T / tan(beta): a positive
// offset moves a right-turning corner into its inside, so its legs get
// shorter by that much; a negative offset lengthens them.
double CornerValue(double turnAngle, const PathParameters& params);

// Marks (type 4) every corner closer to an earlier kept corner than that
// corner's value, together with the lines beside it; scans look at most
// kCloseCornerScan records each way and run on across block lines (a piece
// that starts right at the corner of the previous one loses its first
// corner too), stopping only at the first and the last record of the path.
void SuppressCloseCorners(PathRecords& records, const PathParameters& params);

// The records that are not marked as suppressed, in order.
PathRecords CompactPath(const PathRecords& records);

// Suppression, compaction and contour offset of records read from the
// control point file.
PathRecords PreparePathRecords(PathRecords records, const PathParameters& params);

// Reads PointForControl.dat and rewrites CtrP.dat. Returns false and leaves
// CtrP.dat untouched when the control point file holds no record.
bool PreparePath(const common::AppDir& dir, const PathParameters& params);

} // namespace korvel::geometry
