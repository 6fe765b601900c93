#include "MachineTestSupport.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "machine/FeedHoming.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::machine;
using korvel::test::handMachine;
using korvel::test::handParameters;

namespace {

class SimCardTest : public ::testing::Test {
protected:
    ParameterSet params = handParameters();
    SimulatedCard card{handMachine(params)};
};

// --- profiles ------------------------------------------------------------------------

TEST_F(SimCardTest, TrapezoidEndsExactlyOnTargetInTheExpectedTime) {
    card.set_startv(0, 1, 1000);
    card.set_speed(0, 1, 10000);
    card.set_acc(0, 1, 80); // 80 x 125 = 10000 pulses/s^2
    card.pmove(0, 1, 20000);
    card.advance(1000);
    // Ramp 1000 -> 10000 takes 0.9 s: the axis cruises at full speed now.
    EXPECT_EQ(card.get_speed(0, 1), 10000);
    const std::int64_t rest = card.runUntilIdle();
    EXPECT_EQ(card.get_command_pos(0, 1), 20000);
    EXPECT_EQ(card.get_actual_pos(0, 1), 20000);
    // Two ramps of 0.9 s over 4950 pulses each, 10100 pulses at 10000/s.
    EXPECT_NEAR(1000 + rest, 2810, 15);
    EXPECT_EQ(card.get_status(0, 1), 0);
    EXPECT_EQ(card.get_speed(0, 1), 0);
}

TEST_F(SimCardTest, ConstantSpeedMoveAndNegativeMoves) {
    card.set_startv(0, 2, 1000);
    card.set_speed(0, 2, 1000);
    card.set_acc(0, 2, 10);
    card.pmove(0, 2, -1000);
    EXPECT_EQ(card.get_status(0, 2), 1);
    EXPECT_NEAR(card.runUntilIdle(), 1000, 2);
    EXPECT_EQ(card.get_command_pos(0, 2), -1000);
    // A second move while the first runs is refused.
    card.pmove(0, 2, 500);
    EXPECT_EQ(card.pmove(0, 2, 500), kCardBusy);
    card.runUntilIdle();
    EXPECT_EQ(card.get_command_pos(0, 2), -500);
}

TEST_F(SimCardTest, DecelerationStopRampsDownBeforeTheTarget) {
    card.set_startv(0, 1, 1000);
    card.set_speed(0, 1, 10000);
    card.set_acc(0, 1, 80);
    card.pmove(0, 1, 1000000);
    card.advance(1000);
    const std::int32_t at = card.get_command_pos(0, 1);
    card.dec_stop(0, 1);
    const std::int64_t stopTime = card.runUntilIdle();
    EXPECT_NEAR(stopTime, 900, 5);
    EXPECT_NEAR(card.get_command_pos(0, 1) - at, 4950, 20);
}

// --- switches --------------------------------------------------------------------------

struct HomeCase {
    int axis;
    int input;
    double pulseEquiv;
    double powerOnDistance;
};

TEST_F(SimCardTest, HomingSearchesStopExactlyOnTheSwitchWithLevelZero) {
    // Y, Z and A search upwards (positive homing speeds); their switches
    // read 0 while pressed and the search stops at level 0.
    const HomeCase cases[] = {{2, 8, 50, 3}, {3, 14, 100, 4}, {4, 20, 100, 3}};
    for (const HomeCase& c : cases) {
        SCOPED_TRACE(c.axis);
        EXPECT_EQ(card.machinePosition(c.axis), -c.powerOnDistance * c.pulseEquiv);
        EXPECT_EQ(card.read_bit(0, c.input), 1);
        card.set_stop0_mode(0, c.axis, 1, 0);
        card.set_speed(0, c.axis, 500);
        card.set_startv(0, c.axis, 1000);
        card.set_acc(0, c.axis, 100);
        card.pmove(0, c.axis, 1000000);
        card.runUntilIdle();
        EXPECT_EQ(card.machinePosition(c.axis), 0);
        EXPECT_EQ(card.get_command_pos(0, c.axis), c.powerOnDistance * c.pulseEquiv);
        EXPECT_EQ(card.read_bit(0, c.input), 0);
        // Leaving the switch with the stop level 1 ends one pulse off it.
        card.set_stop0_mode(0, c.axis, 1, 1);
        card.pmove(0, c.axis, -1000000);
        card.runUntilIdle();
        EXPECT_EQ(card.machinePosition(c.axis), -1);
        EXPECT_EQ(card.read_bit(0, c.input), 1);
    }
}

TEST_F(SimCardTest, WrongStopLevelDoesNotStartTheSearch) {
    card.set_stop0_mode(0, 2, 1, 1); // IN8 already reads 1
    card.pmove(0, 2, 1000000);
    EXPECT_EQ(card.get_status(0, 2), 0);
    EXPECT_EQ(card.get_command_pos(0, 2), 0);
}

TEST(SimCardDirections, NegativeHomingSpeedPutsTheSwitchBelow) {
    ParameterSet params = handParameters();
    params.HomeSpeedY = -600;
    SimulatedCard card(handMachine(params));
    EXPECT_EQ(card.machinePosition(2), 150);
    card.set_stop0_mode(0, 2, 1, 0);
    card.pmove(0, 2, -1000000);
    card.runUntilIdle();
    EXPECT_EQ(card.machinePosition(2), 0);
    EXPECT_EQ(card.get_command_pos(0, 2), -150);
}

TEST_F(SimCardTest, FeedHomingSearchesBackToTheSwitchAndLeavesIt) {
    RunState run;
    // Power-on: 5 mm ahead of the feed switch, which reads 0 off it.
    EXPECT_EQ(card.machinePosition(1), 500);
    EXPECT_EQ(card.read_bit(0, 2), 0);
    EXPECT_EQ(HomeFeedAxis(card, params, run, {1200, false}), FeedHomingResult::Searching);
    EXPECT_EQ(run.HomingAxisCode, 1);
    EXPECT_EQ(run.HomingActive, 1);
    card.runUntilIdle();
    EXPECT_EQ(card.machinePosition(1), 0);
    EXPECT_EQ(card.read_bit(0, 2), 1);
    EXPECT_EQ(card.get_command_pos(0, 1), -500);

    // Standing on the switch, the search runs forward until it releases.
    run.HomingAxisCode = 0;
    card.set_stop0_mode(0, 1, 0, 0);
    card.pmove(0, 1, -300);
    card.runUntilIdle();
    ASSERT_EQ(card.read_bit(0, 2), 1);
    EXPECT_EQ(HomeFeedAxis(card, params, run, {1200, false}), FeedHomingResult::Searching);
    card.runUntilIdle();
    EXPECT_EQ(card.machinePosition(1), 1);
    EXPECT_EQ(card.read_bit(0, 2), 0);
}

TEST_F(SimCardTest, FeedHomingCancelsOnSecondClickAndRespectsBusy) {
    RunState run;
    HomeFeedAxis(card, params, run, {1200, false});
    card.advance(50);
    EXPECT_EQ(HomeFeedAxis(card, params, run, {1200, false}), FeedHomingResult::Cancelled);
    EXPECT_EQ(run.HomingAxisCode, 0);
    card.runUntilIdle();
    EXPECT_GT(card.machinePosition(1), 0); // stopped before the switch
    // A job run makes the button do nothing, but not the program's "M36".
    run.JobRunActive = -1;
    EXPECT_EQ(HomeFeedAxis(card, params, run, {1200, false}), FeedHomingResult::Ignored);
    EXPECT_EQ(HomeFeedAxis(card, params, run, {1200, true}), FeedHomingResult::Searching);
}

TEST_F(SimCardTest, FeedWithoutSwitchOnlyRetracts) {
    params.FeedHomeSwitch = 50;
    RunState run;
    EXPECT_EQ(HomeFeedAxis(card, params, run, {600, false}), FeedHomingResult::Retracting);
    EXPECT_EQ(card.get_speed(0, 1), 1000); // starts at the start velocity
    card.runUntilIdle();
    EXPECT_EQ(card.get_command_pos(0, 1), -5000);
    EXPECT_EQ(run.HomingAxisCode, 0);
}

TEST_F(SimCardTest, ToolSettingStopsOnStopOneInput) {
    card.set_stop1_mode(0, 4, 1, 0);
    card.set_speed(0, 4, 500);
    card.pmove(0, 4, 1000000);
    card.runUntilIdle();
    // The tool-setting switch sits at A = 20 mm, pressed from there on.
    EXPECT_EQ(card.machinePosition(4), 2000);
    EXPECT_EQ(card.read_bit(0, 21), 0);
}

TEST_F(SimCardTest, EnabledLimitsStopTheAxis) {
    card.set_speed(0, 2, 100000);
    card.pmove(0, 2, 1000000);
    card.runUntilIdle();
    EXPECT_EQ(card.get_command_pos(0, 2), 1000000); // limits off by default
    card.set_command_pos(0, 2, 0);
    card.pmove(0, 2, -1000000);
    card.runUntilIdle();
    card.set_limit_mode(0, 2, 1, 1, 0);
    // Now at machine -150; the negative limit is -360 degrees.
    card.pmove(0, 2, -1000000);
    card.runUntilIdle();
    EXPECT_EQ(card.machinePosition(2), -18000);
    card.pmove(0, 2, -10);
    EXPECT_EQ(card.get_status(0, 2), 0);
    card.pmove(0, 2, 10);
    card.runUntilIdle();
    EXPECT_EQ(card.machinePosition(2), -17990);
}

// --- interpolation queue ------------------------------------------------------------------

TEST_F(SimCardTest, QueuedSegmentsRunBackToBack) {
    for (int i = 0; i < 3; ++i) {
        // 100 pulses at queue speed 10000 = 5000 pulses/s: 20 ms each.
        card.fifo_inp_move2(0, 1, 2, 100, -40, 10000);
    }
    EXPECT_EQ(card.read_fifo_empty(0), 0);
    EXPECT_EQ(card.get_inp_status(0), 1);
    EXPECT_EQ(Axis_Status(card), 1);
    card.advance(20);
    EXPECT_EQ(card.get_command_pos(0, 1), 100);
    EXPECT_EQ(card.get_command_pos(0, 2), -40);
    card.advance(10);
    EXPECT_EQ(card.get_command_pos(0, 1), 150);
    EXPECT_EQ(card.get_speed(0, 1), 5000);
    card.advance(30);
    EXPECT_EQ(card.get_command_pos(0, 1), 300);
    EXPECT_EQ(card.get_command_pos(0, 2), -120);
    EXPECT_TRUE(card.idle());
    EXPECT_EQ(Axis_Status(card), 0);
    EXPECT_EQ(card.fifo_inp_move2(0, 1, 3, 1, 1, 100), kCardBadArgument);
}

TEST_F(SimCardTest, QueueWaitsForASingleAxisMoveToEnd) {
    card.set_startv(0, 1, 1000);
    card.set_speed(0, 1, 1000);
    card.pmove(0, 1, 100); // 100 ms
    card.fifo_inp_move2(0, 1, 2, 100, 0, 10000);
    card.advance(50);
    EXPECT_EQ(card.get_command_pos(0, 1), 50);
    EXPECT_NEAR(card.runUntilIdle(), 50 + 20, 1);
    EXPECT_EQ(card.get_command_pos(0, 1), 200);
}

TEST_F(SimCardTest, ResetFifoDropsQueuedSegments) {
    card.fifo_inp_move2(0, 1, 2, 100, 0, 10000);
    card.fifo_inp_move2(0, 1, 2, 100, 0, 10000);
    card.advance(10);
    card.reset_fifo(0);
    EXPECT_TRUE(card.idle());
    EXPECT_EQ(card.get_command_pos(0, 1), 50);
}

// --- encoder, sensors, buttons ---------------------------------------------------------------

TEST(SimCardEncoder, RatioAndSlip) {
    ParameterSet params = handParameters();
    params.EncoderPulseEquiv = 200; // two counts per motor pulse
    SimMachineFile file;
    file.EncoderSlip = 0.01;
    SimulatedCard card(handMachine(params, file));
    card.set_speed(0, 1, 100000);
    card.pmove(0, 1, 10000);
    card.runUntilIdle();
    EXPECT_EQ(card.get_command_pos(0, 1), 10000);
    EXPECT_EQ(card.get_actual_pos(0, 1), 19800);
    card.set_actual_pos(0, 1, 7);
    EXPECT_EQ(card.get_actual_pos(0, 1), 7);
}

TEST_F(SimCardTest, PowerOnInputLevels) {
    for (int button : {11, 12, 13, 15, 18, 19, 22, 23}) {
        EXPECT_EQ(card.read_bit(0, button), 1) << button;
    }
    EXPECT_EQ(card.read_bit(0, 17), 0); // cutter back
    EXPECT_EQ(card.read_bit(0, 16), 1);
    EXPECT_EQ(card.read_bit(0, 2), 0);
    for (int sw : {8, 14, 20, 21}) {
        EXPECT_EQ(card.read_bit(0, sw), 1) << sw;
    }
    card.setButton(13, true);
    EXPECT_EQ(card.read_bit(0, 13), 0);
    card.setButton(13, false);
    EXPECT_EQ(card.read_bit(0, 13), 1);
    card.forceInput(14, 0);
    EXPECT_EQ(card.read_bit(0, 14), 0);
    card.clearInput(14);
    EXPECT_EQ(card.read_bit(0, 14), 1);
    EXPECT_EQ(card.read_bit(0, 24), kCardBadArgument);
    EXPECT_EQ(card.read_bit(1, 2), kCardBadArgument);
}

TEST_F(SimCardTest, CutterInPositionInputsFollowTheValvesAfterTheirDelays) {
    card.write_bit(0, 1, 1);
    EXPECT_EQ(card.read_bit(0, 17), 1); // left the back position
    card.advance(149);
    EXPECT_EQ(card.read_bit(0, 16), 1);
    card.advance(1);
    EXPECT_EQ(card.read_bit(0, 16), 0);
    card.write_bit(0, 1, 0); // the cutter stays out
    card.advance(500);
    EXPECT_EQ(card.read_bit(0, 16), 0);
    card.write_bit(0, 2, 1);
    EXPECT_EQ(card.read_bit(0, 16), 1);
    card.advance(150);
    EXPECT_EQ(card.read_bit(0, 17), 0);
}

TEST(SimCardRods, LiftingBenderSensorsFollowOut4AndOut5) {
    ParameterSet params = handParameters();
    SimMachineFile file;
    file.LiftingBenderSensors = 1;
    SimulatedCard card(handMachine(params, file));
    EXPECT_EQ(card.read_bit(0, 11), 0); // rod I out
    EXPECT_EQ(card.read_bit(0, 13), 0); // rod II out
    EXPECT_EQ(card.read_bit(0, 10), 1);
    card.write_bit(0, 4, 1);
    card.advance(249);
    EXPECT_EQ(card.read_bit(0, 10), 1);
    EXPECT_EQ(card.read_bit(0, 11), 1);
    card.advance(1);
    EXPECT_EQ(card.read_bit(0, 10), 0);
    card.write_bit(0, 5, 1);
    card.write_bit(0, 4, 0);
    card.advance(250);
    EXPECT_EQ(card.read_bit(0, 11), 0);
    EXPECT_EQ(card.read_bit(0, 12), 0);
    EXPECT_EQ(card.read_bit(0, 13), 1);
}

TEST(SimCardInfeed, LimitInputTripsAtItsPosition) {
    ParameterSet params = handParameters();
    SimMachineFile file;
    file.InfeedLimit = 5;
    SimulatedCard card(handMachine(params, file));
    card.set_speed(0, 4, 100000);
    card.pmove(0, 4, 799); // machine -300 -> 499
    card.runUntilIdle();
    EXPECT_EQ(card.read_bit(0, 19), 1);
    card.pmove(0, 4, 1);
    card.runUntilIdle();
    EXPECT_EQ(card.read_bit(0, 19), 0);
}

// --- recording ---------------------------------------------------------------------------------

TEST_F(SimCardTest, RecordingLogsCallsAndOutputChangesWithTheirTimes) {
    card.setRecording(RecordLevel::Commands);
    card.write_bit(0, 3, 1);
    card.write_bit(0, 3, 1);
    card.read_bit(0, 2); // reads only at RecordLevel::All
    card.advance(10);
    card.pmove(0, 1, 5);
    const std::vector<std::string> expected{"0 write_bit(0, 3, 1) = 0", "0 OUT3=1",
                                            "0 write_bit(0, 3, 1) = 0", "10 pmove(0, 1, 5) = 0"};
    EXPECT_EQ(card.recordingLines(), expected);
    card.clearRecording();
    card.setRecording(RecordLevel::All);
    card.get_command_pos(0, 1);
    ASSERT_EQ(card.recording().size(), 1u);
    EXPECT_EQ(card.recording()[0].text, "get_command_pos(0, 1) = 0");
}

TEST_F(SimCardTest, CardPresenceAndBadArguments) {
    EXPECT_EQ(card.adt8940a1_initial(), 1);
    card.setCardPresent(false);
    EXPECT_EQ(card.adt8940a1_initial(), 0);
    EXPECT_EQ(card.pmove(0, 5, 10), kCardBadArgument);
    EXPECT_EQ(card.pmove(1, 1, 10), kCardBadArgument);
    EXPECT_EQ(card.write_bit(0, 12, 1), kCardBadArgument);
    EXPECT_EQ(card.get_out(0, -1), kCardBadArgument);
    EXPECT_EQ(card.set_speed(0, 0, 10), kCardBadArgument);
}

// --- machine description file --------------------------------------------------------------------

TEST(SimMachineDescription, ParsesValuesAndRejectsBadLines) {
    const SimMachineFile file =
        parseSimMachineFile("; comment\r\nYHomeSwitch=10\r\n\r\nencoderslip = 0.02 ; note\r\n");
    EXPECT_DOUBLE_EQ(file.HomeSwitch[1], 10.0);
    EXPECT_DOUBLE_EQ(file.EncoderSlip, 0.02);
    EXPECT_DOUBLE_EQ(file.CutterOutDelay, SimMachineFile{}.CutterOutDelay);
    for (const char* bad : {"Foo=1", "EncoderSlip=0.9", "XHomeSwitch=abc", "noequals",
                            "XHomeSwitch=1e999", "CutterOutDelay=-1"}) {
        EXPECT_THROW(parseSimMachineFile(bad), common::UserError) << bad;
    }
    try {
        parseSimMachineFile("YHomeSwitch=1\nFoo=1");
    } catch (const common::UserError& e) {
        EXPECT_NE(e.message().en.find("line 2"), std::string::npos);
        EXPECT_FALSE(e.message().zh.empty());
    }
}

TEST(SimMachineDescription, ShippedFileHoldsTheBuiltInValues) {
    const std::string shipped =
        common::ReadBytes(std::filesystem::path(KORVEL_RESOURCES_DIR) / "SimMachine.ini");
    EXPECT_EQ(formatSimMachineFile(parseSimMachineFile(shipped)),
              formatSimMachineFile(SimMachineFile{}));
    test::TempDir dir;
    const common::AppDir app(dir.path());
    EXPECT_EQ(formatSimMachineFile(readSimMachineFile(app)), formatSimMachineFile({}));
    common::WriteLines(app.file("SimMachine.ini"), {"AToolSetSwitch=12.5"});
    EXPECT_DOUBLE_EQ(readSimMachineFile(app).ToolSetSwitch, 12.5);
}

} // namespace
