#pragma once
// Adobe Illustrator drawings (.ai) in the PostScript-based format that
// Illustrator and most sign programs write ("Save as Illustrator 8" and
// earlier, or an EPS-compatible .ai). The path section of the file is read
// operator by operator; everything else (prolog, set-up, palettes, text and
// paint attributes) is passed over. Illustrator 9 and later save a PDF body;
// such files hold no readable path section and are reported as such.

#include "geometry/DrawingBuilder.h"

#include <string_view>

namespace korvel::geometry {

struct AiReaderOptions {
    // A smooth point whose direction changes by more than this (degrees)
    // is still a corner and becomes a node.
    double slotAngleThreshold = 30.0;
};

// Reads the lines of an Illustrator file into display lines ("###0.0000").
// Throws UserError for malformed path operators, coordinates out of range
// or a drawing too large.
DisplayDrawing ReadAi(const common::Lines& lines, const AiReaderOptions& options,
                      std::string_view source = "AI");

} // namespace korvel::geometry
