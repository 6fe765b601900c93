// korvel-cli run --appdir DIR [--answer yes|no] [--max-seconds S]
// [--card simulated|library:PATH]: runs the program in DIR/G5.dat as a job
// on the card of DIR/Card.ini or --card (the simulated machine by default,
// in virtual time).
// Prints every message raised (the end-of-job question is answered as
// --answer says, default no), then the ticks and machine time used, the
// lines executed, the final positions and outputs, with the job time
// estimated before the start beside the time the job took. Exit code 1 when an
// alarm stopped the machine, 3 when the run did not end in time (it is then
// ended by the stop command, so no output is left on).

#include "app/CardChoice.h"
#include "app/RunReport.h"
#include "app/SimulatedSession.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/RunOptions.h"
#include "common/AppDir.h"
#include "common/Message.h"
#include "machine/RecordingDialog.h"

#include <filesystem>
#include <iostream>

namespace korvel::cli {

int RunRun(const Args& rawArgs) {
    const CliArgs args(rawArgs, {});
    const common::AppDir app(args.appDir());
    if (!std::filesystem::exists(app.file("G5.dat"))) {
        throw common::UserError(common::error("应用文件夹中没有加工程序G5.dat",
                                              "The application folder holds no G5.dat"));
    }
    machine::RecordingDialog dialog(AnswerOption(args));
    const double maxSeconds = MaxSecondsOption(args);
    app::PrintMessagesAsRaised(dialog);
    app::SimulatedSession session(app, args.resourcesDir(), dialog,
                                  app::ChooseCard(app, args.resourcesDir(), args.value("card")));
    app::PrintCardInUse(session, std::cout);
    session.startLoadedJob();
    std::cout << "program lines " << session.machine().run().LineCount << "\n";
    const app::RunSummary summary = app::RunAndReport(session, dialog, maxSeconds, std::cout);
    session.machine().shutDown();
    return app::ExitCodeOf(summary);
}

} // namespace korvel::cli
