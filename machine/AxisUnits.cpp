#include "machine/AxisUnits.h"

#include "common/Basic.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvel::machine {

std::int32_t ToPulses(double units, double pulseEquiv) {
    return common::CLngSaturated(units * pulseEquiv);
}

std::int32_t SaturatePulses(std::int64_t pulses) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(pulses, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

std::int32_t SpeedPulses(double unitsPerMinute, double pulseEquiv) {
    return common::CLngSaturated(unitsPerMinute * pulseEquiv / 60.0);
}

std::int32_t ManualSpeedPulses(double unitsPerMinute, double pulseEquiv) {
    return common::CLngSaturated(common::Fix(std::fabs(unitsPerMinute) * pulseEquiv / 60.0));
}

std::int32_t CardAcceleration(double accelParameter) {
    return common::CLngSaturated(accelParameter * 10000.0);
}

} // namespace korvel::machine
