// Selection and path preparation on large drawings: a sheet of 50 letter
// "O"s with 100,000 display points and 1,000 nodes is loaded, every outline
// is picked as a whole piece and classified; a path of about 29,000 records
// (close to the 30,001 the machine takes) is prepared with a contour offset.

#include "common/AppDir.h"
#include "common/Basic.h"
#include "common/TextFile.h"
#include "geometry/ControlPointWriter.h"
#include "geometry/LetterSelection.h"
#include "geometry/OutlineFiles.h"
#include "geometry/OutlineModel.h"
#include "geometry/PathPreparation.h"
#include "geometry/PlaneGeometry.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace korvel;

// A folder of its own, removed when the program ends.
struct BenchFolder {
    BenchFolder()
        : dir(std::filesystem::temp_directory_path() /
              ("korvel-bench-outline-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(dir.root());
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir.root(), ec);
    }
    common::AppDir dir;
};

BenchFolder& folder() {
    static BenchFolder f;
    return f;
}

// `letters` rings of an outer (1,200 points) and an inner (800 points)
// circle, written clockwise from their last node as an import does, a node
// every 100 points.
common::Lines ringSheet(int letters) {
    common::Lines lines;
    int outline = 0;
    for (int l = 0; l < letters; ++l) {
        const double cx = (l % 10) * 150.0;
        const double cy = (l / 10) * 150.0;
        for (const auto& [r, n] : {std::pair{60.0, 1200}, std::pair{35.0, 800}}) {
            lines.push_back(geometry::OutlineHeader(++outline));
            for (int i = 0; i < n; ++i) {
                const double a = -2.0 * geometry::kPi * i / n;
                lines.push_back(geometry::DisplayPointLine(
                    cx + r * std::cos(a), cy + r * std::sin(a), i % 100 == 0, "0.000"));
            }
        }
    }
    lines.emplace_back(geometry::kSplineEnd);
    return lines;
}

// As the window's "whole letter" selection: each piece is classified and
// appended to the control file in turn.
void selectAll(const common::AppDir& dir) {
    const geometry::OutlineModel model = geometry::OutlineModel::load(dir);
    geometry::ControlPointWriter writer({5.0, 0.2});
    common::TruncateFile(dir.file(geometry::kControlFile));
    for (const auto& pick : geometry::WholeLetterPieces(model)) {
        const auto& range = model.rangeOfNode(pick.startNode);
        const int k = range.orientation * (pick.shift ? 2 : -3);
        writer.appendPiece(dir, model, pick.startNode, pick.endNode, k, {});
    }
}

void BM_BuildModelAndSelectAll(benchmark::State& state) {
    const common::AppDir& dir = folder().dir;
    common::WriteLines(dir.file(geometry::kDisplayFile), ringSheet(50));
    for (auto _ : state) {
        selectAll(dir);
    }
    state.counters["points"] = 100000;
}
BENCHMARK(BM_BuildModelAndSelectAll)->Unit(benchmark::kMillisecond);

void BM_BuildModelOnly(benchmark::State& state) {
    const common::AppDir& dir = folder().dir;
    common::WriteLines(dir.file(geometry::kDisplayFile), ringSheet(50));
    for (auto _ : state) {
        benchmark::DoNotOptimize(geometry::OutlineModel::load(dir));
    }
}
BENCHMARK(BM_BuildModelOnly)->Unit(benchmark::kMillisecond);

void BM_PreparePath(benchmark::State& state) {
    const common::AppDir& dir = folder().dir;
    // 14 letters: 28,000 points, 28 blocks, about 29,000 records with the
    // node lines.
    common::WriteLines(dir.file(geometry::kDisplayFile), ringSheet(14));
    selectAll(dir);
    const geometry::PathParameters params{1.0, 1.0, 0.5, 10.0};
    for (auto _ : state) {
        geometry::PreparePath(dir, params);
    }
}
BENCHMARK(BM_PreparePath)->Unit(benchmark::kMillisecond);

} // namespace
