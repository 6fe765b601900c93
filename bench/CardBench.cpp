// The cost of a card driver library: one executor tick's input scan (24
// reads) on the simulated card directly and through LibraryCard on the test
// driver (target: the library adds under 1 microsecond per tick), and the
// same whole letter in virtual time on both.

#include "app/CardChoice.h"
#include "app/DrawingSteps.h"
#include "app/SimulatedSession.h"
#include "machine/MotionCard.h"
#include "machine/RecordingDialog.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <optional>
#include <random>
#include <string>

namespace {

using namespace korvel;

common::AppDir scratchFolder(const char* name) {
    std::random_device rd;
    auto path =
        std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path);
    return common::AppDir(path);
}

// The simulated card (no option) or the test driver.
std::optional<std::string> cardOption(std::int64_t onDriver) {
    if (onDriver == 0) {
        return "simulated";
    }
    return "library:" + std::string(KORVEL_TEST_CARD_DRIVER);
}

void BM_TickInputScan(benchmark::State& state) {
    const common::AppDir app = scratchFolder("korvel-bench-card");
    app::CardChoice choice = app::ChooseCard(app, KORVEL_RESOURCES_DIR, cardOption(state.range(0)));
    machine::MotionCard& card = *choice.card;
    for (auto _ : state) {
        int sum = 0;
        for (int input = 0; input < machine::kCardInputCount; ++input) {
            sum += card.read_bit(0, input);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetLabel(state.range(0) == 0 ? "simulated card" : "test driver library");
    std::filesystem::remove_all(app.root());
}
BENCHMARK(BM_TickInputScan)->Arg(0)->Arg(1);

void BM_LetterOnCard(benchmark::State& state) {
    const common::AppDir app = scratchFolder("korvel-bench-card-job");
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(app.root());
        machine::RecordingDialog dialog;
        app::DrawingSteps drawing;
        app::SimulatedSession session(
            app, KORVEL_RESOURCES_DIR, dialog,
            app::ChooseCard(app, KORVEL_RESOURCES_DIR, cardOption(state.range(0))),
            drawing.tranParas());
        drawing.open(app, std::string(KORVEL_EXAMPLES_DIR) + "/letterD.dxf", 0,
                     session.machine().params().SlotAngleThreshold);
        app::SelectWholeLetter(app);
        session.startJob();
        state.ResumeTiming();
        if (!session.runToEnd(1000000)) {
            state.SkipWithError("the job did not end");
            break;
        }
    }
    std::filesystem::remove_all(app.root());
}
BENCHMARK(BM_LetterOnCard)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
