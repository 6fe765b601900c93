#pragma once
// A whole simulated machine in a temporary application folder: the shipped
// parameter files, the simulated card described by SimMachine.ini, the
// machine started up on it, an operator who answers questions as told and a
// launcher that records what the executor asked of the application.

#include "common/TextFile.h"
#include "machine/JobLauncher.h"
#include "machine/Machine.h"
#include "machine/RecordingDialog.h"
#include "machine/SimulatedStartup.h"
#include "machine/VirtualClock.h"
#include "support/TempDir.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace korvel::test {

class RecordingLauncher : public machine::JobLauncher {
public:
    void startJob() override { ++jobs; }
    void startFeedReturn() override { ++feedReturns; }
    void feedButton(bool retract, bool pressed) override { feeds.emplace_back(retract, pressed); }
    void startToolSetting() override { ++toolSettings; }
    void jobFinished() override { ++finished; }

    int jobs = 0;
    int feedReturns = 0;
    int toolSettings = 0;
    int finished = 0;
    std::vector<std::pair<bool, bool>> feeds;
};

struct MachineRig {
    TempDir tmp;
    common::AppDir dir{tmp.path() / "app"};
    std::unique_ptr<machine::SimulatedCard> card;
    machine::RecordingDialog dialog;
    RecordingLauncher launcher;
    std::unique_ptr<machine::Machine> machine;
    std::unique_ptr<machine::VirtualClock> clock;

    // `simMachine`: lines of SimMachine.ini for this machine (empty: the
    // shipped description).
    explicit MachineRig(const common::Lines& simMachine = {}) {
        dir.create();
        if (!simMachine.empty()) {
            common::WriteLines(dir.file("SimMachine.ini"), simMachine);
        }
        card = machine::MakeSimulatedCard(dir, KORVEL_RESOURCES_DIR);
        machine = std::make_unique<machine::Machine>(dir, *card, dialog, launcher);
        machine->startUp({KORVEL_RESOURCES_DIR, {}});
        clock = std::make_unique<machine::VirtualClock>(*card, machine->executor());
    }

    machine::RunState& run() { return machine->run(); }
    machine::ParameterSet& params() { return machine->params(); }
    machine::Executor& executor() { return machine->executor(); }

    void load(common::Lines lines, machine::RunKind kind = machine::RunKind::Action) {
        machine->run().loadLines(std::move(lines), kind);
    }
    // Runs until no run flag is left, at most `maxTicks`.
    bool runToEnd(std::int64_t maxTicks = 20000) {
        return clock->runUntil([this] { return !machine->run().anyRunActive(); }, maxTicks);
    }
    double x() { return card->get_command_pos(0, 1) / machine->params().PulseEquivX; }
    double y() { return card->get_command_pos(0, 2) / machine->params().PulseEquivY; }
    // Every message shown, as "zh / en" lines.
    std::string shown() const {
        std::string text;
        for (const auto& entry : dialog.entries()) {
            text += (text.empty() ? "" : "\n") + entry.message.zh + " / " + entry.message.en;
        }
        return text;
    }
    // Presses a panel button for one tick and releases it on the next.
    void press(int input) {
        card->setButton(input, true);
        clock->step();
        card->setButton(input, false);
        clock->step();
    }
};

} // namespace korvel::test
