#pragma once
// The double-stroke gripper's feed-button programs, written by the jog
// program writers for the machine's feed panel: the jog while a feed or
// retract button is held and the stepping program of one single step.

#include "common/AppDir.h"
#include "machine/ManualOperations.h"

namespace korvel::machine {
class Machine;
}

namespace korvel::app {

class PanelPrograms : public machine::GripperPrograms {
public:
    // `encoderOn`: the main window's encoder tick box, read at each press.
    PanelPrograms(machine::Machine& machine, const bool& encoderOn)
        : m_machine(machine), m_encoderOn(encoderOn) {}

    bool jog(bool retract, bool grippersReady) override;
    void step(double length) override;

private:
    machine::Machine& m_machine;
    const bool& m_encoderOn;
};

} // namespace korvel::app
