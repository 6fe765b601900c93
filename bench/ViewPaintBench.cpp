// Painting the outline view where it has no OpenGL: the display list of a
// drawing of 32,000 point lines and 10,000 nodes drawn with QPainter into
// an image of a full-screen picture box, once after the list changed (the
// lines are converted) and once per repaint (a pan or a zoom).

#include "CircleSheet.h"
#include "app/DisplayList.h"
#include "common/AppDir.h"
#include "common/TextFile.h"
#include "geometry/OutlineFiles.h"
#include "geometry/OutlineSession.h"
#include "geometry/PlaneGeometry.h"
#include "program/MarkedPoints.h"
#include "ui/ScenePainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace korvel;

struct Scene {
    Scene()
        : dir(std::filesystem::temp_directory_path() /
              ("korvel-bench-paint-" + std::to_string(::getpid()))),
          session(dir, {}, {}) {
        std::filesystem::create_directories(dir.root());
        common::WriteLines(dir.file(geometry::kDisplayFile), bench::CircleSheet());
        session.openDrawing();
        session.view().resize(1600, 1000);
        list.rebuild(session, marked, 0.0, 0);
    }
    ~Scene() {
        std::error_code ec;
        std::filesystem::remove_all(dir.root(), ec);
    }
    common::AppDir dir;
    geometry::OutlineSession session;
    program::MarkedPoints marked;
    app::DisplayList list;
};

void paint(benchmark::State& state, bool changedEveryTime) {
    static Scene scene;
    QImage image(1600, 1000, QImage::Format_RGB32);
    ui::ScenePainter painter;
    double w = scene.session.view().rect().w;
    for (auto _ : state) {
        if (changedEveryTime) {
            w = w * 1.01;
            scene.list.fitMarks(w); // the list changed: lines converted again
        }
        QPainter p(&image);
        painter.paint(p, scene.list, scene.session.view(), image.size());
    }
}

void BM_PaintAfterTheListChanged(benchmark::State& state) {
    paint(state, true);
}
BENCHMARK(BM_PaintAfterTheListChanged)->Unit(benchmark::kMillisecond);

void BM_Repaint(benchmark::State& state) {
    paint(state, false);
}
BENCHMARK(BM_Repaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
