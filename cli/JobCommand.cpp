// korvel-cli job DRAWING [--appdir DIR] [--plane Z] [--runs R] [--join J]
// [--end E] [--home] [--encoder] [--answer yes|no] [--max-seconds S]
// [--card simulated|library:PATH]: the whole job in one go, as an operator
// would do it at the window: open the drawing, select every outline, press
// the run button and let the machine (the card of Card.ini or --card, the
// simulated machine in virtual time by default) run the program to the
// end-of-job question. Without --appdir a fresh folder is made in the temporary
// folder. Prints a short report; exit code 1 when the job could not start
// or an alarm stopped the machine, 3 when it did not end in time (the stop
// command then ends it).

#include "app/CardChoice.h"
#include "app/DrawingSteps.h"
#include "app/RunReport.h"
#include "app/SimulatedSession.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/RunOptions.h"
#include "common/AppDir.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "machine/RecordingDialog.h"

#include <filesystem>
#include <iostream>
#include <random>

namespace korvel::cli {

namespace {

std::filesystem::path freshFolder() {
    std::random_device rd;
    auto path = std::filesystem::temp_directory_path() /
                ("korvel-job-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path);
    return path;
}

} // namespace

int RunJob(const Args& rawArgs) {
    const CliArgs args(rawArgs, {"home", "encoder"});
    if (args.positional().size() != 1) {
        throw common::UserError(common::error("用法：korvel-cli job 图纸文件 [--appdir 文件夹]",
                                              "Usage: korvel-cli job DRAWING [--appdir DIR]"));
    }
    const std::filesystem::path drawing = args.positional().front();
    const common::AppDir app(args.has("appdir") ? std::filesystem::path(args.appDir())
                                                : freshFolder());
    machine::RecordingDialog dialog(AnswerOption(args));
    const double maxSeconds = MaxSecondsOption(args);
    app::PrintMessagesAsRaised(dialog);
    std::cout << "application folder " << app.root().string() << "\n";

    app::DrawingSteps drawingSteps;
    app::SimulatedSession session(app, args.resourcesDir(), dialog,
                                  app::ChooseCard(app, args.resourcesDir(), args.value("card")),
                                  drawingSteps.tranParas());
    app::PrintCardInUse(session, std::cout);
    auto& fields = session.fields();
    fields.Text5 = args.value("runs", "1");
    fields.Text4 = args.value("join", "10");
    fields.Text7 = args.value("end", "0");
    fields.Check2 = args.has("home");
    fields.Check3 = args.has("encoder");

    session.setDrawing(drawing.filename().string());
    const int outlines = drawingSteps.open(app, drawing, args.number("plane", 0.0),
                                           session.machine().params().SlotAngleThreshold);
    std::cout << "outlines " << outlines << "\n";
    std::cout << "pieces " << app::SelectWholeLetter(app) << "\n";

    session.startJob();
    const auto& job = session.lastJob();
    if (!job || !job->started) {
        if (!job || !job->message) {
            std::cout << "nothing to machine: the selection gave no path\n";
        }
        return 1;
    }
    std::cout << "program lines " << job->lineCount << "\n";
    std::cout << "selected length " << job->selectedLabel << "\n";
    std::cout << "total length " << job->totalLabel << "\n";

    const app::RunSummary summary = app::RunAndReport(session, dialog, maxSeconds, std::cout);
    std::cout << "finished paths (YJG.dat lines) " << common::ReadLines(app.file("YJG.dat")).size()
              << "\n";
    session.machine().shutDown();
    return app::ExitCodeOf(summary);
}

} // namespace korvel::cli
