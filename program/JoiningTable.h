#pragma once
// Feed positions at which the operator joins new strip: when the joint
// between two letters has passed the bender, the program pauses for
// JoinPauseTime seconds. The machine's table holds 51 positions; a job that
// needs more is refused rather than losing a pause.

#include <array>

namespace korvel::program {

inline constexpr int kJoiningTableSize = 51;

class JoiningTable {
public:
    // Appends a position; a full table counts the overflow instead.
    void append(double position) {
        if (m_count >= kJoiningTableSize) {
            ++m_overflow;
            return;
        }
        m_positions[m_count++] = position;
    }
    // The next pause not yet written, if any.
    bool hasNext() const { return m_next < m_count; }
    double next() const { return m_positions[m_next]; }
    void advance() { ++m_next; }

    int count() const { return m_count; }
    int overflow() const { return m_overflow; }
    void clear() { *this = JoiningTable(); }

private:
    std::array<double, kJoiningTableSize> m_positions{};
    int m_count = 0;
    int m_next = 0;
    int m_overflow = 0;
};

} // namespace korvel::program
