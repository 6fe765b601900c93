#pragma once
// One pass over the machining path as the strip is fed through the
// slotting line. The bending program and the engraving groove export walk
// the path the same way, so that a groove lies exactly where the bending
// machine cuts its slot:
// - a block line (header or trailer) is a joint slot; a right-turning joint
//   shortens the next straight by the cutter-radius correction, and after
//   every trailer but the last the strip between two pieces is fed;
// - the first plain point of a piece, and of the run after a corner, only
//   sets where the strip stands;
// - every further point feeds one segment, its length plus the extra c,
//   with the run's start compensation on the first feed, the pending
//   cutter-radius correction, and on the straight that ends the first
//   piece the end compensation;
// - corners and hand-added joints are handed over as they are.
// A derived walker writes what each record means for its machine.

#include "geometry/PathFile.h"
#include "geometry/PlaneGeometry.h"
#include "machine/ParameterSet.h"
#include "program/MarkedPoints.h"

#include <cstddef>

namespace korvel::program {

class PathWalker {
public:
    PathWalker(const machine::ParameterSet& params, const MarkedPoints& marked)
        : m_p(params), m_marked(marked) {}
    virtual ~PathWalker() = default;
    PathWalker(const PathWalker&) = delete;
    PathWalker& operator=(const PathWalker&) = delete;

protected:
    // Walks the path once from record `from` (a header); the join toggle
    // starts cleared on every pass.
    void walkPass(const geometry::PathRecords& path, std::size_t from = 0);
    // A job restarted at a later piece: the end compensation belongs to the
    // letter's first piece, which this job does not make.
    void skipEndCompensation() { m_endCompPending = false; }

    // The slot (or groove) of a block line; the last line of the path gets
    // only this, the strip is cut off there.
    virtual void blockEnd(const geometry::PathRecord& rec) = 0;
    // The strip between two pieces, after a trailer.
    virtual void join() = 0;
    // A point that feeds one segment: path[i], `length` as segmentLength
    // gave it and m_pos already moved on by it. m_prev is still the
    // point before.
    virtual void point(const geometry::PathRecords& path, std::size_t i, double length) = 0;
    // A corner or joint (type 2 or 5).
    virtual void corner(const geometry::PathRecord& rec) = 0;
    // After every record of the pass.
    virtual void afterRecord() {}
    // A length `added` to the feed that starts at m_pos (negative: taken off).
    virtual void corrected(double /*added*/) {}

    // Turn direction at the arc point path[i] from the previous point to
    // the next one: -1 left, +1 right, 0 straight or when no point follows.
    int arcTurnSign(const geometry::PathRecords& path, std::size_t i) const;
    // True when the arc point is bent: its radius reaches
    // BendToSlotRadiusThreshold, or the operator marked it for bending.
    bool bendsArc(const geometry::PathRecord& rec) const;
    // The strip stretches on the outside of a bend: a left-turning arc is
    // fed a little more, a right-turning one a little less.
    double arcStretch(int turnSign, double length, double radius) const;

    const machine::ParameterSet& m_p;
    const MarkedPoints& m_marked;
    double m_pos = 0; // feed position (mm) at the slotting line
    geometry::Point2 m_prev;

private:
    void blockLine(const geometry::PathRecord& rec);
    double segmentLength(const geometry::PathRecords& path, std::size_t i);
    void correct(double& length, double added);
    double cutterRadiusCorrection(double turnAngle) const;

    bool m_firstPoint = true;
    bool m_joinToggle = false;
    bool m_startCompPending = true;
    bool m_endCompPending = true;
    double m_cornerComp = 0;
};

} // namespace korvel::program
