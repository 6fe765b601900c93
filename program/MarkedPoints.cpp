#include "program/MarkedPoints.h"

#include <cmath>
#include <utility>

namespace korvel::program {

namespace {

bool near(const MarkedPoint& p, double x, double y) {
    return std::abs(p.x - x) <= kMarkedPointTolerance && std::abs(p.y - y) <= kMarkedPointTolerance;
}

} // namespace

const MarkedPoint* MarkedPoints::find(double x, double y) const {
    for (const auto& p : m_points) {
        if (near(p, x, y)) {
            return &p;
        }
    }
    return nullptr;
}

MarkedPoint* MarkedPoints::find(double x, double y) {
    return const_cast<MarkedPoint*>(std::as_const(*this).find(x, y));
}

bool MarkedPoints::enter(double x, double y) {
    if (find(x, y) != nullptr) {
        return true;
    }
    if (static_cast<int>(m_points.size()) >= kMarkedPointCapacity) {
        return false;
    }
    m_points.push_back({x, y, 0});
    return true;
}

void MarkedPoints::enterArcPoints(const geometry::PathRecords& path, double radiusThreshold) {
    for (const auto& r : path) {
        if (r.type == geometry::kContourPoint && r.a > kMarkableMinRadius &&
            r.a < radiusThreshold) {
            enter(r.x, r.y);
        }
    }
}

bool MarkedPoints::setBend(double x, double y, bool bend) {
    MarkedPoint* p = find(x, y);
    if (p == nullptr) {
        return false;
    }
    p->value = bend ? 1 : 0;
    return true;
}

bool MarkedPoints::toggle(double x, double y) {
    MarkedPoint* p = find(x, y);
    if (p == nullptr) {
        return false;
    }
    p->value = p->value != 0 ? 0 : 1;
    return p->value != 0;
}

bool MarkedPoints::bendsAt(double x, double y) const {
    const MarkedPoint* p = find(x, y);
    return p != nullptr && p->value != 0;
}

} // namespace korvel::program
