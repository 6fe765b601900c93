#pragma once
// The axis buttons of the motor window (and the bending-arm buttons of the
// curvature window): "正转"/"反转" move the axis while held, "单步移动"
// moves it by a typed length, "回零" homes it as the control tab does, with
// the same interlocks and homing codes (a second click cancels). Jogs run
// at the axis's manual speed of the parameter set, the values the machine
// works with until "保存" stores new ones.
//
// Nothing starts while the machine is busy (a run, a homing or an axis
// that still moves); a release stops only the held jog its press started.

#include "machine/ManualJog.h"
#include "machine/ParameterSet.h"

#include <string_view>

namespace korvel::machine {
class Machine;
}

namespace korvel::app {

// The hand-jog profile of a card axis (1 X .. 4 A): its manual speed, pulse
// equivalent and acceleration in `params`.
machine::JogSpeed AxisManualSpeed(const machine::ParameterSet& params, int axis);

class AxisJogs {
public:
    explicit AxisJogs(machine::Machine& machine) : m_machine(machine) {}

    // Axis 1 X .. 4 A; direction +1 "正转", -1 "反转". The feed axis first
    // lets the clamp go, or the strip could not move.
    void pressed(int axis, int direction);
    void released(int axis);
    // A step of Val(text) units; 0 or text that is not a number moves nothing.
    void step(int axis, std::string_view unitsText);
    // X: feed homing (the control tab's, with its speed field for a feed
    // without home switch); Y: bending arm; Z: cutter; A: swing or infeed.
    void home(int axis);

    // The held jog in progress (0 none).
    int heldAxis() const { return m_held; }

private:
    bool busy() const;
    void releaseClampFor(int axis);

    machine::Machine& m_machine;
    int m_held = 0;
};

} // namespace korvel::app
