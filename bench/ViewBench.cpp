// The outline view on a large drawing: 100 circles of 320 display points
// (32,000 point lines) with 100 nodes each (10,000 nodes, the node table's
// size), a path of 5,000 records with small arcs and a record of machined
// pieces. Measured: building the display list, sizing the marks after a
// wheel step, and one left click that finds no node (every node checked).

#include "CircleSheet.h"
#include "app/DisplayList.h"
#include "app/OutlineViewInput.h"
#include "common/AppDir.h"
#include "common/TextFile.h"
#include "geometry/OutlineFiles.h"
#include "geometry/OutlineSession.h"
#include "geometry/PathFile.h"
#include "geometry/PlaneGeometry.h"
#include "program/MarkedPoints.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace korvel;

// Whole circles, every point an arc point of radius 20 (small arcs for a
// threshold above it).
geometry::PathRecords path() {
    geometry::PathRecords records;
    for (int c = 0; records.size() < 5000; ++c) {
        records.push_back(geometry::PathRecord::blockLine(0, 3));
        for (int i = 0; i < bench::kSheetPointsPerCircle; ++i) {
            const auto p = bench::SheetPoint(c, i);
            records.push_back(
                geometry::PathRecord::point(p.x, p.y, geometry::kContourPoint, 20.0, 0.02));
        }
        records.push_back(geometry::PathRecord::blockLine(0, 0));
    }
    return records;
}

struct Scene {
    Scene()
        : dir(std::filesystem::temp_directory_path() /
              ("korvel-bench-view-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(dir.root());
        common::WriteLines(dir.file(geometry::kDisplayFile), bench::CircleSheet());
        geometry::WritePathFile(dir.file(geometry::kPathFile), path());
        std::filesystem::copy_file(dir.file(geometry::kPathFile),
                                   dir.file(geometry::kMachinedFile));
        session = std::make_unique<geometry::OutlineSession>(
            dir, geometry::ControlPointParameters{}, geometry::PathParameters{});
        session->openDrawing();
        input = std::make_unique<app::OutlineViewInput>(*session, marked, list);
        input->resize(1000, 700);
    }
    ~Scene() {
        std::error_code ec;
        std::filesystem::remove_all(dir.root(), ec);
    }
    common::AppDir dir;
    std::unique_ptr<geometry::OutlineSession> session;
    program::MarkedPoints marked;
    app::DisplayList list;
    std::unique_ptr<app::OutlineViewInput> input;
};

Scene& scene() {
    static Scene s;
    return s;
}

void BM_BuildDisplayList(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.list.rebuild(*s.session, s.marked, 30.0, 1));
    }
    state.counters["lines"] = static_cast<double>(s.list.layer(app::Layer::Outlines).lines.size());
}
BENCHMARK(BM_BuildDisplayList)->Unit(benchmark::kMillisecond);

void BM_SizeMarksAfterAWheelStep(benchmark::State& state) {
    Scene& s = scene();
    s.list.rebuild(*s.session, s.marked, 30.0, 0);
    double w = 500.0;
    for (auto _ : state) {
        w = w == 500.0 ? 550.0 : 500.0;
        s.list.fitMarks(w);
    }
    state.counters["nodes"] = static_cast<double>(s.session->model().nodeCount());
}
BENCHMARK(BM_SizeMarksAfterAWheelStep)->Unit(benchmark::kMillisecond);

void BM_PickMissesEveryNode(benchmark::State& state) {
    Scene& s = scene();
    s.list.rebuild(*s.session, s.marked, 30.0, 0);
    s.session->view().setView({225, 225, 600});
    // The centre of the first circle: 20 mm from its outline.
    const double mx = (0.0 - (225 - 300)) / 600 * 1000;
    const double my = ((225 + 0.7 * 300) - 0.0) / (0.7 * 600) * 700;
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.input->leftPress(mx, my, false));
        s.input->release();
    }
    state.counters["nodes"] = static_cast<double>(s.session->model().nodeCount());
}
BENCHMARK(BM_PickMissesEveryNode)->Unit(benchmark::kMicrosecond);

} // namespace
