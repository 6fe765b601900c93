#include "app/FolderParameters.h"

#include "machine/ParameterStore.h"
#include "machine/ParameterTable.h"

#include <filesystem>
#include <iostream>

namespace korvel::app {

machine::ParameterSet LoadFolderParameters(const common::AppDir& app, common::Language lang) {
    machine::ParameterSet params = machine::FactoryParameterSet();
    machine::ParameterTables tables;
    std::error_code ec;
    if (std::filesystem::exists(app.file("ParaGroup.ini"), ec)) {
        machine::ParameterStore store(app, params, tables);
        for (const auto& m : store.LoadAtStartup()) {
            // Problems of the folder's files are reported, whatever their kind,
            // beside the command's own output.
            if (!m.empty()) {
                std::cerr << m.title(lang) << ": " << m.text(lang) << "\n";
            }
        }
    }
    return params;
}

} // namespace korvel::app
