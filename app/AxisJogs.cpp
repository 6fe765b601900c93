#include "app/AxisJogs.h"

#include "common/Basic.h"
#include "machine/AxisUnits.h"
#include "machine/Machine.h"
#include "machine/MachineOutputs.h"
#include "machine/MotionCard.h"

namespace korvel::app {
namespace {

// The clamp holds the strip with both of its outputs ("M16" / "M17").

} // namespace

bool AxisJogs::busy() const {
    return m_machine.MachineBusy() || machine::Axis_Status(m_machine.card()) != 0;
}

machine::JogSpeed AxisManualSpeed(const machine::ParameterSet& p, int axis) {
    switch (axis) {
    case machine::kAxisX:
        return {static_cast<double>(p.ManualSpeedX), p.PulseEquivX, p.AccelX};
    case machine::kAxisY:
        return {static_cast<double>(p.ManualSpeedY), p.PulseEquivY, p.AccelY};
    case machine::kAxisZ:
        return {static_cast<double>(p.ManualSpeedZ), p.PulseEquivZ, p.AccelZ};
    default:
        return {static_cast<double>(p.ManualSpeedA), p.PulseEquivA, p.AccelA};
    }
}

void AxisJogs::releaseClampFor(int axis) {
    if (axis == machine::kAxisX) {
        m_machine.card().write_bit(machine::kCard, machine::kOutClamp, 0);
        m_machine.card().write_bit(machine::kCard, machine::kOutClampSecond, 0);
    }
}

void AxisJogs::pressed(int axis, int direction) {
    if (m_held != 0 || busy()) {
        return;
    }
    releaseClampFor(axis);
    machine::StartHeldJog(m_machine.card(), axis, direction < 0 ? -1 : 1,
                          AxisManualSpeed(m_machine.params(), axis));
    m_held = axis;
}

void AxisJogs::released(int axis) {
    if (m_held != axis) {
        return;
    }
    machine::ReleaseHeldJog(m_machine.card(), axis);
    m_held = 0;
}

void AxisJogs::step(int axis, std::string_view unitsText) {
    const double units = common::Val(unitsText);
    if (units == 0 || busy()) {
        return;
    }
    releaseClampFor(axis);
    machine::StartStepJog(m_machine.card(), axis, units, AxisManualSpeed(m_machine.params(), axis));
}

void AxisJogs::home(int axis) {
    switch (axis) {
    case machine::kAxisX:
        m_machine.manual().Command_XZ();
        break;
    case machine::kAxisY:
        m_machine.Command_Z1();
        break;
    case machine::kAxisZ:
        m_machine.Command_Z3();
        break;
    default:
        m_machine.Command_Z2();
        break;
    }
}

} // namespace korvel::app
