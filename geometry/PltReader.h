#pragma once
// HPGL plotter files (.plt) as cutting plotters and sign programs write
// them: "PU x,y;" lifts the pen and moves it to the start of an outline,
// "PD x,y;" draws to a point; coordinates are plotter units of 1/40 mm.
// Set-up instructions (IN, SP, LT, VS, PA ...) are passed over.

#include "geometry/DrawingBuilder.h"

#include <string_view>

namespace korvel::geometry {

inline constexpr double kPlotterUnitsPerMm = 40.0;

struct PltReaderOptions {
    double slotAngleThreshold = 30.0; // direction change (degrees) that makes a node
};

// Reads the text of a plotter file into display lines (six decimals).
// Instructions are separated by ';' or by line ends, so files with one
// instruction per line and files with everything on one line read alike.
DisplayDrawing ReadPlt(std::string_view text, const PltReaderOptions& options,
                       std::string_view source = "PLT");

} // namespace korvel::geometry
