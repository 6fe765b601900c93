// korvel-cli export-engrave NAME --depth D --width W --spindle S --feed F
// --appdir DIR [--join J]: writes the engraving groove program for the
// selected path (CtrP.dat) as the file NAME in the application folder,
// with the grooves where the bending program would slot.

#include "app/FolderParameters.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/AppDir.h"
#include "program/EngraveExport.h"

#include <iostream>

namespace korvel::cli {

int RunExportEngrave(const Args& rawArgs) {
    const CliArgs args(rawArgs, {});
    const common::AppDir app(args.appDir());
    if (args.positional().size() != 1) {
        throw common::UserError(common::error(
            "用法：korvel-cli export-engrave 文件名 --depth 深度 --width 宽度 --spindle 转速 "
            "--feed 进给 --appdir 文件夹",
            "Usage: korvel-cli export-engrave NAME --depth D --width W --spindle S --feed F "
            "--appdir DIR"));
    }
    if (!program::PathSelected(app)) {
        throw common::UserError(program::NoPathMessage());
    }
    program::EngraveFields fields;
    fields.fileName = args.positional().front();
    fields.depth = args.value("depth", "");
    fields.width = args.value("width", "");
    fields.spindle = args.value("spindle", "");
    fields.feed = args.value("feed", "");
    program::GrooveOptions options;
    options.joinLength = args.number("join", options.joinLength, 0.0, kMaxOptionLength);
    const auto params = app::LoadFolderParameters(app, args.language());
    const program::MarkedPoints noMarks;
    const std::size_t grooves =
        program::ExportEngraveProgram(app, fields, params, noMarks, options);
    std::cout << "grooves " << grooves << " written to " << app.file(fields.fileName).string()
              << "\n";
    return 0;
}

} // namespace korvel::cli
