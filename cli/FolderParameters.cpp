#include "cli/FolderParameters.h"

#include "machine/ParameterStore.h"
#include "machine/ParameterTable.h"

#include <filesystem>
#include <iostream>

namespace korvel::cli {

machine::ParameterSet LoadFolderParameters(const common::AppDir& app) {
    machine::ParameterSet params = machine::FactoryParameterSet();
    machine::ParameterTables tables;
    std::error_code ec;
    if (std::filesystem::exists(app.file("ParaGroup.ini"), ec)) {
        machine::ParameterStore store(app, params, tables);
        for (const auto& m : store.LoadAtStartup()) {
            if (!m.empty()) {
                std::cerr << m.title(common::Language::English) << ": "
                          << m.text(common::Language::English) << "\n";
            }
        }
    }
    return params;
}

} // namespace korvel::cli
