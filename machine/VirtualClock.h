#pragma once
// The clock that drives the executor on the simulated machine. Each step
// advances the simulated card by exactly one tick interval and then runs
// the executor's tick, as the window's timer would after 30 ms. Nothing
// waits for wall time, so an hour of machine time runs in seconds and the
// same program always takes the same ticks.
//
// The same clock drives any other card through the step it is given: a
// simulator driver's own time, or on a real card a wait for the interval to
// pass in real time.

#include "machine/Executor.h"
#include "machine/Interpreter.h"

#include <cstdint>
#include <functional>

namespace korvel::machine {

class SimulatedCard;

class VirtualClock {
public:
    // Moves the machine on by the given milliseconds.
    using Advance = std::function<void(std::int64_t)>;

    VirtualClock(SimulatedCard& card, Executor& executor, int intervalMs = kTimer2IntervalMs);
    VirtualClock(Advance advance, Executor& executor, int intervalMs = kTimer2IntervalMs)
        : m_advance(std::move(advance)), m_executor(executor), m_intervalMs(intervalMs) {}

    // One timer period: the machine moves for the interval, then the tick.
    void step();
    // Steps until `done` returns true (checked after every step) or
    // `maxTicks` steps have run; returns true when `done` was reached.
    bool runUntil(const std::function<bool()>& done, std::int64_t maxTicks);
    // Steps for `milliseconds` of machine time (rounded up to whole ticks).
    void runFor(std::int64_t milliseconds);

    std::int64_t ticks() const { return m_ticks; }
    std::int64_t elapsedMs() const { return m_ticks * m_intervalMs; }
    int intervalMs() const { return m_intervalMs; }

private:
    Advance m_advance;
    Executor& m_executor;
    int m_intervalMs;
    std::int64_t m_ticks = 0;
};

} // namespace korvel::machine
