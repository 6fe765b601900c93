#pragma once
// Lengths of an SVG drawing and the map from its page to the machine's
// millimetres. A page states its size in mm, cm, in, pt, pc or px (96 to
// the inch, the unit of a bare number) and its viewBox says which part of
// the drawing's own coordinates fills it; preserveAspectRatio places that
// part when the shapes differ (centred and whole unless it says otherwise).
// The machine's y axis points up, the page's down: the map turns it over,
// so the page's lower left corner lies at the origin.

#include "geometry/SvgTransform.h"

#include <optional>
#include <string_view>

namespace korvel::geometry {

// Millimetres per px, the unit of a bare SVG number.
inline constexpr double kMmPerPx = 25.4 / 96.0;

// A length: a number with an optional unit. `percentOf` is the length a
// percentage refers to. Nothing for text that is no length (units em and ex
// included: there is no font size to refer to).
std::optional<double> SvgLengthInPx(std::string_view text, double percentOf);

struct SvgViewBox {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
};

// "min-x min-y width height". Nothing unless four numbers are there.
std::optional<SvgViewBox> ParseSvgViewBox(std::string_view text);

struct SvgViewport {
    std::optional<double> width;  // px; nothing when not given (or a percentage)
    std::optional<double> height; // px
    std::optional<SvgViewBox> viewBox;
    std::string_view preserveAspectRatio;
};

// The map from the viewBox into the viewport (both in px, y down). Without
// a viewBox, or without a size, the drawing's units are px. Nothing when
// preserveAspectRatio cannot be read.
std::optional<Affine> SvgViewportMap(const SvgViewport& viewport);

// Size of the viewport in px: as given, the missing side from the viewBox's
// shape, the viewBox itself when no size is given, else nothing.
std::optional<double> SvgViewportHeight(const SvgViewport& viewport);

} // namespace korvel::geometry
