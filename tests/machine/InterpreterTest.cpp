// The line interpreter one line at a time: the card calls of every code
// (reads included, in order, from the simulated card's recording), the feed
// merge and the feed-and-bend decision.
#include "MachineTestSupport.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::machine;
using korvel::test::callText;
using korvel::test::handMachine;
using korvel::test::handParameters;

namespace {

// The run state fields a line may change, those that are not 0.
std::string changed(const RunState& r) {
    std::string text;
    const std::pair<const char*, std::int32_t> fields[] = {
        {"HomingAxisCode", r.HomingAxisCode}, {"HomingActive", r.HomingActive},
        {"CurrentLine", r.CurrentLine},       {"WaitFlag", r.WaitFlag},
        {"DwellTicks", r.DwellTicks},         {"CurXPulses", r.CurXPulses},
        {"CurYPulses", r.CurYPulses},         {"EncoderCheckPos", r.EncoderCheckPos},
        {"XHomeRequest", r.XHomeRequest}};
    for (const auto& [name, value] : fields) {
        if (value != 0) {
            text += std::string(text.empty() ? "" : " ") + name + "=" + std::to_string(value);
        }
    }
    return text;
}

using Prepare = void (*)(ParameterSet&, SimulatedCard&, RunState&);

// Moves of the hand parameters: X 10000 pulses/s and acceleration 2000, Y
// 2500 and 10000, Z and A 2000 and 10000; searches at the homing speeds.
TEST(InterpreterCalls, EveryCodeMakesExactlyItsCallsAndStateChanges) {
    const Prepare none = nullptr;
    const std::string searching = " HomingActive=1 CurrentLine=1";
    const struct {
        const char* line;
        Prepare setup;
        std::string calls;
        std::string state;
    } cases[] = {
        {"Y15 F3000", none, "move(2, 2500, 10000, 750)", "CurYPulses=750"},
        {"G92 X0 M16", [](ParameterSet&, SimulatedCard&, RunState& r) { r.CurXPulses = 500; },
         "set_command_pos(0, 1, 0); set_actual_pos(0, 1, 0)", ""},
        {"G92 Y2 Z1.5 A-1", none,
         "set_command_pos(0, 2, 100); set_command_pos(0, 3, 150); set_command_pos(0, 4, -100)",
         "CurYPulses=100"},
        {"M16 X100", none,
         "write_bit(0, 3, 1); OUT3=1; write_bit(0, 11, 1); OUT11=1; move(1, 10000, 2000, 10000)",
         "CurXPulses=10000"},
        {"X50 Y30 Z5", none, "move(1, 10000, 2000, 5000); move(2, 2500, 10000, 1500)",
         "CurXPulses=5000 CurYPulses=1500"},
        {"Z2.5", none, "get_command_pos(0, 3); move(3, 2000, 10000, 250)", ""},
        {"g04 p500", none, "", "DwellTicks=17"},
        {"G04 X5 M16 P45", none, "", "DwellTicks=2"}, // 1.5 and 2.5 round to even
        {"G04 P75", none, "", "DwellTicks=2"},
        {"G04 P100", none, "", "DwellTicks=3"},
        {"G04 P-90", none, "", ""},
        {"G04 P99999999", none, "", "DwellTicks=32767"},
        {"M38", none, "set_stop0_mode(0, 2, 1, 0); move(2, 500, 10000, 1000000)",
         "HomingAxisCode=2" + searching},
        {"M42", [](ParameterSet& p, SimulatedCard&, RunState&) { p.HomeSpeedA = -600; },
         "set_stop0_mode(0, 4, 1, 0); move(4, 1000, 10000, -1000000)",
         "HomingAxisCode=4" + searching},
        {"M44", none, "set_stop1_mode(0, 4, 1, 0); move(4, 500, 10000, 1000000)",
         "HomingAxisCode=9" + searching},
        // Off its switch the cutter starts no motion; on it, it first moves
        // 20 away against the positive homing direction.
        {"M40", none, "read_bit(0, 14) = 1", "HomingAxisCode=10" + searching},
        {"M40", [](ParameterSet&, SimulatedCard& c, RunState&) { c.forceInput(14, 0); },
         "read_bit(0, 14); move(3, 1000, 10000, -2000)", "HomingAxisCode=10" + searching},
        // The program's feed homing does not count its own job as busy.
        {"M36", [](ParameterSet&, SimulatedCard&, RunState& r) { r.JobRunActive = -1; },
         "get_status(0, 1); get_status(0, 2); get_status(0, 3); get_status(0, 4); "
         "get_inp_status(0); read_fifo_empty(0) = 1; read_bit(0, 2); "
         "set_stop0_mode(0, 1, 1, 1); move(1, 2000, 2000, -1000000)",
         "HomingAxisCode=1" + searching + " XHomeRequest=1"},
        // Friction roller: 12.34 mm commanded, 12.00 mm measured, so 34
        // pulses more; the executor checks again after 6 steps.
        {"M34",
         [](ParameterSet&, SimulatedCard& c, RunState&) {
             c.set_command_pos(0, 1, 1234);
             c.set_actual_pos(0, 1, 1200);
         },
         "read_bit(0, 2); get_command_pos(0, 1) = 1234; get_actual_pos(0, 1) = 1200; "
         "move(1, 10000, 2000, 34)",
         "DwellTicks=6 EncoderCheckPos=1234"},
        // Gripper feeds only record the position.
        {"M34",
         [](ParameterSet& p, SimulatedCard& c, RunState&) {
             p.FeedType = 2;
             c.set_command_pos(0, 1, 1234);
         },
         "read_bit(0, 2); get_command_pos(0, 1) = 1234", "EncoderCheckPos=1234"},
        // The strip has left the sensor: the job waits, the X word is not run.
        {"M34 X5",
         [](ParameterSet& p, SimulatedCard& c, RunState&) {
             p.FeedHomeSwitch = 50;
             c.forceInput(2, 1);
         },
         "read_bit(0, 2) = 1", "WaitFlag=1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ParameterSet params = handParameters();
        SimulatedCard card(handMachine(params));
        RunState run;
        if (c.setup != nullptr) {
            c.setup(params, card, run);
        }
        Interpreter interpreter(card, params, run);
        card.setRecording(RecordLevel::All);
        interpreter.ExecuteLine(c.line);
        EXPECT_EQ(callText(card), c.calls);
        EXPECT_EQ(changed(run), c.state);
    }
}

class InterpreterLines : public test::InterpreterFixture {};

TEST_F(InterpreterLines, LinesWithoutEffectTouchNothing) {
    card.setRecording(RecordLevel::All);
    for (const char* line : {"G90 G01", "", "   ", "; X5 M16", "M010", "M10.0", "M30", "M100",
                             "M00", "G4 P500", "F3000", "P100", "G90", "G91"}) {
        interpreter.ExecuteLine(line);
        EXPECT_EQ(callText(card), "") << line;
        EXPECT_EQ(changed(run), "") << line;
    }
}

TEST_F(InterpreterLines, InPositionAndRodWaits) {
    struct Case {
        const char* line;
        std::int16_t inPositionCheck;
        std::int16_t benderType;
        double rodDelay;
        std::int16_t wait;
    };
    const Case cases[] = {
        {"M12", 0, 2, 300, 1}, {"M14", 0, 2, 300, 1}, {"M14", 1, 2, 300, 0},
        {"M13", 0, 2, 300, 0}, {"M18", 0, 2, 0, 0},   {"M21", 0, 3, 300, 0},
        {"M20", 0, 3, 0.5, 1}, {"M19", 0, 3, 0, 1},   {"M22", 0, 3, 0, 0},
    };
    for (const Case& c : cases) {
        params.InPositionCheck = c.inPositionCheck;
        params.BenderType = c.benderType;
        params.BenderInOutDelay = c.rodDelay;
        run.WaitFlag = 0;
        interpreter.ExecuteLine(c.line);
        EXPECT_EQ(run.WaitFlag, c.wait) << c.line;
    }
}

TEST_F(InterpreterLines, BacklashOnlyOnReversalRoundedWithTheTravel) {
    // 25 pulses of play: the first move has no direction yet, a move of no
    // travel keeps the direction.
    const auto pmoves = [this](std::initializer_list<const char*> lines) {
        card.clearRecording();
        for (const char* line : lines) {
            interpreter.ExecuteLine(line);
            card.runUntilIdle();
        }
        return callText(card);
    };
    EXPECT_EQ(pmoves({"Y10", "Y5", "Y2", "Y8", "Y8", "Y7.5"}),
              "move(2, 2500, 10000, 500); move(2, 2500, 10000, -275); "
              "move(2, 2500, 10000, -150); move(2, 2500, 10000, 325); move(2, 2500, 10000, 0); "
              "move(2, 2500, 10000, -50)");
    EXPECT_EQ(run.CurYPulses, 375);
    EXPECT_EQ(run.LastBendDir, -1);
    // Half a pulse of play: the travel with the play rounds to even as a
    // whole (-3.5 -> -4, 3.5 -> 4, -1.5 -> -2).
    params.BendBacklash = 0.01;
    run.CurYPulses = 500;
    run.LastBendDir = 1;
    EXPECT_EQ(pmoves({"Y9.94", "Y10", "Y9.98"}),
              "move(2, 2500, 10000, -4); move(2, 2500, 10000, 4); move(2, 2500, 10000, -2)");
}

// --- feed merge -------------------------------------------------------------------------

TEST_F(InterpreterLines, FeedMerge) {
    struct Case {
        const char* name;
        common::Lines program;
        double maxFeedLength;
        std::int16_t feedType;
        std::int32_t targetPulses;
        std::int16_t lastMerged; // CurrentLine afterwards
        double mergeLength;
    };
    // The look-ahead adds each line's distance from where the strip stands:
    // with X10 X25 X40 that is 25 for X25, then 40 more for X40.
    const Case cases[] = {
        {"two feeds", {"X10", "X25", "M30"}, 0, 0, 2500, 1, 25},
        {"limit 50 stops at 65", {"X10", "X25", "X40"}, 50, 0, 2500, 1, 65},
        {"limit 12", {"X10", "X25"}, 12, 0, 1000, 0, 25},
        {"a limit of 1 does not limit", {"X10", "X25", "X40"}, 1, 0, 4000, 2, 65},
        {"arm already there", {"X10", "X20 Y0", "X30 Y1", "X40"}, 0, 0, 2000, 1, 0},
        {"a G word ends the merge", {"X10", "G01 X20", "X30"}, 0, 0, 1000, 0, 0},
        {"gripper stroke", {"X10", "X20 Y0", "X0 F6000", "X30"}, 0, 1, 2000, 1, 0},
        {"double stroke", {"X10", "X0 F6000", "X30"}, 0, 2, 1000, 0, 0},
        {"other stroke", {"X10", "X100 F6000", "X30"}, 0, 2, 1000, 0, 0},
        {"not a stroke line", {"X10", "X0 F600", "X30"}, 0, 2, 3000, 2, 30},
        {"M, Z and A words", {"X10", "X20 Y0 Z1 A2 M16", "X30"}, 0, 0, 3000, 2, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        params.MaxFeedLength = c.maxFeedLength;
        params.FeedType = c.feedType;
        run.CurXPulses = 0;
        card.set_command_pos(0, 1, 0);
        card.clearRecording();
        load(c.program);
        executeCurrent();
        EXPECT_EQ(run.CurXPulses, c.targetPulses);
        EXPECT_EQ(run.CurrentLine, c.lastMerged);
        EXPECT_DOUBLE_EQ(interpreter.MergeLength(), c.mergeLength);
        EXPECT_EQ(callText(card), "move(1, 10000, 2000, " + std::to_string(c.targetPulses) + ")");
        card.runUntilIdle();
    }
}

// --- feed-and-bend decision ---------------------------------------------------------------

TEST_F(InterpreterLines, FeedAndBendDecision) {
    struct Case {
        const char* name;
        std::int32_t armAt;
        common::Lines program;
        bool yMoves;
        bool sampled;
        double idleNeg = 3;
    };
    // Idle angle 3 degrees = 150 pulses; X 100 pulses/mm, Y 50 pulses/degree.
    // The lines after the first would extend a sampled path: only the tests
    // before the path building keep the move a plain two-axis one.
    const common::Lines gentle{"X10 Y3.5", "X11 Y3.6", "X12 Y3.7", "M30"};
    const common::Lines gentleBack{"X10 Y-3.5", "X11 Y-3.6", "X12 Y-3.7", "M30"};
    const common::Lines steeper{"X10 Y-4.46", "X11 Y-4.56", "X12 Y-4.66", "M30"};
    const Case cases[] = {
        {"beyond the idle angle", 0, {"X10 Y4", "X11 Y4.1", "M30"}, true, false},
        {"arm at the idle angle", 150, gentle, true, false},
        {"arm 2 pulses beyond the idle angle", 152, gentle, true, false, 4},
        {"arm 2 pulses short of minus the idle angle", -148, gentleBack, true, false},
        {"arm 3 pulses away: a sampled path", 153, gentle, true, true},
        {"arm 3 pulses away on the minus side", -147, gentleBack, true, true},
        {"arm 2 pulses from a larger minus idle angle", -198, steeper, true, false, 4},
        {"arm 3 pulses from a larger minus idle angle", -197, steeper, true, true, 4},
        {"bend steeper than the feed", 20, {"X0.1 Y1", "X0.2 Y1.1", "M30"}, true, false},
        {"arm at zero stays", 0, {"X10 Y0.02", "X11 Y0.03", "M30"}, false, false},
        {"arm at zero, 2 pulses to go", 0, {"X10 Y0.04", "X11 Y0.05", "M30"}, true, true},
        {"short path of two points", 20, {"X10 Y1", "M30"}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        run = RunState{};
        params.IdleAngleNeg = c.idleNeg;
        card.clearRecording();
        card.set_command_pos(0, 1, 0);
        armAt(c.armAt);
        load(c.program);
        executeCurrent();
        EXPECT_EQ(calls("fifo_inp_move2").empty(), !c.sampled);
        if (c.sampled) {
            card.runUntilIdle();
            continue;
        }
        EXPECT_EQ(calls("pmove(0, 2").size(), c.yMoves ? 1u : 0u);
        EXPECT_EQ(run.CurXPulses, splitWords(c.program[0]).value(Word::X) * 100);
        card.runUntilIdle();
        EXPECT_EQ(card.get_command_pos(0, 1), run.CurXPulses);
        EXPECT_EQ(card.get_command_pos(0, 2), run.CurYPulses);
    }
}

} // namespace
