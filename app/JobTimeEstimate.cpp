#include "app/JobTimeEstimate.h"

#include "machine/AxisUnits.h"
#include "machine/Executor.h"
#include "machine/Interpreter.h"
#include "machine/JobLauncher.h"
#include "machine/RecordingDialog.h"
#include "machine/SimMachine.h"
#include "machine/SimulatedCard.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

namespace korvel::app {

namespace {

// The copy asks nothing of the application: no job, feed return or jog
// may start from it. It only notes the end of the job.
class QuietLauncher : public machine::JobLauncher {
public:
    void startJob() override {}
    void startFeedReturn() override {}
    void feedButton(bool, bool) override {}
    void jobFinished() override { finished = true; }
    bool finished = false;
};

// The copy's executor works on a folder that does not exist, so the
// finished job's path is never added to the application's record.
const char* const kNoFolder = ".korvel-time-estimate";

} // namespace

std::optional<JobTimeEstimate> JobTimeEstimate::measure(const common::AppDir& dir,
                                                        const machine::ParameterSet& params,
                                                        const machine::RunState& run,
                                                        const machine::SimulatedCard& card,
                                                        std::int64_t maxTicks) {
    machine::SimulatedCard copy(card);
    copy.setRecording(machine::RecordLevel::Off);
    copy.clearRecording();
    machine::ParameterSet p = params;
    machine::RunState state = run;
    machine::RecordingDialog dialog;
    QuietLauncher launcher;
    machine::Interpreter interpreter(copy, p, state);
    interpreter.setManualFeedSpeed(p.ManualSpeedX);
    machine::Executor executor(common::AppDir(dir.root() / kNoFolder), p, state, copy, interpreter,
                               dialog, launcher);

    const int interval = machine::kTimer2IntervalMs;
    JobTimeEstimate estimate;
    std::vector<std::int64_t>& starts = estimate.m_lineStartMs;
    starts.assign(static_cast<std::size_t>(std::max<int>(state.LineCount, 0)), -1);
    int seen = state.CurrentLine;
    for (std::int64_t tick = 1; tick <= maxTicks; ++tick) {
        copy.advance(interval);
        executor.tick();
        const std::int64_t now = tick * interval;
        for (; seen < state.CurrentLine && seen < state.LineCount; ++seen) {
            starts[static_cast<std::size_t>(seen)] = now;
        }
        if (launcher.finished) {
            // The tick that asked the end-of-job question ends the job.
            estimate.m_totalMs = now;
            // Lines never handed over (after a homing code) start with the
            // line after them.
            std::int64_t next = estimate.m_totalMs;
            for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
                if (*it < 0) {
                    *it = next;
                }
                next = *it;
            }
            return estimate;
        }
        if (state.JobRunActive == 0) {
            return std::nullopt; // stopped by an alarm
        }
    }
    return std::nullopt;
}

std::int64_t JobTimeEstimate::startMs(int line) const {
    if (line <= 0 || m_lineStartMs.empty()) {
        return 0;
    }
    if (line >= lineCount()) {
        return m_totalMs;
    }
    return m_lineStartMs[static_cast<std::size_t>(line)];
}

std::int64_t JobTimeEstimate::remainingMs(int nextLine, std::int64_t msOnLine) const {
    const std::int64_t started = nextLine > 0 ? startMs(nextLine - 1) : 0;
    const std::int64_t lineTime = startMs(nextLine) - started;
    const std::int64_t done = started + std::clamp<std::int64_t>(msOnLine, 0, lineTime);
    return std::max<std::int64_t>(m_totalMs - done, 0);
}

std::unique_ptr<machine::SimulatedCard> EstimateCardFor(machine::MotionCard& card,
                                                        const common::AppDir& dir,
                                                        const machine::ParameterSet& params) {
    // Where the axes stand is read the same way from every card, so that a
    // job makes the same calls on the simulated card and on a driver.
    std::array<std::int32_t, machine::kCardAxisCount> command{};
    for (int axis = machine::kAxisX; axis <= machine::kAxisA; ++axis) {
        command[static_cast<size_t>(axis - 1)] = card.get_command_pos(machine::kCard, axis);
    }
    if (const auto* simulated = dynamic_cast<const machine::SimulatedCard*>(&card)) {
        return std::make_unique<machine::SimulatedCard>(*simulated);
    }
    auto copy = std::make_unique<machine::SimulatedCard>(
        machine::SimMachine::fromFile(machine::readSimMachineFile(dir), params));
    copy->adt8940a1_initial();
    for (int axis = machine::kAxisX; axis <= machine::kAxisA; ++axis) {
        copy->set_command_pos(machine::kCard, axis, command[static_cast<size_t>(axis - 1)]);
    }
    return copy;
}

void RemainingTime::tick(int nextLine, int intervalMs) {
    if (nextLine != m_line) {
        m_line = nextLine;
        m_msOnLine = 0;
    }
    m_msOnLine += intervalMs;
}

std::string FormatDuration(std::int64_t ms) {
    const std::int64_t s = (std::max<std::int64_t>(ms, 0) + 999) / 1000;
    char text[32];
    if (s >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                      static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(s / 60),
                      static_cast<long long>(s % 60));
    }
    return text;
}

} // namespace korvel::app
