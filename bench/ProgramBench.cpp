// Generating a job program near the 29,999-line limit from a large machining
// path: a long wavy outline with pressed arcs, tapped arcs and slotted
// corners, read from its CtrP.dat text.

#include "LargeJob.h"
#include "machine/SimulatedCard.h"
#include "program/MarkedPoints.h"
#include "program/ProgramGenerator.h"

#include <benchmark/benchmark.h>

namespace {

using namespace korvel;
using namespace korvel::bench;

void BM_GenerateNearLimitProgram(benchmark::State& state) {
    const common::Lines text = geometry::FormatPathLines(largePath());
    const auto params = benchParams();
    const auto tables = benchTables();
    const program::MainWindowFields fields;
    const program::MarkedPoints marked;
    const program::RunPanel panel{1, 10, 0};
    machine::SimulatedCard card; // only read, and only when homing first
    std::size_t lines = 0;
    for (auto _ : state) {
        const auto path = geometry::ParsePathLines(text, "CtrP.dat");
        program::ProgramGenerator generator(params, tables, fields, panel, marked);
        const auto result = generator.generate(path, card);
        if (result.refusal) {
            state.SkipWithError(result.refusal->en.c_str());
            return;
        }
        lines = result.lines.size();
        benchmark::DoNotOptimize(result.lines.data());
    }
    state.counters["path_records"] = static_cast<double>(text.size());
    state.counters["program_lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_GenerateNearLimitProgram)->Unit(benchmark::kMillisecond);

} // namespace
