#include "machine/ManualJog.h"

#include "machine/AxisUnits.h"

#include <cmath>

namespace korvel::machine {

bool JogSpeedUsable(const JogSpeed& speed) {
    return std::isfinite(speed.pulseEquiv) && speed.pulseEquiv > 0 &&
           std::isfinite(speed.unitsPerMinute) && std::isfinite(speed.accelParameter) &&
           ManualSpeedPulses(speed.unitsPerMinute, speed.pulseEquiv) > 0;
}

void SetJogProfile(MotionCard& card, int axis, const JogSpeed& speed) {
    if (!JogSpeedUsable(speed)) {
        return;
    }
    card.set_startv(kCard, axis, kStartVelocity);
    card.set_speed(kCard, axis, ManualSpeedPulses(speed.unitsPerMinute, speed.pulseEquiv));
    card.set_acc(kCard, axis, CardAcceleration(speed.accelParameter));
}

void StartHeldJog(MotionCard& card, int axis, int direction, const JogSpeed& speed) {
    if (direction == 0 || !JogSpeedUsable(speed)) {
        return;
    }
    SetJogProfile(card, axis, speed);
    card.pmove(kCard, axis, direction > 0 ? kHeldJogPulses : -kHeldJogPulses);
}

void ReleaseHeldJog(MotionCard& card, int axis) {
    card.dec_stop(kCard, axis);
}

void StartStepJog(MotionCard& card, int axis, double units, const JogSpeed& speed) {
    if (!std::isfinite(units) || !JogSpeedUsable(speed)) {
        return;
    }
    const std::int32_t pulses = ToPulses(units, speed.pulseEquiv);
    if (pulses == 0) {
        return;
    }
    SetJogProfile(card, axis, speed);
    card.pmove(kCard, axis, pulses);
}

} // namespace korvel::machine
