#pragma once
// Where along the strip the bending machine cuts its slots, for grooving the
// strip beforehand on an engraving machine. The strip length is counted as
// the bending program feeds it: segment lengths with their extra length c,
// the start and end compensations, the cutter-radius corrections at block
// ends, the stretch corrections of bent arcs and the join length between
// two pieces. A groove is due wherever the bending program slots:
// - every block end (header and trailer): the joint or cut-off slot;
// - every corner whose turn is at least SlotAngleThreshold (and at least
//   CornerArcAngleThreshold, below which the machine does nothing there);
// - every arc point of a radius below BendToSlotRadiusThreshold that the
//   operator has not marked for bending and that really turns; that slot is
//   cut before the strip is fed on to the arc point, so its groove lies at
//   the point before it.
// A header's cutter-radius correction shortens the feed after its groove; a
// trailer's shortens the feed before its groove: the groove of a block end
// sits where the cutter-rounded corner of the letter is.

#include "geometry/PathFile.h"
#include "machine/ParameterSet.h"
#include "program/MarkedPoints.h"

#include <vector>

namespace korvel::program {

struct GrooveOptions {
    double joinLength = 10.0; // strip between two pieces (the run panel's join length)
};

std::vector<double> GroovePositions(const geometry::PathRecords& path,
                                    const machine::ParameterSet& params, const MarkedPoints& marked,
                                    const GrooveOptions& options);

} // namespace korvel::program
