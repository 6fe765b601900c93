// Every number of every file and program line goes through the formatter,
// so a 30,000-line program formats ~200,000 numbers, a selection of a large
// drawing ~400,000; every number read back goes through Val.

#include "common/Basic.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

// Coordinates and angles as the outline files hold them: a few thousand
// values between -2,000 and 2,000 mm.
std::vector<double> drawingValues() {
    std::vector<double> values;
    double v = -1999.987654321;
    for (int i = 0; i < 4096; ++i) {
        values.push_back(v);
        v += 0.977123456789;
    }
    return values;
}

void BM_FormatNumber(benchmark::State& state) {
    const std::vector<double> values = drawingValues();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::common::FormatNumber(values[i], "0.000000"));
        i = (i + 1) % values.size();
    }
}
BENCHMARK(BM_FormatNumber);

// Values up to 10^7 and beyond, where the plain rounding no longer decides
// alone and the 15-digit form is built.
void BM_FormatNumberWideRange(benchmark::State& state) {
    double v = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::common::FormatNumber(v, "0.000000"));
        v += 1.234567;
    }
}
BENCHMARK(BM_FormatNumberWideRange);

void BM_AppendNumberLine(benchmark::State& state) {
    const std::vector<double> values = drawingValues();
    std::string line;
    size_t i = 0;
    for (auto _ : state) {
        line.clear();
        korvel::common::AppendNumber(line, values[i], "0.000");
        line += ' ';
        korvel::common::AppendNumber(line, values[(i + 7) % values.size()], "0.000");
        benchmark::DoNotOptimize(line.data());
        i = (i + 1) % values.size();
    }
}
BENCHMARK(BM_AppendNumberLine);

void BM_Val(benchmark::State& state) {
    std::vector<std::string> texts;
    for (double v : drawingValues()) {
        texts.push_back(korvel::common::FormatNumber(v, "0.000000"));
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::common::Val(texts[i]));
        i = (i + 1) % texts.size();
    }
}
BENCHMARK(BM_Val);

// Blanks inside and an exponent: the general reading.
void BM_ValGeneral(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::common::Val(" -1 234.5E-3"));
    }
}
BENCHMARK(BM_ValGeneral);

} // namespace
