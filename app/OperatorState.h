#pragma once
// What the operator's windows share while the program runs and never save:
// the operator level, set in the password window and consulted by every
// setup window when it opens, and the page the calibration window opens on.

#include <cstdint>

namespace korvel::app {

struct OperatorState {
    // 0 machine user, 1 machine maker, 2 system maker; 0 at every start.
    std::int16_t UserLevel = 0;
    // 0 feed-axis calibration, 1 slotting calibration, 2 arc calibration.
    std::int16_t CalibrationTab = 0;
};

} // namespace korvel::app
