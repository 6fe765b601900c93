#pragma once
// The parameter group of an application folder as the commands that
// generate or read back a job need it: the shipped files installed where
// missing, the current group and tables loaded as at start-up, problems
// with the files printed in the command's language.

#include "cli/CliArgs.h"
#include "common/AppDir.h"
#include "machine/ParameterSet.h"

namespace korvel::cli {

void LoadFolderGroups(const common::AppDir& app, const CliArgs& args, machine::ParameterSet& params,
                      machine::ParameterTables& tables);

} // namespace korvel::cli
