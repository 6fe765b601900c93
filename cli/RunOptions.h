#pragma once
// The run options korvel-cli's run and job commands share.

#include "cli/CliArgs.h"

namespace korvel::cli {

// --answer yes|no (default no): the operator's answer to questions.
bool AnswerOption(const CliArgs& args);
// --max-seconds S (default 3600): machine time a run may take.
double MaxSecondsOption(const CliArgs& args);

} // namespace korvel::cli
