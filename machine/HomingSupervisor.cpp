#include "machine/HomingSupervisor.h"

#include "common/Basic.h"
#include "machine/AxisUnits.h"
#include "machine/MotionCard.h"
#include "machine/ParameterSet.h"
#include "machine/RunState.h"

#include <cmath>

namespace korvel::machine {

using namespace homing;

int HomingSupervisor::axisOf(int homingCode) {
    switch (homingCode) {
    case kXSearch:
    case kXBackOff:
        return kAxisX;
    case kYSearch:
    case kYBackOff:
        return kAxisY;
    case kZSearch:
    case kZBackOff:
    case kZReturn:
        return kAxisZ;
    case kASearch:
    case kABackOff:
    case kAToolSetting:
        return kAxisA;
    default:
        return 0;
    }
}

std::optional<common::Message> HomingSupervisor::tick() {
    if (auto alarm = checkGuards()) {
        return alarm;
    }
    if (m_run.HomingActive > 0) {
        // The search was started on this tick's program step or a button:
        // give the card one tick before its idle state means anything.
        --m_run.HomingActive;
        return std::nullopt;
    }
    const int code = m_run.HomingAxisCode;
    const int axis = axisOf(code);
    if (axis == 0 || m_card.get_status(kCard, axis) != 0) {
        return std::nullopt;
    }
    advance(code);
    return std::nullopt;
}

std::optional<common::Message> HomingSupervisor::checkGuards() {
    if (m_run.HomingAxisCode == kYSearch && m_p.PulseEquivY > 0) {
        const double angle = std::fabs(m_card.get_command_pos(kCard, kAxisY) / m_p.PulseEquivY);
        if (angle > std::fabs(m_p.HomeOffsetY) + 10.0) {
            return common::error("弯弧轴转动过大，请检查弯弧零位开关！",
                                 "Please Check Arc-Axis Zero Switch！");
        }
    }
    if (m_run.HomingAxisCode == kASearch && m_p.InfeedControl == 1 && m_p.PulseEquivA > 0) {
        // The infeed stands HomeOffsetA in front of its switch after homing,
        // so a search that has gone 2 mm beyond that has missed the switch.
        const double travel = std::fabs(m_card.get_command_pos(kCard, kAxisA) / m_p.PulseEquivA);
        if (travel > std::fabs(m_p.HomeOffsetA) + 2.0) {
            return common::error("进刀找零距离过大，请检查进刀零位开关！",
                                 "Please Check Foward Zero Switch！");
        }
    }
    return std::nullopt;
}

void HomingSupervisor::advance(int code) {
    switch (code) {
    case kXSearch:
        startBackOff(kAxisX, m_p.HomeOffsetX, m_p.HomeOffsetSpeedX, m_p.PulseEquivX, m_p.AccelX,
                     kXBackOff);
        if (m_p.FeedType == 0 && m_p.FeedHomeSwitch > 0.5) {
            // Roller feed without a home switch: the move only retracts the
            // strip; there is no switch edge to zero on.
            m_run.HomingAxisCode = 0;
        }
        break;
    case kXBackOff:
        zeroAxis(kAxisX);
        m_run.CurXPulses = 0;
        m_run.HomingAxisCode = 0;
        break;
    case kYSearch:
        startBackOff(kAxisY, m_p.HomeOffsetY, m_p.HomeOffsetSpeedY, m_p.PulseEquivY, m_p.AccelY,
                     kYBackOff);
        break;
    case kYBackOff:
        finishYBackOff();
        break;
    case kZReturn:
        startZSearch();
        break;
    case kZSearch:
        startBackOff(kAxisZ, m_p.HomeOffsetZ, m_p.HomeOffsetSpeedZ, m_p.PulseEquivZ, m_p.AccelZ,
                     kZBackOff);
        break;
    case kASearch:
        startBackOff(kAxisA, m_p.HomeOffsetA, m_p.HomeOffsetSpeedA, m_p.PulseEquivA, m_p.AccelA,
                     kABackOff);
        break;
    case kZBackOff:
    case kABackOff:
        zeroAxis(axisOf(code));
        m_run.HomingAxisCode = 0;
        break;
    case kAToolSetting:
        finishToolSetting();
        break;
    default:
        break;
    }
}

void HomingSupervisor::startBackOff(int axis, double offset, double offsetSpeed, double pulseEquiv,
                                    double accel, int nextCode) {
    m_card.set_stop0_mode(kCard, axis, 0, 0);
    m_card.set_startv(kCard, axis, kStartVelocity);
    m_card.set_speed(kCard, axis, SpeedPulses(std::fabs(offsetSpeed), pulseEquiv));
    m_card.set_acc(kCard, axis, CardAcceleration(accel));
    m_card.pmove(kCard, axis, ToPulses(offset, pulseEquiv));
    m_run.HomingAxisCode = static_cast<std::int16_t>(nextCode);
}

void HomingSupervisor::zeroAxis(int axis) {
    m_card.set_command_pos(kCard, axis, 0);
    m_card.set_actual_pos(kCard, axis, 0);
}

void HomingSupervisor::finishYBackOff() {
    zeroAxis(kAxisY);
    m_run.CurYPulses = 0;
    // The arm now stands on the side of the switch it backed off to; the
    // next bend towards the switch must take up the backlash.
    // The back-off offset decides; without one, the search direction does.
    const double side = std::fabs(m_p.HomeOffsetY) > 0.1 ? m_p.HomeOffsetY : m_p.HomeSpeedY;
    if (side > 0.1) {
        m_run.LastBendDir = 1;
    } else if (side < -0.1) {
        m_run.LastBendDir = -1;
    }
    m_run.HomingAxisCode = 0;
}

void HomingSupervisor::startZSearch() {
    m_card.set_stop0_mode(kCard, kAxisZ, 1, 0);
    m_card.set_startv(kCard, kAxisZ, kStartVelocity);
    m_card.set_speed(kCard, kAxisZ, SpeedPulses(std::fabs(m_p.HomeSpeedZ), m_p.PulseEquivZ));
    m_card.set_acc(kCard, kAxisZ, CardAcceleration(m_p.AccelZ));
    m_card.pmove(kCard, kAxisZ, m_p.HomeSpeedZ > 0 ? kSearchPulses : -kSearchPulses);
    m_run.HomingAxisCode = kZSearch;
    m_run.HomingActive = 1;
}

void HomingSupervisor::finishToolSetting() {
    m_card.set_stop1_mode(kCard, kAxisA, 0, 0);
    const std::int32_t touched = m_card.get_command_pos(kCard, kAxisA);
    const std::int32_t safe = ToPulses(m_p.InfeedSafeDistance, m_p.PulseEquivA);
    m_card.set_command_pos(kCard, kAxisA, safe);
    m_card.set_actual_pos(kCard, kAxisA, safe);
    if (m_p.PulseEquivA > 0) {
        // The tool touched the strip `touched` pulses from home; the home
        // offset moves by what lies beyond the safe distance, so the next
        // infeed starts the same distance from the strip.
        m_p.HomeOffsetA += static_cast<double>(touched - safe) / m_p.PulseEquivA;
    }
    if (m_saveParameters) {
        m_saveParameters();
    }
    m_run.HomingAxisCode = 0;
}

} // namespace korvel::machine
