#pragma once
// The motor window's private copy: the seven motion values of each of the
// four axes (pulse equivalent, homing speed, manual speed, acceleration,
// homing back-off, back-off speed, automatic speed) and the feed encoder's
// pulse equivalent, as the operator typed them. "保存" checks every value
// against the parameter table before anything is stored, so a refused
// value leaves the parameter set and the group file as they were.
//
// Also here: what the operator level lets the window do.

#include "common/Message.h"
#include "machine/ParameterSet.h"

#include <array>
#include <cstdint>
#include <string>

namespace korvel::app {

inline constexpr int kMotorAxisCount = 4; // X feed, Y arm, Z cutter, A swing/infeed
inline constexpr int kAxisValueCount = 7; // text boxes 1..7 of each axis frame
inline constexpr int kEncoderEquivLine = 74;

// Group-file line of value `value` (0..6) of axis `axis` (0 X .. 3 A).
constexpr int AxisParameterLine(int axis, int value) {
    return 19 + kAxisValueCount * axis + value;
}

struct MotorSettings {
    std::array<std::array<std::string, kAxisValueCount>, kMotorAxisCount> axis;
    std::string encoderEquiv;

    static MotorSettings Load(const machine::ParameterSet& params);
    bool operator==(const MotorSettings&) const = default;
};

// Checks every value (non-numeric text counts as 0) and, when all are
// acceptable, stores them into `params`. Returns the refusal naming the
// first bad field, or an empty message when the values were stored.
common::Message ApplyMotorSettings(const MotorSettings& settings, machine::ParameterSet& params);

// Caption of a field as messages name it ("X轴-送料 脉冲当量：").
common::Message MotorFieldName(int axis, int value);

// What the motor window offers at an operator level: at level 0 nothing
// can be changed or moved (save and the five frames off); at level 1 the
// arm, cutter and swing axes cannot be jogged by hand.
struct MotorWindowAccess {
    bool saveEnabled = true;
    bool framesEnabled = true; // the four axis frames and the encoder frame
    std::array<bool, kMotorAxisCount> holdJogEnabled{true, true, true, true};
};
MotorWindowAccess MotorAccess(std::int16_t userLevel);

} // namespace korvel::app
