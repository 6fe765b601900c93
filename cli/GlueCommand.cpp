// korvel-cli glue --density D --thickness T --appdir DIR: the glue weight
// for the selected letter shape, as the glue panel computes it (area in
// square centimetres x density x thickness, the numbers as typed).

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/AppDir.h"
#include "common/Basic.h"
#include "common/TextFile.h"
#include "geometry/AreaCalculator.h"
#include "geometry/OutlineFiles.h"

#include <filesystem>
#include <iostream>

namespace korvel::cli {

namespace {

// Glues weigh about 1 to 2 g/cm³ and are spread well under a centimetre
// thick: the ranges leave room for any glue and refuse typing slips.
constexpr double kMaxGlueDensity = 100.0;   // g/cm³
constexpr double kMaxGlueThickness = 100.0; // mm

} // namespace

int RunGlue(const Args& rawArgs) {
    const CliArgs args(rawArgs, {});
    const common::AppDir app(args.appDir());
    if (!args.has("density") || !args.has("thickness")) {
        throw common::UserError(
            common::error("用法：korvel-cli glue --density 比重 --thickness 厚度 --appdir 文件夹",
                          "Usage: korvel-cli glue --density D --thickness T --appdir DIR"));
    }
    const double density = args.number("density", 0.0, 0.0, kMaxGlueDensity);
    const double thickness = args.number("thickness", 0.0, 0.0, kMaxGlueThickness);
    const auto pathFile = app.file(geometry::kPathFile);
    const double area =
        std::filesystem::exists(pathFile) ? geometry::PathArea(common::ReadLines(pathFile)) : 0.0;
    // The panel shows the area rounded to three decimals and multiplies that.
    const double squareCm = common::Val(common::FormatNumber(area / 100.0, "0.000"));
    std::cout << geometry::GlueAreaMessage(area).text(args.language()) << "\n"
              << geometry::GlueWeightMessage(geometry::GlueWeight(squareCm, density, thickness))
                     .text(args.language())
              << "\n";
    return 0;
}

} // namespace korvel::cli
