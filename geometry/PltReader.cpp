#include "geometry/PltReader.h"

#include "common/Fields.h"
#include "geometry/OutlineTracer.h"

#include <optional>
#include <string>

namespace korvel::geometry {

namespace {

// Plotter outlines are drawn as many short strokes; a corner closer than
// this to the last node stays an ordinary point.
constexpr double kMinNodeSpacing = 1.0;

// The first coordinate pair of an instruction's parameter text: x up to the
// first ',' or blank, y after it (further pairs are passed over). Nothing
// when the instruction carries no coordinates.
std::optional<TracePoint> firstPair(std::string_view params, std::string_view source,
                                    std::size_t lineNumber) {
    params = common::Trim(params);
    if (params.empty()) {
        return std::nullopt;
    }
    const std::size_t split = params.find_first_of(", ");
    const std::string_view xText = params.substr(0, split);
    const std::string_view yText =
        split == std::string_view::npos ? std::string_view{} : params.substr(split + 1);
    return TracePoint{ReadDrawingCoordinate(xText, source, lineNumber, kPlotterUnitsPerMm),
                      ReadDrawingCoordinate(yText, source, lineNumber, kPlotterUnitsPerMm)};
}

class PltInterpreter {
public:
    PltInterpreter(DrawingBuilder& builder, const PltReaderOptions& options,
                   std::string_view source)
        : m_tracer(builder, options.slotAngleThreshold, kMinNodeSpacing), m_source(source) {}

    void instruction(std::string_view text, std::size_t lineNumber) {
        text = common::Trim(text);
        if (text.size() < 2) {
            return;
        }
        const std::string mnemonic = common::ToUpper(text.substr(0, 2));
        const std::string_view params = text.substr(2);
        if (mnemonic == "PU") {
            penUp(params, lineNumber);
        } else if (mnemonic == "PD") {
            penDown(params, lineNumber);
        }
    }

    void finish() { m_tracer.finish(); }

private:
    // "PU x,y" starts an outline at x,y. "PU0,0" is the plotter's parking
    // move at the end of a job and "PU" without coordinates only lifts the
    // pen: both end the outline being drawn and start none.
    void penUp(std::string_view params, std::size_t lineNumber) {
        const std::string trimmed(common::Trim(params));
        const auto p = firstPair(params, m_source, lineNumber);
        if (!p || trimmed == "0,0") {
            m_tracer.finish();
            return;
        }
        m_tracer.start(*p);
    }

    // "PD x,y" draws to x,y. A pen-down after a bare pen-up (or at the start
    // of a file) has no start point: the outline starts at its point, so
    // that nothing drawn is lost.
    void penDown(std::string_view params, std::size_t lineNumber) {
        const auto p = firstPair(params, m_source, lineNumber);
        if (!p) {
            return;
        }
        if (m_tracer.active()) {
            m_tracer.lineTo(*p);
        } else {
            m_tracer.start(*p);
        }
    }

    OutlineTracer m_tracer;
    std::string_view m_source;
};

} // namespace

DisplayDrawing ReadPlt(std::string_view text, const PltReaderOptions& options,
                       std::string_view source) {
    DrawingBuilder builder("0.000000", source);
    PltInterpreter interpreter(builder, options, source);
    std::size_t lineNumber = 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const char ch = end ? ';' : text[i];
        if (ch == ';' || ch == '\n' || ch == '\r') {
            interpreter.instruction(text.substr(start, i - start), lineNumber);
            start = i + 1;
            if (ch == '\n') {
                ++lineNumber;
            }
        }
    }
    // The last outline of the file keeps its final point.
    interpreter.finish();
    return builder.finish();
}

} // namespace korvel::geometry
