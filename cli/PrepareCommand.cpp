// korvel-cli prepare: turns PointForControl.dat into the machining path
// CtrP.dat (close-corner suppression, contour offset) and prints the total
// length and the piece list, as the contour offset button does.

#include "app/OutlineParams.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/AppDir.h"
#include "common/Message.h"
#include "geometry/OutlineFiles.h"
#include "geometry/PathFile.h"
#include "geometry/PathLengths.h"
#include "geometry/PathPreparation.h"

#include <iostream>

namespace korvel::cli {

int RunPrepare(const Args& rawArgs) {
    const CliArgs args(rawArgs, {});
    const common::AppDir app(args.appDir());
    app::OutlineParams params = app::LoadOutlineParams(app, args.language());
    params.path.ContourOffset =
        args.number("offset", 0.0, -geometry::kMaxContourOffset, geometry::kMaxContourOffset);
    params.path.JoinLength = args.number("join", params.path.JoinLength, 0.0, kMaxOptionLength);
    const auto lang = args.value("list", args.value("lang", "en")).rfind("zh", 0) == 0
                          ? common::Language::Chinese
                          : common::Language::English;
    if (!geometry::PreparePath(app, params.path)) {
        std::cout << "PointForControl.dat is empty: CtrP.dat left as it was\n";
        return 0;
    }
    const geometry::PathRecords path = geometry::ReadPathFile(app.file(geometry::kPathFile));
    std::cout << "total length "
              << geometry::LengthLabel(geometry::TotalLength(path, params.path.JoinLength)) << "\n";
    for (const auto& line : geometry::PieceList(path, params.path, lang)) {
        std::cout << line << "\n";
    }
    return 0;
}

} // namespace korvel::cli
