#include "geometry/SvgShapes.h"

#include "geometry/SvgPathData.h"
#include "geometry/SvgScanner.h"
#include "geometry/SvgUnits.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korvel::geometry {

namespace {

enum class Axis { X, Y, Other };

class Attributes {
public:
    Attributes(const pugi::xml_node& element, const SvgPercentBase& percent)
        : m_element(element), m_percent(percent) {}

    // A length attribute in drawing units; `fallback` when it is absent.
    double length(const char* name, Axis axis, double fallback = 0.0) const {
        const auto value = optionalLength(name, axis);
        return value ? *value : fallback;
    }

    std::optional<double> optionalLength(const char* name, Axis axis) const {
        const pugi::xml_attribute attr = m_element.attribute(name);
        if (!attr) {
            return std::nullopt;
        }
        const std::string_view text = attr.value();
        if (text == "auto") {
            return std::nullopt;
        }
        const auto value = SvgLengthInPx(text, percentBase(axis));
        if (!value) {
            throw BadSvgValue{name, std::string(text), std::nullopt};
        }
        return value;
    }

    // A size: negative is an error, as the drawing cannot mean it.
    double size(const char* name, Axis axis) const {
        const double value = length(name, axis);
        if (value < 0.0) {
            throw BadSvgValue{name, m_element.attribute(name).value(), std::nullopt};
        }
        return value;
    }

    std::string_view text(const char* name) const { return m_element.attribute(name).value(); }

private:
    double percentBase(Axis axis) const {
        switch (axis) {
        case Axis::X:
            return m_percent.width;
        case Axis::Y:
            return m_percent.height;
        case Axis::Other:
            break;
        }
        return std::hypot(m_percent.width, m_percent.height) / std::sqrt(2.0);
    }

    const pugi::xml_node& m_element;
    const SvgPercentBase& m_percent;
};

// A quarter of an axis-parallel ellipse from the axis point `from` (0 at
// +x, 1 at +y, 2 at -x, 3 at -y) to the next one, in the direction of
// growing angle in drawing units (clockwise on the page, like SVG's own
// circles). The ends are the axis points exactly, so pieces meet.
ContourPiece quarter(Point2 c, double rx, double ry, int from) {
    static constexpr std::array<Point2, 4> kAxis{
        {{1.0, 0.0}, {0.0, 1.0}, {-1.0, 0.0}, {0.0, -1.0}}};
    const Point2 a = kAxis[static_cast<std::size_t>(from % 4)];
    const Point2 b = kAxis[static_cast<std::size_t>((from + 1) % 4)];
    ContourPiece arc = ContourPiece::arc(c, rx, ry, 0.0, from * kPi / 2.0, kPi / 2.0);
    arc.start = {c.x + rx * a.x, c.y + ry * a.y};
    arc.end = {c.x + rx * b.x, c.y + ry * b.y};
    return arc;
}

SvgShape ellipse(Point2 c, double rx, double ry) {
    SvgShape shape;
    if (rx <= 0.0 || ry <= 0.0) {
        return shape;
    }
    Contour contour;
    contour.closed = true;
    for (int q = 0; q < 4; ++q) {
        contour.pieces.push_back(quarter(c, rx, ry, q));
    }
    shape.contours.push_back(std::move(contour));
    return shape;
}

// A rectangle, its corners rounded by quarter ellipses of rx, ry. Starting
// at the top edge and going round as the page shows it clockwise.
SvgShape rect(const Attributes& a) {
    const double x = a.length("x", Axis::X);
    const double y = a.length("y", Axis::Y);
    const double w = a.size("width", Axis::X);
    const double h = a.size("height", Axis::Y);
    SvgShape shape;
    if (w <= 0.0 || h <= 0.0) {
        return shape;
    }
    auto rx = a.optionalLength("rx", Axis::X);
    auto ry = a.optionalLength("ry", Axis::Y);
    if ((rx && *rx < 0.0) || (ry && *ry < 0.0)) {
        throw BadSvgValue{rx && *rx < 0.0 ? "rx" : "ry",
                          std::string(a.text(rx && *rx < 0.0 ? "rx" : "ry")), std::nullopt};
    }
    // One radius given stands for both; each is at most half the side.
    const double rxv = std::min(rx ? *rx : (ry ? *ry : 0.0), w / 2.0);
    const double ryv = std::min(ry ? *ry : (rx ? *rx : 0.0), h / 2.0);
    Contour c;
    c.closed = true;
    auto add = [&c](const ContourPiece& p) {
        if (Distance(p.start, p.end) > 0.0) {
            c.pieces.push_back(p);
        }
    };
    const bool rounded = rxv > 0.0 && ryv > 0.0;
    const Point2 p0{x + (rounded ? rxv : 0.0), y};
    const Point2 p1{x + w - (rounded ? rxv : 0.0), y};
    const Point2 p2{x + w, y + (rounded ? ryv : 0.0)};
    const Point2 p3{x + w, y + h - (rounded ? ryv : 0.0)};
    const Point2 p4{x + w - (rounded ? rxv : 0.0), y + h};
    const Point2 p5{x + (rounded ? rxv : 0.0), y + h};
    const Point2 p6{x, y + h - (rounded ? ryv : 0.0)};
    const Point2 p7{x, y + (rounded ? ryv : 0.0)};
    add(ContourPiece::line(p0, p1));
    if (rounded) {
        add(quarter({p1.x, p2.y}, rxv, ryv, 3));
    }
    add(ContourPiece::line(p2, p3));
    if (rounded) {
        add(quarter({p4.x, p3.y}, rxv, ryv, 0));
    }
    add(ContourPiece::line(p4, p5));
    if (rounded) {
        add(quarter({p5.x, p6.y}, rxv, ryv, 1));
    }
    add(ContourPiece::line(p6, p7));
    if (rounded) {
        add(quarter({p0.x, p7.y}, rxv, ryv, 2));
    }
    shape.contours.push_back(std::move(c));
    return shape;
}

// The points of a polyline or polygon: pairs of numbers. An odd number at
// the end is an error of the drawing; the pairs before it are drawn.
SvgShape points(const Attributes& a, bool closed) {
    const std::string_view text = a.text("points");
    SvgScanner in(text);
    std::vector<Point2> pts;
    in.skipSeparators();
    while (!in.atEnd()) {
        const auto x = in.number();
        const auto y = x ? in.number() : std::nullopt;
        if (!x || !y) {
            throw BadSvgValue{"points", std::string(text), in.position()};
        }
        pts.push_back({*x, *y});
        in.skipSeparators();
    }
    SvgShape shape;
    Contour c;
    for (std::size_t i = 1; i < pts.size(); ++i) {
        if (Distance(pts[i - 1], pts[i]) > 0.0) {
            c.pieces.push_back(ContourPiece::line(pts[i - 1], pts[i]));
        }
    }
    if (closed && pts.size() > 1 && Distance(pts.back(), pts.front()) > 0.0) {
        c.pieces.push_back(ContourPiece::line(pts.back(), pts.front()));
    }
    c.closed = closed;
    if (!c.pieces.empty()) {
        shape.contours.push_back(std::move(c));
    }
    return shape;
}

SvgShape path(const Attributes& a) {
    const std::string_view d = a.text("d");
    SvgPathData data = ParseSvgPathData(d);
    if (data.errorAt) {
        throw BadSvgValue{"d", std::string(d), data.errorAt};
    }
    return {std::move(data.contours), data.zeroRadiusArcs};
}

} // namespace

bool IsSvgShape(std::string_view name) {
    static constexpr std::array<std::string_view, 7> kShapes{
        "path", "rect", "circle", "ellipse", "line", "polyline", "polygon"};
    return std::find(kShapes.begin(), kShapes.end(), name) != kShapes.end();
}

SvgShape SvgShapeOf(const pugi::xml_node& element, std::string_view name,
                    const SvgPercentBase& percent) {
    const Attributes a(element, percent);
    if (name == "path") {
        return path(a);
    }
    if (name == "rect") {
        return rect(a);
    }
    const Point2 centre{a.length("cx", Axis::X), a.length("cy", Axis::Y)};
    if (name == "circle") {
        const double r = a.size("r", Axis::Other);
        return ellipse(centre, r, r);
    }
    if (name == "ellipse") {
        auto rx = a.optionalLength("rx", Axis::X);
        auto ry = a.optionalLength("ry", Axis::Y);
        // "auto" or a missing radius takes the other one.
        const double rxv = rx ? *rx : ry.value_or(0.0);
        const double ryv = ry ? *ry : rx.value_or(0.0);
        if (rxv < 0.0 || ryv < 0.0) {
            throw BadSvgValue{rxv < 0.0 ? "rx" : "ry", std::string(a.text(rxv < 0.0 ? "rx" : "ry")),
                              std::nullopt};
        }
        return ellipse(centre, rxv, ryv);
    }
    if (name == "line") {
        const Point2 p1{a.length("x1", Axis::X), a.length("y1", Axis::Y)};
        const Point2 p2{a.length("x2", Axis::X), a.length("y2", Axis::Y)};
        SvgShape shape;
        if (Distance(p1, p2) > 0.0) {
            shape.contours.push_back({{ContourPiece::line(p1, p2)}, false});
        }
        return shape;
    }
    return points(a, name == "polygon");
}

} // namespace korvel::geometry
