#pragma once
// What the motor window edits and what the operator level lets it do. The
// window keeps its private copy in the shared SetupCopy over these fields:
// the seven motion values of each of the four axes (pulse equivalent,
// homing speed, manual speed, acceleration, homing back-off, back-off
// speed, automatic speed) and the feed encoder's pulse equivalent.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace korvel::app {

inline constexpr int kMotorAxisCount = 4; // X feed, Y arm, Z cutter, A swing/infeed
inline constexpr int kAxisValueCount = 7; // text boxes 1..7 of each axis frame

// Parameter of value `value` (0..6) of axis `axis` (0 X .. 3 A): the group
// file keeps the seven values of each axis together, X from line 19 on.
std::string_view AxisField(int axis, int value);
inline constexpr std::string_view kEncoderEquivField = "EncoderPulseEquiv";
// Every field the window saves.
std::vector<std::string_view> MotorWindowFields();

// At level 0 nothing can be changed or moved (save and the five frames
// off); at level 1 the arm, cutter and swing axes cannot be jogged by hand.
struct MotorWindowAccess {
    bool saveEnabled = true;
    bool framesEnabled = true; // the four axis frames and the encoder frame
    std::array<bool, kMotorAxisCount> holdJogEnabled{true, true, true, true};
};
MotorWindowAccess MotorAccess(std::int16_t userLevel);

} // namespace korvel::app
