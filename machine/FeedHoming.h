#pragma once
// Homing of the feed axis X: the operation behind the main window's
// "回 零" button (Command_XZ), which the program code "M36" starts as well.
//
// With a feed home switch (IN2, reading 1 while the strip axis stands on
// it) the axis either leaves the switch (standing on it: stop when IN2
// reads 0) or searches it backwards (stop when IN2 reads 1); the executor
// then backs off by HomeOffsetX and zeroes the axis. A roller feed without
// a switch (FeedHomeSwitch above 0.5) only retracts the strip by
// FeedHomeSwitch mm. Clicking again while the search runs cancels it.

#include "machine/MotionCard.h"
#include "machine/ParameterSet.h"
#include "machine/RunState.h"

namespace korvel::machine {

enum class FeedHomingResult {
    Ignored,    // the machine is busy
    Retracting, // no home switch: the strip is pulled back
    Searching,  // the switch search is running (HomingAxisCode 1)
    Cancelled,  // a running search was stopped
};

struct FeedHomingRequest {
    // Manual feed speed in mm/min (the main window's speed field).
    double manualSpeed = 0.0;
    // True when the machine program asks for it ("M36"): the run in
    // progress does not count as busy.
    bool fromProgram = false;
};

FeedHomingResult HomeFeedAxis(MotionCard& card, const ParameterSet& params, RunState& run,
                              const FeedHomingRequest& request);

} // namespace korvel::machine
