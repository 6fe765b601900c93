#pragma once
// The operator's homing buttons for the bending arm, the swing or infeed
// axis and the cutter ("弯 弧 回 零", "摆 刀 回 零" / "进 刀 回 零",
// "切 刀 回 零"), and the machine-busy test that guards every manual
// command. A button starts the search on the card and sets the homing code;
// the executor finishes the search and the back-off. Clicking the same
// button again while its homing runs cancels it.

#include <functional>

namespace korvel::machine {

class MotionCard;
class OperatorDialog;
struct ParameterSet;
struct RunState;

class ManualHoming {
public:
    // `axesBusy` is the card's busy state as the interpreter reports it
    // (non-zero while any axis or the interpolation queue moves).
    ManualHoming(const ParameterSet& params, RunState& run, MotionCard& card,
                 OperatorDialog& dialog, std::function<int()> axesBusy)
        : m_p(params), m_run(run), m_card(card), m_dialog(dialog), m_axesBusy(std::move(axesBusy)) {
    }

    // A job, slotting or action run is in progress, or a homing is active.
    bool MachineBusy() const;

    // Bending arm (Y).
    void Command_Z1();
    // Swing or infeed axis (A), or Z when Z swings the cutter.
    void Command_Z2();
    // Cutter: Z search with motor up/down control, otherwise the cutter-back
    // valve (and, with Z swinging the cutter, the A axis).
    void Command_Z3();

    // Set by the cutter homing with IO control; the IO window's cutter
    // buttons set it too ("刀回" back, "刀出" out).
    bool cutterHomed() const { return m_cutterHomed; }
    void setCutterHomed(bool homed) { m_cutterHomed = homed; }

private:
    bool busy() const;
    // True when this button's own homing runs and may be cancelled.
    bool ownHomingRuns(bool codeMatches) const;
    void startSearch(int axis, double homeSpeed, double pulseEquiv, double accel, int code);
    void cancel(int axis);
    void homeSwingAxis(bool zSwings);
    bool swingHomingActive(bool zSwings) const;

    const ParameterSet& m_p;
    RunState& m_run;
    MotionCard& m_card;
    OperatorDialog& m_dialog;
    std::function<int()> m_axesBusy;
    bool m_cutterHomed = false;
};

} // namespace korvel::machine
