// The interpreter on the simulated machine: merges, the feed-and-bend
// decision, sampled paths, and whole programs.
#include "MachineTestSupport.h"
#include "common/Basic.h"
#include "common/TextFile.h"
#include "machine/HomingSupervisor.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::machine;
using korvel::test::handMachine;
using korvel::test::handParameters;

namespace {

class InterpreterRun : public ::testing::Test {
protected:
    ParameterSet params = handParameters();
    RunState run;
    SimulatedCard card{handMachine(params)};
    Interpreter interpreter{card, params, run};

    InterpreterRun() { card.setRecording(RecordLevel::Commands); }

    void load(common::Lines lines) { run.loadLines(std::move(lines), RunKind::Job); }
    void executeCurrent() { interpreter.ExecuteLine(run.line(run.CurrentLine)); }

    // Recorded calls whose text starts with `prefix`.
    std::vector<std::string> calls(std::string_view prefix) const {
        std::vector<std::string> found;
        for (const CardEvent& event : card.recording()) {
            if (std::string_view(event.text).starts_with(prefix)) {
                found.push_back(event.text);
            }
        }
        return found;
    }
    // Puts the arm (card and interpreter) at `pulses`.
    void armAt(std::int32_t pulses) {
        card.set_command_pos(0, 2, pulses);
        run.CurYPulses = pulses;
    }
};

// --- feed merge ---------------------------------------------------------------------------

TEST_F(InterpreterRun, ConsecutiveFeedsBecomeOneMove) {
    load({"X10", "X25", "M30"});
    executeCurrent();
    EXPECT_EQ(run.CurrentLine, 1); // the executor then steps past "X25"
    EXPECT_EQ(run.CurXPulses, 2500);
    EXPECT_EQ(calls("pmove"), std::vector<std::string>{"pmove(0, 1, 2500) = 0"});
    card.runUntilIdle();
    EXPECT_EQ(card.get_command_pos(0, 1), 2500);
}

TEST_F(InterpreterRun, MergeLengthLimit) {
    // The look-ahead adds each line's distance from where the strip stands:
    // 25 for X25, then 40 more for X40.
    params.MaxFeedLength = 50;
    load({"X10", "X25", "X40"});
    executeCurrent();
    EXPECT_EQ(run.CurXPulses, 2500);
    EXPECT_EQ(run.CurrentLine, 1);
    EXPECT_DOUBLE_EQ(interpreter.MergeLength(), 65.0);

    params.MaxFeedLength = 12;
    run = RunState{};
    load({"X10", "X25"});
    executeCurrent();
    EXPECT_EQ(run.CurXPulses, 1000);
    EXPECT_EQ(run.CurrentLine, 0);

    // A limit of 1 mm or less does not limit.
    params.MaxFeedLength = 1;
    run = RunState{};
    load({"X10", "X25", "X40"});
    executeCurrent();
    EXPECT_EQ(run.CurXPulses, 4000);
    EXPECT_EQ(run.CurrentLine, 2);
}

TEST_F(InterpreterRun, FeedLinesWithTheArmWhereItIsMergeToo) {
    load({"X10", "X20 Y0", "X30 Y1", "X40"});
    executeCurrent();
    EXPECT_EQ(run.CurXPulses, 2000);
    EXPECT_EQ(run.CurrentLine, 1);
    // Lines with a G word or a Y elsewhere end the merge.
    run = RunState{};
    load({"X10", "G01 X20", "X30"});
    executeCurrent();
    EXPECT_EQ(run.CurXPulses, 1000);
}

TEST_F(InterpreterRun, GripperStrokeLinesAreNeverMerged) {
    params.FeedType = 1;
    load({"X10", "X20 Y0", "X0 F6000", "X30"});
    executeCurrent();
    EXPECT_EQ(run.CurXPulses, 2000);
    EXPECT_EQ(run.CurrentLine, 1);
    EXPECT_EQ(interpreter.X_Only("X0 F6000"), "NUM");
    EXPECT_TRUE(interpreter.NextX().empty());

    params.FeedType = 2;
    EXPECT_EQ(interpreter.X_Only("X0 F6000"), "NUM");
    EXPECT_EQ(interpreter.X_Only("X100 F6000"), "NUM");
    EXPECT_EQ(interpreter.X_Only("X0 F600"), "0");
    EXPECT_EQ(interpreter.X_Only("X12.5 F6000 M16"), "12.5");
    EXPECT_EQ(interpreter.X_Only("X12.5 Y3"), "NUM");
    EXPECT_EQ(interpreter.NextX(), "12.5");
    EXPECT_EQ(interpreter.NextY(), "3");
    EXPECT_EQ(interpreter.X_Only("G01 X12.5 Y3"), "NUM");
    EXPECT_TRUE(interpreter.NextY().empty());
}

// --- feed-and-bend decision --------------------------------------------------------------------

TEST_F(InterpreterRun, DecisionBranches) {
    struct Case {
        const char* name;
        std::int32_t armAt;
        const char* line;
        bool yMoves;
        bool sampled;
    };
    // Idle angle 3 degrees = 150 pulses; X 100 pulses/mm, Y 50 pulses/degree.
    const Case cases[] = {
        {"beyond the idle angle", 0, "X10 Y4", true, false},
        {"arm waiting at the idle angle", 150, "X10 Y3.5", true, false},
        {"arm waiting at minus the idle angle", -149, "X10 Y-3.5", true, false},
        {"bend steeper than the feed", 20, "X0.1 Y1", true, false},
        {"arm at zero stays", 0, "X10 Y0.02", false, false},
        {"short path of two points", 20, "X10 Y1", true, false},
        {"path", 20, "X10 Y1", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        run = RunState{};
        card.clearRecording();
        card.set_command_pos(0, 1, 0);
        armAt(c.armAt);
        const bool withPath = std::string_view(c.name) == "path";
        load({c.line, withPath ? "X12 Y1.5" : "M30"});
        executeCurrent();
        EXPECT_EQ(calls("pmove(0, 2").size(), c.yMoves ? 1u : 0u);
        EXPECT_EQ(!calls("fifo_inp_move2").empty(), c.sampled);
        EXPECT_EQ(run.CurXPulses, withPath ? 1200 : wordValue(splitWords(c.line)[Word::X]) * 100);
        card.runUntilIdle();
        EXPECT_EQ(card.get_command_pos(0, 1), run.CurXPulses);
        EXPECT_EQ(card.get_command_pos(0, 2), run.CurYPulses);
    }
}

TEST_F(InterpreterRun, SampledPathMatchesTheHandComputedSamples) {
    armAt(20);
    load({"X10 Y1", "X12 Y1.5", "X14", "X16 Y2", "M30"});
    executeCurrent();
    EXPECT_EQ(run.CurrentLine, 3);
    ASSERT_EQ(interpreter.PathCount(), 4);
    const std::vector<PathPoint> expectedPoints{
        {0, 20}, {1000, 50}, {1200, 75}, {1400, 75}, {1600, 100}};
    for (size_t i = 0; i < expectedPoints.size(); ++i) {
        EXPECT_EQ(interpreter.PathPoints()[i], expectedPoints[i]) << i;
    }
    // d = 100 pulses, ramp of 2 samples (300 pulses), cruise 10000 pulses/s
    // queued at 20000. Ramp-up 100 and 200 pulses; cruise to the points at
    // X 1000 and 1200; transition to 1300 (ramp length before the end);
    // ramp-down 200 and 100. Y on the path: 23, 29, 50, 75, 75, 87.5 -> 88
    // (halves to even), 100.
    const std::vector<std::string> expected{"fifo_inp_move2(0, 1, 2, 100, 3, 10000) = 0",
                                            "fifo_inp_move2(0, 1, 2, 200, 6, 20000) = 0",
                                            "fifo_inp_move2(0, 1, 2, 700, 21, 20000) = 0",
                                            "fifo_inp_move2(0, 1, 2, 200, 25, 20000) = 0",
                                            "fifo_inp_move2(0, 1, 2, 100, 0, 20000) = 0",
                                            "fifo_inp_move2(0, 1, 2, 200, 13, 20000) = 0",
                                            "fifo_inp_move2(0, 1, 2, 100, 12, 10000) = 0"};
    EXPECT_EQ(calls("fifo"), expected);
    EXPECT_EQ(run.CurXPulses, 1600);
    EXPECT_EQ(run.CurYPulses, 100);
    // Each ramp sample lasts 20 ms: 20+20+70+20+10+20+20 ms in all.
    EXPECT_NEAR(card.runUntilIdle(), 180, 1);
    EXPECT_EQ(card.get_command_pos(0, 1), 1600);
    EXPECT_EQ(card.get_command_pos(0, 2), 100);
}

TEST_F(InterpreterRun, LookAheadStopsAfter451PathPoints) {
    armAt(20);
    common::Lines lines{"X1 Y1"};
    for (int i = 1; i <= 600; ++i) {
        lines.push_back("X" + common::FormatNumber(1.0 + 0.1 * i, "0.0"));
    }
    load(lines);
    executeCurrent();
    EXPECT_EQ(interpreter.PathCount(), 451);
    EXPECT_EQ(run.CurrentLine, 450);
    EXPECT_EQ(interpreter.PathPoints()[451].first, 4600);
    EXPECT_EQ(run.CurXPulses, 4600);
    card.runUntilIdle();
    // The remaining lines run on later steps and continue from there.
    run.CurrentLine = static_cast<std::int16_t>(run.CurrentLine + 1);
    executeCurrent();
    card.runUntilIdle();
    EXPECT_EQ(run.CurrentLine, 600);
    EXPECT_EQ(card.get_command_pos(0, 1), 6100);
}

TEST_F(InterpreterRun, PathEndsAtAReversalOrAFarFeed) {
    armAt(20);
    load({"X10 Y1", "X12 Y1.2", "X11 Y1.3", "X40"});
    executeCurrent();
    EXPECT_EQ(interpreter.PathCount(), 2);
    EXPECT_EQ(run.CurrentLine, 1);
    run = RunState{};
    armAt(20);
    load({"X10 Y1", "X12 Y1.2", "X40"});
    executeCurrent();
    EXPECT_EQ(interpreter.PathCount(), 2);
}

// --- sampled interpolation rules
// ------------------------------------------------------------------

void checkSamples(const std::vector<PathPoint>& points, const std::vector<PathSample>& samples,
                  std::int64_t rampSamples) {
    ASSERT_FALSE(samples.empty());
    std::int64_t x = points.front().first;
    std::int64_t y = points.front().second;
    for (const PathSample& s : samples) {
        x += s.dx;
        y += s.dy;
        EXPECT_EQ(s.x, x);
        EXPECT_EQ(s.y, y);
        EXPECT_LE(std::llabs(s.dy), 0.8 * std::llabs(s.dx));
        EXPECT_GT(s.dx, 0);
    }
    EXPECT_EQ(samples.back().x, points.back().first);
    ASSERT_GE(samples.size(), static_cast<size_t>(2 * rampSamples));
    for (std::int64_t i = 0; i < rampSamples; ++i) {
        const PathSample& up = samples[static_cast<size_t>(i)];
        const PathSample& down = samples[samples.size() - 1 - static_cast<size_t>(i)];
        EXPECT_EQ(up.dx, down.dx) << i;
        EXPECT_EQ(up.speed, down.speed) << i;
        EXPECT_EQ(up.speed, up.dx * 100) << i; // a 20 ms sample
    }
}

TEST(PathSampling, LongGentlePathEndsExactlyWithSymmetricRamps) {
    std::vector<PathPoint> points{{0, 0}};
    for (int i = 1; i <= 450; ++i) {
        const auto y = static_cast<std::int32_t>(std::lround(300.0 * std::sin(i / 20.0)));
        points.push_back({i * 500, y});
    }
    // 20000 pulses/s, d = 0.05 x 500 = 25 -> 16 ramp samples.
    const std::vector<PathSample> samples = SamplePath(points, 20000, 0.05);
    const SampleProfile profile = sampleProfile(225000, 20000, 0.05);
    EXPECT_EQ(profile.stepIncrease, 25);
    EXPECT_EQ(profile.rampSamples, 16);
    EXPECT_EQ(profile.rampLength, 25 * 16 * 17 / 2);
    checkSamples(points, samples, profile.rampSamples);
    EXPECT_EQ(samples.back().y, points.back().second);
}

TEST(PathSampling, SteepPathNeverStepsYBeyondTheLimit) {
    // Slope 1 everywhere: the arm lags behind, the strip still ends exactly.
    const std::vector<PathPoint> points{{0, 0}, {1000, 1000}, {2000, 2000}, {3000, 3000}};
    const std::vector<PathSample> samples = SamplePath(points, 10000, 0.2);
    checkSamples(points, samples, sampleProfile(3000, 10000, 0.2).rampSamples);
    EXPECT_LT(samples.back().y, 3000);
}

TEST(PathSampling, ShortPathCutsTheRampAndVanishingAccelerationStillEnds) {
    const std::vector<PathPoint> points{{0, 0}, {250, 10}, {500, 20}};
    // d = 100: ramp 100 + 200 would exceed half of 500, so one ramp sample.
    const SampleProfile profile = sampleProfile(500, 10000, 0.2);
    EXPECT_EQ(profile.rampSamples, 1);
    EXPECT_DOUBLE_EQ(profile.cruiseSpeed, 5000.0);
    checkSamples(points, SamplePath(points, 10000, 0.2), 1);
    // Acceleration 0: the step still grows by one pulse per sample.
    EXPECT_EQ(sampleProfile(500, 10000, 0.0).stepIncrease, 1);
    checkSamples(points, SamplePath(points, 10000, 0.0),
                 sampleProfile(500, 10000, 0.0).rampSamples);
    // Backwards feed.
    const std::vector<PathPoint> back{{500, 0}, {250, 10}, {0, 20}};
    const std::vector<PathSample> samples = SamplePath(back, 10000, 0.2);
    EXPECT_EQ(samples.back().x, 0);
    EXPECT_EQ(samples.back().y, 20);
}

// --- whole programs
// --------------------------------------------------------------------------------

TEST_F(InterpreterRun, HandWrittenProgramRunsWithItsPositionsOutputsAndTimings) {
    HomingSupervisor supervisor(params, run, card);
    load({"G90 G01", "M38", "M10", "G92 Y0", "G04 P100", "M16", "M12", "M14", "X10", "X25",
          "X30 Y1", "X32 Y1.5", "X34 Y2", "M17", "Y0 F3000", "M30"});
    const int ticks = test::runProgram(card, interpreter, run, [&] { supervisor.tick(); });
    ASSERT_LT(ticks, 100000);
    // The homing stopped on the switch, backed off by 1 degree and zeroed
    // there: Y 0 is 50 pulses past the switch. "M10" after "M38" was skipped.
    EXPECT_EQ(card.machinePosition(2) - card.get_command_pos(0, 2), 50);
    EXPECT_TRUE(calls("write_bit(0, 0").empty());
    // Clamp on, cutter out and back (each waited for), clamp off.
    const std::vector<std::string> outputs{"OUT3=1", "OUT11=1", "OUT1=1", "OUT1=0",
                                           "OUT2=1", "OUT2=0",  "OUT3=0", "OUT11=0"};
    EXPECT_EQ(calls("OUT"), outputs);
    // X10 and X25 merged into one move; the feed-and-bend run was sampled.
    EXPECT_EQ(calls("pmove(0, 1").size(), 1u);
    EXPECT_FALSE(calls("fifo_inp_move2").empty());
    EXPECT_EQ(card.get_command_pos(0, 1), 3400);
    // The homing left the arm's last direction positive, so the return to
    // Y0 takes up the 25-pulse backlash: the card ends at -25 while the
    // interpreter counts the arm at 0.
    EXPECT_EQ(card.get_command_pos(0, 2), -25);
    EXPECT_EQ(run.CurYPulses, 0);
    EXPECT_EQ(run.CurrentLine, run.LineCount);

    // The dwell: at least 3 ticks of 30 ms between G92 and the clamp.
    std::int64_t setAt = -1;
    std::int64_t clampAt = -1;
    std::int64_t outAt = -1;
    std::int64_t outOffAt = -1;
    for (const CardEvent& e : card.recording()) {
        if (e.text.starts_with("set_command_pos(0, 2, 0)") && setAt < 0 && clampAt < 0 &&
            e.timeMs > 0) {
            setAt = e.timeMs;
        }
        if (e.text == "OUT3=1") {
            clampAt = e.timeMs;
        }
        if (e.text == "OUT1=1") {
            outAt = e.timeMs;
        }
        if (e.text == "OUT1=0") {
            outOffAt = e.timeMs;
        }
    }
    EXPECT_GE(clampAt - setAt, 4 * kTimer2IntervalMs);
    // The cutter needs its 150 ms to reach IN16.
    EXPECT_GE(outOffAt - outAt, 150);
}

TEST_F(InterpreterRun, FeedHomingCodeFindsTheSwitchAndZeroesX) {
    HomingSupervisor supervisor(params, run, card);
    load({"M36", "M30", "X10"});
    test::runProgram(card, interpreter, run, [&] { supervisor.tick(); });
    // Stopped on the switch edge, backed off by HomeOffsetX (2 mm) and
    // zeroed there; then fed 10 mm.
    EXPECT_EQ(card.machinePosition(1), 1200);
    EXPECT_EQ(card.get_command_pos(0, 1), 1000);
    EXPECT_EQ(card.get_actual_pos(0, 1), 1000);
    EXPECT_EQ(run.XHomeRequest, 1);
}

TEST_F(InterpreterRun, MalformedProgramsRunWithoutHarm) {
    const std::filesystem::path folder =
        std::filesystem::path(KORVEL_TEST_DATA_DIR) / "programs" / "malformed";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().filename().string());
        ++files;
        RunState fresh;
        run = fresh;
        load(common::ReadLines(entry.path()));
        SimulatedCard sim(handMachine(params));
        // Start-up configuration: the travel limits stop absurd targets.
        for (int axis = 1; axis <= 4; ++axis) {
            sim.set_limit_mode(0, axis, 1, 1, 0);
        }
        Interpreter local(sim, params, run);
        HomingSupervisor supervisor(params, run, sim);
        int guard = 0;
        const int ticks = test::runProgram(
            sim, local, run,
            [&] {
                if (supervisor.tick().has_value() || ++guard > 2000) {
                    // A search that finds no switch is stopped, as the
                    // executor's distance guard would.
                    sim.reset_fifo(0);
                    for (int axis = 1; axis <= 4; ++axis) {
                        sim.set_stop0_mode(0, axis, 0, 0);
                        sim.set_stop1_mode(0, axis, 0, 0);
                        sim.dec_stop(0, axis);
                    }
                    sim.runUntilIdle(600000);
                    run.HomingAxisCode = 0;
                    guard = 0;
                }
            },
            200000);
        EXPECT_LT(ticks, 200000);
        EXPECT_LE(run.CurrentLine, run.LineCount + 1);
    }
    EXPECT_GE(files, 4);
}

TEST_F(InterpreterRun, RandomLinesNeverCrashOrRunAway) {
    // Lines made of the dialect's own characters in random order, seeded so
    // that a failure repeats.
    const std::string alphabet = "XYZAGMFPxyzagmfp0123456789.-+; #e";
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7fff;
    };
    common::Lines lines;
    for (int i = 0; i < 3000; ++i) {
        std::string line;
        const auto length = next() % 24;
        for (std::uint32_t k = 0; k < length; ++k) {
            line.push_back(alphabet[next() % alphabet.size()]);
        }
        lines.push_back(line);
    }
    load(lines);
    card.setRecording(RecordLevel::Off);
    for (int axis = 1; axis <= 4; ++axis) {
        card.set_limit_mode(0, axis, 1, 1, 0);
    }
    while (run.CurrentLine < run.LineCount) {
        executeCurrent();
        run.CurrentLine = static_cast<std::int16_t>(run.CurrentLine + 1);
        run.HomingAxisCode = 0;
        run.WaitFlag = 0;
        // Whatever was started ends within the travel limits.
        card.reset_fifo(0);
        for (int axis = 1; axis <= 4; ++axis) {
            card.set_stop0_mode(0, axis, 0, 0);
            card.set_stop1_mode(0, axis, 0, 0);
        }
        ASSERT_LT(card.runUntilIdle(3600000), 3600000);
    }
    EXPECT_GE(run.CurrentLine, run.LineCount);
}

TEST(RunStateLoading, ProgramLongerThanTheTableIsRefused) {
    RunState run;
    run.loadLines({"X1", "X2"}, RunKind::Action);
    EXPECT_EQ(run.ActionRunActive, -1);
    EXPECT_EQ(run.LineCount, 2);
    EXPECT_EQ(run.line(2), "");
    EXPECT_EQ(run.line(-1), "");
    common::Lines tooLong(static_cast<size_t>(kProgramCapacity) + 1, "X1");
    EXPECT_THROW(run.loadLines(tooLong, RunKind::Job), common::UserError);
    EXPECT_EQ(run.LineCount, 2);
    EXPECT_EQ(run.JobRunActive, 0);
    common::Lines full(static_cast<size_t>(kProgramCapacity), "X1");
    run.loadLines(full, RunKind::Job);
    EXPECT_EQ(run.LineCount, kProgramCapacity);
    EXPECT_EQ(run.CurrentLine, 0);
}

} // namespace
