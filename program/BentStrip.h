#pragma once
// The shape of the strip after the machine has bent it, in the strip's own
// frame: the material at strip position begin() lies at the origin and
// runs along +x; every other position follows from the curvature it was pressed to,
// the kinks the arm struck into it and the folds at its slots.
//
// A strike is either a corner bend or one tap of a tapped arc. The program
// does not say which; the taps of an arc come in a row, one spacing of the
// tapping table apart, at nearly the same radius, while a corner stands
// alone or differs clearly from its neighbours. So a strike whose
// neighbour lies within 1.5 spacings and bends to a radius within a factor
// of 1.5 of its own is a tap and turns the strip by the spacing over its
// radius; any other strike is a corner and turns it by its bend angle. A
// corner struck one spacing from a tapped arc of nearly the same bend would
// be taken for a tap.

#include "geometry/PlaneGeometry.h"
#include "machine/ParameterSet.h"
#include "program/StripReplay.h"

#include <vector>

namespace korvel::program {

// A turn of the strip at one strip position (radians, positive left).
struct StripKink {
    double at = 0;
    double turn = 0;
};

std::vector<StripKink> KinksOfStrikes(const std::vector<StripStrike>& strikes,
                                      const machine::ParameterTables& tables);

class BentStrip {
public:
    BentStrip(const StripActions& actions, const machine::ParameterTables& tables);

    double begin() const { return m_nodes.front().at; }
    double end() const { return m_nodes.back().at; }
    // Position of the material at u (clamped to begin .. end), after the
    // kinks at u.
    geometry::Point2 at(double u) const;
    // The strip from u0 to u1 as a polyline: every kink and change of
    // curvature, arcs divided into steps of at most one degree and 5 mm.
    std::vector<geometry::Point2> polyline(double u0, double u1) const;

private:
    struct Node {
        double at;
        geometry::Point2 p; // position at `at`
        double heading;     // direction after the kinks at `at` (radians)
        double curvature;   // up to the next node
    };
    std::size_t nodeBefore(double u) const;
    static geometry::Point2 advance(const Node& n, double distance);
    static double headingAfter(const Node& n, double distance) {
        return n.heading + n.curvature * distance;
    }

    std::vector<Node> m_nodes;
};

} // namespace korvel::program
