#include "program/PathWalker.h"

#include <cmath>

namespace korvel::program {

using geometry::PathRecord;
using geometry::PathRecords;

namespace {

// Only a joint turning right between these angles has a corner the
// engraving cutter rounds.
bool cornerCounts(double t) {
    return t > 0.1 && t < 179.9;
}

} // namespace

void PathWalker::walkPass(const PathRecords& path, std::size_t from) {
    m_joinToggle = false;
    for (std::size_t i = from; i < path.size(); ++i) {
        const PathRecord& rec = path[i];
        if (i + 1 == path.size() && rec.isBlockLine()) {
            // The final trailer only gets its slot: the strip is cut off
            // here, there is no next block to correct or join.
            blockEnd(rec);
        } else if (rec.isBlockLine()) {
            blockLine(rec);
        } else if (rec.type == geometry::kPlainPoint && m_firstPoint) {
            m_prev = {rec.x, rec.y};
            m_firstPoint = false;
        } else if (rec.type == geometry::kPlainPoint || rec.type == geometry::kContourPoint) {
            const double length = segmentLength(path, i);
            m_pos += length;
            point(path, i, length);
            m_prev = {rec.x, rec.y};
        } else if (rec.type == geometry::kCornerPoint || rec.type == geometry::kJointPoint) {
            m_firstPoint = true;
            corner(rec);
        }
        // Suppressed corners and unknown types take no part.
        afterRecord();
    }
}

void PathWalker::blockLine(const PathRecord& rec) {
    blockEnd(rec);
    if (cornerCounts(rec.b)) {
        m_cornerComp = cutterRadiusCorrection(rec.b);
    }
    m_firstPoint = true;
    const bool afterTrailer = m_joinToggle;
    m_joinToggle = !m_joinToggle;
    if (afterTrailer) {
        join();
    }
}

double PathWalker::cutterRadiusCorrection(double t) const {
    const double r = m_p.EngraveCutterRadius;
    const double rad = geometry::kPi / 180.0;
    return m_p.CutterRadiusCompFactor * (r / std::tan((180.0 - t) / 2 * rad) - r * (t / 2 * rad));
}

void PathWalker::correct(double& length, double added) {
    if (added == 0) {
        return;
    }
    length += added;
    corrected(added);
}

double PathWalker::segmentLength(const PathRecords& path, std::size_t i) {
    const PathRecord& rec = path[i];
    double length = geometry::Distance(m_prev, {rec.x, rec.y}) + rec.c;
    if (m_startCompPending) {
        m_startCompPending = false;
        correct(length, m_p.StartSegmentComp);
    }
    if (m_cornerComp > 0.01) {
        correct(length, -m_cornerComp);
        m_cornerComp = 0;
    }
    // The straight that ends a block is shortened for the trailer's corner.
    if (rec.type == geometry::kPlainPoint && i + 1 < path.size() && path[i + 1].isTrailer()) {
        if (m_endCompPending) {
            m_endCompPending = false;
            correct(length, m_p.EndSegmentComp);
        }
        const double t = path[i + 1].b;
        if (cornerCounts(t)) {
            correct(length, -cutterRadiusCorrection(t));
        }
    }
    return length;
}

int PathWalker::arcTurnSign(const PathRecords& path, std::size_t i) const {
    if (i + 1 >= path.size() || path[i + 1].isBlockLine()) {
        return 0; // no next point, no turn direction
    }
    const PathRecord& rec = path[i];
    const PathRecord& next = path[i + 1];
    return geometry::TurnSign(m_prev, {rec.x, rec.y}, {next.x, next.y});
}

bool PathWalker::bendsArc(const PathRecord& rec) const {
    return rec.a >= m_p.BendToSlotRadiusThreshold || m_marked.bendsAt(rec.x, rec.y);
}

double PathWalker::arcStretch(int turnSign, double length, double radius) const {
    return (turnSign < 0 ? m_p.ArcCorrPos : -m_p.ArcCorrNeg) * length / radius;
}

} // namespace korvel::program
