#include "geometry/ContourPieces.h"

#include <algorithm>
#include <cmath>

namespace korvel::geometry {

namespace {

// Pieces shorter than this carry no shape (mm).
constexpr double kTinyPiece = 1e-6;
// Rounds of refining a curve's step count before the count is taken.
constexpr int kRefineRounds = 12;

Point2 lerp(Point2 a, Point2 b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

Point2 minus(Point2 a, Point2 b) {
    return {a.x - b.x, a.y - b.y};
}

bool samePoint(Point2 a, Point2 b) {
    return Distance(a, b) < kTinyPiece;
}

Point2 ellipsePoint(const ContourPiece& p, double angle) {
    const double ex = p.rx * std::cos(angle);
    const double ey = p.ry * std::sin(angle);
    const double c = std::cos(p.rotation);
    const double s = std::sin(p.rotation);
    return {p.centre.x + ex * c - ey * s, p.centre.y + ex * s + ey * c};
}

// Distance of `p` from the chord a-b (from a when the chord has no length).
double distanceFromChord(Point2 p, Point2 a, Point2 b) {
    const double length = Distance(a, b);
    if (length < kTinyPiece) {
        return Distance(p, a);
    }
    return std::fabs((b.x - a.x) * (a.y - p.y) - (a.x - p.x) * (b.y - a.y)) / length;
}

// Direction of travel where the piece starts, or (0, 0) for a piece of no
// length.
Point2 startTangent(const ContourPiece& p) {
    switch (p.kind) {
    case ContourPiece::Kind::Line:
        return UnitDirection(p.start, p.end);
    case ContourPiece::Kind::Quadratic:
        return samePoint(p.start, p.c1) ? UnitDirection(p.start, p.end)
                                        : UnitDirection(p.start, p.c1);
    case ContourPiece::Kind::Cubic:
        if (!samePoint(p.start, p.c1)) {
            return UnitDirection(p.start, p.c1);
        }
        return samePoint(p.start, p.c2) ? UnitDirection(p.start, p.end)
                                        : UnitDirection(p.start, p.c2);
    case ContourPiece::Kind::Arc: {
        // Derivative of the ellipse point by the parameter, in the sweep's
        // direction.
        const double sign = p.sweep < 0 ? -1.0 : 1.0;
        const double dx = -p.rx * std::sin(p.theta) * sign;
        const double dy = p.ry * std::cos(p.theta) * sign;
        const double c = std::cos(p.rotation);
        const double s = std::sin(p.rotation);
        return UnitDirection({0.0, 0.0}, {dx * c - dy * s, dx * s + dy * c});
    }
    }
    return {};
}

Point2 endTangent(const ContourPiece& p) {
    const Point2 back = startTangent(p.reversed());
    return {-back.x, -back.y};
}

// Turn between two directions of travel (degrees, 0 ... 180).
double turnBetween(Point2 incoming, Point2 outgoing) {
    return ArcCosine(incoming.x * outgoing.x + incoming.y * outgoing.y) * 180.0 / kPi;
}

// A rough length of the piece: the control polygon for curves, the arc
// length bound for arcs.
double roughLength(const ContourPiece& p) {
    switch (p.kind) {
    case ContourPiece::Kind::Line:
        return Distance(p.start, p.end);
    case ContourPiece::Kind::Quadratic:
        return Distance(p.start, p.c1) + Distance(p.c1, p.end);
    case ContourPiece::Kind::Cubic:
        return Distance(p.start, p.c1) + Distance(p.c1, p.c2) + Distance(p.c2, p.end);
    case ContourPiece::Kind::Arc:
        return std::max(p.rx, p.ry) * std::fabs(p.sweep);
    }
    return 0.0;
}

struct StepCheck {
    double worstError = 0.0; // largest distance of the curve from a chord
    double longestChord = 0.0;
};

StepCheck checkSteps(const ContourPiece& p, long long steps) {
    StepCheck check;
    Point2 from = p.start;
    for (long long i = 1; i <= steps; ++i) {
        const double t0 = static_cast<double>(i - 1) / static_cast<double>(steps);
        const double t1 = static_cast<double>(i) / static_cast<double>(steps);
        const Point2 to = i == steps ? p.end : p.at(t1);
        for (const double f : {0.25, 0.5, 0.75}) {
            const double error = distanceFromChord(p.at(t0 + (t1 - t0) * f), from, to);
            check.worstError = std::max(check.worstError, error);
        }
        check.longestChord = std::max(check.longestChord, Distance(from, to));
        from = to;
    }
    return check;
}

// Equal parameter steps for a curved piece: as few as keep every chord
// within the chord error and no longer than the line step. The chord error
// falls with the square of the step count, the chord length linearly.
long long curveSteps(const ContourPiece& p, const ContourTolerances& tol,
                     const DrawingBuilder& builder) {
    const double limit = static_cast<double>(kMaxReaderPoints);
    double steps = std::clamp(std::ceil(roughLength(p) / tol.lineStepLength), 1.0, limit);
    for (int round = 0; round < kRefineRounds; ++round) {
        builder.reserveCheck(steps);
        const StepCheck check = checkSteps(p, static_cast<long long>(steps));
        double needed = steps;
        if (check.worstError > tol.chordErrorTol) {
            needed = std::max(needed,
                              std::ceil(steps * std::sqrt(check.worstError / tol.chordErrorTol)));
        }
        if (check.longestChord > tol.lineStepLength) {
            needed = std::max(needed, std::ceil(steps * check.longestChord / tol.lineStepLength));
        }
        if (needed <= steps) {
            break;
        }
        steps = std::min(needed, limit);
    }
    builder.reserveCheck(steps);
    return static_cast<long long>(steps);
}

class ContourWriter {
public:
    ContourWriter(DrawingBuilder& builder, const ContourTolerances& tol)
        : m_builder(builder), m_tol(tol) {}

    void write(const Contour& contour) {
        m_builder.beginOutline();
        bool first = true;
        Point2 lastTangent{};
        Point2 firstPoint{};
        Point2 lastPoint{};
        for (const auto& piece : contour.pieces) {
            if (samePoint(piece.start, piece.end) && roughLength(piece) < kTinyPiece) {
                continue;
            }
            if (first) {
                m_builder.addPoint(piece.start.x, piece.start.y, true);
                firstPoint = piece.start;
                first = false;
            } else {
                // The joint was written as the end of the piece before; it
                // is a node when the outline turns sharply there.
                markCorner(turnBetween(lastTangent, startTangent(piece)));
            }
            writePiece(piece);
            lastTangent = endTangent(piece);
            lastPoint = piece.end;
        }
        if (contour.closed && !first && !samePoint(lastPoint, firstPoint)) {
            // A closed outline whose last piece stops short is closed straight.
            markCorner(turnBetween(lastTangent, UnitDirection(lastPoint, firstPoint)));
            writeLine(lastPoint, firstPoint);
        }
        m_builder.endOutline();
    }

private:
    void markCorner(double turn) {
        if (turn > m_tol.slotAngleThreshold) {
            m_builder.markLastNode();
        }
    }

    void writePiece(const ContourPiece& piece) {
        if (piece.kind == ContourPiece::Kind::Line) {
            writeLine(piece.start, piece.end);
            return;
        }
        const long long steps = curveSteps(piece, m_tol, m_builder);
        for (long long i = 1; i < steps; ++i) {
            const Point2 p = piece.at(static_cast<double>(i) / static_cast<double>(steps));
            m_builder.addPoint(p.x, p.y, false);
        }
        m_builder.addPoint(piece.end.x, piece.end.y, false);
    }

    // A straight piece gets the points the NC reader gives a straight move:
    // n = integer part of (d - 5) / 5 points evenly between its ends.
    void writeLine(Point2 from, Point2 to) {
        const double d = Distance(from, to);
        const double n = std::max(0.0, std::trunc((d - 5.0) / 5.0));
        m_builder.reserveCheck(n + 1.0);
        const auto count = static_cast<long long>(n);
        for (long long j = 1; j <= count; ++j) {
            const Point2 p =
                lerp(from, to, static_cast<double>(j) / static_cast<double>(count + 1));
            m_builder.addPoint(p.x, p.y, false);
        }
        m_builder.addPoint(to.x, to.y, false);
    }

    DrawingBuilder& m_builder;
    const ContourTolerances& m_tol;
};

double orDefault(double value, double fallback) {
    return std::isfinite(value) && value > 0.0 ? value : fallback;
}

} // namespace

ContourPiece ContourPiece::line(Point2 from, Point2 to) {
    ContourPiece p;
    p.kind = Kind::Line;
    p.start = from;
    p.end = to;
    return p;
}

ContourPiece ContourPiece::quadratic(Point2 from, Point2 control, Point2 to) {
    ContourPiece p = line(from, to);
    p.kind = Kind::Quadratic;
    p.c1 = control;
    return p;
}

ContourPiece ContourPiece::cubic(Point2 from, Point2 c1, Point2 c2, Point2 to) {
    ContourPiece p = line(from, to);
    p.kind = Kind::Cubic;
    p.c1 = c1;
    p.c2 = c2;
    return p;
}

ContourPiece ContourPiece::arc(Point2 centre, double rx, double ry, double rotation, double theta,
                               double sweep) {
    ContourPiece p;
    p.kind = Kind::Arc;
    p.centre = centre;
    p.rx = rx;
    p.ry = ry;
    p.rotation = rotation;
    p.theta = theta;
    p.sweep = sweep;
    p.start = ellipsePoint(p, theta);
    p.end = ellipsePoint(p, theta + sweep);
    return p;
}

ContourPiece ContourPiece::bulge(Point2 from, Point2 to, double bulge) {
    const double chord = Distance(from, to);
    if (!(std::fabs(bulge) > 1e-9) || chord < kTinyPiece) {
        return line(from, to);
    }
    // The centre lies on the chord's perpendicular bisector, to the left of
    // the chord for a counter-clockwise (positive) bulge.
    const double offset = chord * (1.0 - bulge * bulge) / (4.0 * bulge);
    const double radius = chord * (1.0 + bulge * bulge) / (4.0 * std::fabs(bulge));
    const Point2 mid = lerp(from, to, 0.5);
    const Point2 left{-(to.y - from.y) / chord, (to.x - from.x) / chord};
    const Point2 centre{mid.x + left.x * offset, mid.y + left.y * offset};
    const Point2 radial = minus(from, centre);
    ContourPiece p =
        arc(centre, radius, radius, 0.0, std::atan2(radial.y, radial.x), 4.0 * std::atan(bulge));
    // The ends stay exactly where the drawing put them.
    p.start = from;
    p.end = to;
    return p;
}

ContourPiece ContourPiece::reversed() const {
    ContourPiece p = *this;
    std::swap(p.start, p.end);
    if (kind == Kind::Cubic) {
        std::swap(p.c1, p.c2);
    } else if (kind == Kind::Arc) {
        p.theta = theta + sweep;
        p.sweep = -sweep;
    }
    return p;
}

Point2 ContourPiece::at(double t) const {
    switch (kind) {
    case Kind::Line:
        return lerp(start, end, t);
    case Kind::Quadratic:
        return lerp(lerp(start, c1, t), lerp(c1, end, t), t);
    case Kind::Cubic: {
        const Point2 a = lerp(start, c1, t);
        const Point2 b = lerp(c1, c2, t);
        const Point2 c = lerp(c2, end, t);
        return lerp(lerp(a, b, t), lerp(b, c, t), t);
    }
    case Kind::Arc:
        return ellipsePoint(*this, theta + sweep * t);
    }
    return start;
}

ContourTolerances ContourTolerancesFor(const GeometryParameters& parameters,
                                       double slotAngleThreshold) {
    const ContourTolerances defaults;
    ContourTolerances tol;
    tol.chordErrorTol = orDefault(parameters.ChordErrorTol, defaults.chordErrorTol);
    tol.lineStepLength = orDefault(parameters.LineStepLength, defaults.lineStepLength);
    tol.slotAngleThreshold = orDefault(slotAngleThreshold, defaults.slotAngleThreshold);
    return tol;
}

void AddContour(DrawingBuilder& builder, const Contour& contour, const ContourTolerances& tol) {
    ContourWriter(builder, tol).write(contour);
}

} // namespace korvel::geometry
