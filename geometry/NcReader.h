#pragma once
// G-code drawings (.nc). Engraving and plotting CAM programs describe a
// letter as tool moves: the tool comes down to the machining plane, follows
// the outline and lifts again. Every descent to the plane starts an outline;
// only the X, Y and Z words are read.

#include "geometry/DrawingBuilder.h"

#include <string_view>

namespace korvel::geometry {

struct NcReaderOptions {
    double planeZ = 0.0;              // machining plane: the Z the tool cuts at (mm)
    double slotAngleThreshold = 30.0; // direction change (degrees) that makes a node
};

// Reads the lines of a G-code file into display lines (six decimals).
// Throws UserError for coordinates out of range or a drawing too large.
DisplayDrawing ReadNc(const common::Lines& lines, const NcReaderOptions& options,
                      std::string_view source = "NC");

} // namespace korvel::geometry
