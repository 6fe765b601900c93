#pragma once
// The process values that selection and path preparation need beyond what
// TranParas keeps. The caller copies them from the parameter set (and from
// the operator's text boxes), so the geometry never reads parameter files.

namespace korvel::geometry {

// The largest contour offset the operator may type (mm, either side): more
// than any strip's radius allowance, and enough to keep a typing slip
// ("1000" for "1.000") from turning the letter inside out.
inline constexpr double kMaxContourOffset = 100.0;

// Classification of the points of a selected piece.
struct ControlPointParameters {
    // A node whose turn angle is strictly above this is a corner (degrees).
    double CornerArcAngleThreshold = 0.0;
    // A contour point turning by more than this may lie on an arc (degrees).
    double ArcJoinAngleThreshold = 0.2;
};

// Corner shortening, close-corner suppression, contour offset and lengths.
struct PathParameters {
    // Radius of the engraving cutter that rounds the inside of a corner (mm).
    double EngraveCutterRadius = 0.0;
    // Factor applied to the cutter-radius shortening of a corner.
    double CutterRadiusCompFactor = 1.0;
    // Contour offset typed by the operator (mm, 0 = off). Positive moves the
    // path to the right of its travel direction: outward of an outer letter
    // contour picked counter-clockwise, into a hole picked clockwise, so the
    // letter grows.
    double ContourOffset = 0.0;
    // Extra strip length between two pieces of one run (mm).
    double JoinLength = 10.0;
};

} // namespace korvel::geometry
