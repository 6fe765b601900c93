#include "app/SetupStop.h"

#include "machine/Machine.h"

namespace korvel::app {

void StopSetupMotion(machine::Machine& machine) {
    machine.executor().Command_Stop();
}

} // namespace korvel::app
