// korvel-cli log --appdir DIR: the job log of the application folder
// (JobLog.csv), one job per line, oldest first.

#include "app/JobLog.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/AppDir.h"
#include "common/Basic.h"

#include <iostream>

namespace korvel::cli {

int RunLog(const Args& rawArgs) {
    const CliArgs args(rawArgs, {});
    const common::AppDir app(args.appDir());
    const auto entries = app::ReadJobLog(app);
    if (entries.empty()) {
        std::cout << "no jobs logged\n";
    }
    for (const auto& e : entries) {
        std::cout << e.time << "  " << e.drawing << "  pieces " << e.pieces << "  runs " << e.runs
                  << "  strip " << common::FormatNumber(e.strip, "0.0") << " mm  time "
                  << common::FormatNumber(e.seconds, "0.00") << " s  " << e.ended;
        if (!e.message.empty()) {
            std::cout << ": " << e.message;
        }
        std::cout << "\n";
    }
    return 0;
}

} // namespace korvel::cli
