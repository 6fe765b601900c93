#pragma once
// The steps of the operator program's command line, done on the window as
// an operator would do them: open a drawing, pick the whole letter, press
// the run button, let the job run (in virtual time when nobody watches),
// save a picture of the window.

#include "app/LaunchOptions.h"

namespace korvel::ui {

class MainForm;

// Does the steps of `options` on the shown window. Returns the exit code
// for an unattended run (0 done, 1 a step failed or an alarm stopped the
// machine, 3 the job did not end in time); for an attended one 0 once the
// steps are started (the job then runs on the window's timer).
int RunScriptedSteps(MainForm& window, const app::LaunchOptions& options);

} // namespace korvel::ui
