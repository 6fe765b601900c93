#pragma once
// The homing steps a program writes before it moves the strip, shared by
// the job (when "home first" is ticked) and the test programs: drive the
// pneumatic cutter back when it is out, home the swing or infeed axis,
// home the bending arm, home the cutter motor. The card is read for the
// cutter-back and arm-home switches at the moment the program is written.

#include "machine/ParameterSet.h"

namespace korvel::machine {
class MotionCard;
}

namespace korvel::program {

class ProgramText;

void WriteHomingSteps(ProgramText& out, const machine::ParameterSet& p, machine::MotionCard& card,
                      bool homeBender);

} // namespace korvel::program
