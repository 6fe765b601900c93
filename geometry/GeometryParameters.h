#pragma once
// The process values that the parameter set hands to the geometry whenever
// it is loaded or saved (through CoreAlgorithm::TranParas). The geometry
// never reads the parameter files itself: it works with the copy kept here.

#include <cstdint>

namespace korvel::geometry {

struct GeometryParameters {
    // Chord height error allowed when an outline is broken into control
    // points (mm).
    double ChordErrorTol = 0.0;
    // Interval at which straight lines are broken into points (mm).
    double LineStepLength = 0.0;
    // Angle below which two pieces are joined without a corner (degrees).
    double JoinAngleThreshold = 0.0;
    // Display points written per node interval of an imported spline; the
    // import divides the interval by it, so it is at least 1.
    std::int16_t DensifyPointCount = 10;
    // Half the cutter blade angle (degrees): a V-slot opens by the blade
    // angle, so each flank of the strip turns by half of it.
    double HalfBladeAngle = 22.5;
    // The last value of the hand-over; the parameter set always passes 105.
    double FixedValue = 105.0;
};

} // namespace korvel::geometry
