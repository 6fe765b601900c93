#pragma once
// The report of a run on the simulated machine or a card: every
// message as it is raised, then the machine time, the job's estimated and
// measured time, the lines executed, the final positions and the outputs.

#include "machine/RecordingDialog.h"

#include <cstdint>
#include <iosfwd>

namespace korvel::app {

class SimulatedSession;

// Prints every message of `dialog` as it arrives, in both languages
// ("message: 动作完成！ / Work Finished！", "question: ... -> yes").
void PrintMessagesAsRaised(machine::RecordingDialog& dialog);

struct RunSummary {
    bool finished = false; // every run ended within the time allowed
    bool alarm = false;    // an error message stopped the machine
};

// Runs the session for at most `maxSeconds` of machine time and prints the
// report. A run still going after that time is ended by the stop command
// before the report. Returns what happened.
RunSummary RunAndReport(SimulatedSession& session, const machine::RecordingDialog& dialog,
                        double maxSeconds, std::ostream& out);

// "card <description>": the card the session runs on.
void PrintCardInUse(const SimulatedSession& session, std::ostream& out);

// Exit code of a run: 0 finished, 1 stopped by an alarm, 3 out of time.
int ExitCodeOf(const RunSummary& summary);

} // namespace korvel::app
