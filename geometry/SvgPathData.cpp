#include "geometry/SvgPathData.h"

#include "geometry/SvgScanner.h"

#include <array>
#include <cctype>
#include <cmath>

namespace korvel::geometry {

namespace {

// Angle from vector u to vector v, in (-pi, pi].
double angleBetween(Point2 u, Point2 v) {
    return std::atan2(u.x * v.y - u.y * v.x, u.x * v.x + u.y * v.y);
}

int argumentCount(char command) {
    switch (std::tolower(static_cast<unsigned char>(command))) {
    case 'm':
    case 'l':
    case 't':
        return 2;
    case 'h':
    case 'v':
        return 1;
    case 'c':
        return 6;
    case 's':
    case 'q':
        return 4;
    case 'a':
        return 7;
    case 'z':
        return 0;
    default:
        return -1;
    }
}

class PathBuilder {
public:
    explicit PathBuilder(SvgPathData& out) : m_out(out) {}

    void moveTo(Point2 p) {
        finishSubpath(false);
        m_current = p;
        m_subpathStart = p;
    }

    void lineTo(Point2 p) {
        if (Distance(m_current, p) > 0.0) {
            append(ContourPiece::line(m_current, p));
        }
        m_current = p;
    }

    void quadraticTo(Point2 c, Point2 p) {
        append(ContourPiece::quadratic(m_current, c, p));
        m_current = p;
    }

    void cubicTo(Point2 c1, Point2 c2, Point2 p) {
        append(ContourPiece::cubic(m_current, c1, c2, p));
        m_current = p;
    }

    void arcTo(double rx, double ry, double rotation, bool large, bool sweep, Point2 p) {
        if (rx == 0.0 || ry == 0.0) {
            ++m_out.zeroRadiusArcs;
            lineTo(p);
            return;
        }
        if (const auto arc = SvgArc(m_current, rx, ry, rotation, large, sweep, p)) {
            append(*arc);
        }
        m_current = p;
    }

    void close() {
        lineTo(m_subpathStart);
        finishSubpath(true);
        // Drawing on after "z" starts at the closed subpath's start.
        m_current = m_subpathStart;
    }

    void finishSubpath(bool closed) {
        if (!m_pieces.empty()) {
            m_out.contours.push_back({std::move(m_pieces), closed});
        }
        m_pieces.clear();
    }

    Point2 current() const { return m_current; }

private:
    void append(const ContourPiece& piece) { m_pieces.push_back(piece); }

    SvgPathData& m_out;
    std::vector<ContourPiece> m_pieces;
    Point2 m_current;
    Point2 m_subpathStart;
};

class PathReader {
public:
    PathReader(std::string_view d, SvgPathData& out) : m_in(d), m_out(out), m_path(out) {}

    void read() {
        char command = '\0';
        m_in.skipBlanks();
        while (!m_in.atEnd()) {
            if (std::isalpha(static_cast<unsigned char>(m_in.peek()))) {
                if (argumentCount(m_in.peek()) < 0 ||
                    (m_first && std::tolower(m_in.peek()) != 'm')) {
                    fail();
                    return;
                }
                command = m_in.take();
            } else if (command == '\0' || argumentCount(command) == 0) {
                fail(); // numbers without a command, or after "z"
                return;
            }
            m_first = false;
            if (!one(command)) {
                fail();
                return;
            }
            // A moveto's further pairs are linetos.
            if (command == 'M' || command == 'm') {
                command = command == 'M' ? 'L' : 'l';
            }
            m_in.skipSeparators();
        }
        m_path.finishSubpath(false);
    }

private:
    void fail() {
        m_out.errorAt = m_in.position();
        m_path.finishSubpath(false);
    }

    bool numbers(int count, std::array<double, 7>& v) {
        for (int i = 0; i < count; ++i) {
            const auto n = m_in.number();
            if (!n) {
                return false;
            }
            v[static_cast<std::size_t>(i)] = *n;
        }
        return true;
    }

    bool arcArguments(std::array<double, 7>& v) {
        if (!numbers(3, v)) {
            return false;
        }
        const auto large = m_in.flag();
        const auto sweep = m_in.flag();
        if (!large || !sweep) {
            return false;
        }
        v[3] = *large ? 1.0 : 0.0;
        v[4] = *sweep ? 1.0 : 0.0;
        const auto x = m_in.number();
        const auto y = m_in.number();
        if (!x || !y) {
            return false;
        }
        v[5] = *x;
        v[6] = *y;
        return true;
    }

    // One piece of the command; false when its numbers cannot be read.
    bool one(char command) {
        const bool relative = std::islower(static_cast<unsigned char>(command)) != 0;
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(command)));
        std::array<double, 7> v{};
        if (upper == 'A' ? !arcArguments(v) : !numbers(argumentCount(command), v)) {
            return false;
        }
        const Point2 base = relative ? m_path.current() : Point2{};
        auto point = [&](std::size_t i) { return Point2{base.x + v[i], base.y + v[i + 1]}; };
        char pieceKind = upper;
        switch (upper) {
        case 'M':
            m_path.moveTo(point(0));
            break;
        case 'L':
            m_path.lineTo(point(0));
            break;
        case 'H':
            m_path.lineTo({base.x + v[0], m_path.current().y});
            break;
        case 'V':
            m_path.lineTo({m_path.current().x, base.y + v[0]});
            break;
        case 'C':
            m_lastControl = point(2);
            m_path.cubicTo(point(0), point(2), point(4));
            break;
        case 'S':
            m_path.cubicTo(reflected('C'), point(0), point(2));
            m_lastControl = point(0);
            pieceKind = 'C';
            break;
        case 'Q':
            m_lastControl = point(0);
            m_path.quadraticTo(point(0), point(2));
            break;
        case 'T': {
            const Point2 c = reflected('Q');
            m_lastControl = c;
            m_path.quadraticTo(c, point(0));
            pieceKind = 'Q';
            break;
        }
        case 'A':
            m_path.arcTo(v[0], v[1], v[2], v[3] != 0.0, v[4] != 0.0, point(5));
            break;
        case 'Z':
            m_path.close();
            break;
        default:
            return false;
        }
        m_lastKind = pieceKind;
        return true;
    }

    // The first control point of a smooth curve: the previous curve's last
    // control point mirrored in the current point when that curve was of the
    // same family, else the current point itself.
    Point2 reflected(char family) const {
        const Point2 p = m_path.current();
        if (m_lastKind != family) {
            return p;
        }
        return {2.0 * p.x - m_lastControl.x, 2.0 * p.y - m_lastControl.y};
    }

    SvgScanner m_in;
    SvgPathData& m_out;
    PathBuilder m_path;
    bool m_first = true;
    char m_lastKind = '\0';
    Point2 m_lastControl;
};

} // namespace

std::optional<ContourPiece> SvgArc(Point2 from, double rx, double ry, double rotationDegrees,
                                   bool largeArc, bool sweep, Point2 to) {
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (rx == 0.0 || ry == 0.0 || (from.x == to.x && from.y == to.y)) {
        return std::nullopt;
    }
    const double phi = rotationDegrees * kPi / 180.0;
    const double cs = std::cos(phi);
    const double sn = std::sin(phi);
    // The midpoint of the chord in the ellipse's own axes.
    const double hx = (from.x - to.x) / 2.0;
    const double hy = (from.y - to.y) / 2.0;
    const double x1 = cs * hx + sn * hy;
    const double y1 = -sn * hx + cs * hy;
    const double reach = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (reach > 1.0) {
        rx *= std::sqrt(reach);
        ry *= std::sqrt(reach);
    }
    const double rx2 = rx * rx;
    const double ry2 = ry * ry;
    const double den = rx2 * y1 * y1 + ry2 * x1 * x1;
    double k = std::sqrt(std::max(0.0, (rx2 * ry2 - den) / den));
    if (largeArc == sweep) {
        k = -k;
    }
    const double cx1 = k * rx * y1 / ry;
    const double cy1 = -k * ry * x1 / rx;
    const Point2 centre{cs * cx1 - sn * cy1 + (from.x + to.x) / 2.0,
                        sn * cx1 + cs * cy1 + (from.y + to.y) / 2.0};
    const Point2 u{(x1 - cx1) / rx, (y1 - cy1) / ry};
    const Point2 w{(-x1 - cx1) / rx, (-y1 - cy1) / ry};
    const double theta = std::atan2(u.y, u.x);
    double delta = angleBetween(u, w);
    if (!sweep && delta > 0.0) {
        delta -= 2.0 * kPi;
    } else if (sweep && delta < 0.0) {
        delta += 2.0 * kPi;
    }
    // The ends as given, not as recomputed, so that pieces meet exactly.
    ContourPiece arc = ContourPiece::arc(centre, rx, ry, phi, theta, delta);
    arc.start = from;
    arc.end = to;
    return arc;
}

SvgPathData ParseSvgPathData(std::string_view d) {
    SvgPathData out;
    PathReader(d, out).read();
    return out;
}

} // namespace korvel::geometry
