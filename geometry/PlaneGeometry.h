#pragma once
// The small plane operations every outline stage uses. Angles are degrees
// unless a name says otherwise. Travel direction matters: a turn to the left
// (counter-clockwise, y upwards) is negative, so a counter-clockwise outline
// sums its turn angles to -360.

#include <cstddef>
#include <cstdint>

namespace korvel::geometry {

struct Point2 {
    double x = 0.0;
    double y = 0.0;
};

inline constexpr double kPi = 3.14159265358979323846;
// Two segments shorter than this have no direction.
inline constexpr double kZeroLength = 1e-6;

double Distance(Point2 a, Point2 b);

// (dx, dy) / |P1 -> P2|, or (0, 0) when the points are closer than
// kZeroLength.
Point2 UnitDirection(Point2 p1, Point2 p2);

// Arc cosine in radians, clamped: 0 for c >= 1, pi for c <= -1.
double ArcCosine(double c);

// Direction angle of a unit vector in (-180, 180]; (0, 0) gives 90.
double DirectionAngle(Point2 unit);

// Direction angle of the segment from `from` to `to`.
double SegmentAngle(Point2 from, Point2 to);

// Wraps an angle once into [-180, 180]: beyond 180 subtract 360, below
// -180 add 360 (exactly 180 stays 180).
double WrapAngle(double degrees);

// Turn angle at B travelling C -> B -> A: incoming minus outgoing
// direction, wrapped; negative for a left turn.
double TurnAngle(Point2 c, Point2 b, Point2 a);

// -1, 0 or 1: sign of the turn angle at P2 travelling P1 -> P2 -> P3.
std::int16_t TurnSign(Point2 p1, Point2 p2, Point2 p3);

struct Circle {
    Point2 centre;
    double radius = 0.0;
    bool valid = false; // false for three collinear points
};

// Circle through three points by the perpendicular bisectors.
Circle CircleThrough(Point2 p1, Point2 p2, Point2 p3);

// Signed area of a closed polygon (shoelace): positive counter-clockwise.
double SignedArea(const Point2* points, std::size_t count);

// True when `p` lies inside the closed polygon (even-odd rule).
bool PointInPolygon(Point2 p, const Point2* points, std::size_t count);

} // namespace korvel::geometry
