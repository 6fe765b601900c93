#pragma once
// What a job program does to the strip, read back from its lines: where
// the strip passes the bending station while the arm presses it (and at
// which curvature), where the arm strikes the standing strip, and where
// slots are cut. Positions are strip positions u in mm: the material that
// stood at the slotting line when the feed had fed u mm since the
// program's last "G92 X". The bending station lies BendToSlotDistance
// downstream, so with the feed at X the arm works on the material u =
// X - BendToSlotDistance.
//
// Slots are the "M16" ... "M17" blocks that move the cutter (a gripper
// stroke clamps and releases without cutting).
//
// The arm's commanded angle is turned back into the bend it stands for:
// the idle angle (travel before the arm meets the strip) is taken off and
// the force factor divided out (the press factors while the strip moves,
// the tap factors for a strike); the curvature table of the side then gives
// the radius. Which side the arm works on follows the fitted bender:
// - double bender: positive bends beyond +IdleAnglePos, negative ones
//   beyond -IdleAngleNeg;
// - single bender: the arm is in the strip's way only after "M18"; put in
//   at Y 0 it bends positively beyond IdleAnglePos, put in at
//   MaxBendAngle it works on the other face and bends negatively below
//   IdleAngleNeg;
// - lifting double bender: as the double bender, each side only while its
//   rod is in ("M18"/"M19" rod I positive, "M20"/"M21" rod II negative).
//
// A feed-and-bend line that changes the arm angle while the strip moves
// takes the arm from one angle to the other: the strip it feeds keeps the
// weaker of the two bends (none when one end is not bending), so the arm
// swinging in before an arc and out after it leaves the strip straight.
// The material passes the bender once: a feed back (the lifting bender's
// give-way, the gripper's return) bends nothing.

#include "common/TextFile.h"
#include "machine/ParameterSet.h"

#include <vector>

namespace korvel::program {

// From strip position `at` on the strip passing the bender has this
// curvature (1/mm, positive turning left) up to the next span.
struct StripSpan {
    double at = 0;
    double curvature = 0;
};

// The arm struck the standing strip at `at` with the bend `angle`
// (degrees, positive turning left), after the corrections are undone.
struct StripStrike {
    double at = 0;
    double angle = 0;
};

// A slot cut at `at`. The operator folds the strip at a slot until its
// V-groove closes: the groove is the blade's angle opened by the cutter's
// swing to both sides, on the front face for a turn to the left and on the
// back face (swing angles from 120 degrees on) for a turn to the right. So
// `fold` is BladeAngle + 2 x swing in degrees, positive turning left.
struct StripSlot {
    double at = 0;
    double fold = 0;
};

struct StripActions {
    std::vector<StripSpan> spans;     // in strip order, none overlapping
    std::vector<StripStrike> strikes; // in strip order
    std::vector<StripSlot> slots;     // in strip order
    double fed = 0;                   // strip position at the program's end
};

StripActions ReplayStrip(const common::Lines& program, const machine::ParameterSet& params,
                         const machine::ParameterTables& tables);

// The curvature (1/mm, positive left) that an arm bend of `angle` degrees
// gives: the positive table for positive bends, the negative one for
// negative bends; 0 when the angle is below the table's first row.
double CurvatureForBend(const machine::ParameterTables& tables, double angle);

} // namespace korvel::program
