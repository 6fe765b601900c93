#include "geometry/SvgUnits.h"

#include "common/Fields.h"
#include "geometry/SvgScanner.h"

#include <array>
#include <string>

namespace korvel::geometry {

namespace {

struct Unit {
    std::string_view name;
    double px;
};

constexpr std::array<Unit, 6> kUnits{{{"px", 1.0},
                                      {"mm", 96.0 / 25.4},
                                      {"cm", 96.0 / 2.54},
                                      {"in", 96.0},
                                      {"pt", 96.0 / 72.0},
                                      {"pc", 16.0}}};

struct Alignment {
    double x = 0.5; // 0 min, 0.5 mid, 1 max
    double y = 0.5;
    bool none = false;
    bool slice = false;
};

std::optional<double> alignFactor(std::string_view word) {
    if (word == "Min") {
        return 0.0;
    }
    if (word == "Mid") {
        return 0.5;
    }
    if (word == "Max") {
        return 1.0;
    }
    return std::nullopt;
}

std::optional<Alignment> parseAlignment(std::string_view text) {
    Alignment result;
    text = common::Trim(text);
    if (text.empty()) {
        return result;
    }
    std::vector<std::string_view> words = common::SplitFields(text);
    if (!words.empty() && words.front() == "defer") {
        words.erase(words.begin());
    }
    if (words.empty()) {
        return result;
    }
    if (words.size() > 2) {
        return std::nullopt;
    }
    if (words.size() == 2) {
        if (words[1] != "meet" && words[1] != "slice") {
            return std::nullopt;
        }
        result.slice = words[1] == "slice";
    }
    const std::string_view align = words[0];
    if (align == "none") {
        result.none = true;
        return result;
    }
    // xMinYMin ... xMaxYMax
    if (align.size() != 8 || align[0] != 'x' || align[4] != 'Y') {
        return std::nullopt;
    }
    const auto ax = alignFactor(align.substr(1, 3));
    const auto ay = alignFactor(align.substr(5, 3));
    if (!ax || !ay) {
        return std::nullopt;
    }
    result.x = *ax;
    result.y = *ay;
    return result;
}

} // namespace

std::optional<double> SvgLengthInPx(std::string_view text, double percentOf) {
    text = common::Trim(text);
    SvgScanner in(text);
    const auto value = in.number();
    if (!value) {
        return std::nullopt;
    }
    const std::string_view unit = common::Trim(text.substr(in.position()));
    if (unit.empty()) {
        return *value;
    }
    if (unit == "%") {
        return *value / 100.0 * percentOf;
    }
    for (const auto& u : kUnits) {
        if (unit == u.name) {
            return *value * u.px;
        }
    }
    return std::nullopt;
}

std::optional<SvgViewBox> ParseSvgViewBox(std::string_view text) {
    SvgScanner in(text);
    std::array<double, 4> v{};
    for (double& n : v) {
        const auto number = in.number();
        if (!number) {
            return std::nullopt;
        }
        n = *number;
    }
    in.skipSeparators();
    if (!in.atEnd()) {
        return std::nullopt;
    }
    return SvgViewBox{v[0], v[1], v[2], v[3]};
}

std::optional<double> SvgViewportHeight(const SvgViewport& vp) {
    if (vp.height) {
        return vp.height;
    }
    if (vp.viewBox && vp.width && vp.viewBox->width > 0.0) {
        return *vp.width * vp.viewBox->height / vp.viewBox->width;
    }
    if (vp.viewBox) {
        return vp.viewBox->height;
    }
    return std::nullopt;
}

std::optional<Affine> SvgViewportMap(const SvgViewport& vp) {
    const auto alignment = parseAlignment(vp.preserveAspectRatio);
    if (!alignment) {
        return std::nullopt;
    }
    if (!vp.viewBox) {
        return Affine{};
    }
    const SvgViewBox& box = *vp.viewBox;
    double width = box.width;
    if (vp.width) {
        width = *vp.width;
    } else if (vp.height && box.height > 0.0) {
        width = *vp.height * box.width / box.height;
    }
    const double height = SvgViewportHeight(vp).value_or(box.height);
    double sx = width / box.width;
    double sy = height / box.height;
    if (!alignment->none) {
        sx = alignment->slice ? std::max(sx, sy) : std::min(sx, sy);
        sy = sx;
    }
    const double tx = (width - box.width * sx) * alignment->x;
    const double ty = (height - box.height * sy) * alignment->y;
    return Affine::translate(tx, ty) * Affine::scale(sx, sy) * Affine::translate(-box.x, -box.y);
}

} // namespace korvel::geometry
