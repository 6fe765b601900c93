#pragma once
// The bent-letter preview of the job in an application folder: the
// program in G5.dat read back against the machining path in CtrP.dat, as
// the window draws it over the outline and korvel-cli prints it.

#include "common/AppDir.h"
#include "machine/ParameterSet.h"
#include "program/BendPreview.h"
#include "program/MainWindowFields.h"
#include "program/MarkedPoints.h"

namespace korvel::machine {
class MotionCard;
}

namespace korvel::app {

// Throws common::UserError naming the first of G5.dat and CtrP.dat that the
// folder lacks.
void RequireJobFiles(const common::AppDir& app);

// Throws common::UserError when either file is missing or cannot be read.
program::BendPreview PreviewFolderJob(const common::AppDir& app,
                                      const machine::ParameterSet& params,
                                      const machine::ParameterTables& tables);

// The preview of the job the run button would start now, before it is
// pressed: the program generated in memory from the prepared path
// (CtrP.dat) with the run panel's values, nothing written and nothing
// loaded. The card is only read (the homing steps look at two switches).
// Throws common::UserError with the message the run button would show
// (a run panel value it cannot use, a job it refuses).
program::BendPreview
PreviewSelectedJob(const common::AppDir& app, const machine::ParameterSet& params,
                   const machine::ParameterTables& tables, const program::MainWindowFields& fields,
                   const program::MarkedPoints& marked, machine::MotionCard& card);

} // namespace korvel::app
