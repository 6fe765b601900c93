#include "app/SimulatedSession.h"

#include "common/Basic.h"
#include "geometry/PathFile.h"
#include "machine/AxisUnits.h"
#include "machine/OperatorDialog.h"
#include "machine/SimulatedStartup.h"
#include "program/TestPrograms.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace korvel::app {

namespace {

// The time estimate gives up on a job that has not ended after twelve
// hours of machine time.
constexpr std::int64_t kEstimateTicks = 12LL * 3600 * 1000 / machine::kTimer2IntervalMs;

} // namespace

SimulatedSession::SimulatedSession(const common::AppDir& dir,
                                   const std::filesystem::path& resources,
                                   machine::OperatorDialog& dialog,
                                   machine::TranParasHook tranParas)
    : SimulatedSession(dir, resources, dialog, ChooseSimulatedCard(dir, resources),
                       std::move(tranParas)) {}

SimulatedSession::SimulatedSession(common::AppDir dir, const std::filesystem::path& resources,
                                   machine::OperatorDialog& dialog, CardChoice card,
                                   machine::TranParasHook tranParas)
    : m_dir(std::move(dir)), m_dialog(dialog), m_card(std::move(card.card)),
      m_simulated(card.simulated), m_realTime(card.realTime),
      m_cardDescription(std::move(card.description)), m_recorder(m_dir) {
    for (const common::Message& message : card.messages) {
        m_dialog.show(message);
    }
    m_machine = std::make_unique<machine::Machine>(m_dir, *m_card, dialog, *this);
    machine::StartupOptions options;
    options.resourcesDir = resources;
    options.tranParas = std::move(tranParas);
    m_machine->startUp(options);
    m_clock =
        std::make_unique<machine::VirtualClock>(std::move(card.advance), m_machine->executor());
    m_fields.Check3 = m_machine->form().Check3 != 0;
    m_fields.Check5 = m_machine->form().Check5 != 0;
    m_panelPrograms = std::make_unique<PanelPrograms>(*m_machine, m_fields.Check3);
    m_machine->manual().setGripperPrograms(m_panelPrograms.get());
}

SimulatedSession::~SimulatedSession() = default;

machine::SimulatedCard& SimulatedSession::card() {
    if (m_simulated == nullptr) {
        throw std::logic_error("the session runs on a card driver library, not on the simulated "
                               "card");
    }
    return *m_simulated;
}

bool SimulatedSession::runToEnd(std::int64_t maxTicks) {
    auto& run = m_machine->run();
    const auto done = [this, &run] {
        followRunningJob();
        return !run.anyRunActive() && run.HomingAxisCode == 0;
    };
    if (!m_realTime) {
        return m_clock->runUntil(done, maxTicks);
    }
    // A real card moves by itself: each tick comes one interval after the
    // last, as from the window's timer.
    const auto interval = std::chrono::milliseconds(m_clock->intervalMs());
    auto next = std::chrono::steady_clock::now();
    return m_clock->runUntil(
        [&] {
            next += interval;
            std::this_thread::sleep_until(next);
            return done();
        },
        maxTicks);
}

std::int64_t SimulatedSession::machineMs() const {
    return m_machine->executor().ticks() * machine::kTimer2IntervalMs;
}

void SimulatedSession::jobLoaded(int runs) {
    auto& m = *m_machine;
    const auto copy = EstimateCardFor(*m_card, m_dir, m.params());
    m_jobTime = JobTimeEstimate::measure(m_dir, m.params(), m.run(), *copy, kEstimateTicks);
    m_remaining.reset();
    if (m_jobTime) {
        m_remaining.emplace(*m_jobTime);
    }
    int pieces = 0;
    try {
        if (std::filesystem::exists(m_dir.file("CtrP.dat"))) {
            for (const auto& rec : geometry::ReadPathFile(m_dir.file("CtrP.dat"))) {
                pieces += rec.isHeader() ? 1 : 0;
            }
        }
    } catch (const common::UserError&) {
        pieces = 0; // the log shows no pieces for a path it cannot read
    }
    m_recorder.begin(m_drawing.empty() ? std::string(machine::kProgramFileName) : m_drawing, pieces,
                     runs, machineMs());
}

void SimulatedSession::startLoadedJob() {
    m_machine->run().loadProgram(m_dir, machine::RunKind::Job);
    jobLoaded(1);
}

void SimulatedSession::followRunningJob() {
    if (m_remaining && m_machine->run().JobRunActive != 0) {
        m_remaining->tick(m_machine->run().CurrentLine, machine::kTimer2IntervalMs);
    }
}

std::optional<std::int64_t> SimulatedSession::remainingJobMs() const {
    if (!m_remaining || m_machine->run().JobRunActive == 0) {
        return std::nullopt;
    }
    return m_remaining->remainingMs();
}

void SimulatedSession::jobFinished() {
    const double strip = m_machine->executor().feedProgress().total();
    // The job ends on this tick, which the executor has already counted.
    if (auto failed = m_recorder.end(nullptr, true, strip, machineMs())) {
        m_dialog.show(*failed);
    }
    if (m_jobFinished) {
        m_jobFinished();
    }
}

void SimulatedSession::jobStopped(const common::Message* alarm) {
    auto& m = *m_machine;
    const auto& feed = m.executor().feedProgress();
    const double strip = feed.planned()
                             ? feed.fed(m_card->get_command_pos(machine::kCard, machine::kAxisX),
                                        m.run().GripperStrokes)
                             : 0.0;
    if (auto failed = m_recorder.end(alarm, false, strip, machineMs())) {
        m_dialog.show(*failed);
    }
}

void SimulatedSession::startJob() {
    // The program store is never written while a program runs from it: a
    // paused run goes on where it stopped, a moving one is left alone.
    if (m_machine->run().runCommand() != machine::RunCommandStep::NewJob) {
        return;
    }
    program::JobRun job(m_dir, m_machine->params(), m_machine->tables(), m_fields, m_marked);
    job.startAtPiece(m_firstPiece);
    m_lastJob = job.Command_Run(*m_card, m_machine->run());
    if (m_lastJob->message) {
        m_dialog.show(*m_lastJob->message);
    }
    if (m_lastJob->started) {
        // The feed display shows how much the compensations changed the job.
        m_machine->executor().setCompensationLength(m_lastJob->corrections.cumulative());
        jobLoaded(std::max<int>(common::CIntSaturated(common::Val(m_fields.Text5)), 1));
    }
}

void SimulatedSession::startJobFromPiece(int piece) {
    // A restart from a piece is a new job: nothing while a run holds the
    // machine, paused or not.
    if (m_machine->run().runCommandStep() != machine::RunCommandStep::NewJob) {
        return;
    }
    m_firstPiece = piece;
    startJob();
    m_firstPiece = 1;
}

void SimulatedSession::startFeedReturn() {
    const auto& p = m_machine->params();
    const double x = p.PulseEquivX > 0
                         ? m_card->get_command_pos(machine::kCard, machine::kAxisX) / p.PulseEquivX
                         : 0.0;
    program::TestPrograms programs(m_dir, m_machine->params(), m_machine->tables(),
                                   m_machine->run(), *m_card, m_fields.Check3);
    try {
        programs.FeedReturnProgram(x);
    } catch (const common::UserError& e) {
        m_dialog.show(e.message());
    }
}

void SimulatedSession::startToolSetting() {
    if (m_machine->MachineBusy()) {
        return;
    }
    program::TestPrograms programs(m_dir, m_machine->params(), m_machine->tables(),
                                   m_machine->run(), *m_card, m_fields.Check3);
    const common::Message refusal = programs.ToolSettingProgram();
    if (!refusal.empty()) {
        m_dialog.show(refusal);
    }
}

void SimulatedSession::feedButton(bool retract, bool pressed) {
    m_machine->manual().feedButton(retract, pressed);
}

} // namespace korvel::app
