#include "machine/SimulatedStartup.h"

#include "machine/DefaultInstall.h"
#include "machine/ParameterStore.h"
#include "machine/SimMachine.h"

namespace korvel::machine {

std::unique_ptr<SimulatedCard> MakeSimulatedCard(const common::AppDir& dir,
                                                 const std::filesystem::path& resourcesDir) {
    dir.create();
    InstallDefaults(dir, resourcesDir);
    ParameterSet params;
    ParameterTables tables;
    // Problems with the files are reported by the machine's own start-up,
    // which reads them again; here only the pulse equivalents matter.
    ParameterStore(dir, params, tables).LoadAtStartup();
    return std::make_unique<SimulatedCard>(SimMachine::fromFile(readSimMachineFile(dir), params));
}

} // namespace korvel::machine
