#include "app/SimulatedSession.h"

#include "machine/AxisUnits.h"
#include "machine/OperatorDialog.h"
#include "machine/SimulatedStartup.h"
#include "program/TestPrograms.h"

#include <cmath>

namespace korvel::app {

namespace {

// A held feed button moves this far; releasing it stops the move.
constexpr std::int32_t kHeldFeedPulses = 100000000;

} // namespace

SimulatedSession::SimulatedSession(common::AppDir dir, const std::filesystem::path& resources,
                                   machine::OperatorDialog& dialog,
                                   machine::TranParasHook tranParas)
    : m_dir(std::move(dir)), m_dialog(dialog) {
    m_card = machine::MakeSimulatedCard(m_dir, resources);
    m_machine = std::make_unique<machine::Machine>(m_dir, *m_card, dialog, *this);
    machine::StartupOptions options;
    options.resourcesDir = resources;
    options.tranParas = std::move(tranParas);
    m_machine->startUp(options);
    m_clock = std::make_unique<machine::VirtualClock>(*m_card, m_machine->executor());
    m_fields.Check3 = m_machine->form().Check3 != 0;
    m_fields.Check5 = m_machine->form().Check5 != 0;
}

SimulatedSession::~SimulatedSession() = default;

bool SimulatedSession::runToEnd(std::int64_t maxTicks) {
    auto& run = m_machine->run();
    return m_clock->runUntil([&run] { return !run.anyRunActive() && run.HomingAxisCode == 0; },
                             maxTicks);
}

void SimulatedSession::startJob() {
    program::JobRun job(m_dir, m_machine->params(), m_machine->tables(), m_fields, m_marked);
    m_lastJob = job.Command_Run(*m_card, m_machine->run());
    if (m_lastJob->message) {
        m_dialog.show(*m_lastJob->message);
    }
    if (m_lastJob->started) {
        // The feed display shows how much the compensations changed the job.
        m_machine->executor().setCompensationLength(m_lastJob->corrections.cumulative());
    }
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
    auto& p = m_machine->params();
    auto& run = m_machine->run();
    if (!pressed) {
        releaseFeedButton();
        return;
    }
    if (m_machine->MachineBusy() || m_machine->interpreter().Axis_Status() != 0 ||
        m_card->get_status(machine::kCard, machine::kAxisX) > 0) {
        return;
    }
    // The clamp opens so the strip can move.
    m_card->write_bit(machine::kCard, 3, 0);
    m_card->write_bit(machine::kCard, 11, 0);
    if (p.FeedType == 2) {
        program::TestPrograms programs(m_dir, p, m_machine->tables(), run, *m_card,
                                       m_fields.Check3);
        try {
            const bool written = retract ? programs.RetractJogProgram(m_grippersReady)
                                         : programs.FeedJogProgram(m_grippersReady);
            m_grippersReady = m_grippersReady || written;
            m_jogRunning = written;
        } catch (const common::UserError& e) {
            m_dialog.show(e.message());
        }
        return;
    }
    // The feed runs at the manual speed until the button is released.
    m_card->set_startv(machine::kCard, machine::kAxisX, machine::kStartVelocity);
    m_card->set_speed(
        machine::kCard, machine::kAxisX,
        machine::SpeedPulses(std::fabs(static_cast<double>(p.ManualSpeedX)), p.PulseEquivX));
    m_card->set_acc(machine::kCard, machine::kAxisX, machine::CardAcceleration(p.AccelX));
    m_card->pmove(machine::kCard, machine::kAxisX, retract ? -kHeldFeedPulses : kHeldFeedPulses);
}

void SimulatedSession::jobFinished() {
    if (m_jobFinished) {
        m_jobFinished();
    }
}

void SimulatedSession::releaseFeedButton() {
    const auto& run = m_machine->run();
    if (m_machine->params().FeedType == 2) {
        // Only the jog program the press started is stopped; a release
        // after a refused press must not stop a job.
        if (m_jogRunning && run.ActionRunActive != 0) {
            m_machine->executor().Command_Stop();
        }
        m_jogRunning = false;
        return;
    }
    if (!run.anyRunActive()) {
        m_card->dec_stop(machine::kCard, machine::kAxisX);
    }
}

} // namespace korvel::app
