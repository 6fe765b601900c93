#include "geometry/OutlineModel.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/OutlineFiles.h"

#include <algorithm>
#include <string>

namespace korvel::geometry {

namespace {

// A drawing too small to measure still gets a usable view.
constexpr double kMinimumViewWidth = 10.0;

[[noreturn]] void throwTooMany(std::string_view source, const char* zhWhat, const char* enWhat,
                               std::size_t limit) {
    const std::string name(source);
    const std::string count = std::to_string(limit);
    throw common::UserError(common::error(
        std::string("图形") + zhWhat + "超过 " + count + " 个，无法显示和选择：" + name,
        std::string("The drawing has more than ") + count + " " + enWhat +
            "; it cannot be shown or selected: " + name));
}

} // namespace

void BoundingBox::add(double x, double y) {
    if (empty) {
        minX = maxX = x;
        minY = maxY = y;
        empty = false;
        return;
    }
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
}

OutlineModel::OutlineModel() : m_nodes(1) {}

template <typename LineRange>
OutlineModel OutlineModel::fromRange(const LineRange& lines, std::size_t lineCount,
                                     std::string_view source) {
    OutlineModel model;
    // Every line is at most one point: no table grows while it is filled.
    model.m_points.reserve(std::min(lineCount, kMaxPoints));
    std::int32_t n = -1;
    for (const auto& line : lines) {
        ++n;
        if (line == kSplineEnd) {
            break;
        }
        if (common::Trim(line).empty()) {
            continue;
        }
        const std::string_view first = common::FieldOf(line, 0);
        if (first == kSplineWord) {
            model.addOutline(common::CIntSaturated(common::Val(common::FieldOf(line, 1))));
            continue;
        }
        if (model.m_outlines.empty()) {
            // Points before any header still belong to an outline.
            model.addOutline(0);
        }
        const double x = common::Val(first);
        const double y = common::Val(common::FieldOf(line, 1));
        CheckDisplayPoint(x, y, line, static_cast<std::size_t>(n) + 1, source);
        model.addPoint(x, y, common::FieldOf(line, 2) == kNodeWord, source, n);
    }
    model.finish();
    return model;
}

OutlineModel OutlineModel::fromLines(const common::Lines& lines, std::string_view source) {
    return fromRange(lines, lines.size(), source);
}

OutlineModel OutlineModel::load(const common::AppDir& dir) {
    // Parsed straight from the file's text, without a string per line.
    const std::string text = common::ReadText(dir.file(kDisplayFile));
    const common::LineViews lines(text);
    return fromRange(lines, lines.sizeHint(), kDisplayFile);
}

void OutlineModel::addOutline(std::int16_t number) {
    if (!m_outlines.empty() && m_outlines.back().pointCount() <= 0) {
        // A header without points gives nothing to show or select.
        m_outlines.back().number = number;
    } else {
        OutlineRange range;
        range.number = number;
        range.firstPoint = static_cast<std::int32_t>(m_points.size());
        range.lastPoint = range.firstPoint - 1;
        range.firstNode = static_cast<std::int32_t>(m_nodes.size());
        range.lastNode = range.firstNode - 1;
        m_outlines.push_back(range);
    }
    m_nextOrdinal = 1;
    m_position = 0;
}

void OutlineModel::addPoint(double x, double y, bool isNode, std::string_view source,
                            std::int32_t line) {
    if (m_points.size() >= kMaxPoints) {
        throwTooMany(source, "点", "points", kMaxPoints);
    }
    OutlineRange& range = m_outlines.back();
    OutlinePoint p;
    p.x = x;
    p.y = y;
    p.outline = range.number;
    p.range = static_cast<std::int32_t>(m_outlines.size() - 1);
    p.line = line;
    p.firstFlag = range.pointCount() == 0 ? 1 : 0;
    const auto index = static_cast<std::int32_t>(m_points.size());
    if (isNode) {
        if (m_nodes.size() > kMaxNodes) {
            throwTooMany(source, "节点", "nodes", kMaxNodes);
        }
        OutlineNode node{x, y, range.number, m_nextOrdinal, index, p.range};
        p.node = static_cast<std::int32_t>(m_nodes.size());
        p.nodeOrdinal = m_nextOrdinal;
        m_nodes.push_back(node);
        range.lastNode = p.node;
        ++m_nextOrdinal;
        m_position = 0;
    } else {
        p.nodeOrdinal = static_cast<std::int16_t>(m_nextOrdinal - 1);
        p.position = ++m_position;
    }
    m_points.push_back(p);
    range.lastPoint = index;
    m_box.add(x, y);
}

void OutlineModel::finish() {
    if (!m_outlines.empty() && m_outlines.back().pointCount() <= 0) {
        m_outlines.pop_back();
    }
    for (auto& range : m_outlines) {
        range.orientation = computeOrientation(range);
    }
}

std::int16_t OutlineModel::computeOrientation(const OutlineRange& range) const {
    double sum = 0.0;
    // The turn at each point is the direction of the segment arriving at
    // it minus that of the segment leaving it (as TurnAngle); each
    // segment's direction is measured once and used at both its ends.
    double in = SegmentAngle(point(range.lastPoint).xy(), point(range.firstPoint).xy());
    for (std::int32_t i = range.firstPoint; i <= range.lastPoint; ++i) {
        const double out = SegmentAngle(point(i).xy(), point(nextInOutline(i)).xy());
        sum += WrapAngle(in - out);
        in = out;
    }
    return sum >= 0.0 ? 1 : -1;
}

std::int32_t OutlineModel::nextInOutline(std::int32_t i) const {
    const OutlineRange& r = rangeOfPoint(i);
    return i >= r.lastPoint ? r.firstPoint : i + 1;
}

std::int32_t OutlineModel::previousInOutline(std::int32_t i) const {
    const OutlineRange& r = rangeOfPoint(i);
    return i <= r.firstPoint ? r.lastPoint : i - 1;
}

std::int32_t OutlineModel::nodeByOrdinal(std::size_t range, std::int32_t ordinal) const {
    if (range >= m_outlines.size()) {
        return 0;
    }
    const OutlineRange& r = m_outlines[range];
    if (ordinal < 1 || ordinal > r.nodeCount()) {
        return 0;
    }
    return r.firstNode + ordinal - 1;
}

std::vector<std::int32_t> OutlineModel::pieceWalk(std::int32_t from, std::int32_t to,
                                                  bool increasing) const {
    std::vector<std::int32_t> walk;
    if (point(from).range != point(to).range) {
        return walk;
    }
    std::int32_t i = from;
    do {
        walk.push_back(i);
        i = increasing ? nextInOutline(i) : previousInOutline(i);
    } while (i != to);
    walk.push_back(to);
    return walk;
}

ViewRect OutlineModel::fittedView() const {
    ViewRect view;
    if (m_box.empty) {
        return view;
    }
    view.cx = (m_box.minX + m_box.maxX) / 2.0;
    view.cy = (m_box.minY + m_box.maxY) / 2.0;
    const double width = m_box.width();
    const double height = m_box.height();
    view.w = height >= 0.7 * width ? 1.2 * height / 0.7 : 1.2 * width;
    view.w = std::max(view.w, kMinimumViewWidth);
    return view;
}

} // namespace korvel::geometry
