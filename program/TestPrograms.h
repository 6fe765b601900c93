#pragma once
// The short machine programs that test, calibrate and jog the machine: a
// single front or back slot, a measured test feed between two slots, a
// test arc, the gripper jog programs behind the feed and retract buttons
// and the feed return after a job. Each writes G5.dat, loads it into the
// run state and raises the action-run flag; the executor runs it like a
// job and ends it with "动作完成！".
//
// Test programs start with the same preamble: the pneumatic cutter is
// brought back, the swing or infeed axis homed, the bending arm homed
// (feed and arc tests), the motor cutter returned, then "G90 G01" and
// "G92 X0" make the slotting line the feed origin.

#include "common/AppDir.h"
#include "common/Message.h"
#include "machine/ParameterSet.h"
#include "machine/RunState.h"

#include <functional>

namespace korvel::machine {
class MotionCard;
} // namespace korvel::machine

namespace korvel::program {

class ProgramText;

// The test arc of the curvature table and the arc calibration: radius in
// mm and arc angle in degrees. The arc is bent over its length
// (pi x radius x angle / 180) right after the second slot.
struct TestArc {
    double radius = 100.0;
    double angle = 90.0;
};

// The tapping test of the curvature table window: `count` taps of the arm
// by the linked angle (degrees, its sign the bending side), the strip fed
// `spacing` mm between two taps.
struct TapTest {
    int count = 1;
    double angle = 10.0;
    double spacing = 1.0;
};

// A strip measured after a test feed is trusted when it lies within 15 mm
// of the commanded length and is at least 1 mm long; anything else is a
// misread rule or a wrong unit.
bool MeasuredLengthAccepted(double measured, double commanded);
// "长度错误，请重新测量并输入以mm为单位的数值！"
common::Message LengthErrorMessage();

// The slotting test buttons of the settings windows: a straight front slot,
// the end slot of a letter (cut through with a motor infeed), the start
// slot of a letter (a joint at a right angle) and a straight back slot.
enum class SlotTest { Front, End, Start, Back };

class TestPrograms {
public:
    // encoderOn: the main window's encoder tick box ("打开编码器").
    TestPrograms(common::AppDir dir, machine::ParameterSet& params,
                 const machine::ParameterTables& tables, machine::RunState& run,
                 machine::MotionCard& card, bool encoderOn);

    // Quiet save of the parameter group after a calibration changed it.
    void setParameterSaver(std::function<void()> saver) { m_save = std::move(saver); }

    // Feed calibration: two slots `length` mm apart, then the strip is fed
    // on until the second slot has passed the bender.
    void SLxzhJG(double length);
    // The operator measured the distance between the two slots: the feed
    // axis (or, with the encoder on, the encoder) pulse equivalent is
    // scaled by length / measured and saved. Returns the message to show.
    common::Message SLxzhCSh(const std::string& measured, double length);
    // One front slot / one back slot.
    void KCPcshJG();
    void KCNcshJG();
    // Test arcs bent to the positive and the negative side.
    void WFPcshiJG(const TestArc& arc);
    void WFNcshiJG(const TestArc& arc);
    // The tapping test: the arm taps `count` times with the blocks of the
    // bending program (same tap angle, back-off and bender side codes), the
    // strip fed by the spacing between taps. Absurd values throw
    // common::UserError naming the field; nothing is written then.
    void TapTestProgram(const TapTest& test);
    // The move of the pulse-equivalent calibration panel: the strip is fed
    // `distance` mm from where it stands (grippers take it over first and
    // take up their backlash at the end). Refuses an absurd distance.
    void CalibrationMove(double distance);
    // Gripper jog while the feed / retract button is held: 3000 mm in full
    // strokes. `grippersReady` is the window's gripper state flag (1 once
    // the grippers hold the strip). Returns false when nothing was written
    // (grippers ready and the feed axis away from zero).
    bool FeedJogProgram(bool grippersReady);
    bool RetractJogProgram(bool grippersReady);
    // One step of the double-stroke gripper feed: `length` mm (negative:
    // retract) in whole strokes that alternate between the grippers, then
    // the rest. The carriage is homed first, so the step starts from a
    // known stroke position.
    void GripperStepProgram(double length);
    // After a job: bring the feed axis back from `position` mm to zero.
    void FeedReturnProgram(double position);

    // A slotting test button: one slot as a job cuts it, run as a slotting
    // run. Refused, with the message to show and nothing written, when a
    // motor infeed would cut deeper than the strip is thick or the
    // pneumatic cutter is not back.
    common::Message SlotTestProgram(SlotTest which);
    // Automatic tool setting: home the infeed, lower the cutter to its
    // tool-setting position, search the strip with the infeed until the
    // tool-setting switch stops it (the executor stores the new infeed
    // home offset), then back to zero. Refused while the switch already
    // reports contact or the machine has no tool-setting speed.
    common::Message ToolSettingProgram();

    // Program lines, for tests and the command line (nothing is loaded).
    ProgramText preamble(bool homeBender) const;

private:
    void load(ProgramText& program, machine::RunKind kind = machine::RunKind::Action);
    ProgramText singleSlot(SlotTest which) const;
    void testArc(const TestArc& arc, bool positive);
    void writePressedArc(ProgramText& program, double theta, bool positive, double from,
                         double to) const;
    void writeTappedArc(ProgramText& program, const TestArc& arc, double theta, bool positive,
                        double from, double to) const;
    void gripperJog(ProgramText& program, bool grippersReady, bool retract, double length) const;
    bool jog(bool grippersReady, bool retract);
    void checkGripperStroke() const;
    // Clamp, both grippers open, carriage homed, the first carrier closed,
    // clamp open.
    void gripperSetUp(ProgramText& program, bool gripperII) const;
    std::string speed(double value) const;
    std::string feedLine(double x) const;

    common::AppDir m_dir;
    machine::ParameterSet& m_p;
    const machine::ParameterTables& m_tables;
    machine::RunState& m_run;
    machine::MotionCard& m_card;
    bool m_encoderOn;
    std::function<void()> m_save;
};

} // namespace korvel::program
