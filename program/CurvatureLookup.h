#pragma once
// The bending-arm angle for an arc radius, from one of the operator's
// curvature tables (rows ordered by decreasing radius).

#include "machine/ParameterSet.h"

#include <array>
#include <cstdint>

namespace korvel::program {

// Rows 0..last are valid. The first row whose radius is below r decides:
// row 0 gives its angle, a later row i the angle interpolated between rows
// i - 1 and i (so a radius equal to a row's radius gets that row's angle);
// a radius at or below every row takes the last row's angle.
// An empty table (last < 0) gives 0.
double BendAngleForRadius(const std::array<machine::CurvatureRow, machine::kCurvatureRows>& table,
                          std::int16_t last, double r);

} // namespace korvel::program
