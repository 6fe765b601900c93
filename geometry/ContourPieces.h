#pragma once
// Outlines made of geometric pieces: straight lines, circular and elliptical
// arcs, quadratic and cubic Bézier curves. Drawings from CAD and design
// programs (DXF line/arc/polyline entities, SVG paths) and the glyphs of a
// font describe letters this way. Every such reader hands its outlines to
// AddContour, which turns them into display points with the same rules, so
// a circle looks and bends the same whichever program drew it.

#include "geometry/DrawingBuilder.h"
#include "geometry/GeometryParameters.h"
#include "geometry/PlaneGeometry.h"

#include <vector>

namespace korvel::geometry {

struct ContourPiece {
    enum class Kind { Line, Quadratic, Cubic, Arc };
    Kind kind = Kind::Line;
    Point2 start;
    Point2 end;
    // Bézier control points (c1 only for a quadratic curve).
    Point2 c1;
    Point2 c2;
    // Elliptical arc (a circle has rx == ry): centre, semi-axes, rotation of
    // the x semi-axis (radians, counter-clockwise), parameter angle at the
    // start and signed sweep (radians, positive counter-clockwise). `start`
    // and `end` are the points at theta and theta + sweep.
    Point2 centre;
    double rx = 0.0;
    double ry = 0.0;
    double rotation = 0.0;
    double theta = 0.0;
    double sweep = 0.0;

    static ContourPiece line(Point2 from, Point2 to);
    static ContourPiece quadratic(Point2 from, Point2 control, Point2 to);
    static ContourPiece cubic(Point2 from, Point2 c1, Point2 c2, Point2 to);
    static ContourPiece arc(Point2 centre, double rx, double ry, double rotation, double theta,
                            double sweep);
    // A circular arc between two points with a DXF bulge (tan of a quarter
    // of the included angle, positive counter-clockwise); a bulge of 0 is a
    // straight line.
    static ContourPiece bulge(Point2 from, Point2 to, double bulge);

    // The same piece travelled the other way.
    ContourPiece reversed() const;
    // The point at parameter t in [0, 1].
    Point2 at(double t) const;
};

struct Contour {
    std::vector<ContourPiece> pieces; // each starts where the one before ends
    bool closed = false;              // the last piece ends at the first one's start
};

struct ContourTolerances {
    double chordErrorTol = 0.05;      // ChordErrorTol: largest gap between curve and chord (mm)
    double lineStepLength = 5.0;      // LineStepLength: largest point spacing (mm)
    double slotAngleThreshold = 30.0; // SlotAngleThreshold: a sharper turn is a node (degrees)
};

// The tolerances of the process parameters handed to the geometry; a value
// that is not set (0 or less, not finite) falls back to the default above.
ContourTolerances ContourTolerancesFor(const GeometryParameters& parameters,
                                       double slotAngleThreshold);

// Appends one outline to the builder: the first point is a node, curves are
// broken into points no farther than chordErrorTol from the curve and no
// more than lineStepLength apart, straight pieces are stepped as the other
// readers step them, and every point where the direction turns by more than
// slotAngleThreshold becomes a node. A closed contour ends on its start.
// Throws UserError (through the builder) for coordinates out of range or a
// drawing too large.
void AddContour(DrawingBuilder& builder, const Contour& contour, const ContourTolerances& tol);

} // namespace korvel::geometry
