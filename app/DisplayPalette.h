#pragma once
// What the outline view draws, in which order, colour and line width. The
// view draws these layers and nothing else, so what an operator sees can be
// checked without a screen.

#include <array>
#include <cstddef>
#include <cstdint>

namespace korvel::app {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// The layers in drawing order: a later layer lies on top of an earlier one.
enum class Layer : std::uint8_t {
    Outlines,     // the opened drawing, point to point
    Machined,     // YJG.dat: the pieces finished since the drawing was opened
    Path,         // CtrP.dat: the prepared machining path
    Highlight,    // the piece chosen in the piece list
    Overlay,      // a layer another window lays over the drawing (bent-letter preview)
    NodeMarks,    // white marks on the nodes
    NodeSquares,  // yellow squares round the nodes
    DeletedNodes, // nodes taken out by the operator; a right click brings them back
    PendingStart, // the start node of the piece being picked, waiting for its end
    SlotMarkers,  // small arc points that will be slotted
    BendMarkers,  // small arc points the operator marked for bending
};
inline constexpr std::size_t kLayerCount = 11;

struct LayerStyle {
    Rgb colour;
    float width = 1.0F; // pixels
};

inline constexpr Rgb kViewBackground{0, 0, 0};

// The palette. The overlay's colour is chosen by whoever sets the overlay;
// this is its default.
inline constexpr std::array<LayerStyle, kLayerCount> kLayerStyles = {{
    {{190, 190, 190}, 1.0F}, // Outlines
    {{0, 255, 255}, 2.0F},   // Machined: cyan
    {{255, 0, 0}, 2.0F},     // Path: red
    {{255, 0, 255}, 3.0F},   // Highlight
    {{0, 160, 255}, 2.0F},   // Overlay
    {{255, 255, 255}, 1.0F}, // NodeMarks: white
    {{255, 255, 0}, 1.0F},   // NodeSquares: yellow
    {{160, 160, 160}, 1.0F}, // DeletedNodes
    {{0, 255, 0}, 2.0F},     // PendingStart
    {{255, 255, 255}, 1.0F}, // SlotMarkers: white while the value is 0
    {{255, 128, 0}, 2.0F},   // BendMarkers
}};

constexpr const LayerStyle& StyleOf(Layer layer) {
    return kLayerStyles[static_cast<std::size_t>(layer)];
}

// Marks keep their size on the screen: their half-size is a share of the
// view width, so they are sized again whenever the view width changes.
inline constexpr double kNodeSquareHalf = 0.003;
inline constexpr double kNodeMarkHalf = 0.0015;
inline constexpr double kDeletedNodeHalf = 0.006;
inline constexpr double kPendingStartHalf = 0.007;
inline constexpr double kMarkerHalf = 0.006;

} // namespace korvel::app
