#include "app/PanelPrograms.h"

#include "machine/Machine.h"
#include "program/TestPrograms.h"

namespace korvel::app {

namespace {

program::TestPrograms writers(machine::Machine& m, bool encoderOn) {
    return {m.appDir(), m.params(), m.tables(), m.run(), m.card(), encoderOn};
}

} // namespace

bool PanelPrograms::jog(bool retract, bool grippersReady) {
    auto programs = writers(m_machine, m_encoderOn);
    return retract ? programs.RetractJogProgram(grippersReady)
                   : programs.FeedJogProgram(grippersReady);
}

void PanelPrograms::step(double length) {
    writers(m_machine, m_encoderOn).GripperStepProgram(length);
}

} // namespace korvel::app
