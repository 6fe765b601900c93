#pragma once
// The calibration panel's actions on the machine, shared by the motor
// window and the user process window: the panel opened in one mode,
// "计算新当量" from the typed distances and the encoder count at that
// moment, "重置原当量", and "移动" over the commanded distance. A computed or
// restored equivalent goes into the machine's parameters at once, so that
// the next move already runs with it; the window shows it and keeps it in
// its own copy for "保存".

#include "app/PulseCalibration.h"
#include "common/Message.h"

#include <optional>
#include <string_view>

namespace korvel::machine {
class Machine;
}

namespace korvel::app {

class CalibrationActions {
public:
    explicit CalibrationActions(machine::Machine& machine) : m_machine(machine) {}

    // Opens the panel on the feed axis's or the encoder's equivalent.
    const PulseCalibrationPanel& open(CalibrationMode mode);
    const PulseCalibrationPanel& panel() const { return m_panel; }

    // "计算新当量": the new equivalent stored, or the refusal.
    CalibrationResult computeNewEquivalent(std::string_view commanded, std::string_view actual);
    // "重置原当量": the equivalent the panel opened with, stored again.
    double resetEquivalent();
    // "移动": the measured feed over `commanded` mm; the refusal of a busy
    // machine, or an empty message.
    common::Message move(std::string_view commanded);

private:
    machine::Machine& m_machine;
    PulseCalibrationPanel m_panel;
};

} // namespace korvel::app
