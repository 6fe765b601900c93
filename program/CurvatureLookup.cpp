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

namespace {

// The program writes arm angles with four decimals: an angle that lands
// this close below a row's angle is that row's angle.
constexpr double kAngleResolution = 5e-5;

} // namespace

std::optional<double>
RadiusForBendAngle(const std::array<machine::CurvatureRow, machine::kCurvatureRows>& table,
                   std::int16_t last, double angle) {
    const int lastRow = std::min<int>(last, machine::kCurvatureRows - 1);
    if (lastRow < 0 || angle < table[0].angle - kAngleResolution) {
        return std::nullopt;
    }
    if (angle <= table[0].angle) {
        return table[0].radius;
    }
    for (int i = 1; i <= lastRow; ++i) {
        const auto& hi = table[i - 1];
        const auto& lo = table[i];
        const bool between =
            (angle >= hi.angle && angle <= lo.angle) || (angle <= hi.angle && angle >= lo.angle);
        if (between && lo.angle != hi.angle) {
            return lo.radius - (lo.angle - angle) * (lo.radius - hi.radius) / (lo.angle - hi.angle);
        }
    }
    return table[lastRow].radius;
}

double TapSpacingFor(const machine::ParameterTables& tables, double radius) {
    const int count = std::min<int>(tables.TapSpacingCount, machine::kTapSpacingRows);
    double spacing = 0;
    for (int i = 0; i + 1 < count; ++i) {
        if (tables.TapSpacing[i].radiusLimit > radius) {
            spacing = tables.TapSpacing[i].spacing;
            break;
        }
    }
    if (spacing == 0 && count > 0) {
        spacing = tables.TapSpacing[count - 1].spacing;
    }
    return spacing;
}

} // namespace korvel::program
