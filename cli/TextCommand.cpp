// korvel-cli text TEXT --font "FAMILY[:STYLE]" --height MM [--spacing MM]
// --appdir DIR: makes letters of a word in an installed font and opens them
// in the application folder as the open command opens a drawing, then
// prints what the display point file holds, as `import` does.

#include "app/FolderParameters.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "common/AppDir.h"
#include "geometry/CoreAlgorithm.h"
#include "geometry/TextLetters.h"

#include <cmath>

namespace korvel::cli {

namespace {

[[noreturn]] void throwUsage() {
    throw common::UserError(common::error(
        "用法：korvel-cli text 文字 --font \"字体[:样式]\" --height 字高 [--spacing 字距] "
        "--appdir 文件夹",
        "Usage: korvel-cli text TEXT --font \"FAMILY[:STYLE]\" --height MM [--spacing MM] "
        "--appdir DIR"));
}

} // namespace

int RunText(const Args& rawArgs) {
    const CliArgs args(rawArgs, {});
    if (args.positional().size() != 1 || !args.has("font") || !args.has("height")) {
        throwUsage();
    }
    geometry::TextRequest request;
    request.text = args.positional().front();
    request.font = args.value("font", "");
    request.heightMm = args.number("height", NAN);
    request.spacingMm = args.number("spacing", 0.0);
    // Every value is checked before the folder is touched.
    geometry::CheckTextRequest(request);
    const common::AppDir app(args.appDir());
    app.create();
    geometry::CoreAlgorithm core;
    geometry::OpenOptions options;
    options.slotAngleThreshold = app::LoadFolderParameters(app, args.language()).SlotAngleThreshold;
    geometry::DrawingState state;
    const auto opened = geometry::OpenText(app, request, options, core, state);
    PrintOpenSummary(opened.summary, opened.label, args.language());
    PrintMessage(geometry::HeightMeasureNote(opened.measure), args.language());
    return 0;
}

} // namespace korvel::cli
