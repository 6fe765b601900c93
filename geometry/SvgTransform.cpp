#include "geometry/SvgTransform.h"

#include "geometry/SvgScanner.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace korvel::geometry {

namespace {

// A map whose determinant is smaller than this share of its largest
// coefficient squared flattens every outline into a line.
constexpr double kCollapseRatio = 1e-9;

double radians(double degrees) {
    return degrees * kPi / 180.0;
}

// Up to `most` numbers up to the closing bracket, which is consumed.
std::optional<std::array<double, 6>> arguments(SvgScanner& in, int least, int most, int& count) {
    std::array<double, 6> values{};
    count = 0;
    in.skipBlanks();
    while (in.peek() != ')') {
        if (count == most) {
            return std::nullopt;
        }
        const auto v = in.number();
        if (!v) {
            return std::nullopt;
        }
        values[static_cast<std::size_t>(count++)] = *v;
        in.skipSeparators();
    }
    in.take();
    if (count < least) {
        return std::nullopt;
    }
    return values;
}

std::optional<Affine> oneTransform(const std::string& name, SvgScanner& in) {
    int n = 0;
    if (name == "matrix") {
        const auto v = arguments(in, 6, 6, n);
        return v ? std::optional<Affine>({(*v)[0], (*v)[1], (*v)[2], (*v)[3], (*v)[4], (*v)[5]})
                 : std::nullopt;
    }
    if (name == "translate") {
        const auto v = arguments(in, 1, 2, n);
        return v ? std::optional<Affine>(Affine::translate((*v)[0], (*v)[1])) : std::nullopt;
    }
    if (name == "scale") {
        const auto v = arguments(in, 1, 2, n);
        return v ? std::optional<Affine>(Affine::scale((*v)[0], n == 2 ? (*v)[1] : (*v)[0]))
                 : std::nullopt;
    }
    if (name == "rotate") {
        const auto v = arguments(in, 1, 3, n);
        if (!v || n == 2) {
            return std::nullopt;
        }
        const double cx = (*v)[1];
        const double cy = (*v)[2];
        return Affine::translate(cx, cy) * Affine::rotate((*v)[0]) * Affine::translate(-cx, -cy);
    }
    if (name == "skewX" || name == "skewY") {
        const auto v = arguments(in, 1, 1, n);
        if (!v) {
            return std::nullopt;
        }
        const double t = std::tan(radians((*v)[0]));
        return name == "skewX" ? Affine{1.0, 0.0, t, 1.0, 0.0, 0.0}
                               : Affine{1.0, t, 0.0, 1.0, 0.0, 0.0};
    }
    return std::nullopt;
}

} // namespace

Affine Affine::rotate(double degrees) {
    const double r = radians(degrees);
    const double cs = std::cos(r);
    const double sn = std::sin(r);
    return {cs, sn, -sn, cs, 0.0, 0.0};
}

Affine Affine::operator*(const Affine& m) const {
    return {a * m.a + c * m.b, b * m.a + d * m.b,     a * m.c + c * m.d,
            b * m.c + d * m.d, a * m.e + c * m.f + e, b * m.e + d * m.f + f};
}

bool Affine::finite() const {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d) &&
           std::isfinite(e) && std::isfinite(f);
}

bool Affine::collapses() const {
    const double largest = std::max({std::fabs(a), std::fabs(b), std::fabs(c), std::fabs(d)});
    if (!(largest > 0.0)) {
        return true;
    }
    // Scaled first, so that huge or tiny coefficients cannot overflow.
    const double relative = (a / largest) * (d / largest) - (b / largest) * (c / largest);
    return std::fabs(relative) <= kCollapseRatio;
}

std::optional<Affine> ParseSvgTransform(std::string_view text) {
    SvgScanner in(text);
    Affine result;
    in.skipSeparators();
    while (!in.atEnd()) {
        std::string name;
        while (!in.atEnd() && std::isalpha(static_cast<unsigned char>(in.peek()))) {
            name += in.take();
        }
        in.skipBlanks();
        if (name.empty() || in.take() != '(') {
            return std::nullopt;
        }
        const auto m = oneTransform(name, in);
        if (!m) {
            return std::nullopt;
        }
        result = result * *m;
        in.skipSeparators();
    }
    if (!result.finite()) {
        return std::nullopt;
    }
    return result;
}

ContourPiece Transformed(const ContourPiece& piece, const Affine& m) {
    ContourPiece out = piece;
    out.start = m.apply(piece.start);
    out.end = m.apply(piece.end);
    out.c1 = m.apply(piece.c1);
    out.c2 = m.apply(piece.c2);
    if (piece.kind != ContourPiece::Kind::Arc) {
        return out;
    }
    // The arc is c + u cos(t) + v sin(t) with the semi-axis vectors u, v.
    // Their images are conjugate semi-diameters of the mapped ellipse; its
    // axes lie at the parameter t0 where |u' cos t + v' sin t| is extreme.
    const double cs = std::cos(piece.rotation);
    const double sn = std::sin(piece.rotation);
    const Point2 u = m.applyVector({piece.rx * cs, piece.rx * sn});
    const Point2 v = m.applyVector({-piece.ry * sn, piece.ry * cs});
    const double t0 = 0.5 * std::atan2(2.0 * (u.x * v.x + u.y * v.y),
                                       (u.x * u.x + u.y * u.y) - (v.x * v.x + v.y * v.y));
    const double c0 = std::cos(t0);
    const double s0 = std::sin(t0);
    const Point2 axis1{u.x * c0 + v.x * s0, u.y * c0 + v.y * s0};
    const Point2 axis2{-u.x * s0 + v.x * c0, -u.y * s0 + v.y * c0};
    out.centre = m.apply(piece.centre);
    out.rx = std::hypot(axis1.x, axis1.y);
    out.ry = std::hypot(axis2.x, axis2.y);
    out.rotation = std::atan2(axis1.y, axis1.x);
    out.theta = piece.theta - t0;
    // A mirroring map turns the second axis against the first: the
    // parameter then runs the other way round.
    if (axis1.x * axis2.y - axis1.y * axis2.x < 0.0) {
        out.theta = -out.theta;
        out.sweep = -piece.sweep;
    }
    return out;
}

} // namespace korvel::geometry
