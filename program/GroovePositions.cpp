#include "program/GroovePositions.h"

#include "geometry/PlaneGeometry.h"

#include <cmath>

namespace korvel::program {

namespace {

using geometry::PathRecord;
using geometry::PathRecords;

bool cornerCounts(double t) {
    return t > 0.1 && t < 179.9;
}

class StripWalker {
public:
    StripWalker(const machine::ParameterSet& p, const MarkedPoints& marked, double joinLength)
        : m_p(p), m_marked(marked), m_join(joinLength) {}

    std::vector<double> walk(const PathRecords& path) {
        for (std::size_t i = 0; i < path.size(); ++i) {
            const PathRecord& rec = path[i];
            if (i + 1 == path.size() && rec.isBlockLine()) {
                m_grooves.push_back(m_pos); // the final cut-off, nothing follows
                continue;
            }
            switch (rec.type) {
            case geometry::kBlockLine:
                blockLine(rec);
                break;
            case geometry::kPlainPoint:
                if (m_firstPoint) {
                    m_prev = {rec.x, rec.y};
                    m_firstPoint = false;
                } else {
                    point(path, i);
                }
                break;
            case geometry::kContourPoint:
                point(path, i);
                break;
            case geometry::kCornerPoint:
            case geometry::kJointPoint:
                corner(rec);
                break;
            default:
                break;
            }
        }
        return m_grooves;
    }

private:
    double cutterRadiusCorrection(double t) const {
        const double r = m_p.EngraveCutterRadius;
        const double rad = geometry::kPi / 180.0;
        return m_p.CutterRadiusCompFactor *
               (r / std::tan((180.0 - t) / 2 * rad) - r * (t / 2 * rad));
    }

    void blockLine(const PathRecord& rec) {
        m_grooves.push_back(m_pos);
        if (cornerCounts(rec.b)) {
            m_cornerComp = cutterRadiusCorrection(rec.b);
        }
        m_firstPoint = true;
        const bool afterTrailer = m_joinToggle;
        m_joinToggle = !m_joinToggle;
        if (afterTrailer) {
            m_pos += m_join;
        }
    }

    void corner(const PathRecord& rec) {
        m_firstPoint = true;
        const double size = std::abs(rec.b);
        if (size >= m_p.CornerArcAngleThreshold && size >= m_p.SlotAngleThreshold) {
            m_grooves.push_back(m_pos);
        }
    }

    void point(const PathRecords& path, std::size_t i) {
        const PathRecord& rec = path[i];
        double length = geometry::Distance(m_prev, {rec.x, rec.y}) + rec.c;
        if (m_startCompPending) {
            m_startCompPending = false;
            length += m_p.StartSegmentComp;
        }
        if (m_cornerComp > 0.01) {
            length -= m_cornerComp;
            m_cornerComp = 0;
        }
        if (rec.type == geometry::kPlainPoint && i + 1 < path.size() && path[i + 1].isTrailer()) {
            if (m_endCompPending) {
                m_endCompPending = false;
                length += m_p.EndSegmentComp;
            }
            if (cornerCounts(path[i + 1].b)) {
                length -= cutterRadiusCorrection(path[i + 1].b);
            }
        }
        m_pos += length;
        if (rec.type == geometry::kContourPoint && rec.a > kMarkableMinRadius) {
            arcPoint(path, i, length);
        }
        m_prev = {rec.x, rec.y};
    }

    void arcPoint(const PathRecords& path, std::size_t i, double length) {
        const PathRecord& rec = path[i];
        if (i + 1 >= path.size() || path[i + 1].isBlockLine()) {
            return;
        }
        const PathRecord& next = path[i + 1];
        const int s = geometry::TurnSign(m_prev, {rec.x, rec.y}, {next.x, next.y});
        if (s == 0) {
            return;
        }
        if (rec.a >= m_p.BendToSlotRadiusThreshold || m_marked.bendsAt(rec.x, rec.y)) {
            // A bent arc stretches the strip: the bending program feeds a
            // little more (left turn) or less (right turn).
            m_pos += (s < 0 ? m_p.ArcCorrPos : -m_p.ArcCorrNeg) * length / rec.a;
            return;
        }
        // The slot that replaces a small arc is cut before the strip is fed
        // on to the arc point: the strip still stands at the point before.
        m_grooves.push_back(m_pos - length);
    }

    const machine::ParameterSet& m_p;
    const MarkedPoints& m_marked;
    double m_join;
    std::vector<double> m_grooves;
    double m_pos = 0.0;
    geometry::Point2 m_prev;
    bool m_firstPoint = true;
    bool m_joinToggle = false;
    bool m_startCompPending = true;
    bool m_endCompPending = true;
    double m_cornerComp = 0.0;
};

} // namespace

std::vector<double> GroovePositions(const geometry::PathRecords& path,
                                    const machine::ParameterSet& params, const MarkedPoints& marked,
                                    const GrooveOptions& options) {
    return StripWalker(params, marked, options.joinLength).walk(path);
}

} // namespace korvel::program
