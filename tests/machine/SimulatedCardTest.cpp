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

    void profile(int axis, std::int32_t startv, std::int32_t speed, std::int32_t acc) {
        card.set_startv(0, axis, startv);
        card.set_speed(0, axis, speed);
        card.set_acc(0, axis, acc);
    }
    // A card whose machine description differs from the built-in one.
    SimulatedCard cardWith(SimMachineFile file) { return SimulatedCard(handMachine(params, file)); }
};

// --- profiles -----------------------------------------------------------------------------

TEST_F(SimCardTest, TrapezoidAndConstantSpeedMovesEndExactlyInTheirTimeOrRampDownOnAStop) {
    // 80 x 125 = 10000 pulses/s^2: the ramp 1000 -> 10000 takes 0.9 s.
    profile(1, 1000, 10000, 80);
    card.pmove(0, 1, 20000);
    card.advance(1000);
    EXPECT_EQ(card.get_speed(0, 1), 10000);
    // Two ramps of 0.9 s over 4950 pulses each, 10100 pulses at 10000/s.
    EXPECT_NEAR(1000 + card.runUntilIdle(), 2810, 15);
    EXPECT_EQ(card.get_command_pos(0, 1), 20000);
    EXPECT_EQ(card.get_actual_pos(0, 1), 20000);
    EXPECT_EQ(card.get_speed(0, 1), 0);

    profile(2, 1000, 1000, 10);
    card.pmove(0, 2, -1000);
    EXPECT_EQ(card.get_status(0, 2), 1);
    EXPECT_EQ(card.pmove(0, 2, 500), kCardBusy); // refused while moving
    EXPECT_NEAR(card.runUntilIdle(), 1000, 2);
    EXPECT_EQ(card.get_command_pos(0, 2), -1000);
    EXPECT_EQ(card.get_status(0, 2), 0);

    // A deceleration stop ramps down before the target.
    card.pmove(0, 1, 1000000);
    card.advance(1000);
    const std::int32_t at = card.get_command_pos(0, 1);
    card.dec_stop(0, 1);
    EXPECT_NEAR(card.runUntilIdle(), 900, 5);
    EXPECT_NEAR(card.get_command_pos(0, 1) - at, 4950, 20);
}

// --- switches -----------------------------------------------------------------------------

TEST_F(SimCardTest, SearchesStopExactlyOnTheSwitchWithTheirLevels) {
    struct Case {
        const char* name;
        int axis;
        int input;
        bool toolSetting;      // stop-1 instead of stop-0
        int direction;         // of the search
        std::int64_t startsAt; // machine position at power-on
        std::int64_t switchAt; // first pressed position
    };
    // Y, Z and A search upwards (positive homing speeds) from a few units
    // below their switches, which read 0 while pressed; the tool-setting
    // switch sits at A = 20 mm. With a negative homing speed the bend
    // switch lies below the arm.
    const Case cases[] = {
        {"Y", 2, 8, false, 1, -150, 0},
        {"Z", 3, 14, false, 1, -400, 0},
        {"A", 4, 20, false, 1, -300, 0},
        {"A tool setting", 4, 21, true, 1, -300, 2000},
        {"Y searching down", 2, 8, false, -1, 150, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        params.HomeSpeedY = static_cast<std::int16_t>(600 * c.direction);
        SimulatedCard sim(handMachine(params));
        const auto stopMode = [&](int level) {
            return c.toolSetting ? sim.set_stop1_mode(0, c.axis, 1, level)
                                 : sim.set_stop0_mode(0, c.axis, 1, level);
        };
        EXPECT_EQ(sim.machinePosition(c.axis), c.startsAt);
        EXPECT_EQ(sim.read_bit(0, c.input), 1);
        // With the input already at the stop level the search does not start.
        stopMode(1);
        sim.pmove(0, c.axis, c.direction * 1000000);
        EXPECT_EQ(sim.get_status(0, c.axis), 0);
        stopMode(0);
        sim.set_speed(0, c.axis, 500);
        sim.pmove(0, c.axis, c.direction * 1000000);
        sim.runUntilIdle();
        EXPECT_EQ(sim.machinePosition(c.axis), c.switchAt);
        EXPECT_EQ(sim.get_command_pos(0, c.axis), c.switchAt - c.startsAt);
        EXPECT_EQ(sim.read_bit(0, c.input), 0);
        // Leaving the switch with the stop level 1 ends one pulse off it.
        stopMode(1);
        sim.pmove(0, c.axis, -c.direction * 1000000);
        sim.runUntilIdle();
        EXPECT_EQ(sim.machinePosition(c.axis), c.switchAt - c.direction);
        EXPECT_EQ(sim.read_bit(0, c.input), 1);
    }
}

TEST_F(SimCardTest, FeedHomingLeavesTheSwitchItStandsOn) {
    // The feed switch reads 1 only while pressed, from 0 mm downwards; X
    // starts 5 mm ahead of it. (The search back onto it runs in the "M36"
    // program test.)
    card.set_speed(0, 1, 100000);
    card.pmove(0, 1, -600);
    card.runUntilIdle();
    EXPECT_EQ(card.read_bit(0, 2), 1);
    RunState run;
    EXPECT_EQ(HomeFeedAxis(card, params, run, {1200, false}), FeedHomingResult::Searching);
    EXPECT_EQ(run.HomingAxisCode, 1);
    card.runUntilIdle();
    EXPECT_EQ(card.machinePosition(1), 1);
    EXPECT_EQ(card.read_bit(0, 2), 0);
}

TEST_F(SimCardTest, FeedHomingCancelRetractAndBusy) {
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
    EXPECT_EQ(HomeFeedAxis(card, params, run, {1200, true}), FeedHomingResult::Ignored);

    // Without a switch the roller only pulls the strip back 50 mm at the
    // manual speed (600 mm/min = 1000 pulses/s, the start velocity).
    test::stopEverything(card);
    run = RunState{};
    params.FeedHomeSwitch = 50;
    const std::int32_t from = card.get_command_pos(0, 1);
    EXPECT_EQ(HomeFeedAxis(card, params, run, {600, false}), FeedHomingResult::Retracting);
    EXPECT_EQ(card.get_speed(0, 1), 1000);
    card.runUntilIdle();
    EXPECT_EQ(card.get_command_pos(0, 1) - from, -5000);
    EXPECT_EQ(run.HomingAxisCode, 0);
}

TEST_F(SimCardTest, EnabledLimitsStopTheAxis) {
    // Y starts at -3 degrees; the negative limit is -360 degrees.
    card.set_speed(0, 2, 100000);
    card.set_limit_mode(0, 2, 1, 1, 0);
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

TEST_F(SimCardTest, QueuedSegmentsRunBackToBackAfterASingleAxisMove) {
    profile(1, 1000, 1000, 0);
    card.pmove(0, 1, 100); // 100 ms
    for (int i = 0; i < 3; ++i) {
        // 100 pulses at queue speed 10000 = 5000 pulses/s: 20 ms each.
        card.fifo_inp_move2(0, 1, 2, 100, -40, 10000);
    }
    EXPECT_EQ(card.read_fifo_empty(0), 0);
    EXPECT_EQ(card.get_inp_status(0), 1);
    card.advance(99);
    // The queue waits for the move of X, then starts in the same millisecond
    // in which X arrives.
    EXPECT_EQ(card.get_command_pos(0, 1), 99);
    EXPECT_EQ(card.get_command_pos(0, 2), 0);
    card.advance(30);
    EXPECT_EQ(card.get_command_pos(0, 1), 250);
    EXPECT_EQ(card.get_command_pos(0, 2), -60);
    EXPECT_EQ(card.get_speed(0, 1), 5000);
    EXPECT_EQ(Axis_Status(card), 1);
    EXPECT_NEAR(card.runUntilIdle(), 30, 1);
    EXPECT_EQ(card.get_command_pos(0, 1), 400);
    EXPECT_EQ(card.get_command_pos(0, 2), -120);
    EXPECT_EQ(Axis_Status(card), 0);
    EXPECT_EQ(card.fifo_inp_move2(0, 1, 3, 1, 1, 100), kCardBadArgument);

    card.fifo_inp_move2(0, 1, 2, 100, 0, 10000);
    card.fifo_inp_move2(0, 1, 2, 100, 0, 10000);
    card.advance(10);
    card.reset_fifo(0);
    EXPECT_TRUE(card.idle());
    EXPECT_EQ(card.get_command_pos(0, 1), 450);
}

// --- encoder, sensors, buttons ------------------------------------------------------------

TEST_F(SimCardTest, EncoderCountsWithItsRatioAndSlip) {
    params.EncoderPulseEquiv = 200; // two counts per motor pulse
    SimMachineFile file;
    file.EncoderSlip = 0.01;
    SimulatedCard sim = cardWith(file);
    sim.set_speed(0, 1, 100000);
    sim.pmove(0, 1, 10000);
    sim.runUntilIdle();
    EXPECT_EQ(sim.get_command_pos(0, 1), 10000);
    EXPECT_EQ(sim.get_actual_pos(0, 1), 19800);
}

TEST_F(SimCardTest, PowerOnInputLevels) {
    // Buttons idle at 1, the cutter is back (IN17 0), every switch is free:
    // the feed switch IN2 reads 0 off it, the others 1.
    EXPECT_EQ(test::inputLevels(card, {2, 8, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}),
              "011111110111111");
}

TEST_F(SimCardTest, CutterInPositionInputsFollowTheValvesAfterTheirDelays) {
    // IN16 (out) and IN17 (back); OUT1 drives the cutter out, OUT2 back,
    // switching a valve off leaves the cutter where it is.
    card.write_bit(0, 1, 1);
    EXPECT_EQ(test::inputLevels(card, {16, 17}), "11");
    card.advance(149);
    EXPECT_EQ(test::inputLevels(card, {16, 17}), "11");
    card.advance(1);
    EXPECT_EQ(test::inputLevels(card, {16, 17}), "01");
    card.write_bit(0, 1, 0);
    card.advance(500);
    EXPECT_EQ(test::inputLevels(card, {16, 17}), "01");
    card.write_bit(0, 2, 1);
    card.advance(150);
    EXPECT_EQ(test::inputLevels(card, {16, 17}), "10");
}

TEST_F(SimCardTest, RodSensorsAndInfeedLimitWhenFitted) {
    SimMachineFile file;
    file.LiftingBenderSensors = 1;
    file.InfeedLimit = 5;
    SimulatedCard sim = cardWith(file);
    // IN10 / IN12 read 0 once OUT4 / OUT5 are on, IN11 / IN13 once off.
    EXPECT_EQ(test::inputLevels(sim, {10, 11, 12, 13}), "1010");
    sim.write_bit(0, 4, 1);
    sim.advance(249);
    EXPECT_EQ(test::inputLevels(sim, {10, 11, 12, 13}), "1110");
    sim.advance(1);
    EXPECT_EQ(test::inputLevels(sim, {10, 11, 12, 13}), "0110");
    sim.write_bit(0, 5, 1);
    sim.write_bit(0, 4, 0);
    sim.advance(250);
    EXPECT_EQ(test::inputLevels(sim, {10, 11, 12, 13}), "1001");
    // The infeed limit reads 0 from A = 5 mm on (A starts at -3 mm).
    sim.set_speed(0, 4, 100000);
    sim.pmove(0, 4, 799);
    sim.runUntilIdle();
    EXPECT_EQ(sim.read_bit(0, 19), 1);
    sim.pmove(0, 4, 1);
    sim.runUntilIdle();
    EXPECT_EQ(sim.read_bit(0, 19), 0);
}

// --- recording and arguments --------------------------------------------------------------

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
    EXPECT_EQ(card.recordingLines(), std::vector<std::string>{"10 get_command_pos(0, 1) = 0"});
}

TEST_F(SimCardTest, BadArgumentsAreRefused) {
    for (const int result :
         {card.pmove(0, 5, 10), card.pmove(1, 1, 10), card.write_bit(0, 12, 1), card.get_out(0, -1),
          card.set_speed(0, 0, 10), card.read_bit(0, 24), card.read_bit(1, 2)}) {
        EXPECT_EQ(result, kCardBadArgument);
    }
}

// --- machine description file -------------------------------------------------------------

TEST(SimMachineDescription, ParsesValuesAndRejectsBadLines) {
    const SimMachineFile file =
        parseSimMachineFile("; comment\r\nYHomeSwitch=10\r\n\r\nencoderslip = 0.02 ; note\r\n");
    EXPECT_DOUBLE_EQ(file.HomeSwitch[1], 10.0);
    // A file saved by an editor that puts a byte-order mark first.
    EXPECT_DOUBLE_EQ(parseSimMachineFile("\xEF\xBB\xBFYHomeSwitch=7\r\n").HomeSwitch[1], 7.0);
    EXPECT_DOUBLE_EQ(file.EncoderSlip, 0.02);
    EXPECT_DOUBLE_EQ(file.CutterOutDelay, SimMachineFile{}.CutterOutDelay);
    for (const char* bad : {"Foo=1", "EncoderSlip=0.9", "XHomeSwitch=abc", "noequals",
                            "XHomeSwitch=1e999", "CutterOutDelay=-1"}) {
        EXPECT_THROW(parseSimMachineFile(bad), common::UserError) << bad;
    }
    try {
        parseSimMachineFile("YHomeSwitch=1\nFoo=1");
        ADD_FAILURE() << "an unknown name must be refused";
    } catch (const common::UserError& e) {
        EXPECT_NE(e.message().en.find("line 2"), std::string::npos);
        EXPECT_NE(e.message().zh.find("第2行"), std::string::npos);
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
