#include "program/JobChecks.h"

#include "machine/AxisUnits.h"
#include "machine/MachineOutputs.h"
#include "program/JobMessages.h"

#include <algorithm>
#include <cmath>

namespace korvel::program {

namespace {

// Inputs read by the checks.
constexpr int kInputInfeedHome = 20;
// An axis counts as at zero within this many of its units.
constexpr double kZeroTolerance = 0.02;

bool axisAway(machine::MotionCard& card, int axis, double pulseEquiv) {
    const double units = card.get_command_pos(machine::kCard, axis) / pulseEquiv;
    return std::abs(units) > kZeroTolerance;
}

} // namespace

std::optional<common::Message> CheckMachineBeforeRun(const machine::ParameterSet& p,
                                                     const MainWindowFields& fields,
                                                     machine::MotionCard& card) {
    if (p.InfeedDistanceLimit > 0 && p.InfeedControl == 1) {
        const int passes = std::min<int>(p.CycleCount, static_cast<int>(p.CutStroke.size()));
        for (int i = 0; i < passes; ++i) {
            if (p.CutStroke[i] > p.InfeedDistanceLimit || p.CutOffStroke > p.InfeedDistanceLimit) {
                return CutDepthTooLargeMessage();
            }
        }
    }
    if (p.InfeedControl == 1 && card.read_bit(machine::kCard, kInputInfeedHome) == 0) {
        return InfeedAtZeroMessage();
    }
    if (!fields.Check2) {
        if (axisAway(card, machine::kAxisY, p.PulseEquivY)) {
            return BendMotorNotAtZeroMessage();
        }
        if (axisAway(card, machine::kAxisZ, p.PulseEquivZ)) {
            return DownCutterNotAtZeroMessage();
        }
        if (axisAway(card, machine::kAxisA, p.PulseEquivA)) {
            return SwingMotorNotAtZeroMessage();
        }
        if (p.CutterUpDownControl == 0 && p.RunMode == 0 &&
            card.read_bit(machine::kCard, machine::kInCutterBack) == 1) {
            return CutterNotBackMessage();
        }
    }
    return std::nullopt;
}

} // namespace korvel::program
