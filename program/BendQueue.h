#pragma once
// Bends that wait for the strip to reach the bending station. A bend is
// decided when its corner or arc is at the slotting line and falls due
// BendToSlotDistance later; the queue holds the events in feed order.
//
// The queue is the machine's fixed ring of 10,001 events; an event that
// would fill the last free place is dropped and counted, so that the job
// that needed it can be refused.

#include "machine/ParameterSet.h"

#include <array>
#include <cstdint>

namespace korvel::program {

inline constexpr int kBendQueueSize = 10001;

// Kinds of bend event: 0 corner; arcs carry the turn sign of the arc, -1
// (left turn) or +1, doubled to -2 / +2 on the last event of an arc run.
inline constexpr int kBendCorner = 0;

struct BendEvent {
    double trigger = 0; // feed position (mm) at which the bend is due; 0 = none
    double value = 0;   // corner: turn angle (deg); arc: radius (mm)
    int kind = kBendCorner;
    double extra = 0; // arc: arc angle (rad); corner: 0

    bool isArc() const { return kind != kBendCorner; }
    // The length of strip the event's arc covers (0 for a corner).
    double arcLength() const { return value * extra; }
    bool operator==(const BendEvent&) const = default;
};

class BendQueue {
public:
    // tapRadiusThreshold: arcs below it are tapped, not pressed. The spacing
    // table gives the distance between taps by radius.
    BendQueue(double tapRadiusThreshold, const machine::ParameterTables& tables)
        : m_tapThreshold(tapRadiusThreshold), m_tables(tables) {}

    // Queues a bend. Two tapped arc events in a row are merged or
    // subdivided into taps at the spacing of the table.
    void QueueBend(double trigger, double value, int kind, double extra);
    // The event at the read position, advancing it; an empty queue gives an
    // event of zeros.
    BendEvent NextBend();

    bool empty() const { return m_write == m_read; }
    int size() const;
    // Events dropped because the queue was full.
    int dropped() const { return m_dropped; }

    // After a negative feed (compensations larger than the segment) the
    // bends decided beyond the new position move back with the strip.
    // Every queued event whose trigger - bendToSlot lies beyond pos moves by
    // delta.
    void shiftBeyond(double pos, double bendToSlot, double delta);

    // Spacing of the taps for an arc of this radius.
    double tapSpacing(double radius) const;

    void clear();

private:
    bool isTapped(const BendEvent& e) const { return e.isArc() && e.value < m_tapThreshold; }
    bool append(const BendEvent& e);
    BendEvent& previous();
    static std::int16_t advance(std::int16_t index) {
        return static_cast<std::int16_t>(index >= kBendQueueSize - 1 ? 0 : index + 1);
    }

    double m_tapThreshold;
    const machine::ParameterTables& m_tables;
    std::array<BendEvent, kBendQueueSize> m_events{};
    std::int16_t m_write = 0;
    std::int16_t m_read = 0;
    int m_dropped = 0;
};

} // namespace korvel::program
