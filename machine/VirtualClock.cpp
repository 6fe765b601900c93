#include "machine/VirtualClock.h"

#include "machine/SimulatedCard.h"

namespace korvel::machine {

VirtualClock::VirtualClock(SimulatedCard& card, Executor& executor, int intervalMs)
    : VirtualClock([&card](std::int64_t ms) { card.advance(ms); }, executor, intervalMs) {}

void VirtualClock::step() {
    m_advance(m_intervalMs);
    m_executor.tick();
    ++m_ticks;
}

bool VirtualClock::runUntil(const std::function<bool()>& done, std::int64_t maxTicks) {
    for (std::int64_t i = 0; i < maxTicks; ++i) {
        step();
        if (done()) {
            return true;
        }
    }
    return false;
}

void VirtualClock::runFor(std::int64_t milliseconds) {
    const std::int64_t steps = (milliseconds + m_intervalMs - 1) / m_intervalMs;
    for (std::int64_t i = 0; i < steps; ++i) {
        step();
    }
}

} // namespace korvel::machine
