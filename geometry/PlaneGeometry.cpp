#include "geometry/PlaneGeometry.h"

#include <cmath>
#include <cstddef>

namespace korvel::geometry {

double Distance(Point2 a, Point2 b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

Point2 UnitDirection(Point2 p1, Point2 p2) {
    const double dx = p2.x - p1.x;
    const double dy = p2.y - p1.y;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len <= kZeroLength) {
        return {0.0, 0.0};
    }
    return {dx / len, dy / len};
}

double ArcCosine(double c) {
    if (c >= 1.0) {
        return 0.0;
    }
    if (c <= -1.0) {
        return kPi;
    }
    if (c == 0.0) {
        return kPi / 2.0;
    }
    // acos from the arc tangent, as the machine always computed it.
    const double a = std::atan(-c / std::sqrt(1.0 - c * c)) + kPi / 2.0;
    return a;
}

double DirectionAngle(Point2 unit) {
    double a = ArcCosine(unit.x);
    if (unit.y < 0.0) {
        a = -a;
    }
    return a * 180.0 / kPi;
}

double SegmentAngle(Point2 from, Point2 to) {
    return DirectionAngle(UnitDirection(from, to));
}

double WrapAngle(double degrees) {
    if (degrees > 180.0) {
        return degrees - 360.0;
    }
    if (degrees < -180.0) {
        return degrees + 360.0;
    }
    return degrees;
}

double TurnAngle(Point2 c, Point2 b, Point2 a) {
    return WrapAngle(SegmentAngle(c, b) - SegmentAngle(b, a));
}

std::int16_t TurnSign(Point2 p1, Point2 p2, Point2 p3) {
    const double t = TurnAngle(p1, p2, p3);
    return static_cast<std::int16_t>((t > 0.0) - (t < 0.0));
}

Circle CircleThrough(Point2 p1, Point2 p2, Point2 p3) {
    // Intersection of the perpendicular bisectors of P1P2 and P2P3.
    const double a1 = p2.x - p1.x;
    const double b1 = p2.y - p1.y;
    const double a2 = p3.x - p2.x;
    const double b2 = p3.y - p2.y;
    const double c1 = (a1 * (p1.x + p2.x) + b1 * (p1.y + p2.y)) / 2.0;
    const double c2 = (a2 * (p2.x + p3.x) + b2 * (p2.y + p3.y)) / 2.0;
    const double det = a1 * b2 - a2 * b1;
    Circle circle;
    if (det == 0.0) {
        return circle;
    }
    circle.centre = {(c1 * b2 - c2 * b1) / det, (a1 * c2 - a2 * c1) / det};
    circle.radius = Distance(p1, circle.centre);
    circle.valid = std::isfinite(circle.radius);
    return circle;
}

double SignedArea(const Point2* points, std::size_t count) {
    double sum = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const Point2 p = points[i];
        const Point2 q = points[(i + 1) % count];
        sum += p.x * q.y - q.x * p.y;
    }
    return sum / 2.0;
}

bool PointInPolygon(Point2 p, const Point2* points, std::size_t count) {
    bool inside = false;
    if (count < 3) {
        return inside;
    }
    for (std::size_t i = 0, j = count - 1; i < count; j = i++) {
        const Point2 a = points[i];
        const Point2 b = points[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

} // namespace korvel::geometry
