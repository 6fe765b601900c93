#include "machine/ManualOperations.h"

#include "common/Basic.h"
#include "machine/AxisUnits.h"
#include "machine/Executor.h"
#include "machine/MachineBuild.h"
#include "machine/ManualJog.h"
#include "machine/MotionCard.h"
#include "machine/OperatorDialog.h"
#include "machine/ParameterSet.h"
#include "machine/RunState.h"

#include <cmath>

namespace korvel::machine {

namespace {

// Below this the stepping program would only open and close the grippers.
constexpr double kShortestGripperStep = 0.0005;

} // namespace

void InvertOutput(MotionCard& card, int output, int partner) {
    const int value = card.get_out(kCard, output) == 0 ? 1 : 0;
    card.write_bit(kCard, output, value);
    if (partner >= 0) {
        card.write_bit(kCard, partner, value);
    }
}

bool ManualOperations::busy() const {
    return m_run.anyRunActive() || m_run.HomingAxisCode > 0 || Axis_Status(m_card) != 0;
}

double ManualOperations::speed() const {
    return common::Val(m_panel.speedText);
}

double ManualOperations::stepLength() const {
    return common::Val(m_panel.stepText);
}

void ManualOperations::openClamp() {
    // The clamp lets the strip go before the feed pulls it.
    m_card.write_bit(kCard, kOutClamp, 0);
    m_card.write_bit(kCard, kOutClampSecond, 0);
}

void ManualOperations::feedPressed(bool retract) {
    if (busy() || m_card.get_status(kCard, kAxisX) > 0) {
        return;
    }
    if (m_panel.singleStep) {
        startStep(retract ? -stepLength() : stepLength());
    } else if (m_p.FeedType == kFeedGripperDouble) {
        startGripperJog(retract);
    } else {
        const JogSpeed jog{speed(), m_p.PulseEquivX, m_p.AccelX};
        if (JogSpeedUsable(jog)) {
            openClamp();
            StartHeldJog(m_card, kAxisX, retract ? -1 : 1, jog);
            m_held = Held::Axis;
        }
    }
}

void ManualOperations::startStep(double length) {
    if (m_p.FeedType == kFeedRoller) {
        const JogSpeed jog{speed(), m_p.PulseEquivX, m_p.AccelX};
        if (JogSpeedUsable(jog) && ToPulses(length, m_p.PulseEquivX) != 0) {
            openClamp();
            StartStepJog(m_card, kAxisX, length, jog);
        }
    } else if (m_p.FeedType == kFeedGripperDouble && m_programs != nullptr &&
               std::fabs(length) >= kShortestGripperStep) {
        openClamp();
        try {
            m_programs->step(length);
        } catch (const common::UserError& e) {
            m_dialog.show(e.message());
        }
    }
    // The single-stroke gripper has no single step (its controls are
    // hidden in that mode).
}

void ManualOperations::startGripperJog(bool retract) {
    if (m_programs == nullptr) {
        return;
    }
    openClamp();
    try {
        if (m_programs->jog(retract, m_grippersReady)) {
            m_grippersReady = true;
            m_held = Held::GripperJog;
        }
    } catch (const common::UserError& e) {
        m_dialog.show(e.message());
    }
}

void ManualOperations::feedReleased() {
    const Held held = m_held;
    m_held = Held::None;
    if (held == Held::GripperJog && m_run.ActionRunActive != 0) {
        // The jog program would feed on for metres: stop it where it is.
        m_executor.Command_Stop();
    } else if (held == Held::Axis && !m_run.anyRunActive()) {
        ReleaseHeldJog(m_card, kAxisX);
    }
}

FeedHomingResult ManualOperations::Command_XZ() {
    return HomeFeedAxis(m_card, m_p, m_run, {speed(), false});
}

void ManualOperations::toggle(int output, int partner) {
    if (busy()) {
        return;
    }
    InvertOutput(m_card, output, partner);
}

void ManualOperations::toggleClamp() {
    toggle(kOutClamp, kOutClampSecond);
}

void ManualOperations::toggleGripper(int gripper) {
    if (gripper == 1 || gripper == 2) {
        toggle(gripper == 1 ? kOutGripperI : kOutGripperII, -1);
    }
}

} // namespace korvel::machine
