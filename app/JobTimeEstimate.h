#pragma once
// How long a loaded job will take, found before it starts by running it
// once on a copy of the simulated machine in virtual time: the copy starts
// from the machine's present state (positions, switches, outputs), runs the
// executor tick by tick exactly as the window's timer would, and notes the
// machine time at which each program line was handed to the interpreter.
// The job on the simulated machine then takes exactly that time; on a real
// card it is the estimate of a machine built as SimMachine.ini describes.
//
// While the job runs, the remaining time follows the executor's line:
// RemainingTime counts the timer ticks spent on the line being executed
// and never counts beyond what the estimate gave that line, so a pause or
// a slow real machine holds the figure instead of running it below zero.

#include "common/AppDir.h"
#include "machine/ParameterSet.h"
#include "machine/RunState.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace korvel::machine {
class MotionCard;
class SimulatedCard;
} // namespace korvel::machine

namespace korvel::app {

class JobTimeEstimate {
public:
    // Runs the job loaded in `run` on a copy of `card`; nullopt when the
    // job did not end within `maxTicks` or the copy stopped on an alarm.
    // Nothing of the application folder is written.
    static std::optional<JobTimeEstimate> measure(const common::AppDir& dir,
                                                  const machine::ParameterSet& params,
                                                  const machine::RunState& run,
                                                  const machine::SimulatedCard& card,
                                                  std::int64_t maxTicks);

    // Machine time of the whole job (ms), up to the end-of-job question.
    std::int64_t totalMs() const { return m_totalMs; }
    double totalSeconds() const { return static_cast<double>(m_totalMs) / 1000.0; }
    // Machine time (ms from the start) at which line `line` is started;
    // lines the interpreter takes in with the line before share its start.
    std::int64_t startMs(int line) const;
    // Machine time still to run when the executor's next line is
    // `nextLine` and the line before it has run for `msOnLine`.
    std::int64_t remainingMs(int nextLine, std::int64_t msOnLine) const;
    int lineCount() const { return static_cast<int>(m_lineStartMs.size()); }

private:
    std::vector<std::int64_t> m_lineStartMs;
    std::int64_t m_totalMs = 0;
};

// A simulated card standing where `card` stands: a copy when it is the
// simulated card itself, otherwise the folder's simulated machine with the
// real card's command positions.
std::unique_ptr<machine::SimulatedCard> EstimateCardFor(machine::MotionCard& card,
                                                        const common::AppDir& dir,
                                                        const machine::ParameterSet& params);

// The remaining time of a running job, followed tick by tick.
class RemainingTime {
public:
    explicit RemainingTime(const JobTimeEstimate& estimate) : m_estimate(estimate) {}
    // One timer tick of `intervalMs` with `nextLine` the executor's line.
    void tick(int nextLine, int intervalMs);
    std::int64_t remainingMs() const { return m_estimate.remainingMs(m_line, m_msOnLine); }

private:
    const JobTimeEstimate& m_estimate;
    int m_line = 0;
    std::int64_t m_msOnLine = 0;
};

// "1:23:45" or "12:05" (minutes and seconds) for a time in ms, rounded up
// to whole seconds.
std::string FormatDuration(std::int64_t ms);

} // namespace korvel::app
