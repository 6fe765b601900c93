#include "machine/ManualHoming.h"

#include "common/Basic.h"
#include "machine/AxisUnits.h"
#include "machine/HomingSupervisor.h"
#include "machine/MachineOutputs.h"
#include "machine/MotionCard.h"
#include "machine/OperatorDialog.h"
#include "machine/ParameterSet.h"
#include "machine/RunState.h"

#include <cmath>

namespace korvel::machine {

namespace {

using namespace homing;

// The cutter first leaves its switch by this much before searching it.
constexpr double kZLeaveDistance = 20.0;

} // namespace

bool ManualHoming::MachineBusy() const {
    return m_run.anyRunActive() || m_run.HomingAxisCode > 0;
}

bool ManualHoming::busy() const {
    return MachineBusy() || (m_axesBusy && m_axesBusy() != 0);
}

bool ManualHoming::ownHomingRuns(bool codeMatches) const {
    // A search started by a running program belongs to the program: the
    // button must not cut it short and let the program go on unhomed.
    return codeMatches && !m_run.anyRunActive();
}

void ManualHoming::startSearch(int axis, double homeSpeed, double pulseEquiv, double accel,
                               int code) {
    m_card.set_stop0_mode(kCard, axis, 1, 0);
    m_card.set_speed(kCard, axis, ManualSpeedPulses(homeSpeed, pulseEquiv));
    m_card.set_startv(kCard, axis, kStartVelocity);
    m_card.set_acc(kCard, axis, CardAcceleration(accel));
    m_card.pmove(kCard, axis, homeSpeed > 0 ? kSearchPulses : -kSearchPulses);
    m_run.HomingAxisCode = static_cast<std::int16_t>(code);
    m_run.HomingActive = 1;
}

void ManualHoming::cancel(int axis) {
    m_card.set_stop0_mode(kCard, axis, 0, 0);
    m_card.dec_stop(kCard, axis);
    m_run.HomingAxisCode = 0;
    m_run.HomingActive = 0;
}

void ManualHoming::Command_Z1() {
    const int code = m_run.HomingAxisCode;
    if (ownHomingRuns(code == kYSearch || code == kYBackOff)) {
        cancel(kAxisY);
        return;
    }
    if (busy()) {
        return;
    }
    if (m_card.get_out(kCard, kOutRodI) == 1 || m_card.get_out(kCard, kOutRodII) == 1) {
        // A rod still in the strip would be dragged along by the search.
        m_dialog.show(common::notice("请先缩回弯弧杆！", "Please draw back Bending shaft!"));
        return;
    }
    startSearch(kAxisY, m_p.HomeSpeedY, m_p.PulseEquivY, m_p.AccelY, kYSearch);
}

bool ManualHoming::swingHomingActive(bool zSwings) const {
    const int code = m_run.HomingAxisCode;
    return zSwings ? (code == kZSearch || code == kZBackOff)
                   : (code == kASearch || code == kABackOff);
}

void ManualHoming::homeSwingAxis(bool zSwings) {
    if (zSwings) {
        startSearch(kAxisZ, m_p.HomeSpeedZ, m_p.PulseEquivZ, m_p.AccelZ, kZSearch);
    } else {
        startSearch(kAxisA, m_p.HomeSpeedA, m_p.PulseEquivA, m_p.AccelA, kASearch);
    }
}

void ManualHoming::Command_Z2() {
    const bool zSwings = m_p.ZAxisSwingCutter == 1;
    if (ownHomingRuns(swingHomingActive(zSwings))) {
        cancel(zSwings ? kAxisZ : kAxisA);
        return;
    }
    if (busy()) {
        return;
    }
    // The in-position inputs read 0 when their position is reached, so a
    // pneumatic cutter that is not back reads 1 on IN17.
    if (m_p.CutterUpDownControl == 0 && m_card.read_bit(kCard, kInCutterBack) != 0) {
        m_dialog.show(
            common::notice("切刀未在原位，请先回切刀！", "Cutter is not at zero position!"));
        return;
    }
    if (m_p.InfeedControl == 1 && m_card.read_bit(kCard, kInAHome) == 0) {
        m_dialog.show(
            common::error("进刀压上零位开关，请手动退回！", "Cutter is at Zero, Please move up!"));
        return;
    }
    homeSwingAxis(zSwings);
}

void ManualHoming::Command_Z3() {
    if (m_p.CutterUpDownControl == 1) {
        const int code = m_run.HomingAxisCode;
        if (ownHomingRuns(code == kZReturn || code == kZSearch || code == kZBackOff)) {
            cancel(kAxisZ);
            return;
        }
        if (busy()) {
            return;
        }
        if (m_card.read_bit(kCard, kInZHome) == 0) {
            // Standing on the switch: leave it against the homing direction
            // first, so that the search meets the switch edge from outside.
            const std::int32_t leave = ToPulses(kZLeaveDistance, m_p.PulseEquivZ);
            m_card.set_speed(kCard, kAxisZ, ManualSpeedPulses(m_p.HomeSpeedZ, m_p.PulseEquivZ));
            m_card.set_startv(kCard, kAxisZ, kStartVelocity);
            m_card.set_acc(kCard, kAxisZ, CardAcceleration(m_p.AccelZ));
            m_card.pmove(kCard, kAxisZ, m_p.HomeSpeedZ >= 0 ? -leave : leave);
        }
        m_run.HomingAxisCode = kZReturn;
        m_run.HomingActive = 1;
        return;
    }
    if (ownHomingRuns(m_p.ZAxisSwingCutter == 1 && swingHomingActive(false))) {
        cancel(kAxisA);
        return;
    }
    if (busy()) {
        return;
    }
    // Pneumatic cutter: drive it back; the executor switches the valve off
    // when the cutter-back switch answers.
    m_card.write_bit(kCard, kOutCutterOut, 0);
    m_card.write_bit(kCard, kOutCutterBack, 1);
    m_run.ManualInPositionWait = 1;
    m_cutterHomed = true;
    if (m_p.ZAxisSwingCutter == 1) {
        // Z swings the cutter here, so the A axis is the one left to home.
        startSearch(kAxisA, m_p.HomeSpeedA, m_p.PulseEquivA, m_p.AccelA, kASearch);
    }
}

} // namespace korvel::machine
