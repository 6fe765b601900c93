#include "program/BendQueue.h"

#include "program/CurvatureLookup.h"

#include <algorithm>

namespace korvel::program {

int BendQueue::size() const {
    const int n = m_write - m_read;
    return n >= 0 ? n : n + kBendQueueSize;
}

void BendQueue::clear() {
    m_write = 0;
    m_read = 0;
    m_dropped = 0;
}

double BendQueue::tapSpacing(double radius) const {
    return TapSpacingFor(m_tables, radius);
}

BendEvent& BendQueue::previous() {
    return m_events[m_write == 0 ? kBendQueueSize - 1 : m_write - 1];
}

bool BendQueue::append(const BendEvent& e) {
    const std::int16_t next = advance(m_write);
    if (next == m_read) {
        ++m_dropped;
        return false;
    }
    m_events[m_write] = e;
    m_write = next;
    return true;
}

void BendQueue::QueueBend(double trigger, double value, int kind, double extra) {
    const BendEvent event{trigger, value, kind, extra};
    const double spacing = tapSpacing(value);
    if (empty() || !isTapped(previous()) || !isTapped(event)) {
        append(event);
        return;
    }
    // Two tapped arc events: the arc between them is tapped at the spacing.
    const BendEvent prev = previous();
    const double d = trigger - prev.trigger;
    if (d < 0.8 * spacing) {
        // Too close for a tap of its own: the earlier tap covers this arc too.
        previous().extra += d / prev.value;
        return;
    }
    if (d < 2.0 * prev.value * prev.extra) {
        // The first tap is placed one spacing on even when that is slightly
        // past the new trigger (d is at least 0.8 spacing), so no arc
        // piece longer than 0.8 spacing goes untapped; further taps follow
        // every spacing while they stay before the new trigger.
        double at = prev.trigger + spacing;
        append({at, value, kind, extra});
        if (spacing <= 0) {
            return; // a table without spacing gives one tap only
        }
        // A full queue ends the subdivision: the drop is counted and the job
        // refused, there is no point in counting every further tap.
        for (at += spacing; at < trigger; at += spacing) {
            if (!append({at, value, kind, extra})) {
                break;
            }
        }
        return;
    }
    append(event);
}

BendEvent BendQueue::NextBend() {
    if (empty()) {
        return {};
    }
    const BendEvent e = m_events[m_read];
    m_read = advance(m_read);
    return e;
}

void BendQueue::shiftBeyond(double pos, double bendToSlot, double delta) {
    for (std::int16_t i = m_read; i != m_write; i = advance(i)) {
        if (m_events[i].trigger - bendToSlot > pos) {
            m_events[i].trigger += delta;
        }
    }
}

} // namespace korvel::program
