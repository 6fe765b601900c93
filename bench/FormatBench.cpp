// Every number of every file and program line goes through the formatter,
// so a 30,000-line program formats ~200,000 numbers.

#include "common/Basic.h"

#include <benchmark/benchmark.h>

static void BM_FormatNumber(benchmark::State& state) {
    double v = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::common::FormatNumber(v, "0.000000"));
        v += 1.234567;
    }
}
BENCHMARK(BM_FormatNumber);

static void BM_Val(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::common::Val("-1234.567890"));
    }
}
BENCHMARK(BM_Val);
