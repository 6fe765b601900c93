#include "app/DrawingSteps.h"

#include "app/OutlineParams.h"
#include "geometry/CoreAlgorithm.h"
#include "geometry/DrawingOpener.h"
#include "geometry/OutlineSession.h"

namespace korvel::app {

DrawingSteps::DrawingSteps() : m_core(std::make_unique<geometry::CoreAlgorithm>()) {}

DrawingSteps::~DrawingSteps() = default;

machine::TranParasHook DrawingSteps::tranParas() {
    return [core = m_core.get()](double chord, double step, double join, std::int16_t densify,
                                 double halfBlade, double fixed) {
        core->TranParas(chord, step, join, densify, halfBlade, fixed);
    };
}

int DrawingSteps::open(const common::AppDir& app, const std::filesystem::path& drawing,
                       double planeZ, double slotAngleThreshold) {
    geometry::DrawingState state;
    return open(app, drawing, planeZ, slotAngleThreshold, state).outlines;
}

geometry::OpenSummary DrawingSteps::open(const common::AppDir& app,
                                         const std::filesystem::path& drawing, double planeZ,
                                         double slotAngleThreshold, geometry::DrawingState& state) {
    geometry::OpenOptions options;
    options.planeZ = planeZ;
    options.slotAngleThreshold = slotAngleThreshold;
    return geometry::OpenDrawing(app, drawing, options, *m_core, state);
}

geometry::TextOpenResult DrawingSteps::openText(const common::AppDir& app,
                                                const geometry::TextRequest& request,
                                                double slotAngleThreshold,
                                                geometry::DrawingState& state) {
    geometry::OpenOptions options;
    options.slotAngleThreshold = slotAngleThreshold;
    return geometry::OpenText(app, request, options, *m_core, state);
}

std::size_t SelectWholeLetter(const common::AppDir& app) {
    const OutlineParams params = LoadOutlineParams(app, common::Language::English);
    geometry::OutlineSession outlines(app, params.control, params.path);
    outlines.setLanguage(common::Language::English);
    outlines.openDrawing();
    return outlines.selectWholeLetter();
}

} // namespace korvel::app
