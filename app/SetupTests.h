#pragma once
// The test buttons of the settings windows, which move the machine at once
// with the values being edited: bend and feed jogs, clamp, gripper, cutter
// and bender-rod switches, the homing buttons, the slotting tests and the
// automatic tool setting, and the one stop button every settings window
// shares. Every button first applies the machine-busy test and does nothing
// while the machine is busy (the homing buttons excepted: a second click
// cancels their own homing). Messages go to the machine's operator dialog.

#include "machine/Machine.h"
#include "machine/ParameterSet.h"
#include "program/TestPrograms.h"

namespace korvel::app {

class SetupTests {
public:
    // encoderOn: the main window's encoder tick box.
    explicit SetupTests(machine::Machine& machine, bool encoderOn = false)
        : m_machine(machine), m_encoderOn(encoderOn) {}

    // A job, test program or homing is running, or an axis still moves.
    bool busy();

    // Bending arm, pressed and released; `direction` +1 positive, -1
    // negative. With a single step (degrees) the release does nothing.
    void bendPressed(const machine::ParameterSet& v, int direction, bool singleStep, double step);
    void bendReleased(bool singleStep);
    // Feed and retract, pressed and released (`direction` +1 feed, -1
    // retract), the strip's clamp opened first; with a single step (mm) the
    // release does nothing.
    void feedPressed(const machine::ParameterSet& v, int direction, bool singleStep, double step);
    void feedReleased(const machine::ParameterSet& v, bool singleStep);

    // The infeed (A) pressed and released; back to its zero.
    void infeedPressed(const machine::ParameterSet& v, int direction);
    void infeedReleased();
    void infeedBack(const machine::ParameterSet& v);

    // Outputs: the clamp (3 with 11), gripper or bender rod 1 and 2 (4, 5),
    // the cutter spindle (0).
    void toggleClamp();
    void toggleRod(int which);
    void toggleSpindle();

    // The cutter back to its top or out to the front down stroke: by the
    // valves with IO control, by the Z motor otherwise.
    void cutterBack(const machine::ParameterSet& v);
    void cutterOut(const machine::ParameterSet& v);

    // The homing buttons of the manual panel: bending arm, swing or infeed
    // axis, cutter.
    void bendHome() { m_machine.Command_Z1(); }
    void swingHome() { m_machine.Command_Z2(); }
    void cutterHome() { m_machine.Command_Z3(); }

    // A slotting test or the tool setting with the edited values.
    void slotTest(const machine::ParameterSet& v, program::SlotTest which);
    void toolSetting(const machine::ParameterSet& v);

    // The stop button every settings window shares (StopSetupMotion).
    void stop();

private:
    void show(const common::Message& message);
    void toggle(int output);

    machine::Machine& m_machine;
    bool m_encoderOn;
};

} // namespace korvel::app
