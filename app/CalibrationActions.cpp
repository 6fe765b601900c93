#include "app/CalibrationActions.h"

#include "app/SetupPrograms.h"
#include "common/Basic.h"
#include "machine/AxisUnits.h"
#include "machine/Machine.h"
#include "machine/MotionCard.h"
#include "program/TestPrograms.h"

namespace korvel::app {

const PulseCalibrationPanel& CalibrationActions::open(CalibrationMode mode) {
    m_panel = PulseCalibrationPanel::Open(mode, m_machine.params());
    return m_panel;
}

CalibrationResult CalibrationActions::computeNewEquivalent(std::string_view commanded,
                                                           std::string_view actual) {
    CalibrationResult result =
        ComputeNewEquivalent(m_panel, commanded, actual,
                             m_machine.card().get_actual_pos(machine::kCard, machine::kAxisX));
    if (result.newEquiv) {
        StoreEquivalent(m_panel.mode, *result.newEquiv, m_machine.params());
    }
    return result;
}

double CalibrationActions::resetEquivalent() {
    StoreEquivalent(m_panel.mode, m_panel.original, m_machine.params());
    return m_panel.original;
}

common::Message CalibrationActions::move(std::string_view commanded) {
    const double distance = common::Val(commanded);
    return StartTestProgram(m_machine,
                            [distance](program::TestPrograms& p) { p.CalibrationMove(distance); });
}

} // namespace korvel::app
