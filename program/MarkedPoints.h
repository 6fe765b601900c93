#pragma once
// Small-radius arc points that the operator wants bent instead of slotted.
//
// Drawing the machining path enters every arc point whose radius lies
// between 0.1 mm and BendToSlotRadiusThreshold, with the value 0 (slot);
// the operator clicks a marker to flip it to 1 (bend) and back. Two points
// within 0.01 mm in x and in y are the same point, so a redraw keeps the
// operator's choices. The machine's list holds 501 points; points beyond it
// keep the default, a slot.

#include "geometry/PathFile.h"

#include <cstdint>
#include <vector>

namespace korvel::program {

inline constexpr int kMarkedPointCapacity = 501;
inline constexpr double kMarkedPointTolerance = 0.01;
// Arc points with a radius above this may be marked.
inline constexpr double kMarkableMinRadius = 0.1;

struct MarkedPoint {
    double x = 0;
    double y = 0;
    std::int16_t value = 0; // 0 slot, non-zero bend
};

class MarkedPoints {
public:
    // Enters a point with value 0 unless it is already listed or the list is
    // full; returns whether the point is (now) listed.
    bool enter(double x, double y);
    // Enters every markable arc point of the path (radius between 0.1 mm
    // and radiusThreshold), keeping the values of points already listed.
    void enterArcPoints(const geometry::PathRecords& path, double radiusThreshold);

    // The operator's click on a marker: bend (true) or slot (false). Returns
    // false when no listed point is near (x, y).
    bool setBend(double x, double y, bool bend);
    // Flips the listed point near (x, y); returns its new state (false when
    // no point is listed there).
    bool toggle(double x, double y);

    // True when the listed point near (x, y) is to be bent.
    bool bendsAt(double x, double y) const;

    const std::vector<MarkedPoint>& points() const { return m_points; }
    void clear() { m_points.clear(); }

private:
    MarkedPoint* find(double x, double y);
    const MarkedPoint* find(double x, double y) const;

    std::vector<MarkedPoint> m_points;
};

} // namespace korvel::program
