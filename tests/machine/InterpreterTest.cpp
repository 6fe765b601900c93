// Call sequences of the line interpreter, checked against a GoogleMock card.
#include "MachineTestSupport.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::machine;
using korvel::test::handParameters;
using korvel::test::MockCard;
using ::testing::_;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::StrictMock;

namespace {

template <typename Card> class InterpreterCalls : public ::testing::Test {
protected:
    ParameterSet params = handParameters();
    RunState run;
    Card card;
    Interpreter interpreter{card, params, run};

    void load(common::Lines lines) { run.loadLines(std::move(lines), RunKind::Job); }

    // The common move set-up of the hand parameters on X and Y.
    void expectXMove(std::int32_t pulses) {
        EXPECT_CALL(card, set_speed(0, 1, 10000));
        EXPECT_CALL(card, set_startv(0, 1, 1000));
        EXPECT_CALL(card, set_acc(0, 1, 2000));
        EXPECT_CALL(card, pmove(0, 1, pulses));
    }
    void expectYMove(std::int32_t pulses) {
        EXPECT_CALL(card, set_speed(0, 2, 2500));
        EXPECT_CALL(card, set_startv(0, 2, 1000));
        EXPECT_CALL(card, set_acc(0, 2, 10000));
        EXPECT_CALL(card, pmove(0, 2, pulses));
    }
};

using StrictCalls = InterpreterCalls<StrictMock<MockCard>>;
using NiceCalls = InterpreterCalls<NiceMock<MockCard>>;

TEST_F(StrictCalls, LinesWithoutEffectTouchNothing) {
    for (const char* line : {"G90 G01", "", "   ", "; X5 M16", "M010", "M10.0", "M30", "M100",
                             "M00", "G4 P500", "F3000", "P100", "G90", "G91"}) {
        interpreter.ExecuteLine(line);
    }
    EXPECT_EQ(run.DwellTicks, 0);
    EXPECT_EQ(run.WaitFlag, 0);
    EXPECT_EQ(run.CurrentLine, 0);
}

TEST_F(StrictCalls, BendMoveUsesTheCommonSetUpAndIgnoresF) {
    InSequence order;
    expectYMove(750);
    interpreter.ExecuteLine("Y15 F3000");
    EXPECT_EQ(run.CurYPulses, 750);
}

TEST_F(StrictCalls, SetPositionExecutesNothingElseOnTheLine) {
    run.CurXPulses = 500;
    EXPECT_CALL(card, set_command_pos(0, 1, 0));
    EXPECT_CALL(card, set_actual_pos(0, 1, 0));
    interpreter.ExecuteLine("G92 X0 M16");
    EXPECT_EQ(run.CurXPulses, 0);

    EXPECT_CALL(card, set_command_pos(0, 2, 100));
    EXPECT_CALL(card, set_command_pos(0, 3, 150));
    EXPECT_CALL(card, set_command_pos(0, 4, -100));
    interpreter.ExecuteLine("G92 Y2 Z1.5 A-1");
    EXPECT_EQ(run.CurYPulses, 100);
}

TEST_F(StrictCalls, OutputCodeThenMotionOnTheSameLine) {
    InSequence order;
    EXPECT_CALL(card, write_bit(0, 3, 1));
    EXPECT_CALL(card, write_bit(0, 11, 1));
    expectXMove(10000);
    interpreter.ExecuteLine("M16 X100");
    EXPECT_EQ(run.CurXPulses, 10000);
}

TEST_F(StrictCalls, FeedAndBendLineIgnoresZ) {
    InSequence order;
    expectXMove(5000);
    expectYMove(1500);
    interpreter.ExecuteLine("X50 Y30 Z5");
}

TEST_F(StrictCalls, DwellTicksRoundHalvesToEven) {
    const std::pair<const char*, int> cases[] = {
        {"g04 p500", 17}, {"G04 P45", 2},           {"G04 P75", 2},       {"G04 P100", 3},
        {"G04 P-90", 0},  {"G04 P99999999", 32767}, {"G04 X5 M16 P30", 1}};
    for (const auto& [line, ticks] : cases) {
        interpreter.ExecuteLine(line);
        EXPECT_EQ(run.DwellTicks, ticks) << line;
    }
}

TEST_F(StrictCalls, BendHomingSearchSkipsTheNextLine) {
    run.CurrentLine = 5;
    InSequence order;
    EXPECT_CALL(card, set_stop0_mode(0, 2, 1, 0));
    EXPECT_CALL(card, set_speed(0, 2, 500));
    EXPECT_CALL(card, set_startv(0, 2, 1000));
    EXPECT_CALL(card, set_acc(0, 2, 10000));
    EXPECT_CALL(card, pmove(0, 2, 1000000));
    interpreter.ExecuteLine("M38");
    EXPECT_EQ(run.CurrentLine, 6);
    EXPECT_EQ(run.HomingAxisCode, 2);
    EXPECT_EQ(run.HomingActive, 1);
}

TEST_F(StrictCalls, SwingHomingAndToolSetting) {
    params.HomeSpeedA = -600;
    {
        InSequence order;
        EXPECT_CALL(card, set_stop0_mode(0, 4, 1, 0));
        EXPECT_CALL(card, set_speed(0, 4, 1000));
        EXPECT_CALL(card, set_startv(0, 4, 1000));
        EXPECT_CALL(card, set_acc(0, 4, 10000));
        EXPECT_CALL(card, pmove(0, 4, -1000000));
    }
    interpreter.ExecuteLine("M42");
    EXPECT_EQ(run.HomingAxisCode, 4);
    {
        InSequence order;
        EXPECT_CALL(card, set_stop1_mode(0, 4, 1, 0));
        EXPECT_CALL(card, set_speed(0, 4, 500));
        EXPECT_CALL(card, set_startv(0, 4, 1000));
        EXPECT_CALL(card, set_acc(0, 4, 10000));
        EXPECT_CALL(card, pmove(0, 4, 1000000));
    }
    interpreter.ExecuteLine("M44");
    EXPECT_EQ(run.HomingAxisCode, 9);
    EXPECT_EQ(run.CurrentLine, 2);
}

TEST_F(StrictCalls, CutterReturnWithIn14SetStartsNoMotion) {
    EXPECT_CALL(card, read_bit(0, 14)).WillOnce(Return(1));
    interpreter.ExecuteLine("M40");
    EXPECT_EQ(run.HomingAxisCode, 10);
    EXPECT_EQ(run.HomingActive, 1);
    EXPECT_EQ(run.CurrentLine, 1);
}

TEST_F(StrictCalls, CutterReturnOnTheSwitchFirstMovesAway) {
    InSequence order;
    EXPECT_CALL(card, read_bit(0, 14)).WillOnce(Return(0));
    EXPECT_CALL(card, set_speed(0, 3, 1000));
    EXPECT_CALL(card, set_startv(0, 3, 1000));
    EXPECT_CALL(card, set_acc(0, 3, 10000));
    EXPECT_CALL(card, pmove(0, 3, -2000)); // against the positive homing direction
    interpreter.ExecuteLine("M40");
    EXPECT_EQ(run.HomingAxisCode, 10);
}

TEST_F(NiceCalls, FeedHomingFromTheProgram) {
    run.JobRunActive = -1;
    ON_CALL(card, read_fifo_empty(0)).WillByDefault(Return(1));
    EXPECT_CALL(card, read_bit(0, 2)).WillOnce(Return(0));
    EXPECT_CALL(card, set_stop0_mode(0, 1, 1, 1));
    EXPECT_CALL(card, set_speed(0, 1, 2000));
    EXPECT_CALL(card, pmove(0, 1, -1000000));
    interpreter.ExecuteLine("M36");
    EXPECT_EQ(run.XHomeRequest, 1);
    EXPECT_EQ(run.HomingAxisCode, 1);
    EXPECT_EQ(run.CurrentLine, 1);
}

TEST_F(NiceCalls, EncoderCheckRecordsWithoutMovingForGripperFeeds) {
    for (std::int16_t feedType : {1, 2}) {
        params.FeedType = feedType;
        run.EncoderCheckPos = 0;
        EXPECT_CALL(card, read_bit(0, 2)).WillOnce(Return(0));
        EXPECT_CALL(card, get_command_pos(0, 1)).WillOnce(Return(1234));
        EXPECT_CALL(card, get_actual_pos(_, _)).Times(0);
        EXPECT_CALL(card, pmove(_, _, _)).Times(0);
        interpreter.ExecuteLine("M34");
        EXPECT_EQ(run.EncoderCheckPos, 1234);
        EXPECT_EQ(run.DwellTicks, 0);
        ::testing::Mock::VerifyAndClearExpectations(&card);
    }
}

TEST_F(NiceCalls, EncoderCheckCorrectsTheRollerFeed) {
    EXPECT_CALL(card, read_bit(0, 2)).WillOnce(Return(0));
    EXPECT_CALL(card, get_command_pos(0, 1)).WillOnce(Return(1234));
    EXPECT_CALL(card, get_actual_pos(0, 1)).WillOnce(Return(1200));
    // 12.34 mm commanded, 12.00 mm measured: 0.34 mm = 34 pulses more.
    EXPECT_CALL(card, pmove(0, 1, 34));
    interpreter.ExecuteLine("M34");
    EXPECT_EQ(run.DwellTicks, 6);
}

TEST_F(NiceCalls, EncoderCheckWaitsWhenTheStripLeftTheSensor) {
    params.FeedHomeSwitch = 50;
    EXPECT_CALL(card, read_bit(0, 2)).WillOnce(Return(1));
    EXPECT_CALL(card, get_command_pos(_, _)).Times(0);
    EXPECT_CALL(card, pmove(_, _, _)).Times(0);
    interpreter.ExecuteLine("M34 X5");
    EXPECT_EQ(run.WaitFlag, 1);
}

TEST_F(NiceCalls, InPositionAndRodWaits) {
    interpreter.ExecuteLine("M12");
    EXPECT_EQ(run.WaitFlag, 1);
    run.WaitFlag = 0;
    params.InPositionCheck = 1;
    interpreter.ExecuteLine("M14");
    EXPECT_EQ(run.WaitFlag, 0);

    interpreter.ExecuteLine("M18");
    EXPECT_EQ(run.WaitFlag, 0); // double bender: no rod sensors
    params.BenderType = 3;
    interpreter.ExecuteLine("M21");
    EXPECT_EQ(run.WaitFlag, 0); // fixed rod delay
    params.BenderInOutDelay = 0;
    interpreter.ExecuteLine("M20");
    EXPECT_EQ(run.WaitFlag, 1);
}

TEST_F(NiceCalls, BacklashOnlyOnReversal) {
    InSequence order;
    EXPECT_CALL(card, pmove(0, 2, 500));  // first move: direction unknown
    EXPECT_CALL(card, pmove(0, 2, -275)); // reversal: 250 + 25
    EXPECT_CALL(card, pmove(0, 2, -150)); // same direction
    EXPECT_CALL(card, pmove(0, 2, 325));  // reversal: 300 + 25
    EXPECT_CALL(card, pmove(0, 2, 0));    // no travel, direction kept
    EXPECT_CALL(card, pmove(0, 2, -50));  // so this is still a reversal: 25 + 25
    for (const char* line : {"Y10", "Y5", "Y2", "Y8", "Y8", "Y7.5"}) {
        interpreter.ExecuteLine(line);
    }
    EXPECT_EQ(run.CurYPulses, 375);
    EXPECT_EQ(run.LastBendDir, -1);
}

} // namespace
