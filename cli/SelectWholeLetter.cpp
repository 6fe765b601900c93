// The selection half of cli/DrawingSteps.h: every outline as one piece.

#include "cli/DrawingSteps.h"
#include "cli/OutlineParams.h"
#include "geometry/OutlineSession.h"

namespace korvel::cli {

std::size_t SelectWholeLetter(const common::AppDir& app) {
    const OutlineParams params = LoadOutlineParams(app);
    geometry::OutlineSession outlines(app, params.control, params.path);
    outlines.setLanguage(common::Language::English);
    outlines.openDrawing();
    return outlines.selectWholeLetter();
}

} // namespace korvel::cli
