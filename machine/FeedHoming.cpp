#include "machine/FeedHoming.h"

#include "machine/AxisUnits.h"
#include "machine/ManualJog.h"

namespace korvel::machine {

FeedHomingResult HomeFeedAxis(MotionCard& card, const ParameterSet& params, RunState& run,
                              const FeedHomingRequest& request) {
    const bool noSwitch = params.FeedType == 0 && params.FeedHomeSwitch > 0.5;
    // A second click while the search runs cancels it.
    if (!noSwitch && !request.fromProgram && (run.HomingAxisCode == 1 || run.HomingAxisCode == 5)) {
        card.set_stop0_mode(kCard, kAxisX, 0, 0);
        card.dec_stop(kCard, kAxisX);
        run.HomingAxisCode = 0;
        return FeedHomingResult::Cancelled;
    }
    const bool busy = run.HomingAxisCode > 0 || Axis_Status(card) != 0 ||
                      (!request.fromProgram && run.anyRunActive());
    if (busy) {
        return FeedHomingResult::Ignored;
    }
    if (noSwitch) {
        StartStepJog(card, kAxisX, -params.FeedHomeSwitch,
                     {request.manualSpeed, params.PulseEquivX, params.AccelX});
        return FeedHomingResult::Retracting;
    }
    const bool onSwitch = card.read_bit(kCard, 2) == 1;
    // Standing on the switch: run forward until it releases (level 0);
    // otherwise run back until it is pressed (level 1).
    card.set_stop0_mode(kCard, kAxisX, 1, onSwitch ? 0 : 1);
    card.set_speed(kCard, kAxisX, ManualSpeedPulses(params.HomeSpeedX, params.PulseEquivX));
    card.set_startv(kCard, kAxisX, kStartVelocity);
    card.set_acc(kCard, kAxisX, CardAcceleration(params.AccelX));
    card.pmove(kCard, kAxisX, onSwitch ? kSearchPulses : -kSearchPulses);
    run.HomingAxisCode = 1;
    run.HomingActive = 1;
    return FeedHomingResult::Searching;
}

} // namespace korvel::machine
