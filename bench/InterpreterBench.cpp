// Interpreter throughput on the simulated machine in virtual time, and the
// building and sampling of a 450-point feed-and-bend path.
#include "common/Basic.h"
#include "machine/Interpreter.h"
#include "machine/ParameterSet.h"
#include "machine/PathSampler.h"
#include "machine/RunState.h"
#include "machine/SimulatedCard.h"

#include <benchmark/benchmark.h>
#include <cmath>

using namespace korvel;
using namespace korvel::machine;

namespace {

ParameterSet benchParameters() {
    ParameterSet p;
    p.PulseEquivX = 200;
    p.AutoSpeedX = 12000;
    p.AccelX = 0.5;
    p.PulseEquivY = 100;
    p.AutoSpeedY = 30000;
    p.AccelY = 5;
    p.PulseEquivZ = 100;
    p.AutoSpeedZ = 3000;
    p.AccelZ = 5;
    p.PulseEquivA = 100;
    p.AutoSpeedA = 3000;
    p.AccelA = 5;
    p.IdleAnglePos = 3;
    p.IdleAngleNeg = 3;
    p.BendBacklash = 0.2;
    p.InPositionCheck = 1;
    p.BenderType = 2;
    p.BenderInOutDelay = 300;
    return p;
}

// A job-like program of 29,999 lines: slot blocks with outputs and dwells,
// feeds, corner bends with their back-off, and runs of short arc steps that
// the interpreter merges into sampled paths.
common::Lines jobProgram() {
    common::Lines lines{"G90 G01", "G92 X0 Y0 Z0 A0"};
    double x = 0.0;
    int block = 0;
    while (lines.size() < 29999) {
        const auto add = [&](std::string line) {
            if (lines.size() < 29999) {
                lines.push_back(std::move(line));
            }
        };
        const std::string speed = " F12000";
        switch (block++ % 4) {
        case 0: // slot
            add("M16");
            add("G04 P200");
            add("Z2.0000 F3000");
            add("Z0.0000 F3000");
            add("M17");
            break;
        case 1: // feed and a corner bend
            x += 40.0;
            add("X" + common::FormatNumber(x, "0.0000") + speed);
            add("G05 Y-45.0000 F0000" + speed);
            add("G05 Y3.0000 F0000" + speed);
            break;
        case 2: // an arc in short steps
            for (int i = 0; i < 30; ++i) {
                x += 1.5;
                const double y = 1.0 + 0.5 * std::sin(i / 5.0);
                add("X" + common::FormatNumber(x, "0.0000") + " Y" +
                    common::FormatNumber(y, "0.0000") + speed);
            }
            add("Y0.0000 F30000");
            break;
        default: // plain feeds
            for (int i = 0; i < 4; ++i) {
                x += 5.0;
                add("X" + common::FormatNumber(x, "0.0000") + speed);
            }
            break;
        }
    }
    return lines;
}

void BM_Interpreter29999Lines(benchmark::State& state) {
    const ParameterSet params = benchParameters();
    const common::Lines program = jobProgram();
    std::int64_t virtualMs = 0;
    std::int64_t executed = 0;
    for (auto _ : state) {
        RunState run;
        run.loadLines(program, RunKind::Job);
        SimulatedCard card;
        Interpreter interpreter(card, params, run);
        // The executor's stepping: one line per 30 ms tick while the card is
        // idle and no dwell is pending.
        while (run.CurrentLine < run.LineCount) {
            card.advance(kTimer2IntervalMs);
            if (interpreter.Axis_Status() != 0) {
                continue;
            }
            if (run.DwellTicks > 0) {
                --run.DwellTicks;
                continue;
            }
            interpreter.ExecuteLine(run.line(run.CurrentLine));
            run.CurrentLine = static_cast<std::int16_t>(run.CurrentLine + 1);
            ++executed;
        }
        card.runUntilIdle();
        virtualMs = card.timeMs();
        benchmark::DoNotOptimize(card.get_command_pos(0, 1));
    }
    state.counters["lines"] = static_cast<double>(program.size());
    state.counters["virtual_s"] = static_cast<double>(virtualMs) / 1000.0;
    state.counters["lines_per_s"] = benchmark::Counter(
        static_cast<double>(program.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["executed_lines"] =
        static_cast<double>(executed) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Interpreter29999Lines)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Interpreting one line that looks ahead over 450 following lines and
// queues the sampled path.
void BM_PathBuilding450Points(benchmark::State& state) {
    const ParameterSet params = benchParameters();
    common::Lines program{"X1 Y1"};
    for (int i = 1; i <= 460; ++i) {
        program.push_back("X" + common::FormatNumber(1.0 + 0.5 * i, "0.0000") + " Y" +
                          common::FormatNumber(1.0 + 0.001 * i, "0.0000"));
    }
    RunState run;
    run.loadLines(program, RunKind::Job);
    SimulatedCard card;
    Interpreter interpreter(card, params, run);
    for (auto _ : state) {
        run.CurrentLine = 0;
        run.CurXPulses = 0;
        run.CurYPulses = 20;
        interpreter.ExecuteLine(run.line(0));
        card.reset_fifo(0);
        benchmark::DoNotOptimize(interpreter.PathCount());
    }
    state.counters["points"] = interpreter.PathCount() + 1;
}
BENCHMARK(BM_PathBuilding450Points)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SamplePath450Points(benchmark::State& state) {
    std::vector<PathPoint> points{{0, 0}};
    for (int i = 1; i <= 451; ++i) {
        points.push_back(
            {i * 100, static_cast<std::int32_t>(std::lround(200.0 * std::sin(i / 30.0)))});
    }
    std::size_t samples = 0;
    for (auto _ : state) {
        const std::vector<PathSample> result = SamplePath(points, 40000, 0.5);
        samples = result.size();
        benchmark::DoNotOptimize(result.data());
    }
    state.counters["samples"] = static_cast<double>(samples);
}
BENCHMARK(BM_SamplePath450Points)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
