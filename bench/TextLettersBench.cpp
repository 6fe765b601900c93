// A 20-character sign text in the CJK font the machine installs, from the
// font lookup to the display file written: target under 100 ms.

#include "common/AppDir.h"
#include "geometry/CoreAlgorithm.h"
#include "geometry/TextLetters.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

void BM_OpenText20CjkCharacters(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / "korvel-bench-text";
    const korvel::common::AppDir app(dir / "app");
    app.create();
    korvel::geometry::CoreAlgorithm core;
    // Twenty characters, strokes of every kind, 500 mm high.
    const korvel::geometry::TextRequest request{"欢迎光临华夏银行营业厅北京分行招牌工程部",
                                                "WenQuanYi Micro Hei", 500.0, 20.0};
    korvel::geometry::DrawingState drawing;
    long long points = 0;
    for (auto _ : state) {
        const auto opened = korvel::geometry::OpenText(app, request, {}, core, drawing);
        points = opened.summary.pointLines;
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
    fs::remove_all(dir);
}
BENCHMARK(BM_OpenText20CjkCharacters)->Unit(benchmark::kMillisecond);

} // namespace
