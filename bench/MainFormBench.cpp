// The window's timer period: one executor tick on the simulated machine
// plus the refresh of the status frame, lamps and job labels, with a whole
// letter running (target: under 2 ms, well inside the 30 ms timer).

#include "app/OperatorSession.h"
#include "machine/RecordingDialog.h"
#include "ui/MainForm.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>

namespace {

using namespace korvel;

std::filesystem::path scratchFolder() {
    std::random_device rd;
    auto path =
        std::filesystem::temp_directory_path() / ("korvel-bench-window-" + std::to_string(rd()));
    std::filesystem::create_directories(path);
    return path;
}

void BM_WindowTimerPeriod(benchmark::State& state) {
    const std::filesystem::path folder = scratchFolder();
    {
        machine::RecordingDialog dialog;
        app::OperatorSession session(common::AppDir(folder), KORVEL_RESOURCES_DIR, dialog);
        ui::MainForm window(session);
        window.show();
        window.openDrawing(std::filesystem::path(KORVEL_EXAMPLES_DIR) / "letterD.dxf", 0.0);
        window.selectWholeLetter();
        window.Command_Run();
        for (auto _ : state) {
            if (session.machine().run().JobRunActive == 0) {
                state.PauseTiming();
                window.Command_Run();
                state.ResumeTiming();
            }
            window.advance(30);
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WindowTimerPeriod)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // No screen needed: the window is drawn offscreen unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
