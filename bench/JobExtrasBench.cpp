// The job extras on a program near the 29,999-line limit: the bent-letter
// preview read back from it (target: under 50 ms) and the job time measured
// on a copy of the simulated machine in virtual time (target: under 1 s of
// wall time).

#include "LargeJob.h"
#include "app/JobTimeEstimate.h"
#include "machine/ParameterTable.h"
#include "machine/RunState.h"
#include "machine/SimMachine.h"
#include "machine/SimulatedCard.h"
#include "program/BendPreview.h"
#include "program/MarkedPoints.h"
#include "program/ProgramGenerator.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

using namespace korvel;
using namespace korvel::bench;

struct LargeJob {
    geometry::PathRecords path;
    machine::ParameterSet params;
    machine::ParameterTables tables;
    common::Lines program;
};

// The large outline generated for `params`.
LargeJob largeJob(machine::ParameterSet params) {
    LargeJob job{largePath(), params, benchTables(), {}};
    const program::MainWindowFields fields;
    const program::MarkedPoints marked;
    machine::SimulatedCard card;
    auto result = program::ProgramGenerator(job.params, job.tables, fields, {1, 10, 0}, marked)
                      .generate(job.path, card);
    job.program = std::move(result.lines);
    return job;
}

void BM_PreviewNearLimitProgram(benchmark::State& state) {
    const LargeJob job = largeJob(benchParams());
    if (job.program.empty()) {
        state.SkipWithError("the large job was refused");
        return;
    }
    std::size_t pieces = 0;
    for (auto _ : state) {
        const auto preview =
            program::MakeBendPreview(job.program, job.path, job.params, job.tables);
        pieces = preview.pieces.size();
        benchmark::DoNotOptimize(preview.pieces.data());
    }
    state.counters["program_lines"] = static_cast<double>(job.program.size());
    state.counters["pieces"] = static_cast<double>(pieces);
}
BENCHMARK(BM_PreviewNearLimitProgram)->Unit(benchmark::kMillisecond);

// The shipped machine with the large job's bender and thresholds.
machine::ParameterSet shippedMachine() {
    machine::ParameterSet p = machine::FactoryParameterSet();
    const machine::ParameterSet job = benchParams();
    p.CornerArcAngleThreshold = job.CornerArcAngleThreshold;
    p.SlotAngleThreshold = job.SlotAngleThreshold;
    p.TapBendRadiusThreshold = job.TapBendRadiusThreshold;
    p.BendToSlotRadiusThreshold = job.BendToSlotRadiusThreshold;
    p.SlotActionOrder = job.SlotActionOrder;
    p.BendToSlotDistance = job.BendToSlotDistance;
    return p;
}

void BM_JobTimeOfNearLimitProgram(benchmark::State& state) {
    const LargeJob job = largeJob(shippedMachine());
    if (job.program.empty()) {
        state.SkipWithError("the large job was refused");
        return;
    }
    machine::SimulatedCard card(machine::SimMachine::fromFile({}, job.params));
    card.adt8940a1_initial();
    machine::RunState run;
    run.loadLines(job.program, machine::RunKind::Job);
    const common::AppDir nowhere(std::filesystem::temp_directory_path() / "korvel-bench-none");
    double seconds = 0;
    for (auto _ : state) {
        const auto estimate =
            app::JobTimeEstimate::measure(nowhere, job.params, run, card, 10000000);
        if (!estimate) {
            state.SkipWithError("the job did not end");
            return;
        }
        seconds = estimate->totalSeconds();
    }
    state.counters["program_lines"] = static_cast<double>(job.program.size());
    state.counters["machine_seconds"] = seconds;
}
BENCHMARK(BM_JobTimeOfNearLimitProgram)->Unit(benchmark::kMillisecond);

} // namespace
