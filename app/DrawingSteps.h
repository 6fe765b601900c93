#pragma once
// The drawing side of a whole job from the command line: the geometry
// object that receives the parameter values, the open command and the
// selection of every outline.

#include "common/AppDir.h"
#include "geometry/DrawingOpener.h"
#include "geometry/TextLetters.h"
#include "machine/ParameterStore.h"

#include <cstddef>
#include <filesystem>
#include <memory>

namespace korvel::geometry {
class CoreAlgorithm;
}

namespace korvel::app {

class DrawingSteps {
public:
    DrawingSteps();
    ~DrawingSteps();
    DrawingSteps(const DrawingSteps&) = delete;
    DrawingSteps& operator=(const DrawingSteps&) = delete;

    // The geometry's TranParas, for the machine's start-up.
    machine::TranParasHook tranParas();
    // The open command: reads the drawing into the display file. Returns the
    // number of outlines. Throws UserError for a drawing that cannot be used.
    int open(const common::AppDir& app, const std::filesystem::path& drawing, double planeZ,
             double slotAngleThreshold);
    // The same, keeping what the window needs for mirror and reload in
    // `state` (left as it was when the drawing is refused).
    geometry::OpenSummary open(const common::AppDir& app, const std::filesystem::path& drawing,
                               double planeZ, double slotAngleThreshold,
                               geometry::DrawingState& state);

    // Letters typed in a font, opened as a drawing (see geometry::OpenText).
    geometry::TextOpenResult openText(const common::AppDir& app,
                                      const geometry::TextRequest& request,
                                      double slotAngleThreshold, geometry::DrawingState& state);

private:
    std::unique_ptr<geometry::CoreAlgorithm> m_core;
};

// Every outline of the opened drawing as one piece each, appended to the
// control point file. Returns the number of pieces.
std::size_t SelectWholeLetter(const common::AppDir& app);

} // namespace korvel::app
