#pragma once
// The pieces the operator has picked: for each a start node, an end node and
// the direction of travel. The current entry waits for its start node, then
// for its end node; a completed entry has been appended to
// PointForControl.dat.

#include <array>
#include <cstddef>
#include <cstdint>

namespace korvel::geometry {

struct SelectionEntry {
    std::int16_t sign = 0; // 1 or -1, 0 while free
    std::int32_t startNode = 0;
    std::int32_t endNode = 0;
    std::int16_t mode = 0; // 3 counter-clockwise (no Shift), 2 clockwise (Shift)

    // Direction sign x piece mode: > 0 travels towards increasing point
    // indices.
    int k() const { return sign * mode; }
};

struct PieceDirection {
    std::int16_t sign = 0;
    std::int16_t mode = 0;
};

// Without Shift a piece runs counter-clockwise round its outline (mode 3),
// with Shift clockwise (mode 2); `orientation` is the outline's orientation
// in point index order (1 clockwise, -1 counter-clockwise).
PieceDirection ChooseDirection(std::int16_t orientation, bool shift);

class SelectionList {
public:
    static constexpr std::size_t kEntries = 101;

    std::size_t currentIndex() const { return m_current; }
    std::size_t completedCount() const { return m_current; }
    bool full() const { return m_current >= kEntries; }
    std::size_t remaining() const { return kEntries - m_current; }
    // A start node has been picked and the end node is awaited.
    bool waitingForEnd() const { return !full() && m_entries[m_current].startNode != 0; }
    // Nothing picked at all (node edits are allowed only then).
    bool empty() const { return m_current == 0 && !waitingForEnd(); }

    const SelectionEntry& entry(std::size_t i) const { return m_entries.at(i); }
    const SelectionEntry& current() const { return m_entries.at(m_current); }

    // The click on a start node. Throws UserError when the list is full.
    void pickStart(std::int32_t node, std::int16_t orientation, bool shift);
    // The click on the end node: completes the current entry and moves to
    // the next one; returns the completed entry.
    SelectionEntry pickEnd(std::int32_t node);
    // Forget the last completed piece (and a start node picked since).
    void stepBack();
    void clear();

    // The message when no more pieces fit.
    [[noreturn]] static void throwFull();

private:
    std::array<SelectionEntry, kEntries> m_entries{};
    std::size_t m_current = 0;
};

} // namespace korvel::geometry
