#pragma once
// The application layer around a machine on the simulated card: what the
// operator window will do around the machine, without the window. It owns
// the card, the machine and the virtual clock, hands the parameter values
// to the geometry through the hook it is given, and implements the
// launcher the executor calls: the run command for the start button, the feed return
// after a job, the feed and retract buttons.
//
// The window and korvel-cli share it: the window drives the same clock
// from its 30 ms timer, korvel-cli runs it in virtual time.

#include "common/AppDir.h"
#include "machine/JobLauncher.h"
#include "machine/Machine.h"
#include "machine/ParameterStore.h"
#include "machine/SimulatedCard.h"
#include "machine/VirtualClock.h"
#include "program/JobRun.h"
#include "program/MainWindowFields.h"
#include "program/MarkedPoints.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace korvel::app {

class SimulatedSession : public machine::JobLauncher {
public:
    // Installs the shipped files into `dir` where missing and starts the
    // machine up; start-up messages go to `dialog`, the geometry values to
    // `tranParas` (may be empty).
    SimulatedSession(common::AppDir dir, const std::filesystem::path& resources,
                     machine::OperatorDialog& dialog, machine::TranParasHook tranParas = {});
    ~SimulatedSession() override;

    machine::Machine& machine() { return *m_machine; }
    machine::SimulatedCard& card() { return *m_card; }
    machine::VirtualClock& clock() { return *m_clock; }
    // The run panel the run command reads.
    program::MainWindowFields& fields() { return m_fields; }
    // The small-arc points the view marks for bending instead of slotting.
    program::MarkedPoints& marked() { return m_marked; }
    // The outcome of the last run command.
    const std::optional<program::JobOutcome>& lastJob() const { return m_lastJob; }

    // Runs the machine in virtual time until no run is left or `maxTicks`
    // ticks have passed; true when every run ended.
    bool runToEnd(std::int64_t maxTicks);

    // JobLauncher
    void startJob() override;
    void startFeedReturn() override;
    void feedButton(bool retract, bool pressed) override;
    // The machine's tool-setting button: the automatic tool setting program.
    void startToolSetting() override;
    void jobFinished() override;

    // Called when the executor has finished a job (the window returns its
    // run controls to idle and redraws the view).
    void setJobFinishedHandler(std::function<void()> handler) {
        m_jobFinished = std::move(handler);
    }

private:
    void releaseFeedButton();

    common::AppDir m_dir;
    machine::OperatorDialog& m_dialog;
    std::unique_ptr<machine::SimulatedCard> m_card;
    std::unique_ptr<machine::Machine> m_machine;
    std::unique_ptr<machine::VirtualClock> m_clock;
    program::MainWindowFields m_fields;
    program::MarkedPoints m_marked;
    std::optional<program::JobOutcome> m_lastJob;
    // The grippers hold the strip once a gripper jog has set them up.
    bool m_grippersReady = false;
    // A press of the feed or retract button started the gripper jog.
    bool m_jogRunning = false;
    std::function<void()> m_jobFinished;
};

} // namespace korvel::app
