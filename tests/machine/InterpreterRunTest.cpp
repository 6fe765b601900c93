// The interpreter on the simulated machine: sampled feed-and-bend paths,
// the sampling rules, whole programs and programs that must do no harm.
#include "MachineTestSupport.h"
#include "common/Basic.h"
#include "common/TextFile.h"
#include "machine/HomingSupervisor.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::machine;
using korvel::test::handMachine;
using korvel::test::handParameters;

namespace {

class InterpreterRun : public test::InterpreterFixture {};

// --- path building ------------------------------------------------------------------------

TEST_F(InterpreterRun, SampledPathMatchesTheHandComputedSamples) {
    armAt(20);
    load({"X10 Y1", "X12 Y1.5", "X14", "X16 Y2", "M30"});
    executeCurrent();
    EXPECT_EQ(run.CurrentLine, 3);
    ASSERT_EQ(interpreter.PathCount(), 4);
    const std::vector<PathPoint> expectedPoints{
        {0, 20}, {1000, 50}, {1200, 75}, {1400, 75}, {1600, 100}};
    EXPECT_TRUE(
        std::equal(expectedPoints.begin(), expectedPoints.end(), interpreter.PathPoints().begin()));
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

TEST_F(InterpreterRun, PathEndsAtAReversalAFarFeedOrABigTurn) {
    // X 12 -> 11 turns the strip back (the sampled ramp runs one way);
    // X 12 -> 40 is beyond 20 mm; a turn of 4 degrees is beyond the idle
    // angle; a turn steeper than the feed.
    for (const char* third : {"X11", "X11 Y1.3", "X40", "X14 Y5.2", "X12.1 Y1.5"}) {
        SCOPED_TRACE(third);
        run = RunState{};
        armAt(20);
        load({"X10 Y1", "X12 Y1.2", third});
        executeCurrent();
        EXPECT_EQ(interpreter.PathCount(), 2);
        EXPECT_EQ(run.CurrentLine, 1);
    }
}

// --- sampling rules -----------------------------------------------------------------------

// Every sample adds up to its target, never steps Y by more than 0.8 of its
// X step, runs one way; the strip ends on the last point and the ramps are
// mirror images made of 20 ms samples.
void checkSamples(const std::vector<PathPoint>& points, const std::vector<PathSample>& samples,
                  std::int64_t rampSamples) {
    ASSERT_GE(samples.size(), static_cast<size_t>(2 * rampSamples));
    const int direction = points.back().first > points.front().first ? 1 : -1;
    std::int64_t x = points.front().first;
    std::int64_t y = points.front().second;
    for (const PathSample& s : samples) {
        x += s.dx;
        y += s.dy;
        EXPECT_EQ(s.x, x);
        EXPECT_EQ(s.y, y);
        EXPECT_LE(std::llabs(s.dy), 0.8 * std::llabs(s.dx));
        EXPECT_GT(direction * s.dx, 0);
    }
    EXPECT_EQ(x, points.back().first);
    for (size_t i = 0; i < static_cast<size_t>(rampSamples); ++i) {
        const PathSample& up = samples[i];
        const PathSample& down = samples[samples.size() - 1 - i];
        EXPECT_EQ(up.dx, down.dx) << i;
        EXPECT_EQ(up.speed, down.speed) << i;
        EXPECT_EQ(up.speed, std::llabs(up.dx) * 100) << i;
    }
}

TEST(PathSampling, RulesHoldOnLongSteepShortAndBackwardPaths) {
    struct Case {
        const char* name;
        std::vector<PathPoint> points;
        std::int64_t speed;
        double accel;
        std::int64_t rampSamples;
        bool armReachesTheEnd;
    };
    std::vector<PathPoint> gentle{{0, 0}};
    for (int i = 1; i <= 450; ++i) {
        gentle.push_back(
            {i * 500, static_cast<std::int32_t>(std::lround(300 * std::sin(i / 20.0)))});
    }
    const Case cases[] = {
        // 20000 pulses/s, d = 0.05 x 500 = 25: 16 ramp samples.
        {"451 points", gentle, 20000, 0.05, 16, true},
        // Slope 1 everywhere: the arm lags behind, the strip still ends exactly.
        {"steep", {{0, 0}, {1000, 1000}, {2000, 2000}, {3000, 3000}}, 10000, 0.2, 2, false},
        // d = 100: 100 + 200 would pass half of 500, so one ramp sample.
        {"short", {{0, 0}, {250, 10}, {500, 20}}, 10000, 0.2, 1, true},
        // Acceleration 0 still ramps by one pulse per sample: 1 + ... + 21 =
        // 231 fits into half of 500.
        {"no acceleration", {{0, 0}, {250, 10}, {500, 20}}, 10000, 0.0, 21, true},
        {"backwards", {{500, 0}, {250, 10}, {0, 20}}, 10000, 0.2, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::int64_t distance = std::llabs(c.points.back().first - c.points.front().first);
        const SampleProfile profile = sampleProfile(distance, c.speed, c.accel);
        EXPECT_EQ(profile.rampSamples, c.rampSamples);
        const std::vector<PathSample> samples = SamplePath(c.points, c.speed, c.accel);
        checkSamples(c.points, samples, profile.rampSamples);
        EXPECT_EQ(samples.back().y == c.points.back().second, c.armReachesTheEnd);
    }
    const SampleProfile cut = sampleProfile(500, 10000, 0.2);
    EXPECT_EQ(cut.rampLength, 100);
    EXPECT_DOUBLE_EQ(cut.cruiseSpeed, 5000.0);
    EXPECT_EQ(sampleProfile(225000, 20000, 0.05).rampLength, 25 * 16 * 17 / 2);
}

// --- whole programs -----------------------------------------------------------------------

TEST_F(InterpreterRun, HandWrittenProgramRunsWithItsPositionsOutputsAndTimings) {
    HomingSupervisor supervisor(params, run, card);
    load({"G90 G01", "M38", "M10", "G92 Y0", "G04 P100", "M16", "M12", "M14", "X10", "X25",
          "X30 Y1", "X32 Y1.5", "X34 Y2", "M17", "Y0 F3000", "M30"});
    ASSERT_LT(test::runProgram(card, interpreter, run, [&] { supervisor.tick(); }), 100000);
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

    const auto timeOf = [this](std::string_view text) {
        std::int64_t last = -1;
        for (const CardEvent& e : card.recording()) {
            last = e.text == text ? e.timeMs : last;
        }
        return last;
    };
    // The dwell of 3 ticks lies between "G92 Y0" and the clamp, and the
    // cutter needs its 150 ms to reach IN16.
    EXPECT_GE(timeOf("OUT3=1") - timeOf("set_command_pos(0, 2, 0) = 0"), 4 * kTimer2IntervalMs);
    EXPECT_GE(timeOf("OUT1=0") - timeOf("OUT1=1"), 150);
}

// --- programs that must do no harm --------------------------------------------------------

// Lines made of the dialect's own characters in random order, seeded so
// that a failure repeats.
common::Lines randomLines(int count) {
    const std::string alphabet = "XYZAGMFPxyzagmfp0123456789.-+; #e";
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7fff;
    };
    common::Lines lines;
    for (int i = 0; i < count; ++i) {
        std::string line(next() % 24, ' ');
        for (char& c : line) {
            c = alphabet[next() % alphabet.size()];
        }
        lines.push_back(line);
    }
    return lines;
}

TEST_F(InterpreterRun, MalformedAndRandomProgramsRunWithoutHarm) {
    std::vector<std::pair<std::string, common::Lines>> programs{{"random", randomLines(3000)}};
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(KORVEL_TEST_DATA_DIR) / "programs" / "malformed")) {
        programs.emplace_back(entry.path().filename().string(), common::ReadLines(entry.path()));
    }
    EXPECT_GE(programs.size(), 5u);
    for (const auto& [name, program] : programs) {
        SCOPED_TRACE(name);
        run = RunState{};
        load(program);
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
                // A search that finds no switch is stopped, as the
                // executor's distance guard would.
                if (supervisor.tick().has_value() || ++guard > 2000) {
                    test::stopEverything(sim);
                    run.HomingAxisCode = 0;
                    guard = 0;
                }
            },
            400000);
        EXPECT_LT(ticks, 400000);
        EXPECT_LE(run.CurrentLine, run.LineCount + 1);
    }
}

TEST(RunStateLoading, ProgramLongerThanTheTableIsRefused) {
    RunState run;
    run.loadLines({"X1", "X2"}, RunKind::Action);
    EXPECT_EQ(run.ActionRunActive, -1);
    EXPECT_EQ(run.line(2), "");
    EXPECT_EQ(run.line(-1), "");
    common::Lines tooLong(static_cast<size_t>(kProgramCapacity) + 1, "X1");
    EXPECT_THROW(run.loadLines(tooLong, RunKind::Job), common::UserError);
    EXPECT_EQ(run.LineCount, 2);
    EXPECT_EQ(run.JobRunActive, 0);
    run.CurrentLine = 1;
    run.loadLines(common::Lines(static_cast<size_t>(kProgramCapacity), "X1"), RunKind::Job);
    EXPECT_EQ(run.LineCount, kProgramCapacity);
    EXPECT_EQ(run.CurrentLine, 0);
    EXPECT_EQ(run.JobRunActive, -1);
}

} // namespace
