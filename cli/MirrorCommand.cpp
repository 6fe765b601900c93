// korvel-cli mirror --appdir DIR: mirrors the drawing shown in Y (the
// view's mirror button), for letters that are bent from the back.

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/AppDir.h"
#include "geometry/DisplayPasses.h"

#include <iostream>

namespace korvel::cli {

int RunMirror(const Args& rawArgs) {
    const CliArgs args(rawArgs, {});
    const common::AppDir app(args.appDir());
    geometry::MirrorDisplayPointsFile(app);
    std::cout << "mirrored " << app.file("PointForDisplay.dat").string() << "\n";
    return 0;
}

} // namespace korvel::cli
