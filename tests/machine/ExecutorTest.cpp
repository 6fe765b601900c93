// The executor on the simulated machine, with hand-written programs: dwell
// timing, pause and resume, stop, homing guards, encoder corrections,
// in-position waits, the end of jobs and action runs, and the buttons.

#include "MachineRig.h"
#include "MachineTestSupport.h"
#include "common/Basic.h"
#include "common/TextFile.h"
#include "machine/AxisUnits.h"
#include "machine/ParameterStore.h"

#include <algorithm>
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
    struct Case {
        int input;
        std::int16_t infeedControl;
        const char* code;
        int axis;
        double guard; // beyond the home offset
        const char* message;
    };
    const Case cases[] = {
        {8, 0, "M38", 2, 10.0,
         "弯弧轴转动过大，请检查弯弧零位开关！ / Please Check Arc-Axis Zero Switch！"},
        {20, 1, "M42", 4, 2.0,
         "进刀找零距离过大，请检查进刀零位开关！ / Please Check Foward Zero Switch！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        MachineRig rig;
        rig.params().InfeedControl = c.infeedControl;
        rig.card->forceInput(c.input, 1);
        rig.load({c.code, "M30", "M10"});
        ASSERT_TRUE(rig.runToEnd(2000));
        EXPECT_EQ(rig.shown(), c.message);
        EXPECT_EQ(rig.run().HomingAxisCode, 0);
        EXPECT_EQ(rig.card->get_out(kIn, 0), 0);
        rig.clock->runFor(2000);
        EXPECT_TRUE(rig.card->idle());
        // Stopped just beyond the guard distance, within the ramp down.
        const auto& p = rig.params();
        const bool y = c.axis == 2;
        const double travel =
            std::fabs(rig.card->get_command_pos(kIn, c.axis) / (y ? p.PulseEquivY : p.PulseEquivA));
        const double limit = std::fabs(y ? p.HomeOffsetY : p.HomeOffsetA) + c.guard;
        EXPECT_GT(travel, limit);
        EXPECT_LT(travel, limit + 10.0);
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

// After the bend search the arm stands on the side of the switch its
// back-off took it to; without a back-off the search direction decides.
TEST(ExecutorHoming, BendSearchRemembersTheSideTheArmStandsOn) {
    for (const double offset : {2.0, -2.0, 0.05}) {
        SCOPED_TRACE(offset);
        MachineRig rig;
        rig.params().HomeOffsetY = offset;
        const double side = std::fabs(offset) > 0.1 ? offset : rig.params().HomeSpeedY;
        const std::int16_t expected = side > 0 ? 1 : -1;
        rig.run().LastBendDir = static_cast<std::int16_t>(-expected);
        rig.load({"M38", "M30"});
        ASSERT_TRUE(rig.runToEnd(3000));
        EXPECT_EQ(rig.run().LastBendDir, expected);
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
// The position fields, the speed and the feed-length texts of the window.
TEST(ExecutorDisplay, PositionsSpeedAndFeedLengthsInTheirFormats) {
    MachineRig rig;
    rig.load({"G92 X0", "X12.3460 Y-4.5000 F12000", "M10", "X2012.3460 F12000"});
    ASSERT_TRUE(rig.clock->runUntil([&] { return rig.executor().linesExecuted() == 4; }, 1000));
    // Halfway through a 2 m feed at 12000 mm/min the strip cruises.
    rig.clock->runFor(150);
    const machine::ExecutorDisplay& d = rig.executor().display();
    EXPECT_EQ(d.feedSpeed, "12000.0");
    ASSERT_TRUE(rig.runToEnd(1000));
    rig.clock->step();
    EXPECT_EQ(d.positions, (std::array<std::string, 4>{"2012.35", "-4.50", "0.00", "0.00"}));
    EXPECT_EQ(d.feedSpeed, "0.0");

    // A job of 40 + 20 mm: the length correction is shown only when there
    // is one, whichever its sign.
    const std::tuple<double, std::string> corrections[] = {
        {0.0, "60.0000  mm"},
        {1.2, "60.0000  mm  补偿长度 1.2000  mm"},
        {-0.05, "60.0000  mm  补偿长度 -0.0500  mm"},
    };
    for (const auto& [correction, text] : corrections) {
        MachineRig job;
        job.executor().setCompensationLength(correction);
        job.load({"G92 X0", "X40.0000 F12000", "M10", "G92 X10", "X30.0000 F12000"}, RunKind::Job);
        job.clock->step(); // the feed is planned as the job starts
        job.clock->step();
        EXPECT_EQ(job.executor().display().feedLengthText, text);
        EXPECT_EQ(job.executor().display().remainingText, "60.0000  mm");
    }
}

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

// IN11 homes the arm and IN15 sets the tool, each on its own condition; the
// lifting double bender with sensed rods takes IN10..IN13 (not IN15) for
// its rod sensors.
TEST(ExecutorButtons, BendHomeAndToolSettingButtonsFollowTheirConditions) {
    struct Case {
        const char* name;
        int input;
        void (*setup)(MachineRig&);
        int homingCode;
        int toolSettings;
    };
    const auto none = [](MachineRig&) {};
    const Case cases[] = {
        {"bend home", 11, none, 2, 0},
        {"bend home switched off in the window", 11,
         [](MachineRig& r) { r.executor().setBendHomeEnabled(false); }, 0, 0},
        {"rod sensors on IN10..IN13", 11,
         [](MachineRig& r) {
             r.params().BenderType = 3;
             r.params().BenderInOutDelay = 1;
         },
         0, 0},
        {"lifting bender with timed rods", 11,
         [](MachineRig& r) {
             r.params().BenderType = 3;
             r.params().BenderInOutDelay = 1.5;
         },
         2, 0},
        {"tool setting", 15, [](MachineRig& r) { r.params().AutoToolSetSpeed = 20; }, 0, 1},
        {"no tool-setting speed", 15, [](MachineRig& r) { r.params().AutoToolSetSpeed = 0; }, 0, 0},
        {"tool setting beside the rod sensors", 15,
         [](MachineRig& r) {
             r.params().AutoToolSetSpeed = 1;
             r.params().BenderType = 3;
             r.params().BenderInOutDelay = 0;
         },
         0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineRig rig;
        c.setup(rig);
        rig.clock->step();
        rig.press(c.input);
        EXPECT_EQ(rig.run().HomingAxisCode, c.homingCode);
        EXPECT_EQ(rig.launcher.toolSettings, c.toolSettings);
        EXPECT_EQ(rig.launcher.jobs, 0);
        EXPECT_EQ(rig.run().WaitFlag, 0);
    }
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

// The check allows the tolerance but never less than two motor pulses
// (0.01 mm at 200 pulses/mm): 0.0075 mm short with no tolerance set is
// left alone.
TEST(ExecutorCalibration, FeedCheckCorrectsUntilTheEncoderAgrees) {
    const std::tuple<double, double, bool> cases[] = {{0.1, 0.05, true}, {0.00015, 0.0, false}};
    for (const auto& [slip, tolerance, corrects] : cases) {
        SCOPED_TRACE(slip);
        // 10 encoder counts per motor pulse: 2000 counts/mm.
        MachineRig rig({"EncoderSlip=" + std::to_string(slip), "EncoderRatio=10"});
        rig.params().PulseEquivX = 200;
        rig.params().EncoderPulseEquiv = 2000;
        rig.params().EncoderTolerance = tolerance;
        rig.load({"G92 X0", "X50.0000 F12000"});
        ASSERT_TRUE(rig.runToEnd(1000));
        rig.card->setRecording(machine::RecordLevel::Commands);
        rig.executor().startCalibrationFeedCheck(50.0, 2);
        ASSERT_TRUE(rig.clock->runUntil(
            [&] { return rig.executor().calibrationFeedTarget() == 0.0; }, 1000));
        EXPECT_EQ(feedMoves(*rig.card) > 0, corrects);
        EXPECT_NEAR(rig.card->get_actual_pos(kIn, 1) / rig.params().EncoderPulseEquiv, 50.0,
                    std::max(tolerance, 0.01));
    }
}

} // namespace
} // namespace korvel::test
