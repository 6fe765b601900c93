#pragma once
// How much strip a loaded job still has to feed. The job's end is decided
// on it ("加工完成！送料是否回零？" is asked once it is below 0.1 mm), so it
// must reach exactly 0 at the end of every job, whatever the start, end and
// corner compensations did to the individual feeds.
//
// The strip position is modelled the same way twice: once over the whole
// program when it is loaded (giving the position at which the job ends) and
// once live from the card while it runs. Both turn the feed axis target and
// the gripper strokes counted so far into strip (stripFed), and re-anchor
// at every "G92 X" line to the same strip position, so homing moves and
// earlier jobs cannot shift the live figure against the planned one. The
// remaining length is planned end minus live position.
//
// Gripper feeds move the strip a whole GripperStroke per counted stroke
// line while X goes back and forth within the stroke. The single-stroke
// gripper carries the strip only forward from 0, so the carriage position
// adds to the strokes. The double-stroke gripper carries it both ways: odd
// strokes 0 -> GripperStroke, even strokes GripperStroke -> 0, so after an
// odd count the carriage stands at the stroke end and feeds by moving back
// towards 0.

#include <cstdint>
#include <string_view>
#include <vector>

namespace korvel::machine {

struct ParameterSet;
struct RunState;

class FeedProgress {
public:
    // Scans the loaded program. `startX` is the card's X command position
    // (pulses) when the run starts: the live strip position starts at 0.
    void plan(const RunState& run, const ParameterSet& params, std::int32_t startX);
    // The executor passes every line it hands to the interpreter through
    // here, before the interpreter runs it.
    void passLine(int index);

    // Strip position (mm) for the card's X command position and the
    // strokes counted so far.
    double fed(std::int32_t xPulses, double strokes) const;
    // Total strip length of the job (planned end position).
    double total() const { return m_end; }
    double remaining(std::int32_t xPulses, double strokes) const {
        return m_end - fed(xPulses, strokes);
    }
    bool planned() const { return m_planned; }
    void clear();

    // True when `line` counts as one gripper stroke for this feed type.
    static bool isStrokeLine(std::string_view line, const ParameterSet& params);
    // Strip fed (mm) with the carriage at `x` mm after `strokes` counted
    // strokes; for the roller feed simply x.
    static double stripFed(const ParameterSet& params, double strokes, double x);
    // +1 when moving X forward feeds the strip forward, -1 when the
    // double-stroke carriage is on its way back (after an odd stroke count).
    static double carriageDirection(const ParameterSet& params, double strokes);

private:
    struct Anchor {
        int line;
        double offset;
    };

    bool m_planned = false;
    double m_end = 0.0;
    double m_offset = 0.0;
    std::int16_t m_feedType = 0;
    double m_stroke = 0.0;
    double m_pulseEquivX = 1.0;
    std::vector<Anchor> m_anchors;
    size_t m_nextAnchor = 0;
};

} // namespace korvel::machine
