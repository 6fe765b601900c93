#include "geometry/DxfOutlines.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "geometry/ImportDxf.h"
#include "geometry/OutlineFiles.h"

#include <limits>

namespace korvel::geometry {

namespace {

class LineCollector : public DisplayLineSink {
public:
    void line(std::string_view text) override { lines.emplace_back(text); }
    common::Lines lines;
};

// The point lines of each spline outline of the spline import's display
// file, in spline order.
std::vector<std::vector<std::string_view>> splineOutlines(const common::Lines& display) {
    std::vector<std::vector<std::string_view>> outlines;
    for (const auto& line : display) {
        if (line == kSplineEnd) {
            break;
        }
        if (IsSplineLine(line)) {
            outlines.emplace_back();
        } else if (!outlines.empty()) {
            outlines.back().push_back(line);
        }
    }
    return outlines;
}

void addSplineOutline(DrawingBuilder& builder, const std::vector<std::string_view>& points) {
    builder.beginOutline();
    for (const auto line : points) {
        const auto fields = common::SplitFields(line);
        builder.addPoint(common::Val(common::FieldAt(fields, 0)),
                         common::Val(common::FieldAt(fields, 1)),
                         common::FieldAt(fields, 2) == kNodeWord);
    }
    builder.endOutline();
}

} // namespace

DisplayDrawing DxfDisplayDrawing(DxfEntities entities, const common::Lines& splineDisplay,
                                 const ContourTolerances& tolerances, std::string_view source) {
    const auto splines = splineOutlines(splineDisplay);
    const auto outlines = ChainOutlines(std::move(entities.pieces));
    // The spline points are written as the spline import writes them.
    DrawingBuilder builder("0.000", source);
    int open = 0;
    std::size_t s = 0;
    std::size_t o = 0;
    const auto splineOrder = [&](std::size_t k) {
        return k < entities.splineOrder.size() ? entities.splineOrder[k]
                                               : std::numeric_limits<std::size_t>::max();
    };
    while (s < splines.size() || o < outlines.size()) {
        if (o == outlines.size() || (s < splines.size() && splineOrder(s) < outlines[o].order)) {
            addSplineOutline(builder, splines[s++]);
            continue;
        }
        const Contour& contour = outlines[o++].contour;
        AddContour(builder, contour, tolerances);
        open += contour.closed ? 0 : 1;
    }
    DisplayDrawing drawing = builder.finish();
    drawing.openOutlines = open;
    drawing.skipped = std::move(entities.skipped);
    return drawing;
}

DxfDrawingRead ReadDxfDrawing(std::string_view text, std::int16_t densify,
                              const ContourTolerances& tolerances, std::string_view source,
                              DisplayLineSink& sink) {
    DxfEntities entities;
    try {
        entities = ReadDxfEntities(text, source);
    } catch (const common::UserError&) {
        // A drawing with splines is refused with the spline reader's message
        // when that reader refuses it too, as it always was.
        if (HasSplineLine(text)) {
            LineCollector ignored;
            ReadDxfDisplay(text, densify, ignored);
        }
        throw;
    }
    DxfDrawingRead read;
    if (entities.pieces.empty()) {
        read.outlines = ReadDxfDisplay(text, densify, sink).outlines;
        read.skipped = std::move(entities.skipped);
        return read;
    }
    LineCollector splines;
    if (!entities.splineOrder.empty()) {
        ReadDxfDisplay(text, densify, splines);
    }
    const DisplayDrawing display =
        DxfDisplayDrawing(std::move(entities), splines.lines, tolerances, source);
    for (const auto& line : display.lines) {
        sink.line(line);
    }
    read.outlines = display.outlineCount;
    read.droppedOutlines = display.droppedOutlines;
    read.openOutlines = display.openOutlines;
    read.skipped = display.skipped;
    return read;
}

} // namespace korvel::geometry
