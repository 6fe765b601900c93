#pragma once
// The display points of the imported splines: per spline a header and a
// dense list of points, nodes marked, written from the curve's end to its
// start (the layout of PointForDisplay.dat).

#include "geometry/DisplayLineSink.h"
#include "geometry/DxfSpline.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvel::geometry {

struct DisplaySummary {
    int outlines = 0;
    long long points = 0; // point lines, nodes included
    long long nodes = 0;
};

// The parameters of a spline's nodes: the refined parameters (unique knots
// and the midpoints between them) whose points lie more than 0.001 mm (in x
// or y) from the point of the parameter before.
std::vector<double> NodeParameters(const DxfSpline& spline, std::span<const double> knots);

// Most display points one import may write (a letter has a few thousand;
// beyond this the densify count or the drawing is absurd).
inline constexpr long long kMaxDisplayPoints = 5'000'000;

// The knot vector a spline is evaluated on and its node parameters.
struct SplineNodes {
    std::vector<double> knots;
    std::vector<double> nodes;
};
SplineNodes PrepareSplineNodes(const DxfSpline& spline);

// The display lines of the splines, ended by "SPLINE END", handed to `sink`
// one by one; nothing of them is kept here. Every spline's nodes are found
// before the first line is made, so a drawing that would give more than
// kMaxDisplayPoints points (or a densify count below 1) is refused with a
// UserError before `sink` sees anything.
DisplaySummary GenerateDisplayLines(const std::vector<DxfSpline>& splines, std::int16_t densify,
                                    DisplayLineSink& sink);

// The whole display point file of a drawing (each line ended by CR LF).
// Throws as GenerateDisplayLines.
std::string DisplayPointText(const std::vector<DxfSpline>& splines, std::int16_t densify,
                             DisplaySummary& summary);

} // namespace korvel::geometry
