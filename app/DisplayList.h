#pragma once
// The outline view's scene as data: every line the view draws, grouped in
// layers with their colour and width. The picture box only draws these
// lines with the set view; everything about what is drawn is decided here.
//
// The lines read from the model and the files (outlines, machined outlines,
// path, highlighted piece) are built by rebuild() and kept until the next
// rebuild; the marks whose size follows the view width (node squares,
// markers) are sized again by fitMarks() only when the width changed, so
// panning and repainting build nothing.

#include "app/DisplayPalette.h"
#include "common/Message.h"
#include "geometry/OutlineSession.h"
#include "geometry/PathOverlay.h"
#include "program/MarkedPoints.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace korvel::app {

struct DisplayLayer {
    Layer layer = Layer::Outlines;
    LayerStyle style;
    std::vector<geometry::Segment> lines;
};

using Polyline = std::vector<geometry::Point2>;

class DisplayList {
public:
    DisplayList();

    // Builds the scene from the session's model, node edits and selection
    // and from CtrP.dat and YJG.dat of its folder. Every small arc point of
    // the path (radius between 0.1 mm and `bendToSlotRadius`) is entered in
    // `marked` with the value 0 unless it is listed already. `highlighted`
    // is the piece (block of CtrP.dat, from 1) drawn highlighted; 0 none.
    // A path file that cannot be read leaves the path out; the returned
    // message says why (empty when everything was drawn).
    common::Message rebuild(const geometry::OutlineSession& session, program::MarkedPoints& marked,
                            double bendToSlotRadius, int highlighted);

    // Sizes the marks for a view `viewWidth` mm wide; nothing is done when
    // they are sized for that width already.
    void fitMarks(double viewWidth);

    // The operator flipped a marker: the marker layers follow the values.
    void refreshMarkers(const program::MarkedPoints& marked);

    // An extra layer of polylines in its own colour; an empty list removes
    // it.
    void setOverlay(const std::vector<Polyline>& polylines, Rgb colour);

    const std::vector<DisplayLayer>& layers() const { return m_layers; }
    const DisplayLayer& layer(Layer which) const {
        return m_layers[static_cast<std::size_t>(which)];
    }
    // Changes whenever a line changes, so a renderer that keeps the lines
    // (on the graphics card) knows when to load them again.
    std::uint64_t generation() const { return m_generation; }
    int highlighted() const { return m_highlighted; }

    // The marked arc point whose drawn marker covers `click` (the nearest
    // when several do).
    std::optional<geometry::Point2> markerAt(geometry::Point2 click) const;

private:
    void sizeMarks();
    void sizeMarkers();
    std::vector<geometry::Segment>& linesOf(Layer which) {
        return m_layers[static_cast<std::size_t>(which)].lines;
    }

    std::vector<DisplayLayer> m_layers;
    // Where the marks go; their lines are made by sizeMarks().
    std::vector<geometry::Point2> m_nodes;
    std::vector<geometry::Point2> m_deleted;
    std::optional<geometry::Point2> m_pendingStart;
    std::vector<program::MarkedPoint> m_markers;
    double m_markWidth = 0.0; // the view width the marks are sized for
    int m_highlighted = 0;
    std::uint64_t m_generation = 0;
};

} // namespace korvel::app
