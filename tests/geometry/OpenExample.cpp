#include "OpenExample.h"

#include "geometry/CoreAlgorithm.h"
#include "geometry/DrawingOpener.h"

namespace korvel::test {

void OpenExampleDrawing(const common::AppDir& app, const std::filesystem::path& drawing,
                        double planeZ, double slotAngleThreshold) {
    geometry::CoreAlgorithm core;
    core.TranParas(0.0, 0.0, 0.0, 10, 22.5, 105.0);
    geometry::DrawingState state;
    geometry::OpenOptions options;
    options.planeZ = planeZ;
    options.slotAngleThreshold = slotAngleThreshold;
    geometry::OpenDrawing(app, drawing, options, core, state);
}

} // namespace korvel::test
