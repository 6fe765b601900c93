#pragma once
// A session on the simulated machine for the job extras: an application
// folder with the shipped files, a prepared path written straight to
// CtrP.dat (or an example drawing selected whole), and a trace of what the
// machine did line by line.

#include "app/DrawingSteps.h"
#include "app/SimulatedSession.h"
#include "geometry/PathFile.h"
#include "machine/Dialect.h"
#include "machine/RecordingDialog.h"
#include "support/TempDir.h"

#include <memory>
#include <string>
#include <vector>

namespace korvel::test {

struct JobSession {
    TempDir tmp;
    common::AppDir app{tmp.path() / "app"};
    machine::RecordingDialog dialog;
    app::DrawingSteps drawing;
    std::unique_ptr<app::SimulatedSession> session;

    JobSession() {
        session = std::make_unique<app::SimulatedSession>(app, KORVEL_RESOURCES_DIR, dialog,
                                                          drawing.tranParas());
    }
    void usePath(const geometry::PathRecords& path) {
        geometry::WritePathFile(app.file("CtrP.dat"), path);
    }
    void useExample(const std::string& name, double planeZ) {
        drawing.open(app, std::string(KORVEL_EXAMPLES_DIR) + "/" + name, planeZ,
                     session->machine().params().SlotAngleThreshold);
        app::SelectWholeLetter(app);
    }
    machine::Machine& machine() { return session->machine(); }
    // Strip fed as the executor follows it.
    double strip() {
        return machine().executor().feedProgress().fed(session->card().get_command_pos(0, 1),
                                                       machine().run().GripperStrokes);
    }
};

// One program line as the machine reached it: the strip fed and the arm's
// angle when the executor handed the line over, and the line without its
// feed target (which counts from the job's own start).
struct TracedLine {
    double strip;
    double arm;
    std::string text;
};

// Runs the loaded job to its end, tracing every line handed over.
inline std::vector<TracedLine> traceJob(JobSession& s, std::int64_t maxTicks = 400000) {
    std::vector<TracedLine> trace;
    auto& run = s.machine().run();
    const double pulseEquivY = s.machine().params().PulseEquivY;
    long long executed = s.machine().executor().linesExecuted();
    s.session->clock().runUntil(
        [&] {
            s.session->followRunningJob();
            const long long now = s.machine().executor().linesExecuted();
            if (now != executed && run.CurrentLine > 0) {
                executed = now;
                machine::Words w = machine::splitWords(run.line(run.CurrentLine - 1));
                w[machine::Word::X].clear();
                trace.push_back({s.strip(), s.session->card().get_command_pos(0, 2) / pulseEquivY,
                                 w[machine::Word::G] + "|" + w[machine::Word::M] + "|" +
                                     w[machine::Word::Y] + "|" + w[machine::Word::Z] + "|" +
                                     w[machine::Word::A] + "|" + w[machine::Word::P]});
            }
            return !run.anyRunActive() && run.HomingAxisCode == 0;
        },
        maxTicks);
    return trace;
}

} // namespace korvel::test
