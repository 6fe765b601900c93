// korvel-cli export-plt --appdir DIR [--zh]: writes the drawing shown as the
// plotter file ShapePLT.plt (字形PLT.plt with --zh, as with Chinese
// captions) into the application folder.

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/AppDir.h"
#include "common/TextFile.h"
#include "geometry/OutlineFiles.h"
#include "geometry/ShapePltExport.h"

#include <filesystem>
#include <iostream>

namespace korvel::cli {

namespace {

// Without the operator window a drawing counts as open when the display
// file holds at least one outline.
bool drawingOpen(const common::AppDir& app) {
    const auto file = app.file(geometry::kDisplayFile);
    if (!std::filesystem::exists(file)) {
        return false;
    }
    for (const auto& line : common::ReadLines(file)) {
        if (geometry::IsSplineLine(line) && line != geometry::kSplineEnd) {
            return true;
        }
    }
    return false;
}

} // namespace

int RunExportPlt(const Args& rawArgs) {
    const CliArgs args(rawArgs, {});
    const common::AppDir app(args.appDir());
    const auto lang = args.language();
    const auto message = geometry::ExportShapePlt(app, drawingOpen(app), lang);
    std::cout << message.text(lang) << "\n";
    return 0;
}

} // namespace korvel::cli
