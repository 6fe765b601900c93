#include "app/RunReport.h"

#include "app/SimulatedSession.h"
#include "common/Basic.h"
#include "common/Message.h"

#include <chrono>
#include <cmath>
#include <iostream>
#include <ostream>

namespace korvel::app {

void PrintMessagesAsRaised(machine::RecordingDialog& dialog) {
    dialog.setListener([](const machine::RecordingDialog::Entry& e) {
        const std::string text =
            e.message.zh == e.message.en ? e.message.zh : e.message.zh + " / " + e.message.en;
        if (e.question) {
            std::cout << "question: " << text << " -> " << (e.answer ? "yes" : "no") << "\n";
        } else {
            std::cout << (e.message.kind == common::MessageKind::Error ? "alarm: " : "message: ")
                      << text << "\n";
        }
    });
}

RunSummary RunAndReport(SimulatedSession& session, const machine::RecordingDialog& dialog,
                        double maxSeconds, std::ostream& out) {
    auto& clock = session.clock();
    const std::size_t messagesBefore = dialog.entries().size();
    const std::int64_t ticksBefore = clock.ticks();
    const long long linesBefore = session.machine().executor().linesExecuted();
    const auto maxTicks = static_cast<std::int64_t>(
        std::ceil(std::max(maxSeconds, 0.0) * 1000.0 / clock.intervalMs()));
    const auto wallStart = std::chrono::steady_clock::now();

    RunSummary summary;
    summary.finished = session.runToEnd(maxTicks);
    if (!summary.finished) {
        // A run cut short ends as the stop command ends it: motion stopped,
        // valves and spindle off, the job logged as stopped.
        session.machine().executor().Command_Stop();
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    for (std::size_t i = messagesBefore; i < dialog.entries().size(); ++i) {
        summary.alarm =
            summary.alarm || dialog.entries()[i].message.kind == common::MessageKind::Error;
    }

    auto& machine = session.machine();
    const auto& p = machine.params();
    auto& card = session.motionCard();
    const std::int64_t ticks = clock.ticks() - ticksBefore;
    out << "ticks " << ticks << "\n";
    out << "machine time " << common::FormatNumber(ticks * clock.intervalMs() / 1000.0, "0.00")
        << " s\n";
    out << "wall time " << common::FormatNumber(wall, "0.000") << " s\n";
    if (const auto& estimate = session.jobTime()) {
        // The estimate measured on the machine's copy before the start, and
        // the job's own machine time up to its end-of-job question.
        out << "estimated job time " << common::FormatNumber(estimate->totalSeconds(), "0.00")
            << " s";
        if (const auto took = session.lastJobMs()) {
            out << ", job took "
                << common::FormatNumber(static_cast<double>(*took) / 1000.0, "0.00") << " s";
        }
        out << "\n";
    }
    out << "lines executed " << machine.executor().linesExecuted() - linesBefore << "\n";
    const double equiv[4] = {p.PulseEquivX, p.PulseEquivY, p.PulseEquivZ, p.PulseEquivA};
    const char* names[4] = {"X", "Y", "Z", "A"};
    out << "positions";
    for (int axis = 1; axis <= 4; ++axis) {
        const double pe = equiv[axis - 1];
        const double value = pe > 0 ? card.get_command_pos(0, axis) / pe : 0.0;
        out << " " << names[axis - 1] << " " << common::FormatNumber(value, "0.000");
    }
    out << "\noutputs";
    for (int o = 0; o < machine::kCardOutputCount; ++o) {
        out << " " << card.get_out(0, o);
    }
    out << "\n";
    if (!summary.finished) {
        out << "not finished within " << common::FormatNumber(maxSeconds, "0")
            << " s of machine time\n";
    }
    return summary;
}

void PrintCardInUse(const SimulatedSession& session, std::ostream& out) {
    out << "card " << session.cardDescription().en << "\n";
}

int ExitCodeOf(const RunSummary& summary) {
    if (summary.alarm) {
        return 1;
    }
    return summary.finished ? 0 : 3;
}

} // namespace korvel::app
