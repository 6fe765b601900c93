#include "app/SetupPrograms.h"

#include "machine/Machine.h"
#include "machine/MotionCard.h"

namespace korvel::app {

program::TestPrograms SetupTestPrograms(machine::Machine& machine) {
    program::TestPrograms programs(machine.appDir(), machine.params(), machine.tables(),
                                   machine.run(), machine.card(), machine.form().Check3 != 0);
    programs.setParameterSaver(
        [&machine] { machine.store().SaveSysPara(machine.tables().ParaGroupNo, true); });
    return programs;
}

common::Message StartTestProgram(machine::Machine& machine,
                                 const std::function<void(program::TestPrograms&)>& write) {
    if (machine.MachineBusy() || machine::Axis_Status(machine.card()) != 0) {
        return {};
    }
    program::TestPrograms programs = SetupTestPrograms(machine);
    try {
        write(programs);
    } catch (const common::UserError& e) {
        return e.message();
    }
    return {};
}

} // namespace korvel::app
