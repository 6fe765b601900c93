// korvel-cli preview --appdir DIR [--png FILE]: the bent-letter preview of
// the job program in DIR/G5.dat against the machining path DIR/CtrP.dat
// with the folder's current parameter group and tables. Prints one line
// per piece ("piece N closure G mm deviation D mm length L mm") and, with
// --png, draws the bent strip over the path.

#include "app/JobPreview.h"
#include "app/PreviewPicture.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/FolderGroups.h"
#include "common/AppDir.h"
#include "program/BendPreview.h"

#include <iostream>

namespace korvel::cli {

int RunPreview(const Args& rawArgs) {
    const CliArgs args(rawArgs, {});
    const common::AppDir app(args.appDir());
    app::RequireJobFiles(app); // before anything is installed in the folder
    machine::ParameterSet params;
    machine::ParameterTables tables;
    LoadFolderGroups(app, args, params, tables);
    const program::BendPreview preview = app::PreviewFolderJob(app, params, tables);
    if (preview.pieces.empty()) {
        std::cout << "no piece: the program cuts no joint slots\n";
    }
    for (const auto& piece : preview.pieces) {
        std::cout << program::FormatPiecePreview(piece) << "\n";
    }
    if (const auto png = args.value("png")) {
        app::SavePreviewPicture(preview, *png);
        std::cout << "picture " << *png << "\n";
    }
    return 0;
}

} // namespace korvel::cli
