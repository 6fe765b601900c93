#pragma once
// Conversions between machine units and motor pulses. Axis 1 X feed (mm),
// 2 Y bending arm (degrees), 3 Z cutter, 4 A swing (degrees) or infeed (mm).
// Positions are rounded to the nearest whole pulse, halves to even; speeds
// are given in units per minute and passed to the card in pulses per second.

#include <cstdint>

namespace korvel::machine {

inline constexpr int kCard = 0;
inline constexpr int kAxisX = 1;
inline constexpr int kAxisY = 2;
inline constexpr int kAxisZ = 3;
inline constexpr int kAxisA = 4;
// The card always starts a move at this speed.
inline constexpr std::int32_t kStartVelocity = 1000;
// A homing search runs this far (pulses) unless its switch stops it first.
inline constexpr std::int32_t kSearchPulses = 1000000;
// The card's acceleration unit in pulses per second squared: an
// acceleration parameter a gives a x 10000 x 125 pulses/s^2.
inline constexpr double kCardAccelUnit = 125.0;

std::int32_t ToPulses(double units, double pulseEquiv);
// A whole pulse count cut to the card's signed 32-bit range.
std::int32_t SaturatePulses(std::int64_t pulses);
// Speed in pulses per second for a speed in units per minute.
std::int32_t SpeedPulses(double unitsPerMinute, double pulseEquiv);
// Speed of the operator's manual and homing commands: the same conversion
// of |units per minute|, but cut off to whole pulses per second.
std::int32_t ManualSpeedPulses(double unitsPerMinute, double pulseEquiv);
// Card acceleration for an acceleration parameter.
std::int32_t CardAcceleration(double accelParameter);

} // namespace korvel::machine
