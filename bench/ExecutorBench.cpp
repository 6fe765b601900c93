// Executor speed: a whole example letter generated and run on the
// simulated machine in virtual time (target: under 2 s of wall time), and
// one executor tick with a 30,000-line program loaded (target: under
// 50 microseconds).

#include "app/DrawingSteps.h"
#include "app/SimulatedSession.h"
#include "machine/Machine.h"
#include "machine/RecordingDialog.h"
#include "machine/SimulatedStartup.h"
#include "machine/VirtualClock.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>

namespace {

using namespace korvel;

std::filesystem::path scratchFolder(const char* name) {
    std::random_device rd;
    auto path =
        std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path);
    return path;
}

class NoLauncher : public machine::JobLauncher {
public:
    void startJob() override {}
    void startFeedReturn() override {}
    void feedButton(bool, bool) override {}
};

void BM_ExampleJobVirtualTime(benchmark::State& state) {
    const common::AppDir app(scratchFolder("korvel-bench-job"));
    {
        machine::RecordingDialog dialog;
        app::DrawingSteps drawing;
        app::SimulatedSession session(app, KORVEL_RESOURCES_DIR, dialog, drawing.tranParas());
        drawing.open(app, std::string(KORVEL_EXAMPLES_DIR) + "/letterD.dxf", 0,
                     session.machine().params().SlotAngleThreshold);
        app::SelectWholeLetter(app);
    }
    std::int64_t ticks = 0;
    for (auto _ : state) {
        machine::RecordingDialog dialog;
        app::SimulatedSession session(app, KORVEL_RESOURCES_DIR, dialog);
        session.fields().Text5 = "3";
        session.startJob();
        if (!session.runToEnd(1000000)) {
            state.SkipWithError("the job did not end");
            break;
        }
        ticks += session.clock().ticks();
    }
    state.counters["ticks_per_s"] =
        benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
    std::filesystem::remove_all(app.root());
}
BENCHMARK(BM_ExampleJobVirtualTime)->Unit(benchmark::kMillisecond);

void BM_TickWith30000Lines(benchmark::State& state) {
    const common::AppDir app(scratchFolder("korvel-bench-tick"));
    auto card = machine::MakeSimulatedCard(app, KORVEL_RESOURCES_DIR);
    machine::RecordingDialog dialog;
    NoLauncher launcher;
    machine::Machine machine(app, *card, dialog, launcher);
    machine.startUp({KORVEL_RESOURCES_DIR, {}});
    machine::VirtualClock clock(*card, machine.executor());
    common::Lines program;
    for (int i = 0; i < 30000; ++i) {
        program.push_back(i % 2 == 0 ? "M10" : "G04 P30");
    }
    const auto load = [&] {
        machine.run().loadLines(program, machine::RunKind::Action);
        clock.step(); // the feed plan of the new program
    };
    load();
    for (auto _ : state) {
        clock.step();
        if (!machine.run().anyRunActive()) {
            state.PauseTiming();
            load();
            state.ResumeTiming();
        }
    }
    std::filesystem::remove_all(app.root());
}
BENCHMARK(BM_TickWith30000Lines)->Unit(benchmark::kMicrosecond);

} // namespace
