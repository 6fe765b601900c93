#pragma once
// The rules of the calibration window: which page it opens on, the slot
// depth its scroll bars set, and the force-factor steps of the arc page.
// The window changes the parameter set directly and saves the group after
// every factor step and when it closes.

#include "common/Message.h"
#include "machine/ParameterSet.h"

namespace korvel::machine {
class Machine;
}

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvel::app {

// The three pages, in the order of the main window's calibration buttons.
enum class CalibrationPage { Feed = 0, SlotDepth = 1, Arc = 2 };
// The page for the main window's CalibrationTab (anything else: feed).
CalibrationPage PageForTab(std::int16_t calibrationTab);

// Slot depth in percent of the programmed depth. The coarse bar moves in
// steps of ten (its value is cut down to a multiple of ten), the fine bar
// sets the exact value.
inline constexpr int kSlotDepthMin = 10;
inline constexpr int kSlotDepthMax = 200;
std::int16_t SlotDepthFromScroll(int scrollValue, bool coarse);
// "开槽深度：" + value + "%" ("Slott Depth：" in English).
std::string SlotDepthLabel(std::int16_t depth, common::Language lang);

// The four factors shown on the arc page, in display order: positive tap,
// positive press, negative tap, negative press.
std::array<double, 4> ShownForceFactors(const machine::ParameterSet& params);

// "力度+1" / "力度-1": an arc of this radius is tapped below the tapping
// threshold and pressed from it on, so the step goes to the tapping or the
// pressing factor of the side. `direction` is +1 or -1. The changed set is
// saved to the current group at once. A step that is not a positive number,
// or that would take the factor below 0, is refused and changes nothing.
// Returns the refusal (or a failed save), or an empty message.
common::Message StepForceFactor(machine::Machine& machine, bool positiveArc,
                                std::string_view radiusText, std::string_view stepText,
                                int direction);

} // namespace korvel::app
