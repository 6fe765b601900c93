#include "program/CurvatureLookup.h"

#include <algorithm>

namespace korvel::program {

double BendAngleForRadius(const std::array<machine::CurvatureRow, machine::kCurvatureRows>& table,
                          std::int16_t last, double r) {
    const int lastRow = std::min<int>(last, machine::kCurvatureRows - 1);
    if (lastRow < 0) {
        return 0.0;
    }
    for (int i = 0; i <= lastRow; ++i) {
        if (r > table[i].radius) {
            if (i == 0) {
                return table[0].angle;
            }
            const auto& hi = table[i - 1];
            const auto& lo = table[i];
            return lo.angle - (lo.angle - hi.angle) * (lo.radius - r) / (lo.radius - hi.radius);
        }
    }
    return table[lastRow].angle;
}

} // namespace korvel::program
