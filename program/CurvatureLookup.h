#pragma once
// The bending-arm angle for an arc radius, from one of the operator's
// curvature tables (rows ordered by decreasing radius).

#include "machine/ParameterSet.h"

#include <array>
#include <cstdint>
#include <optional>

namespace korvel::program {

// Rows 0..last are valid. The first row whose radius is below r decides:
// row 0 gives its angle, a later row i the angle interpolated between rows
// i - 1 and i (so a radius equal to a row's radius gets that row's angle);
// a radius at or below every row takes the last row's angle.
// An empty table (last < 0) gives 0.
double BendAngleForRadius(const std::array<machine::CurvatureRow, machine::kCurvatureRows>& table,
                          std::int16_t last, double r);

// The other way round: the radius a bend angle stands for, as the arm
// bending at that angle leaves the strip. Between two rows the radius is
// interpolated on the same straight line the forward lookup uses, so that
// RadiusForBendAngle(BendAngleForRadius(r)) gives r back for every radius
// within the table on a table whose angles grow as the radii fall. An angle
// below the first row's leaves the strip straight (no value); from the last
// row's angle on, the last row's radius. The first pair of rows that holds
// the angle decides when the operator's table is not in order.
std::optional<double>
RadiusForBendAngle(const std::array<machine::CurvatureRow, machine::kCurvatureRows>& table,
                   std::int16_t last, double angle);

// Spacing of the taps for an arc of this radius from the tapping-spacing
// table: the first row (of all but the last) whose limit exceeds the
// radius; otherwise, or for a row without a spacing, the last row's.
double TapSpacingFor(const machine::ParameterTables& tables, double radius);

} // namespace korvel::program
