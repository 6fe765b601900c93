#pragma once
// How the setup windows start their test and calibration programs: only
// when the machine is idle (no run, no homing, no moving axis), with the
// main window's encoder option, saving the parameter group quietly when a
// calibration changed it. A refused program (absurd field) comes back as
// its message and leaves the machine as it was.

#include "common/Message.h"
#include "program/TestPrograms.h"

#include <functional>

namespace korvel::machine {
class Machine;
}

namespace korvel::app {

// The test programs of this machine, writing into its application folder.
program::TestPrograms SetupTestPrograms(machine::Machine& machine);

// Runs `write` unless the machine is busy. Returns the refusal, or an
// empty message (also when the busy machine ignored the click).
common::Message StartTestProgram(machine::Machine& machine,
                                 const std::function<void(program::TestPrograms&)>& write);

} // namespace korvel::app
