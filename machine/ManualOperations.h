#pragma once
// The feed panel of the control tab ("送料"): feed and retract the strip
// while the button is held or by one step of a set length, home the feed
// axis, and switch the material clamp and the two grippers by hand. The
// machine's own feed and retract buttons act exactly like the ones on the
// screen and read the same panel values.
//
// Roller feed (and the single-stroke gripper's carriage) moves the X axis
// directly. The double-stroke gripper feeds through short machine programs
// (a jog while the button is held, a stepping program for one step) that
// the program writers above this layer provide through GripperPrograms;
// the executor runs them like any action run.
//
// Every command does nothing while the machine is busy: a run or a homing
// in progress, or an axis that still moves.

#include "machine/FeedHoming.h"
#include "machine/MachineOutputs.h"

#include <functional>
#include <string>

namespace korvel::machine {

class Executor;
class MotionCard;
class OperatorDialog;
struct ParameterSet;
struct RunState;

// The panel's fields as the operator typed them. Texts that are not
// numbers count as 0 and move nothing.
struct FeedPanel {
    std::string speedText;       // Text2, mm/min
    bool singleStep = false;     // Check1 "单步步长："
    std::string stepText = "60"; // Text3, mm
};

// The double-stroke gripper's programs. Each writes G5.dat, loads it and
// raises the action-run flag; a refusal is thrown as common::UserError.
class GripperPrograms {
public:
    virtual ~GripperPrograms() = default;
    // Held feed or retract. `grippersReady`: the grippers already hold the
    // strip. Returns false when nothing was written.
    virtual bool jog(bool retract, bool grippersReady) = 0;
    // One step of `length` mm (negative: retract).
    virtual void step(double length) = 0;
};

// Inverts `output` and gives `partner` (when not negative) the same new
// level: one click, one state for both.
void InvertOutput(MotionCard& card, int output, int partner = -1);

class ManualOperations {
public:
    ManualOperations(const ParameterSet& params, RunState& run, MotionCard& card,
                     OperatorDialog& dialog, Executor& executor)
        : m_p(params), m_run(run), m_card(card), m_dialog(dialog), m_executor(executor) {}

    FeedPanel& panel() { return m_panel; }
    const FeedPanel& panel() const { return m_panel; }
    // Set by the application; without it the double-stroke gripper's feed
    // buttons do nothing.
    void setGripperPrograms(GripperPrograms* programs) { m_programs = programs; }

    // "送  料" / "退  料" pressed and released (mouse down / up, or the
    // machine's buttons).
    void feedPressed(bool retract);
    void feedReleased();
    void feedButton(bool retract, bool pressed) { pressed ? feedPressed(retract) : feedReleased(); }

    // "回 零": feed-axis homing (a second click cancels a running search).
    FeedHomingResult Command_XZ();

    // "压紧": the clamp output 3 together with output 11. "机械手1",
    // "机械手2": gripper 1 (output 4) and gripper 2 (output 5). Each click
    // inverts the output.
    void toggleClamp();
    void toggleGripper(int gripper);

    // A run, a homing or a moving axis.
    bool busy() const;
    double speed() const;
    double stepLength() const;
    // The grippers hold the strip since a gripper jog set them up.
    bool grippersReady() const { return m_grippersReady; }

private:
    enum class Held { None, Axis, GripperJog };

    void openClamp();
    void startStep(double length);
    void startGripperJog(bool retract);
    void toggle(int output, int partner);

    const ParameterSet& m_p;
    RunState& m_run;
    MotionCard& m_card;
    OperatorDialog& m_dialog;
    Executor& m_executor;
    GripperPrograms* m_programs = nullptr;
    FeedPanel m_panel;
    // What the last accepted press started, so that the release stops only
    // that: never a job the press was refused for, and always the held move
    // even when the single-step box changed while the button was down.
    Held m_held = Held::None;
    bool m_grippersReady = false;
};

} // namespace korvel::machine
