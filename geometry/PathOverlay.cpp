#include "geometry/PathOverlay.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "common/TextFile.h"
#include "geometry/OutlineFiles.h"

namespace korvel::geometry {

namespace {

template <typename LineRange> std::vector<Segment> segmentsOf(const LineRange& lines) {
    std::vector<Segment> segments;
    Point2 previous;
    for (const auto& line : lines) {
        if (IsSplineLine(line)) {
            previous = {};
            continue;
        }
        if (common::Trim(line).empty()) {
            continue;
        }
        const auto fields = common::SplitFields(line);
        const Point2 p{common::Val(common::FieldAt(fields, 0)),
                       common::Val(common::FieldAt(fields, 1))};
        if (previous.x != 0.0 || previous.y != 0.0) {
            segments.push_back({previous, p});
        }
        previous = p;
    }
    return segments;
}

} // namespace

std::vector<Segment> PathSegments(const common::Lines& lines) {
    return segmentsOf(lines);
}

std::vector<Segment> ReadPathSegments(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        return {};
    }
    const std::string text = common::ReadText(file);
    return segmentsOf(common::SplitLineViews(text));
}

} // namespace korvel::geometry
