#include "machine/Machine.h"

#include "common/Basic.h"
#include "common/TextFile.h"
#include "machine/AxisUnits.h"
#include "machine/DefaultInstall.h"
#include "machine/MotionCard.h"
#include "machine/OperatorDialog.h"

namespace korvel::machine {

Machine::Machine(common::AppDir dir, MotionCard& card, OperatorDialog& dialog,
                 JobLauncher& launcher)
    : m_dir(std::move(dir)), m_card(card), m_dialog(dialog), m_store(m_dir, m_params, m_tables),
      m_interpreter(card, m_params, m_run),
      m_executor(m_dir, m_params, m_run, card, m_interpreter, dialog, launcher),
      m_homing(m_params, m_run, card, dialog, [this] { return m_interpreter.Axis_Status(); }),
      m_manual(m_params, m_run, card, dialog, m_executor) {
    m_executor.setBendHomeHandler([this] { m_homing.Command_Z1(); });
    m_executor.setParameterSaver([this] {
        // The tool setting moved the A home offset: saved without a notice.
        show(m_store.SaveSysPara(m_tables.ParaGroupNo, true));
    });
}

void Machine::show(const common::Message& message) {
    if (!message.empty()) {
        m_dialog.show(message);
    }
}

void Machine::startUp(const StartupOptions& options) {
    m_dir.create();
    InstallDefaults(m_dir, options.resourcesDir);
    m_store.setTranParasHook(options.tranParas);
    for (const auto& message : m_store.LoadAtStartup()) {
        show(message);
    }
    initialiseCard();

    ReadFormText(m_dir.file(kFormTextFileName), m_params, m_form);
    m_tables.LanguageFlag = m_form.LanguageFlag;

    // The record of finished paths starts empty with every session.
    common::TruncateFile(m_dir.file(kFinishedPathFileName));

    m_timerIntervalMs = kTimer2IntervalMs;
    setLimitModes();
    m_jogDwell = "300";
    // The feed speed field shows the manual speed of the parameter set.
    setManualFeedSpeedText(common::FormatNumber(m_params.ManualSpeedX, "0"));

    if (m_params.InfeedControl == 1) {
        // A motor infeed cuts front and back to the same depth.
        m_params.DownStrokeBack = m_params.DownStrokeFront;
    }
}

void Machine::initialiseCard() {
    m_cardPresent = m_card.adt8940a1_initial() >= 1;
    if (!m_cardPresent) {
        show(common::error("8940A1卡未正确安装", "8940A1 motion card is not installed correctly"));
    }
    const double accel[4] = {m_params.AccelX, m_params.AccelY, m_params.AccelZ, m_params.AccelA};
    for (int axis = kAxisX; axis <= kAxisA; ++axis) {
        m_card.set_command_pos(kCard, axis, 0);
        m_card.set_actual_pos(kCard, axis, 1);
        m_card.set_startv(kCard, axis, kStartVelocity);
        m_card.set_acc(kCard, axis, CardAcceleration(accel[axis - 1]));
    }
}

void Machine::setLimitModes() {
    for (int axis = kAxisX; axis <= kAxisA; ++axis) {
        m_card.set_limit_mode(kCard, axis, 1, 1, 0);
    }
    if (m_params.InfeedLimitActive == 1) {
        // The infeed's limit switches are read by the executor instead.
        m_card.set_limit_mode(kCard, kAxisA, 0, 0, 0);
    }
}

void Machine::setManualFeedSpeedText(const std::string& text) {
    m_manual.panel().speedText = text;
    m_interpreter.setManualFeedSpeed(common::Val(text));
}

void Machine::shutDown() {
    m_form.LanguageFlag = m_tables.LanguageFlag;
    try {
        WriteFormText(m_dir.file(kFormTextFileName), m_form);
    } catch (const common::UserError& e) {
        m_dialog.show(e.message());
    }
}

} // namespace korvel::machine
