#pragma once
// What the executor shows each tick, as data: the window copies it into its
// position fields, lamps and progress labels; the command line prints it.

#include "machine/MotionCard.h"

#include <array>
#include <cstdint>
#include <string>

namespace korvel::machine {

struct ExecutorDisplay {
    // Command positions of X, Y, Z and A in their units, "0.00".
    std::array<std::string, 4> positions{"0.00", "0.00", "0.00", "0.00"};
    // Feed speed in mm/min, "0.0".
    std::string feedSpeed = "0.0";
    // Strip length of the loaded job and what remains of it, in mm.
    double feedLength = 0.0;
    double remainingFeed = 0.0;
    // Length correction that the generator applied to the job (shown only
    // when non-zero).
    double compensationLength = 0.0;
    // "1234.5000  mm" or "1234.5000  mm  补偿长度 1.2000  mm".
    std::string feedLengthText;
    std::string remainingText;
    // Lamps: the levels of every input and output.
    std::array<std::uint8_t, kCardInputCount> inputs{};
    std::array<std::uint8_t, kCardOutputCount> outputs{};
    // Segments ("M16" blocks) reached in the running program; -1 when idle.
    std::int16_t segment = -1;
};

} // namespace korvel::machine
