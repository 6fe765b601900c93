#include "app/SetupTests.h"

#include "app/AxisJogs.h"
#include "app/SetupStop.h"
#include "machine/AxisUnits.h"
#include "machine/MachineBuild.h"
#include "machine/MachineOutputs.h"
#include "machine/ManualJog.h"
#include "machine/MotionCard.h"
#include "machine/OperatorDialog.h"

namespace korvel::app {
namespace {

using machine::kAxisA;
using machine::kAxisX;
using machine::kAxisY;
using machine::kAxisZ;
using machine::kCard;
using machine::kOutClamp;
using machine::kOutClampSecond;
using machine::kOutCutterBack;
using machine::kOutCutterOut;
using machine::kOutRodI;
using machine::kOutRodII;
using machine::kOutSpindle;

machine::JogSpeed bendSpeed(const machine::ParameterSet& v) {
    return AxisManualSpeed(v, kAxisY);
}
machine::JogSpeed feedSpeed(const machine::ParameterSet& v) {
    return AxisManualSpeed(v, kAxisX);
}
machine::JogSpeed infeedSpeed(const machine::ParameterSet& v) {
    return AxisManualSpeed(v, kAxisA);
}
machine::JogSpeed cutterSpeed(const machine::ParameterSet& v) {
    return AxisManualSpeed(v, kAxisZ);
}

} // namespace

void SetupTests::stop() {
    StopSetupMotion(m_machine);
}

bool SetupTests::busy() {
    return m_machine.manual().busy();
}

void SetupTests::show(const common::Message& message) {
    if (!message.empty()) {
        m_machine.dialog().show(message);
    }
}

void SetupTests::toggle(int output) {
    auto& card = m_machine.card();
    card.write_bit(kCard, output, card.get_out(kCard, output) == 0 ? 1 : 0);
}

void SetupTests::bendPressed(const machine::ParameterSet& v, int direction, bool singleStep,
                             double step) {
    if (busy()) {
        return;
    }
    if (singleStep) {
        machine::StartStepJog(m_machine.card(), kAxisY, direction * step, bendSpeed(v));
    } else {
        machine::StartHeldJog(m_machine.card(), kAxisY, direction, bendSpeed(v));
    }
}

void SetupTests::bendReleased(bool singleStep) {
    if (!singleStep && !m_machine.run().anyRunActive()) {
        machine::ReleaseHeldJog(m_machine.card(), kAxisY);
    }
}

void SetupTests::feedPressed(const machine::ParameterSet& v, int direction, bool singleStep,
                             double step) {
    auto& card = m_machine.card();
    if (busy() || card.get_status(kCard, kAxisX) > 0) {
        return;
    }
    // The roller or the grippers can only move a strip the clamp lets go.
    card.write_bit(kCard, kOutClamp, 0);
    card.write_bit(kCard, kOutClampSecond, 0);
    if (!singleStep && v.FeedType == machine::kFeedGripperDouble) {
        machine::ParameterSet p = v;
        program::TestPrograms programs(m_machine.appDir(), p, m_machine.tables(), m_machine.run(),
                                       card, m_encoderOn);
        try {
            direction > 0 ? programs.FeedJogProgram(false) : programs.RetractJogProgram(false);
        } catch (const common::UserError& e) {
            show(e.message());
        }
        return;
    }
    if (!singleStep) {
        machine::StartHeldJog(card, kAxisX, direction, feedSpeed(v));
    } else if (v.FeedType == machine::kFeedRoller) {
        machine::StartStepJog(card, kAxisX, direction * step, feedSpeed(v));
    }
}

void SetupTests::feedReleased(const machine::ParameterSet& v, bool singleStep) {
    if (singleStep) {
        return;
    }
    if (v.FeedType == machine::kFeedGripperDouble) {
        stop();
    } else if (!m_machine.run().anyRunActive()) {
        machine::ReleaseHeldJog(m_machine.card(), kAxisX);
    }
}

void SetupTests::infeedPressed(const machine::ParameterSet& v, int direction) {
    if (!busy()) {
        machine::StartHeldJog(m_machine.card(), kAxisA, direction, infeedSpeed(v));
    }
}

void SetupTests::infeedReleased() {
    if (!m_machine.run().anyRunActive()) {
        machine::ReleaseHeldJog(m_machine.card(), kAxisA);
    }
}

void SetupTests::infeedBack(const machine::ParameterSet& v) {
    if (busy() || !(v.PulseEquivA > 0)) {
        return;
    }
    auto& card = m_machine.card();
    const double at = card.get_command_pos(kCard, kAxisA) / v.PulseEquivA;
    machine::StartStepJog(card, kAxisA, -at, infeedSpeed(v));
}

void SetupTests::toggleSpindle() {
    if (!busy()) {
        toggle(kOutSpindle);
    }
}

void SetupTests::toggleClamp() {
    m_machine.manual().toggleClamp();
}

void SetupTests::toggleRod(int which) {
    if (!busy()) {
        toggle(which == 1 ? kOutRodI : kOutRodII);
    }
}

void SetupTests::cutterBack(const machine::ParameterSet& v) {
    if (busy()) {
        return;
    }
    auto& card = m_machine.card();
    if (v.CutterUpDownControl == 0) {
        card.write_bit(kCard, kOutCutterOut, 0);
        card.write_bit(kCard, kOutCutterBack, 1);
    } else if (v.PulseEquivZ > 0) {
        const double at = card.get_command_pos(kCard, kAxisZ) / v.PulseEquivZ;
        machine::StartStepJog(card, kAxisZ, -at, cutterSpeed(v));
    }
}

void SetupTests::cutterOut(const machine::ParameterSet& v) {
    if (busy()) {
        return;
    }
    auto& card = m_machine.card();
    if (v.CutterUpDownControl == 0) {
        card.write_bit(kCard, kOutCutterBack, 0);
        card.write_bit(kCard, kOutCutterOut, 1);
    } else if (v.PulseEquivZ > 0) {
        const double at = card.get_command_pos(kCard, kAxisZ) / v.PulseEquivZ;
        machine::StartStepJog(card, kAxisZ, v.DownStrokeFront - at, cutterSpeed(v));
    }
}

void SetupTests::slotTest(const machine::ParameterSet& v, program::SlotTest which) {
    if (busy()) {
        return;
    }
    machine::ParameterSet p = v;
    program::TestPrograms programs(m_machine.appDir(), p, m_machine.tables(), m_machine.run(),
                                   m_machine.card(), m_encoderOn);
    show(programs.SlotTestProgram(which));
}

void SetupTests::toolSetting(const machine::ParameterSet& v) {
    if (busy()) {
        return;
    }
    machine::ParameterSet p = v;
    program::TestPrograms programs(m_machine.appDir(), p, m_machine.tables(), m_machine.run(),
                                   m_machine.card(), m_encoderOn);
    show(programs.ToolSettingProgram());
}

} // namespace korvel::app
