// korvel-cli import DRAWING --appdir DIR [--densify N] [--plane Z]: imports a
// DXF, NC (machining plane Z), PLT, AI or SVG drawing
// into the application folder as the open command of the operator window
// does, and prints what the display point file holds.

#include "app/FolderParameters.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "common/AppDir.h"
#include "common/Message.h"
#include "geometry/CoreAlgorithm.h"
#include "geometry/DrawingBuilder.h"
#include "geometry/DrawingOpener.h"

#include <cmath>
#include <iostream>

namespace korvel::cli {

namespace {

// Display points per node interval until a parameter set is at hand.
constexpr long long kDefaultDensify = 10;

std::int16_t densifyCount(const CliArgs& args) {
    return static_cast<std::int16_t>(args.wholeNumber("densify", kDefaultDensify, 1, 32767));
}

} // namespace

int RunImport(const Args& rawArgs) {
    const CliArgs args(rawArgs, {});
    if (args.positional().size() != 1) {
        throw common::UserError(common::error("用法：korvel-cli import 图纸文件 --appdir 文件夹",
                                              "Usage: korvel-cli import DRAWING --appdir DIR"));
    }
    const std::filesystem::path drawing = args.positional().front();
    const common::AppDir app(args.appDir());
    geometry::GeometryParameters parameters;
    parameters.DensifyPointCount = densifyCount(args);
    geometry::OpenOptions options;
    options.planeZ =
        args.number("plane", 0.0, -geometry::kMaxDrawingCoordinate,
                    geometry::kMaxDrawingCoordinate); // every option read before the folder is made
    app.create();
    geometry::CoreAlgorithm core;
    core.TranParas(parameters);
    // The open command for every format: DXF, NC (machining plane --plane),
    // PLT, AI and SVG, cleaned and with the selection files emptied.
    options.slotAngleThreshold = app::LoadFolderParameters(app, args.language()).SlotAngleThreshold;
    geometry::DrawingState state;
    const auto summary = geometry::OpenDrawing(app, drawing, options, core, state);
    PrintOpenSummary(summary, drawing.filename().string(), args.language());
    return 0;
}

} // namespace korvel::cli
