#include "cli/FolderGroups.h"

#include "cli/Output.h"
#include "machine/DefaultInstall.h"
#include "machine/ParameterStore.h"

namespace korvel::cli {

void LoadFolderGroups(const common::AppDir& app, const CliArgs& args, machine::ParameterSet& params,
                      machine::ParameterTables& tables) {
    machine::InstallDefaults(app, args.resourcesDir());
    machine::ParameterStore store(app, params, tables);
    for (const auto& m : store.LoadAtStartup()) {
        PrintMessage(m, args.language());
    }
}

} // namespace korvel::cli
