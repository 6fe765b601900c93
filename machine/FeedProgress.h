#pragma once
// How much strip a loaded job still has to feed. The job's end is decided
// on it ("加工完成！送料是否回零？" is asked once it is below 0.1 mm), so it
// must reach exactly 0 at the end of every job, whatever the start, end and
// corner compensations did to the individual feeds.
//
// The strip position is modelled the same way twice: once over the whole
// program when it is loaded (giving the position at which the job ends) and
// once live from the card while it runs. Both take the feed axis target,
// add one gripper stroke per counted stroke line (gripper feeds move the
// strip in strokes of GripperStroke while X goes back and forth), and
// re-anchor at every "G92 X" line to the same strip position, so homing
// moves and earlier jobs cannot shift the live figure against the planned
// one. The remaining length is planned end minus live position.

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

private:
    struct Anchor {
        int line;
        double offset;
    };

    bool m_planned = false;
    double m_end = 0.0;
    double m_offset = 0.0;
    double m_stroke = 0.0;
    double m_pulseEquivX = 1.0;
    bool m_gripper = false;
    std::vector<Anchor> m_anchors;
    size_t m_nextAnchor = 0;
};

} // namespace korvel::machine
