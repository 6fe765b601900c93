// Opening a DXF drawing of 50,000 lines and arcs (6,250 rounded rectangles
// of four lines and four arcs each, as a CAD program writes a sheet of
// letters): reading the entities, chaining them into outlines, and all the
// open command does up to the display file. The operator waits for this
// when pressing "打开". When dxflib is installed, its
// parse of the same file is measured beside ours as a yardstick.

#include "geometry/DisplayPasses.h"
#include "geometry/DxfEntities.h"
#include "geometry/DxfOutlines.h"
#include "geometry/OutlineChaining.h"
#include "tests/geometry/DxfEntityText.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>

#ifdef KORVEL_HAVE_DXFLIB
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>
#endif

namespace {

namespace fs = std::filesystem;
namespace dxf = korvel::test::dxf;

constexpr int kColumns = 100;
constexpr int kShapes = 6'250; // 8 entities each: 50,000

std::string sheet() {
    std::string entities;
    for (int s = 0; s < kShapes; ++s) {
        const double x = 40.0 * (s % kColumns);
        const double y = 30.0 * (s / kColumns);
        const double w = 30.0;
        const double h = 20.0;
        const double r = 3.0;
        entities +=
            dxf::line(x + r, y, x + w - r, y) + dxf::arc(x + w - r, y + r, r, 270, 360) +
            dxf::line(x + w, y + r, x + w, y + h - r) + dxf::arc(x + w - r, y + h - r, r, 0, 90) +
            dxf::line(x + w - r, y + h, x + r, y + h) + dxf::arc(x + r, y + h - r, r, 90, 180) +
            dxf::line(x, y + h - r, x, y + r) + dxf::arc(x + r, y + r, r, 180, 270);
    }
    return dxf::drawing(entities);
}

const std::string& sheetText() {
    static const std::string text = sheet();
    return text;
}

void BM_ReadDxfEntities50k(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::geometry::ReadDxfEntities(sheetText(), "sheet.dxf"));
    }
}
BENCHMARK(BM_ReadDxfEntities50k)->Unit(benchmark::kMillisecond);

void BM_ChainOutlines50k(benchmark::State& state) {
    const auto entities = korvel::geometry::ReadDxfEntities(sheetText(), "sheet.dxf");
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::geometry::ChainOutlines(entities.pieces));
    }
}
BENCHMARK(BM_ChainOutlines50k)->Unit(benchmark::kMillisecond);

// What the open command does with the sheet before the display file: read,
// chain, display points, thinning. The target is below 200 ms. (The sheet
// gives about 200,000 display lines, far more than the display file holds,
// so the open command itself refuses it after these steps.)
void BM_DxfDisplayLines50k(benchmark::State& state) {
    korvel::geometry::ContourTolerances tolerances;
    for (auto _ : state) {
        auto display = korvel::geometry::DxfDisplayDrawing(
            korvel::geometry::ReadDxfEntities(sheetText(), "sheet.dxf"), {}, tolerances,
            "sheet.dxf");
        benchmark::DoNotOptimize(korvel::geometry::ThinDisplayPoints(display.lines));
    }
}
BENCHMARK(BM_DxfDisplayLines50k)->Unit(benchmark::kMillisecond);

#ifdef KORVEL_HAVE_DXFLIB
class CountingAdapter : public DL_CreationAdapter {
public:
    void addLine(const DL_LineData&) override { ++entities; }
    void addArc(const DL_ArcData&) override { ++entities; }
    int entities = 0;
};

void BM_DxflibParse50k(benchmark::State& state) {
    const fs::path file = fs::temp_directory_path() / "korvel-bench-dxflib-sheet.dxf";
    std::ofstream(file, std::ios::binary) << sheetText();
    for (auto _ : state) {
        CountingAdapter adapter;
        DL_Dxf reader;
        reader.in(file.string(), &adapter);
        benchmark::DoNotOptimize(adapter.entities);
    }
    fs::remove(file);
}
BENCHMARK(BM_DxflibParse50k)->Unit(benchmark::kMillisecond);
#endif

} // namespace
