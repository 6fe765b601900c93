#include "geometry/DrawingBuilder.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "geometry/OutlineFiles.h"

#include <cmath>

namespace korvel::geometry {

void CountSkipped(std::vector<SkippedKind>& skipped, std::string_view kind) {
    for (auto& entry : skipped) {
        if (entry.kind == kind) {
            ++entry.count;
            return;
        }
    }
    skipped.push_back({std::string(kind), 1});
}

DrawingBuilder::DrawingBuilder(std::string_view pattern, std::string_view source)
    : m_pattern(pattern), m_source(source) {}

void DrawingBuilder::beginOutline() {
    endOutline();
    m_outlineStarts.push_back(m_points.size());
    m_open = true;
}

void DrawingBuilder::throwTooLarge() const {
    const std::string limit = std::to_string(kMaxReaderPoints);
    throw common::UserError(common::error("图形点数超过 " + limit + " 个，无法打开：" + m_source,
                                          "The drawing has more than " + limit +
                                              " points and cannot be opened: " + m_source));
}

void DrawingBuilder::reserveCheck(double count) const {
    if (!(count >= 0.0) || static_cast<double>(m_points.size()) + count > kMaxReaderPoints) {
        throwTooLarge();
    }
}

void DrawingBuilder::addPoint(double x, double y, bool node) {
    if (!m_open) {
        beginOutline();
    }
    CheckDrawingCoordinate(x, m_source, 0);
    CheckDrawingCoordinate(y, m_source, 0);
    if (m_points.size() >= kMaxReaderPoints) {
        throwTooLarge();
    }
    m_points.push_back({x, y, node});
}

void DrawingBuilder::endOutline() {
    m_open = false;
}

void DrawingBuilder::markLastNode() {
    if (m_open && !m_points.empty() && m_points.size() > m_outlineStarts.back()) {
        m_points.back().node = true;
    }
}

DisplayDrawing DrawingBuilder::finish() {
    endOutline();
    DisplayDrawing drawing;
    drawing.lines.reserve(m_points.size() + m_outlineStarts.size() + 1);
    m_outlineStarts.push_back(m_points.size());
    for (std::size_t k = 0; k + 1 < m_outlineStarts.size(); ++k) {
        const std::size_t begin = m_outlineStarts[k];
        const std::size_t end = m_outlineStarts[k + 1];
        if (end - begin < 2) {
            ++drawing.droppedOutlines;
            continue;
        }
        ++drawing.outlineCount;
        drawing.lines.push_back(OutlineHeader(drawing.outlineCount));
        for (std::size_t i = begin; i < end; ++i) {
            const Point& p = m_points[i];
            AppendDisplayPointLine(drawing.lines.emplace_back(), p.x, p.y, p.node, m_pattern);
        }
    }
    drawing.lines.emplace_back(kSplineEnd);
    m_outlineStarts.clear();
    m_points.clear();
    return drawing;
}

namespace {

[[noreturn]] void throwOutOfRange(std::string_view source, std::size_t lineNumber) {
    const std::string where = lineNumber > 0 ? std::to_string(lineNumber) : std::string("?");
    const std::string name(source);
    throw common::UserError(common::error("图形坐标超出范围（第 " + where + " 行）：" + name,
                                          "Coordinate out of range (line " + where + "): " + name));
}

// Val gives 0 for a number whose exponent overflows a double: such a word
// has a non-zero mantissa and an exponent that is not negative.
bool overflowsToZero(std::string_view text) {
    const std::size_t e = text.find_first_of("eEdD");
    if (e == std::string_view::npos || common::Val(text.substr(0, e)) == 0.0) {
        return false;
    }
    const std::string_view exponent = common::Trim(text.substr(e + 1));
    return exponent.empty() || exponent.front() != '-';
}

} // namespace

void CheckDrawingCoordinate(double value, std::string_view source, std::size_t lineNumber) {
    if (!std::isfinite(value) || std::fabs(value) > kMaxDrawingCoordinate) {
        throwOutOfRange(source, lineNumber);
    }
}

double ReadDrawingCoordinate(std::string_view text, std::string_view source, std::size_t lineNumber,
                             double unitsPerMm) {
    const double value = common::Val(text) / unitsPerMm;
    if (value == 0.0 && overflowsToZero(text)) {
        throwOutOfRange(source, lineNumber);
    }
    CheckDrawingCoordinate(value, source, lineNumber);
    return value;
}

} // namespace korvel::geometry
