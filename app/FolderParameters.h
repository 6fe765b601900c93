#pragma once
// The full parameter set of an application folder for the commands that
// need machine values (slot angle for imports, cutter and arc corrections
// for the engraving export): the current group when the folder has its
// ParaGroup.ini, otherwise the factory values.

#include "common/AppDir.h"
#include "common/Message.h"
#include "machine/ParameterSet.h"

namespace korvel::app {

// Problems while loading are printed to standard error.
machine::ParameterSet LoadFolderParameters(const common::AppDir& app, common::Language lang);

} // namespace korvel::app
