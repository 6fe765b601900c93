// Opening the large drawings a sign shop meets: a G-code file of a long
// text line (many letters, 20,000 moves), the same as a plotter file, an
// Illustrator file with 500 curves, and the cleaning passes over the
// result. The operator waits for these when pressing "打开".

#include "common/Basic.h"
#include "common/TextFile.h"
#include "geometry/AiReader.h"
#include "geometry/DisplayPasses.h"
#include "geometry/NcReader.h"
#include "geometry/PltReader.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <string>

namespace {

using korvel::common::FormatNumber;
using korvel::common::Lines;

// Rings of 100 chords, radius 20 mm, 200 of them side by side.
constexpr int kRings = 200;
constexpr int kChords = 100;

double ringX(int ring, int k) {
    return 50.0 * ring + 20.0 * std::cos(2.0 * std::acos(-1.0) * k / kChords);
}
double ringY(int k) {
    return 20.0 * std::sin(2.0 * std::acos(-1.0) * k / kChords);
}

Lines ncText() {
    Lines nc = {"G90", "G00 Z5"};
    for (int r = 0; r < kRings; ++r) {
        nc.push_back("G00 X" + FormatNumber(ringX(r, 0), "0.000") + " Y" +
                     FormatNumber(ringY(0), "0.000"));
        nc.emplace_back("G01 Z-1");
        for (int k = 1; k <= kChords; ++k) {
            nc.push_back("G01 X" + FormatNumber(ringX(r, k), "0.000") + " Y" +
                         FormatNumber(ringY(k), "0.000"));
        }
        nc.emplace_back("G00 Z5");
    }
    return nc;
}

std::string pltText() {
    std::string plt = "IN;SP1;";
    for (int r = 0; r < kRings; ++r) {
        for (int k = 0; k <= kChords; ++k) {
            plt += (k == 0 ? "PU" : "PD") + FormatNumber(ringX(r, k) * 40, "0") + "," +
                   FormatNumber(ringY(k) * 40, "0") + ";\n";
        }
    }
    return plt + "PU;SP0;";
}

// 50 letters of 10 curves: half a million curve steps.
constexpr int kAiLetters = 50;

Lines aiText() {
    Lines ai = {"%%EndSetup"};
    for (int r = 0; r < kAiLetters; ++r) {
        const double x = 50.0 * r;
        ai.push_back(FormatNumber(x, "0.000") + " 0 m");
        for (int q = 0; q < 10; ++q) {
            ai.push_back(FormatNumber(x + 5 * q + 1, "0.0") + " 10 " +
                         FormatNumber(x + 5 * q + 4, "0.0") + " 10 " +
                         FormatNumber(x + 5 * q + 5, "0.0") + " 0 c");
        }
        ai.emplace_back("S");
    }
    return ai;
}

void BM_ReadNc(benchmark::State& state) {
    const Lines nc = ncText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::geometry::ReadNc(nc, {-1.0, 30.0}));
    }
}
BENCHMARK(BM_ReadNc)->Unit(benchmark::kMillisecond);

void BM_ReadPlt(benchmark::State& state) {
    const std::string plt = pltText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::geometry::ReadPlt(plt, {}));
    }
}
BENCHMARK(BM_ReadPlt)->Unit(benchmark::kMillisecond);

void BM_ReadAi(benchmark::State& state) {
    const Lines ai = aiText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::geometry::ReadAi(ai, {}));
    }
}
BENCHMARK(BM_ReadAi)->Unit(benchmark::kMillisecond);

void BM_CleanAiDrawing(benchmark::State& state) {
    const Lines display = korvel::geometry::ReadAi(aiText(), {}).lines;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            korvel::geometry::RemoveDuplicateLines(korvel::geometry::ThinDisplayPoints(display)));
    }
}
BENCHMARK(BM_CleanAiDrawing)->Unit(benchmark::kMillisecond);

// The duplicate pass alone, over the thinned drawing (the file the pass
// meets after thinning, within its 32,001 lines).
void BM_RemoveDuplicateLines(benchmark::State& state) {
    const Lines thinned =
        korvel::geometry::ThinDisplayPoints(korvel::geometry::ReadAi(aiText(), {}).lines);
    state.counters["lines"] = static_cast<double>(thinned.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::geometry::RemoveDuplicateLines(thinned));
    }
}
BENCHMARK(BM_RemoveDuplicateLines)->Unit(benchmark::kMillisecond);

} // namespace
