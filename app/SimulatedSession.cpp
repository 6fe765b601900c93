#include "app/SimulatedSession.h"

#include "machine/AxisUnits.h"
#include "machine/OperatorDialog.h"
#include "machine/SimulatedStartup.h"
#include "program/TestPrograms.h"

#include <cmath>

namespace korvel::app {

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
    m_panelPrograms = std::make_unique<PanelPrograms>(*m_machine, m_fields.Check3);
    m_machine->manual().setGripperPrograms(m_panelPrograms.get());
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
    m_machine->manual().feedButton(retract, pressed);
}

} // namespace korvel::app
