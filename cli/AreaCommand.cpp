// korvel-cli area --appdir DIR: the area of the selected letter shape
// (CtrP.dat), as the menu item "查看选择面积" shows it.

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/AppDir.h"
#include "geometry/AreaCalculator.h"
#include "geometry/OutlineFiles.h"

#include <iostream>

namespace korvel::cli {

int RunArea(const Args& rawArgs) {
    const CliArgs args(rawArgs, {});
    const common::AppDir app(args.appDir());
    const std::string area = geometry::GetArea(app.file(geometry::kPathFile));
    std::cout << geometry::AreaMessage(area).text(args.language()) << "\n";
    return 0;
}

} // namespace korvel::cli
