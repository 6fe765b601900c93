#include "program/GroovePositions.h"

#include "program/PathWalker.h"

#include <cmath>

namespace korvel::program {

namespace {

using geometry::PathRecord;
using geometry::PathRecords;

// Walks the path as the bending program feeds it and notes the feed
// position of every slot.
class GrooveWalker : private PathWalker {
public:
    GrooveWalker(const machine::ParameterSet& p, const MarkedPoints& marked, double joinLength)
        : PathWalker(p, marked), m_join(joinLength) {}

    std::vector<double> walk(const PathRecords& path) {
        walkPass(path);
        return m_grooves;
    }

private:
    void blockEnd(const PathRecord&) override { m_grooves.push_back(m_pos); }
    void join() override { m_pos += m_join; }

    void corner(const PathRecord& rec) override {
        const double size = std::abs(rec.b);
        if (size >= m_p.CornerArcAngleThreshold && size >= m_p.SlotAngleThreshold) {
            m_grooves.push_back(m_pos);
        }
    }

    void point(const PathRecords& path, std::size_t i, double length) override {
        const PathRecord& rec = path[i];
        if (rec.type != geometry::kContourPoint || rec.a <= kMarkableMinRadius) {
            return;
        }
        const int s = arcTurnSign(path, i);
        if (s == 0) {
            return;
        }
        if (bendsArc(rec)) {
            m_pos += arcStretch(s, length, rec.a);
            return;
        }
        // The slot that replaces a small arc is cut before the strip is fed
        // on to the arc point: the strip still stands at the point before.
        m_grooves.push_back(m_pos - length);
    }

    double m_join;
    std::vector<double> m_grooves;
};

} // namespace

std::vector<double> GroovePositions(const geometry::PathRecords& path,
                                    const machine::ParameterSet& params, const MarkedPoints& marked,
                                    const GrooveOptions& options) {
    return GrooveWalker(params, marked, options.joinLength).walk(path);
}

} // namespace korvel::program
