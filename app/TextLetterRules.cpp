#include "app/TextLetterRules.h"

#include "common/Fields.h"
#include "machine/ParameterTable.h"

#include <algorithm>
#include <cmath>

namespace korvel::app {

namespace {

// Points per curved piece in the preview: smooth at dialog size, cheap
// enough to redraw on every key.
constexpr int kPreviewCurveSteps = 12;

double numberOf(const std::string& typed, double empty, const common::Message& problem) {
    const std::string_view text = common::Trim(typed);
    if (text.empty() && !std::isnan(empty)) {
        return empty;
    }
    const auto value = machine::ParseNumber(text);
    if (!value) {
        throw common::UserError(problem);
    }
    return *value;
}

std::vector<geometry::Point2> polyline(const geometry::Contour& contour) {
    std::vector<geometry::Point2> points;
    for (const auto& piece : contour.pieces) {
        if (points.empty()) {
            points.push_back(piece.start);
        }
        const int steps = piece.kind == geometry::ContourPiece::Kind::Line ? 1 : kPreviewCurveSteps;
        for (int i = 1; i <= steps; ++i) {
            points.push_back(piece.at(static_cast<double>(i) / steps));
        }
    }
    return points;
}

} // namespace

std::size_t PreferredFamily(const std::vector<geometry::FontFamily>& families) {
    for (const char* wanted : {kDefaultTextFamily, "DejaVu Sans"}) {
        const auto it = std::find_if(families.begin(), families.end(),
                                     [&](const auto& family) { return family.name == wanted; });
        if (it != families.end()) {
            return static_cast<std::size_t>(it - families.begin());
        }
    }
    return 0;
}

geometry::TextRequest TextRequestOf(const TextFields& fields) {
    geometry::TextRequest request;
    request.text = fields.text;
    request.font = fields.style.empty() ? fields.family : fields.family + ":" + fields.style;
    request.heightMm = numberOf(
        fields.height, NAN,
        common::error("字高需要一个 1 到 5000 毫米之间的数值：" + fields.height,
                      "The letter height needs a number from 1 to 5000 mm: " + fields.height));
    request.spacingMm =
        numberOf(fields.spacing, 0.0,
                 common::error("字距需要一个 -1000 到 1000 毫米之间的数值：" + fields.spacing,
                               "The letter spacing needs a number from -1000 to 1000 mm: " +
                                   fields.spacing));
    return request;
}

TextPreview PreviewText(const TextFields& fields) {
    TextPreview preview;
    try {
        const auto letters = geometry::MakeTextLetters(TextRequestOf(fields));
        for (const auto& contour : letters.contours) {
            preview.outlines.push_back(polyline(contour));
        }
    } catch (const common::UserError& e) {
        preview.problem = e.message();
        return preview;
    }
    if (preview.outlines.empty()) {
        preview.problem = common::error("文字中没有可做成字形的笔画",
                                        "The text has no strokes to make letters of");
        return preview;
    }
    preview.low = preview.high = preview.outlines.front().front();
    for (const auto& outline : preview.outlines) {
        for (const auto& p : outline) {
            preview.low = {std::min(preview.low.x, p.x), std::min(preview.low.y, p.y)};
            preview.high = {std::max(preview.high.x, p.x), std::max(preview.high.y, p.y)};
        }
    }
    return preview;
}

const CaptionTable& TextDialogCaptions() {
    static const CaptionTable table = {
        {142, std::string(kTitleKey), "文字"},
        {143, "TextLabel_Text", "文字："},
        {144, "TextLabel_Font", "字体："},
        {145, "TextLabel_Style", "样式："},
        {146, "TextLabel_Height", "字高(mm)："},
        {147, "TextLabel_Spacing", "字距(mm)："},
        {148, "TextOk", "确定"},
        {149, "TextCancel", "取消"},
    };
    return table;
}

} // namespace korvel::app
