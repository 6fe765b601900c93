#pragma once
// The application layer around a machine on the simulated card: what the
// operator window will do around the machine, without the window. It owns
// the card, the machine and the virtual clock, hands the parameter values
// to the geometry through the hook it is given, and implements the
// launcher the executor calls: the run command for the start button, the feed return
// after a job, the feed and retract buttons (the machine's feed panel, with
// the gripper programs of the program writers).
//
// The window and korvel-cli share it: the window drives the same clock
// from its 30 ms timer, korvel-cli runs it in virtual time.
//
// The session runs on the simulated card unless it is given another card
// (see CardChoice.h); on a card driver library everything works the same
// way, only card() is the simulated card alone and motionCard() is the card
// in use.

#include "app/CardChoice.h"
#include "app/JobRecorder.h"
#include "app/JobTimeEstimate.h"
#include "app/PanelPrograms.h"
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
#include <string>

namespace korvel::app {

class SimulatedSession : public machine::JobLauncher {
public:
    // Installs the shipped files into `dir` where missing and starts the
    // machine up; start-up messages go to `dialog`, the geometry values to
    // `tranParas` (may be empty).
    SimulatedSession(const common::AppDir& dir, const std::filesystem::path& resources,
                     machine::OperatorDialog& dialog, machine::TranParasHook tranParas = {});
    // The same on the card of `card` (ChooseCard); its start-up messages
    // are shown before the machine starts up.
    SimulatedSession(common::AppDir dir, const std::filesystem::path& resources,
                     machine::OperatorDialog& dialog, CardChoice card,
                     machine::TranParasHook tranParas = {});
    ~SimulatedSession() override;

    machine::Machine& machine() { return *m_machine; }
    // The simulated card; throws std::logic_error when the session runs on
    // a driver library (see simulatedCard()).
    machine::SimulatedCard& card();
    // The simulated card, or null on a driver library.
    machine::SimulatedCard* simulatedCard() { return m_simulated; }
    // The card in use.
    machine::MotionCard& motionCard() { return *m_card; }
    // Which card is in use, one line for the status bar and reports.
    const common::Message& cardDescription() const { return m_cardDescription; }
    machine::VirtualClock& clock() { return *m_clock; }
    // The run panel the run command reads.
    program::MainWindowFields& fields() { return m_fields; }
    // The small-arc points the view marks for bending instead of slotting.
    program::MarkedPoints& marked() { return m_marked; }
    // The outcome of the last run command.
    const std::optional<program::JobOutcome>& lastJob() const { return m_lastJob; }

    // Runs the machine in virtual time until no run is left or `maxTicks`
    // ticks have passed; true when every run ended. On a real card each
    // tick waits for its interval of wall time.
    bool runToEnd(std::int64_t maxTicks);

    // The drawing the job log names for the next jobs (its file name).
    void setDrawing(std::string name) { m_drawing = std::move(name); }
    // Loads G5.dat as it is and starts it as a job (the command line's run
    // of a program written earlier), with its time estimate and log line.
    void startLoadedJob();
    // The time the loaded job takes, measured on a copy of the machine
    // before it started (none when it did not end there).
    const std::optional<JobTimeEstimate>& jobTime() const { return m_jobTime; }
    // The window calls this after every timer tick (runToEnd does it too):
    // the remaining time follows the executor's line.
    void followRunningJob();
    // Machine time still to run for the running job (none without one or
    // without an estimate).
    std::optional<std::int64_t> remainingJobMs() const;
    // Machine time the last ended job took.
    std::optional<std::int64_t> lastJobMs() const { return m_recorder.lastJobMs(); }

    // The segment list's "从此段开始加工": the run command restarting the
    // job at piece `piece` (from 1); does nothing while a run holds the
    // machine.
    void startJobFromPiece(int piece);

    // JobLauncher
    // The run command (Command_Run), for the window's run button, the
    // machine's start button and korvel-cli alike: a paused run goes on
    // with its next line, a run in progress or a homing search is left
    // alone, and only an idle machine generates G5.dat from the prepared
    // path and loads it. The outcome of the last generation is lastJob().
    void startJob() override;
    void startFeedReturn() override;
    void feedButton(bool retract, bool pressed) override;
    // The machine's tool-setting button: the automatic tool setting program.
    void startToolSetting() override;
    void jobFinished() override;
    void jobStopped(const common::Message* alarm) override;

    // Called when the executor has finished a job (the window returns its
    // run controls to idle and redraws the view).
    void setJobFinishedHandler(std::function<void()> handler) {
        m_jobFinished = std::move(handler);
    }

private:
    // The estimate and the log line of a job just loaded.
    void jobLoaded(int runs);
    std::int64_t machineMs() const;

    common::AppDir m_dir;
    machine::OperatorDialog& m_dialog;
    std::unique_ptr<machine::MotionCard> m_card;
    machine::SimulatedCard* m_simulated = nullptr;
    bool m_realTime = false;
    common::Message m_cardDescription;
    std::unique_ptr<machine::Machine> m_machine;
    std::unique_ptr<machine::VirtualClock> m_clock;
    program::MainWindowFields m_fields;
    program::MarkedPoints m_marked;
    std::optional<program::JobOutcome> m_lastJob;
    std::string m_drawing;
    JobRecorder m_recorder;
    std::optional<JobTimeEstimate> m_jobTime;
    std::optional<RemainingTime> m_remaining;
    int m_firstPiece = 1;
    std::unique_ptr<PanelPrograms> m_panelPrograms;
    std::function<void()> m_jobFinished;
};

} // namespace korvel::app
