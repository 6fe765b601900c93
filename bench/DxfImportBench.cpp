// Import of a large drawing: 500 splines of 40 control points each, read
// from a DXF file and written as display points with 10 points per node
// interval (about 370,000 point lines).

#include "common/AppDir.h"
#include "geometry/CoreAlgorithm.h"
#include "geometry/ImportDxf.h"
#include "tests/geometry/DxfTestText.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// Wavy rings spread over a 2 m x 1 m sheet, one per spline.
std::string syntheticDrawing(int count, int points) {
    std::vector<korvel::test::SplineSpec> splines;
    for (int s = 0; s < count; ++s) {
        korvel::test::SplineSpec spline;
        const double cx = 40.0 * (s % 50);
        const double cy = 100.0 * (s / 50);
        for (int i = 0; i < points; ++i) {
            const double a = 2.0 * M_PI * i / (points - 1);
            const double r = 15.0 + 3.0 * std::sin(5.0 * a);
            spline.points.emplace_back(cx + r * std::cos(a), cy + 1.5 * r * std::sin(a));
        }
        spline.knots = korvel::test::clampedKnots(points);
        splines.push_back(std::move(spline));
    }
    return korvel::test::joinDxf(korvel::test::drawingLines(splines), "\r\n");
}

void BM_ImportDxf500x40(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / "korvel-bench-dxf";
    fs::create_directories(dir);
    const fs::path drawing = dir / "synthetic.dxf";
    {
        std::ofstream out(drawing, std::ios::binary);
        out << syntheticDrawing(500, 40);
    }
    const korvel::common::AppDir app(dir / "app");
    app.create();
    korvel::geometry::CoreAlgorithm core;
    core.TranParas(0.0, 0.0, 0.0, 10, 22.5, 105.0);
    long long points = 0;
    for (auto _ : state) {
        points = korvel::geometry::ImportDxf(app, drawing, core).points;
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
    fs::remove_all(dir);
}
BENCHMARK(BM_ImportDxf500x40)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

} // namespace
