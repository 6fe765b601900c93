// Import of large DXF drawings of wavy rings, one spline of 40 control
// points each:
// - the display points of 500 rings (about 370,000 point lines), as the
//   spline reader and the display point generation write them;
// - the whole open command on 336 rings, the largest such drawing whose
//   cleaned display file the outline view holds: drawing in, cleaned
//   display file out. Its counters give the peak heap memory of one open
//   against the size of the drawing file;
// - with dxflib installed, the same 336-ring file only parsed by dxflib, the
//   yardstick for the open command's time.

#include "common/AppDir.h"
#include "geometry/CoreAlgorithm.h"
#include "geometry/DrawingOpener.h"
#include "geometry/ImportDxf.h"
#include "tests/geometry/DxfTestText.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>

#ifdef KORVEL_HAVE_DXFLIB
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>
#endif

// Heap bytes in use and their high-water mark: every allocation of the
// program passes through here, so the peak during one open is what the
// import itself holds at its largest.
namespace {
std::atomic<long long> g_heapInUse{0};
std::atomic<long long> g_heapPeak{0};

// Each block carries its size in front of it, so that the plain delete
// knows how much it frees.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* countedAlloc(std::size_t size) {
    void* raw = std::malloc(size + kHeader);
    if (raw == nullptr) {
        throw std::bad_alloc();
    }
    *static_cast<std::size_t*>(raw) = size;
    const long long now = g_heapInUse += static_cast<long long>(size);
    long long peak = g_heapPeak.load();
    while (now > peak && !g_heapPeak.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(raw) + kHeader;
}

void countedFree(void* p) {
    if (p == nullptr) {
        return;
    }
    void* raw = static_cast<char*>(p) - kHeader;
    g_heapInUse -= static_cast<long long>(*static_cast<std::size_t*>(raw));
    std::free(raw);
}
} // namespace

void* operator new(std::size_t size) {
    return countedAlloc(size);
}
void* operator new[](std::size_t size) {
    return countedAlloc(size);
}
void operator delete(void* p) noexcept {
    countedFree(p);
}
void operator delete[](void* p) noexcept {
    countedFree(p);
}
void operator delete(void* p, std::size_t) noexcept {
    countedFree(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    countedFree(p);
}

namespace {

namespace fs = std::filesystem;
namespace geometry = korvel::geometry;

constexpr int kRingPoints = 40;
constexpr int kLargestOpenable = 336;

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

// A folder with the drawing and an application folder beside it, removed
// when the benchmark ends.
class BenchFolder {
public:
    BenchFolder(const char* name, int splines)
        : m_dir(fs::temp_directory_path() / name), m_app(m_dir / "app") {
        fs::create_directories(m_dir);
        m_app.create();
        std::ofstream out(drawing(), std::ios::binary);
        out << syntheticDrawing(splines, kRingPoints);
    }
    ~BenchFolder() { fs::remove_all(m_dir); }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    fs::path drawing() const { return m_dir / "synthetic.dxf"; }
    const korvel::common::AppDir& app() const { return m_app; }

private:
    fs::path m_dir;
    korvel::common::AppDir m_app;
};

void BM_ImportDxf500x40(benchmark::State& state) {
    const BenchFolder folder("korvel-bench-dxf", 500);
    geometry::CoreAlgorithm core;
    core.TranParas(0.0, 0.0, 0.0, 10, 22.5, 105.0);
    long long points = 0;
    for (auto _ : state) {
        points = geometry::ImportDxf(folder.app(), folder.drawing(), core).points;
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_ImportDxf500x40)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

void BM_OpenDxf336x40(benchmark::State& state) {
    const BenchFolder folder("korvel-bench-open-dxf", kLargestOpenable);
    geometry::CoreAlgorithm core;
    core.TranParas(0.0, 0.0, 0.0, 10, 22.5, 105.0);
    geometry::DrawingState drawingState;
    geometry::OpenSummary summary;
    long long peak = 0;
    for (auto _ : state) {
        const long long before = g_heapInUse.load();
        g_heapPeak = before;
        summary = geometry::OpenDrawing(folder.app(), folder.drawing(), {}, core, drawingState);
        peak = std::max(peak, g_heapPeak.load() - before);
        benchmark::DoNotOptimize(summary.pointLines);
    }
    const auto fileBytes = static_cast<double>(fs::file_size(folder.drawing()));
    state.counters["fileKB"] = fileBytes / 1024.0;
    state.counters["peakHeapKB"] = static_cast<double>(peak) / 1024.0;
    state.counters["peakPerFile"] = static_cast<double>(peak) / fileBytes;
    state.counters["lines"] = static_cast<double>(summary.pointLines + summary.outlines + 1);
}
BENCHMARK(BM_OpenDxf336x40)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

#ifdef KORVEL_HAVE_DXFLIB
// Counts what dxflib hands over, so that the parse has a visible result.
class SplineCounter : public DL_CreationAdapter {
public:
    void addSpline(const DL_SplineData&) override { ++splines; }
    void addControlPoint(const DL_ControlPointData&) override { ++points; }
    void addKnot(const DL_KnotData&) override { ++knots; }
    long long splines = 0;
    long long points = 0;
    long long knots = 0;
};

void BM_DxflibParse336x40(benchmark::State& state) {
    const BenchFolder folder("korvel-bench-dxflib", kLargestOpenable);
    long long points = 0;
    for (auto _ : state) {
        SplineCounter counter;
        DL_Dxf dxf;
        if (!dxf.in(folder.drawing().string(), &counter)) {
            state.SkipWithError("dxflib could not read the drawing");
            return;
        }
        points = counter.points;
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_DxflibParse336x40)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
#endif

} // namespace
