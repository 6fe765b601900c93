#pragma once
// The drawable elements of an SVG drawing as contours in the drawing's own
// units: path, rect (with rounded corners), circle, ellipse, line, polyline
// and polygon. Elements with a zero size draw nothing, as in every viewer.

#include "geometry/ContourPieces.h"

#include <optional>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace korvel::geometry {

struct SvgShape {
    std::vector<Contour> contours;
    int zeroRadiusArcs = 0;
};

// An attribute that cannot be read: its name, its text and, for path data
// and point lists, the character at which reading stopped.
struct BadSvgValue {
    std::string attribute;
    std::string value;
    std::optional<std::size_t> at;
};

// Size of the viewport percentages refer to (drawing units).
struct SvgPercentBase {
    double width = 0.0;
    double height = 0.0;
};

// True for the element names this reader draws.
bool IsSvgShape(std::string_view name);

// The contours of a drawable element named `name`. Throws BadSvgValue.
SvgShape SvgShapeOf(const pugi::xml_node& element, std::string_view name,
                    const SvgPercentBase& percent);

} // namespace korvel::geometry
