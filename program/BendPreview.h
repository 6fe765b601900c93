#pragma once
// The bent-letter preview: the strip a job program will bend, laid over
// the machining path it was generated from, piece by piece, with the
// figures that tell the operator before the run whether the letter will
// close and follow the drawing.
//
// Pieces are found on the strip by their joint slots: the first slot of
// the program starts the first piece, a piece ends at the slot nearest to
// its start plus its path length, and the next piece starts at the next
// slot (the strip between is the join). A job of several letters repeats
// the path's pieces. Each piece is laid on its own piece of path: its
// start on the path's first point, turned so that the strip one first
// segment further on lies in the direction of the path's second point
// (for a piece starting on an arc both are chords of the same arc).
//
// Figures per piece, in mm: the closure gap (how far the bent end misses
// the start of a closed piece, or the path's end point of an open one),
// the largest distance of the bent strip from the path, and the bent
// length (joint slot to joint slot) minus the path length.

#include "common/TextFile.h"
#include "geometry/PathFile.h"
#include "geometry/PlaneGeometry.h"
#include "machine/ParameterSet.h"

#include <string>
#include <vector>

namespace korvel::program {

struct PiecePreview {
    int number = 0; // from 1, counting on through the letters of a run
    bool closed = false;
    double closure = 0;
    double deviation = 0;
    double lengthDifference = 0;
    // The bent piece and its slots in drawing coordinates.
    std::vector<geometry::Point2> strip;
    std::vector<geometry::Point2> slotPoints;
};

struct BendPreview {
    std::vector<PiecePreview> pieces;
    // The machining path's pieces, as polylines in drawing coordinates.
    std::vector<std::vector<geometry::Point2>> path;
};

BendPreview MakeBendPreview(const common::Lines& program, const geometry::PathRecords& path,
                            const machine::ParameterSet& params,
                            const machine::ParameterTables& tables);

// "piece 1 closure 0.12 mm deviation 0.31 mm length -0.02 mm"
std::string FormatPiecePreview(const PiecePreview& piece);

} // namespace korvel::program
