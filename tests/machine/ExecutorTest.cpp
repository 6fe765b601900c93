// The executor on the simulated machine, with hand-written programs: dwell
// timing, pause and resume, stop, homing guards, encoder corrections,
// in-position waits, the end of jobs and action runs, and the buttons.

#include "MachineRig.h"
#include "MachineTestSupport.h"
#include "common/Basic.h"
#include "common/TextFile.h"
#include "machine/AxisUnits.h"
#include "machine/ParameterStore.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <tuple>

namespace korvel::test {
namespace {

using machine::RunKind;

constexpr int kIn = 0;

size_t feedMoves(const machine::SimulatedCard& card) {
    return recorded(card, "pmove(0, 1,").size();
}

// Levels of OUT0..OUT11, one digit each.
std::string outputs(machine::SimulatedCard& card) {
    std::string text;
    for (int out = 0; out < 12; ++out) {
        text += std::to_string(card.get_out(kIn, out));
    }
    return text;
}

TEST(ExecutorDwell, HundredMillisecondsWaitThreeTicksBetweenLines) {
    MachineRig rig;
    rig.load({"M10", "G04 P100", "M11"});
    const auto executed = [&](int lines) {
        return rig.clock->runUntil([&] { return rig.executor().linesExecuted() == lines; }, 50);
    };
    ASSERT_TRUE(executed(2));
    const std::int64_t dwellTick = rig.clock->ticks();
    ASSERT_TRUE(executed(3));
    const std::int64_t nextTick = rig.clock->ticks();
    // 100 / 30 rounds to 3 ticks of waiting; the line after runs on the 4th.
    EXPECT_EQ(nextTick - dwellTick, 4);
    EXPECT_EQ(rig.card->get_out(kIn, 0), 0);
}

TEST(ExecutorPause, StopsAfterTheCurrentMotionAndStartResumesWithTheNextLine) {
    MachineRig rig;
    rig.load({"G90 G01", "G92 X0", "X100.0000 F12000", "M10", "X200.0000 F12000", "M11"});
    ASSERT_TRUE(rig.clock->runUntil([&] { return rig.executor().linesExecuted() == 3; }, 100));
    rig.press(12); // pause button while the strip is moving
    EXPECT_EQ(rig.run().WaitFlag, 1);
    rig.clock->runFor(3000);
    EXPECT_DOUBLE_EQ(rig.x(), 100.0);
    EXPECT_EQ(rig.run().CurrentLine, 3);
    EXPECT_EQ(rig.card->get_out(kIn, 0), 0);
    EXPECT_NE(rig.run().ActionRunActive, 0);

    rig.press(13); // start button
    EXPECT_EQ(rig.run().WaitFlag, 0);
    EXPECT_EQ(rig.launcher.jobs, 0) << "resuming must not start a new job";
    ASSERT_TRUE(rig.runToEnd());
    EXPECT_DOUBLE_EQ(rig.x(), 200.0);
    EXPECT_TRUE(rig.dialog.saw("动作完成！"));
}

TEST(ExecutorStop, EndsEveryRunAndSwitchesTheFirstEightOutputsOff) {
    MachineRig rig;
    rig.load({"M10", "M16", "M18", "X1000.0000 F12000"});
    ASSERT_TRUE(rig.clock->runUntil([&] { return rig.executor().linesExecuted() == 4; }, 100));
    rig.clock->step();
    rig.run().WaitFlag = 1;
    rig.run().HomingAxisCode = 2;
    rig.run().DwellTicks = 5;
    rig.executor().Command_Stop();

    const machine::RunState& r = rig.run();
    EXPECT_EQ((std::array{r.JobRunActive, r.SlotRunActive, r.ActionRunActive, r.WaitFlag,
                          r.HomingAxisCode, r.DwellTicks, r.SegmentCounter}),
              (std::array<std::int16_t, 7>{0, 0, 0, 0, 0, 0, -1}));
    // OUT0..OUT7 off, and the clamp's second valve OUT11 with the clamp.
    EXPECT_EQ(outputs(*rig.card), "000000000000");
    rig.clock->runFor(3000);
    EXPECT_TRUE(rig.card->idle());
    EXPECT_LT(rig.x(), 1000.0) << "the feed decelerated instead of finishing its move";
    EXPECT_TRUE(rig.dialog.entries().empty());
}

// A search whose switch never answers is stopped by the distance guard
// with the axis's own message; the line after the search never runs.
TEST(ExecutorHoming, SearchThatNeverMeetsItsSwitchStopsWithTheSwitchMessage) {
    const std::tuple<int, std::int16_t, const char*, const char*> cases[] = {
        {8, 0, "M38", "弯弧轴转动过大，请检查弯弧零位开关！ / Please Check Arc-Axis Zero Switch！"},
        {20, 1, "M42",
         "进刀找零距离过大，请检查进刀零位开关！ / Please Check Foward Zero Switch！"},
    };
    for (const auto& [input, infeedControl, code, message] : cases) {
        SCOPED_TRACE(code);
        MachineRig rig;
        rig.params().InfeedControl = infeedControl;
        rig.card->forceInput(input, 1);
        rig.load({code, "M30", "M10"});
        ASSERT_TRUE(rig.runToEnd(2000));
        EXPECT_EQ(rig.shown(), message);
        EXPECT_EQ(rig.run().HomingAxisCode, 0);
        EXPECT_EQ(rig.card->get_out(kIn, 0), 0);
        rig.clock->runFor(2000);
        EXPECT_TRUE(rig.card->idle());
        if (input == 8) {
            // Stopped just beyond |HomeOffsetY| + 10 degrees, within the ramp down.
            EXPECT_GT(std::fabs(rig.y()), std::fabs(rig.params().HomeOffsetY) + 10.0);
            EXPECT_LT(std::fabs(rig.y()), std::fabs(rig.params().HomeOffsetY) + 20.0);
        }
    }
}

// A search from off the switch ends backed off by the home offset beyond
// the switch edge, with the axis zeroed on the card and in the interpreter.
TEST(ExecutorHoming, SearchEndsBackedOffAndZeroed) {
    for (const auto& [from, code, axis] :
         {std::tuple{"Y-4.0000 F36000", "M38", 2}, std::tuple{"X50.0000 F12000", "M36", 1}}) {
        SCOPED_TRACE(code);
        MachineRig rig;
        rig.load({from, code, "M30", "M10"});
        ASSERT_TRUE(rig.runToEnd(3000));
        EXPECT_TRUE(rig.dialog.saw("动作完成！"));
        EXPECT_EQ(rig.card->get_command_pos(kIn, axis), 0);
        EXPECT_EQ(rig.card->get_actual_pos(kIn, axis), 0);
        const auto& p = rig.params();
        const bool x = axis == 1;
        EXPECT_EQ(x ? rig.run().CurXPulses : rig.run().CurYPulses, 0);
        EXPECT_EQ(rig.card->get_out(kIn, 0), 1);
        const auto& switchAt = rig.card->machine().axes[static_cast<size_t>(axis - 1)].homeSwitch;
        EXPECT_NEAR(static_cast<double>(rig.card->machinePosition(axis) - switchAt),
                    x ? p.HomeOffsetX * p.PulseEquivX : p.HomeOffsetY * p.PulseEquivY, 1.0);
    }
}

// Feeds 100 mm and checks the encoder with "M34" on a roller feed whose
// strip slips. 0.05 mm short is within the tolerance: the feed move and the
// interpreter's own correction, nothing more. A roller that slips a fifth of
// every feed is corrected more than once. Either way the command position
// ends back at the programmed feed.
TEST(ExecutorEncoder, FeedIsCorrectedUntilWithinToleranceAndTheCommandPositionRestored) {
    for (const auto& [slip, fewest, most] :
         {std::tuple{0.0005, 2u, 2u}, std::tuple{0.2, 4u, 99u}}) {
        SCOPED_TRACE(slip);
        MachineRig rig({"EncoderSlip=" + std::to_string(slip)});
        rig.params().FeedType = 0;
        rig.params().EncoderTolerance = 0.1;
        rig.card->setRecording(machine::RecordLevel::Commands);
        rig.load({"G92 X0", "X100.0000 F12000", "M34", "G04 P30", "M10"});
        ASSERT_TRUE(rig.runToEnd(5000));
        EXPECT_GE(feedMoves(*rig.card), fewest);
        EXPECT_LE(feedMoves(*rig.card), most);
        EXPECT_NEAR(rig.card->get_actual_pos(kIn, 1) / rig.params().EncoderPulseEquiv, 100.0, 0.1);
        EXPECT_EQ(rig.card->get_command_pos(kIn, 1),
                  machine::ToPulses(100.0, rig.params().PulseEquivX));
        EXPECT_EQ(rig.run().EncoderCheckPos, 0);
        EXPECT_EQ(rig.card->get_out(kIn, 0), 1);
        EXPECT_EQ(rig.shown(), "动作完成！ / Work Finished！");
    }
}

TEST(ExecutorHoming, ToolSettingStoresTheNewInfeedHomeOffset) {
    MachineRig rig;
    rig.params().InfeedSafeDistance = 2.0;
    rig.params().AutoToolSetSpeed = 600;
    const double offsetBefore = rig.params().HomeOffsetA;
    const double pe = rig.params().PulseEquivA;
    rig.load({"G92 A0", "M44", "M30"});
    ASSERT_TRUE(rig.runToEnd(3000));
    EXPECT_TRUE(rig.dialog.saw("动作完成！"));
    // The search stopped on the tool-setting switch; its distance beyond the
    // safe distance went into the home offset, and A now reads the safe
    // distance.
    const double touched =
        (rig.card->machinePosition(4) - rig.card->machine().axes[3].powerOnPosition) / pe;
    EXPECT_GT(touched, 10.0) << "the search ran to the tool-setting switch";
    EXPECT_EQ(rig.card->get_command_pos(kIn, 4), machine::ToPulses(2.0, pe));
    EXPECT_NEAR(rig.params().HomeOffsetA, offsetBefore + touched - 2.0, 1.0 / pe);
    machine::ParameterSet saved;
    machine::ParameterTables tables;
    machine::ParameterStore(rig.dir, saved, tables).LoadAtStartup();
    EXPECT_NEAR(saved.HomeOffsetA, rig.params().HomeOffsetA, 1e-9);
}

TEST(ExecutorRuns, SlottingRunEndsOnceTheClampIsOpen) {
    MachineRig rig;
    rig.load({"M16", "G04 P60", "M17"}, RunKind::Slot);
    ASSERT_TRUE(rig.runToEnd(100));
    EXPECT_EQ(rig.shown(), "开槽完成！ / Work Finished！");
    EXPECT_EQ(rig.run().SegmentCounter, 0) << "one M16 segment counted from -1";
}

TEST(ExecutorRuns, JobWaitsWhileTheMaterialSensorReportsNoStrip) {
    MachineRig rig;
    rig.params().EncoderPort = 1;
    rig.card->forceInput(2, 1);
    rig.load({"M10", "M11"}, RunKind::Job);
    rig.clock->runFor(600);
    EXPECT_EQ(rig.run().WaitFlag, 1);
    EXPECT_NE(rig.run().JobRunActive, 0);
    EXPECT_EQ(rig.executor().linesExecuted(), 0);
}

TEST(ExecutorInPosition, LiftingBenderRodWaitsForItsSensor) {
    MachineRig rig({"LiftingBenderSensors=1"});
    rig.params().BenderType = 3;
    rig.params().BenderInOutDelay = 0;
    rig.load({"M18", "M10", "M19", "M11"});
    rig.clock->step();
    EXPECT_EQ(rig.run().WaitFlag, 1);
    rig.clock->runFor(120);
    EXPECT_EQ(rig.card->get_out(kIn, 0), 0) << "the rod is not in yet";
    ASSERT_TRUE(rig.runToEnd(200));
    EXPECT_TRUE(rig.dialog.saw("动作完成！"));
    EXPECT_EQ(rig.card->get_out(kIn, 4), 0);
    // Two rod movements of 250 ms each: at least 16 ticks.
    EXPECT_GE(rig.clock->ticks(), 16);
}

// Double-stroke gripper: one stroke 0 -> 100 carries 100 mm, then the
// carriage feeds the remaining 30 mm by moving back to 70. The encoder
// (set by hand: the simulated encoder follows the motor, not the strip)
// reads the strip 1 mm short; the correction moves the carriage 1 mm
// further back, towards 0.
TEST(ExecutorEncoder, DoubleStrokeCorrectionFollowsTheCarriageOnItsWayBack) {
    MachineRig rig;
    auto& p = rig.params();
    p.FeedType = 2;
    p.GripperStroke = 100;
    p.EncoderTolerance = 0.1;
    const std::string speed = " F" + common::FormatNumber(p.AutoSpeedX, "0");
    rig.load({"G92 X0", "X100" + speed, "M24", "X70.0000" + speed, "M34", "M10"});
    ASSERT_TRUE(rig.clock->runUntil([&] { return rig.executor().linesExecuted() == 5; }, 500));
    EXPECT_DOUBLE_EQ(rig.run().GripperStrokes, 1.0);
    rig.card->set_actual_pos(kIn, 1, machine::ToPulses(129.0, p.EncoderPulseEquiv));
    rig.card->setRecording(machine::RecordLevel::Commands);
    rig.clock->step();
    EXPECT_FALSE(rig.dialog.saw("Encoder Error!"));
    EXPECT_EQ(feedMoves(*rig.card), 1);
    const std::string back =
        "pmove(0, 1, " + std::to_string(-machine::ToPulses(1.0, p.PulseEquivX));
    EXPECT_EQ(recorded(*rig.card, back).size(), 1u);
}

TEST(ExecutorEncoder, DoubleStrokeGripperOutsideItsStrokeStopsTheMachine) {
    MachineRig rig;
    rig.params().FeedType = 2;
    rig.params().GripperStroke = 100;
    rig.load({"X200.0000 F12000", "M10"});
    rig.clock->step();
    rig.run().EncoderCheckPos = 1; // a check is pending while the gripper runs away
    ASSERT_TRUE(rig.runToEnd(200));
    EXPECT_TRUE(rig.dialog.saw("Encoder Error!"));
    EXPECT_LT(rig.x(), 200.0);
    EXPECT_EQ(rig.card->get_out(kIn, 0), 0);
}

TEST(ExecutorInPosition, SingleCutterOutWaitsForItsSwitchThenEnds) {
    MachineRig rig;
    rig.params().CutterUpDownControl = 0;
    rig.params().InPositionCheck = 0;
    rig.card->forceInput(16, 1); // the switch does not answer: the run waits
    rig.load({"M12"});
    EXPECT_FALSE(rig.runToEnd(300));
    EXPECT_EQ(rig.run().WaitFlag, 1);
    EXPECT_EQ(rig.card->get_out(kIn, 1), 1);
    EXPECT_TRUE(rig.dialog.entries().empty());

    rig.card->clearInput(16);
    ASSERT_TRUE(rig.runToEnd(100));
    EXPECT_EQ(rig.card->get_out(kIn, 1), 0) << "the valve is switched off once in place";
    EXPECT_EQ(rig.card->read_bit(kIn, 16), 0);
    EXPECT_EQ(rig.shown(), "动作完成！ / Work Finished！");
}

// The feed axis stood at 300 mm; the job feeds 40 mm, is redefined to 10
// and ends at 30 (60 mm of strip): the remaining length counts from the
// job's start, the job ends with the question and records its path.
TEST(ExecutorJob, EndsWithTheQuestionAndRecordsThePath) {
    MachineRig rig;
    rig.load({"X300.0000 F12000"});
    ASSERT_TRUE(rig.runToEnd(1000));
    rig.dialog.clear();
    rig.dialog.setAnswer(true);
    const common::Lines path{"SPLINE 0 2", "0 0 1 0 0 0", "50 0 1 0 0 0", "SPLINE 0 0"};
    common::WriteLines(rig.dir.file("CtrP.dat"), path);
    rig.load({"G92 X0", "X40.0000 F12000", "M10", "G92 X10", "X30.0000 F12000"}, RunKind::Job);
    rig.clock->step();
    EXPECT_DOUBLE_EQ(rig.executor().remainingFeed(), 60.0);
    ASSERT_TRUE(rig.runToEnd(1000));
    EXPECT_EQ(rig.shown(), "加工完成！送料是否回零？ / Work Finished！Feed SeekZero？");
    EXPECT_TRUE(rig.dialog.entries()[0].question);
    EXPECT_EQ(rig.launcher.feedReturns, 1);
    EXPECT_EQ(rig.launcher.finished, 1);
    EXPECT_DOUBLE_EQ(rig.x(), 30.0);
    EXPECT_EQ(rig.run().CurrentLine, 0);
    EXPECT_EQ(common::ReadLines(rig.dir.file("YJG.dat")), path);
}

TEST(ExecutorButtons, StartButtonStartsAJobOnlyWhenNoneRuns) {
    MachineRig rig;
    rig.card->setButton(13, true);
    rig.clock->step(); // resting levels: a button held at start-up does not act
    rig.card->setButton(13, false);
    rig.clock->step();
    EXPECT_EQ(rig.launcher.jobs, 0);
    rig.press(12);
    EXPECT_EQ(rig.run().WaitFlag, 0) << "a pause on an idle machine leaves no wait behind";
    rig.press(13);
    EXPECT_EQ(rig.launcher.jobs, 1);
    rig.load({"X500.0000 F12000"}, RunKind::Job);
    rig.press(13);
    EXPECT_EQ(rig.launcher.jobs, 1);
    rig.executor().Command_Stop();
    rig.load({"X900.0000 F12000"}, RunKind::Action);
    rig.press(13);
    EXPECT_EQ(rig.launcher.jobs, 1) << "a jog program keeps the machine until it ends";
    rig.executor().Command_Stop();
    // The lifting double bender's rod sensors are wired to IN10..IN13.
    rig.params().BenderType = 3;
    rig.params().BenderInOutDelay = 0;
    rig.press(13);
    EXPECT_EQ(rig.launcher.jobs, 1);
}

TEST(ExecutorButtons, FeedButtonsMoveToIn22AndIn23WithInfeedLimits) {
    MachineRig rig;
    rig.clock->step();
    rig.press(18);
    rig.press(19);
    const std::vector<std::pair<bool, bool>> normal{
        {false, true}, {false, false}, {true, true}, {true, false}};
    EXPECT_EQ(rig.launcher.feeds, normal);

    rig.launcher.feeds.clear();
    rig.params().InfeedLimitActive = 1;
    rig.press(22);
    rig.press(23);
    EXPECT_EQ(rig.launcher.feeds, normal);
    rig.load({"X500.0000 F12000"});
    rig.press(19); // the infeed's forward limit
    EXPECT_EQ(rig.run().ActionRunActive, 0);
    EXPECT_TRUE(rig.dialog.saw("角膜片磨损过大，请更换后再加工！"));
}

TEST(ExecutorCalibration, FeedCheckCorrectsUntilTheEncoderAgrees) {
    MachineRig rig({"EncoderSlip=0.1"});
    rig.params().EncoderTolerance = 0.05;
    rig.load({"G92 X0", "X50.0000 F12000"});
    ASSERT_TRUE(rig.runToEnd(1000));
    rig.executor().startCalibrationFeedCheck(50.0, 2);
    ASSERT_TRUE(
        rig.clock->runUntil([&] { return rig.executor().calibrationFeedTarget() == 0.0; }, 1000));
    EXPECT_NEAR(rig.card->get_actual_pos(kIn, 1) / rig.params().EncoderPulseEquiv, 50.0, 0.05);
}

} // namespace
} // namespace korvel::test
