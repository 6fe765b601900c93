#pragma once
// The stop button of the motor, calibration and curvature windows
// ("停止移动", "停止"): ends whatever the window started on the machine,
// a test program, a jog or a homing search.

namespace korvel::machine {
class Machine;
}

namespace korvel::app {

void StopSetupMotion(machine::Machine& machine);

} // namespace korvel::app
