#pragma once
// One feed move of the strip to an absolute feed position, written in the
// form the feed mechanism needs: a single move for the friction roller,
// whole gripper strokes plus the remainder for the grippers.
//
// Gripper feeds keep a stroke counter for the whole run: the feed position
// is absolute, so every call writes only the strokes not yet written and
// then moves the carriage within its stroke.
//
// Double-stroke gripper: the carriage carries the strip in both directions.
// Gripper I holds it on the odd strokes (carriage 0 -> GripperStroke),
// gripper II on the even strokes (carriage GripperStroke -> 0), so after an
// even number of strokes the carriage is at 0 and the remainder is fed
// forward from there, after an odd number it is at GripperStroke and the
// remainder is fed by moving back towards 0. An odd stroke ends by clamping
// gripper II and releasing gripper I ("M24", dwell, "M23"), an even one the
// other way round ("M22", dwell, "M25"); each ends with the dwell. The
// stroke lines are "X<GripperStroke> F<speed>" and "X0 F<speed>", the form
// the executor counts.

#include "machine/MachineBuild.h"
#include "machine/ParameterSet.h"
#include "program/ProgramText.h"

#include <cstdint>
#include <optional>

namespace korvel::program {

using machine::kFeedGripperDouble;
using machine::kFeedGripperSingle;
using machine::kFeedRoller;

// The gripper dwell (ms), set at start-up.
inline constexpr const char* kGripperDwell = "G04 P300";

// The hand-over at the end of a double-stroke gripper stroke: the gripper
// that carries the next stroke clamps, then the other one lets go, each
// followed by the dwell. `toGripperII`: gripper II takes the strip ("M24",
// "M23"), otherwise gripper I ("M22", "M25").
void WriteGripperHandover(ProgramText& out, bool toGripperII);

class FeedWriter {
public:
    FeedWriter(ProgramText& out, const machine::ParameterSet& params) : m_out(out), m_p(params) {}

    // Feed to absolute position x; with y the bending arm moves to y (its
    // own units) in the same block.
    void PrintXcode(double x, std::optional<double> y = std::nullopt);

    std::int16_t strokeCounter() const { return m_strokeCounter; }
    void resetStrokes() { m_strokeCounter = 0; }

private:
    void writeMove(double x, std::optional<double> y);
    void writeSingleStroke();
    void writeDoubleStroke(int strokeNumber);
    void feedGripper(double x, std::optional<double> y);

    ProgramText& m_out;
    const machine::ParameterSet& m_p;
    std::int16_t m_strokeCounter = 0;
};

} // namespace korvel::program
