#pragma once
// The manual moves of one axis that the control tab, the equipment, motor
// and curvature windows offer: press and hold to move, release to stop, or
// one step of a set length. Every such move shares the same profile rules:
// start at 1000 pulses/s, run at |units per minute| x pulse equivalent / 60
// cut to whole pulses per second, accelerate at the axis's acceleration
// parameter x 10000.
//
// A speed or pulse equivalent that is zero, negative or not a number (a
// field the operator left empty or typed letters into) moves nothing: the
// card is not touched at all, so a running move is not disturbed either.

#include "machine/MotionCard.h"

#include <cstdint>

namespace korvel::machine {

struct JogSpeed {
    double unitsPerMinute = 0;
    double pulseEquiv = 0;
    double accelParameter = 0;
};

// A held jog runs this many pulses: longer than any operator holds a
// button, so only the release ends it.
inline constexpr std::int32_t kHeldJogPulses = 100000000;

// True when `speed` gives a move: a finite pulse equivalent above zero, a
// finite speed of at least one whole pulse per second and a finite
// acceleration.
bool JogSpeedUsable(const JogSpeed& speed);

// Start speed, speed and acceleration of `axis` for a manual move.
void SetJogProfile(MotionCard& card, int axis, const JogSpeed& speed);
// Press-and-hold: a long move in `direction` (+1 / -1) until ReleaseHeldJog
// (decelerating stop).
void StartHeldJog(MotionCard& card, int axis, int direction, const JogSpeed& speed);
void ReleaseHeldJog(MotionCard& card, int axis);
// Single step of exactly `units` (to whole pulses); a release does not stop
// it. A step that rounds to no pulse at all moves nothing.
void StartStepJog(MotionCard& card, int axis, double units, const JogSpeed& speed);

} // namespace korvel::machine
