#pragma once
// The affine maps of a vector drawing: the `transform` attribute of its
// elements and groups, the scaling of the page to millimetres and the turn
// of its y axis upright. Lines and Bézier curves map through their points;
// an elliptical arc maps to another elliptical arc, so a circle drawn under
// a stretching or skewing group stays exact.

#include "geometry/ContourPieces.h"

#include <optional>
#include <string_view>

namespace korvel::geometry {

// x' = a x + c y + e, y' = b x + d y + f (the order of an SVG "matrix").
struct Affine {
    double a = 1.0;
    double b = 0.0;
    double c = 0.0;
    double d = 1.0;
    double e = 0.0;
    double f = 0.0;

    static Affine translate(double tx, double ty) { return {1.0, 0.0, 0.0, 1.0, tx, ty}; }
    static Affine scale(double sx, double sy) { return {sx, 0.0, 0.0, sy, 0.0, 0.0}; }
    // Counter-clockwise by `degrees` in a y-up plane (clockwise on an SVG page).
    static Affine rotate(double degrees);

    // This map applied after `inner`.
    Affine operator*(const Affine& inner) const;
    Point2 apply(Point2 p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    Point2 applyVector(Point2 v) const { return {a * v.x + c * v.y, b * v.x + d * v.y}; }
    double determinant() const { return a * d - b * c; }
    bool finite() const;
    // True when the map squeezes the plane onto a line or a point: its
    // determinant is negligible beside its largest coefficient.
    bool collapses() const;
};

// The list of a `transform` attribute ("translate(10 20) rotate(45 5 5)"),
// combined left to right. Nothing when the text cannot be read.
std::optional<Affine> ParseSvgTransform(std::string_view text);

// The piece mapped by `m`; an arc stays an arc (with new semi-axes, rotation
// and parameter angles) and keeps its end points.
ContourPiece Transformed(const ContourPiece& piece, const Affine& m);

} // namespace korvel::geometry
