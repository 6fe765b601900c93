#include "app/OutlineParams.h"

#include "app/FolderParameters.h"
#include "machine/ParameterSet.h"

namespace korvel::app {

OutlineParams LoadOutlineParams(const common::AppDir& app, common::Language lang) {
    return OutlineParamsOf(LoadFolderParameters(app, lang));
}

OutlineParams OutlineParamsOf(const machine::ParameterSet& params) {
    OutlineParams out;
    out.control.CornerArcAngleThreshold = params.CornerArcAngleThreshold;
    out.control.ArcJoinAngleThreshold = params.ArcJoinAngleThreshold;
    out.path.EngraveCutterRadius = params.EngraveCutterRadius;
    out.path.CutterRadiusCompFactor = params.CutterRadiusCompFactor;
    return out;
}

} // namespace korvel::app
