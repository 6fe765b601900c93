#include "geometry/SvgReader.h"

#include "common/Fields.h"
#include "common/Message.h"
#include "geometry/SvgShapes.h"
#include "geometry/SvgTransform.h"
#include "geometry/SvgUnits.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <pugixml.hpp>
#include <string>

namespace korvel::geometry {

namespace {

// Ends of an outline closer than this (mm) meet: the outline is closed.
constexpr double kCloseGap = 0.05;

// Parts of a drawing that are drawn only where something refers to them,
// or never: their content is no outline of its own.
constexpr std::array<std::string_view, 12> kNotDrawn{
    "defs",     "symbol",         "clipPath",       "mask",   "pattern", "marker",
    "metadata", "linearGradient", "radialGradient", "filter", "style",   "foreignObject"};

// Elements that hold shapes the machine cannot bend as they stand.
constexpr std::array<std::string_view, 3> kCounted{"text", "use", "image"};

constexpr std::array<std::string_view, 4> kContainers{"svg", "g", "a", "switch"};

template <std::size_t N>
bool among(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The element's local name; elements of other vocabularies (an editor's
// own "sodipodi:namedview") give an empty name.
std::string_view localName(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos) {
        return name;
    }
    return name.substr(0, colon) == "svg" ? name.substr(colon + 1) : std::string_view{};
}

std::size_t lineAt(std::string_view text, std::ptrdiff_t offset) {
    if (offset < 0) {
        return 0;
    }
    const auto end = text.begin() + std::min<std::ptrdiff_t>(offset, std::ssize(text));
    return static_cast<std::size_t>(std::count(text.begin(), end, '\n')) + 1;
}

// True for display="none", as attribute or inside the style attribute.
bool hidden(const pugi::xml_node& node) {
    if (common::Trim(node.attribute("display").value()) == "none") {
        return true;
    }
    std::string style = node.attribute("style").value();
    style.erase(
        std::remove_if(style.begin(), style.end(), [](char ch) { return ch == ' ' || ch == '\t'; }),
        style.end());
    const std::size_t at = style.find("display:none");
    return at != std::string::npos && (at == 0 || style[at - 1] == ';');
}

class SvgWalker {
public:
    SvgWalker(std::string_view text, std::string_view source) : m_text(text), m_source(source) {}

    SvgDrawing read() {
        pugi::xml_document doc;
        const pugi::xml_parse_result parsed =
            doc.load_buffer(m_text.data(), m_text.size(), pugi::parse_default);
        if (!parsed) {
            notXml(parsed);
        }
        const pugi::xml_node root = doc.document_element();
        if (localName(root) != "svg") {
            fail("文件不是 SVG 图形（根元素为 <" + std::string(root.name()) + ">）",
                 "The file is not an SVG drawing (its root element is <" +
                     std::string(root.name()) + ">)");
        }
        walk(root);
        if (m_drawing.contours.empty()) {
            noShape();
        }
        return std::move(m_drawing);
    }

private:
    struct Frame {
        pugi::xml_node node;
        Affine map;             // drawing units of the parent -> mm, y up
        SvgPercentBase percent; // viewport the parent's percentages refer to
        int depth = 0;
    };

    // Depth first in document order without recursion: a deeply nested
    // file cannot exhaust the stack.
    void walk(const pugi::xml_node& root) {
        std::vector<Frame> stack;
        stack.push_back({root, Affine{}, {}, 0});
        while (!stack.empty()) {
            const Frame frame = stack.back();
            stack.pop_back();
            const std::string_view name = localName(frame.node);
            if (frame.node.type() != pugi::node_element || name.empty() || hidden(frame.node) ||
                among(kNotDrawn, name)) {
                continue;
            }
            if (among(kCounted, name)) {
                CountSkipped(m_drawing.skipped, name);
                continue;
            }
            const bool container = among(kContainers, name);
            if (!container && !IsSvgShape(name)) {
                continue; // title, desc and anything else that draws nothing
            }
            if (frame.depth > kMaxSvgNesting) {
                tooDeep(frame.node);
            }
            Affine map = frame.map * transformOf(frame.node);
            SvgPercentBase percent = frame.percent;
            if (name == "svg") {
                map = map * viewport(frame.node, frame.depth == 0, percent);
            }
            if (!container) {
                shape(frame.node, name, map, percent);
                continue;
            }
            for (pugi::xml_node child = frame.node.last_child(); child;
                 child = child.previous_sibling()) {
                stack.push_back({child, map, percent, frame.depth + 1});
            }
        }
    }

    // The map of an <svg> element's viewport. The outermost one also scales
    // px to mm and turns the page upright; inner ones sit at their x, y.
    Affine viewport(const pugi::xml_node& node, bool outermost, SvgPercentBase& percent) {
        SvgViewport vp;
        vp.width = sizeOf(node, "width", percent.width);
        vp.height = sizeOf(node, "height", percent.height);
        vp.preserveAspectRatio = node.attribute("preserveAspectRatio").value();
        if (const pugi::xml_attribute box = node.attribute("viewBox")) {
            vp.viewBox = ParseSvgViewBox(box.value());
            if (!vp.viewBox || !(vp.viewBox->width > 0.0) || !(vp.viewBox->height > 0.0)) {
                badValue(node, {"viewBox", box.value(), std::nullopt});
            }
        }
        const auto map = SvgViewportMap(vp);
        if (!map) {
            badValue(node, {"preserveAspectRatio", std::string(vp.preserveAspectRatio), {}});
        }
        if (vp.viewBox) {
            percent = {vp.viewBox->width, vp.viewBox->height};
        } else if (vp.width && vp.height) {
            percent = {*vp.width, *vp.height};
        }
        if (!outermost) {
            const Attributes at{node, percent};
            return Affine::translate(at.x(), at.y()) * *map;
        }
        // Without any size the page height is unknown: y is only turned over.
        const double height = SvgViewportHeight(vp).value_or(0.0);
        return Affine{kMmPerPx, 0.0, 0.0, -kMmPerPx, 0.0, height * kMmPerPx} * *map;
    }

    struct Attributes {
        const pugi::xml_node& node;
        const SvgPercentBase& percent;
        double x() const {
            return SvgLengthInPx(node.attribute("x").value(), percent.width).value_or(0.0);
        }
        double y() const {
            return SvgLengthInPx(node.attribute("y").value(), percent.height).value_or(0.0);
        }
    };

    // A width or height of the viewport in px; nothing when absent.
    std::optional<double> sizeOf(const pugi::xml_node& node, const char* name, double percentOf) {
        const pugi::xml_attribute attr = node.attribute(name);
        if (!attr) {
            return std::nullopt;
        }
        const std::string_view text = common::Trim(attr.value());
        // A percentage of a window has no size on the machine.
        if (!text.empty() && text.back() == '%' && percentOf <= 0.0) {
            return std::nullopt;
        }
        const auto value = SvgLengthInPx(text, percentOf);
        if (!value || !(*value > 0.0)) {
            badValue(node, {name, attr.value(), std::nullopt});
        }
        return value;
    }

    Affine transformOf(const pugi::xml_node& node) {
        const pugi::xml_attribute attr = node.attribute("transform");
        if (!attr) {
            return {};
        }
        const auto m = ParseSvgTransform(attr.value());
        if (!m) {
            badValue(node, {"transform", attr.value(), std::nullopt});
        }
        return *m;
    }

    void shape(const pugi::xml_node& node, std::string_view name, const Affine& map,
               const SvgPercentBase& percent) {
        SvgShape shape;
        try {
            shape = SvgShapeOf(node, name, percent);
        } catch (const BadSvgValue& bad) {
            badValue(node, bad);
        }
        if (shape.contours.empty()) {
            return;
        }
        if (!map.finite() || map.collapses()) {
            collapsed(node);
        }
        m_drawing.zeroRadiusArcs += shape.zeroRadiusArcs;
        for (Contour& contour : shape.contours) {
            for (ContourPiece& piece : contour.pieces) {
                piece = Transformed(piece, map);
                checkPiece(piece, node);
            }
            if (!contour.closed &&
                Distance(contour.pieces.front().start, contour.pieces.back().end) <= kCloseGap) {
                contour.closed = true;
            }
            m_drawing.contours.push_back(std::move(contour));
        }
    }

    // Coordinates beyond the machine's range (or not finite) are refused
    // with the line of the element; the line is counted only then.
    void checkPiece(const ContourPiece& p, const pugi::xml_node& node) const {
        const std::array<double, 12> values{p.start.x,  p.start.y,  p.end.x, p.end.y,
                                            p.c1.x,     p.c1.y,     p.c2.x,  p.c2.y,
                                            p.centre.x, p.centre.y, p.rx,    p.ry};
        for (const double v : values) {
            if (!(std::fabs(v) <= kMaxDrawingCoordinate)) {
                CheckDrawingCoordinate(v, m_source, lineAt(m_text, node.offset_debug()));
            }
        }
    }

    std::string where(const pugi::xml_node& node) const {
        std::string text = "<" + std::string(node.name());
        if (const pugi::xml_attribute id = node.attribute("id")) {
            text += " id=\"" + std::string(id.value()) + "\"";
        }
        return text + ">";
    }

    std::string lineOf(const pugi::xml_node& node) const {
        return std::to_string(lineAt(m_text, node.offset_debug()));
    }

    [[noreturn]] void fail(const std::string& zh, const std::string& en) const {
        const std::string source(m_source);
        throw common::UserError(common::error(zh + "：" + source, en + ": " + source));
    }

    [[noreturn]] void notXml(const pugi::xml_parse_result& parsed) const {
        const std::string line = std::to_string(lineAt(m_text, parsed.offset));
        const std::string offset = std::to_string(parsed.offset);
        const std::string why = parsed.description();
        fail("文件不是有效的 SVG/XML（第 " + line + " 行，第 " + offset + " 字节：" + why + "）",
             "The file is not valid SVG/XML (line " + line + ", byte " + offset + ": " + why + ")");
    }

    [[noreturn]] void badValue(const pugi::xml_node& node, const BadSvgValue& bad) const {
        std::string value = bad.value.size() > 60 ? bad.value.substr(0, 60) + "…" : bad.value;
        std::string atZh;
        std::string atEn;
        if (bad.at) {
            atZh = "第 " + std::to_string(*bad.at + 1) + " 个字符处";
            atEn = " at character " + std::to_string(*bad.at + 1);
        }
        fail("第 " + lineOf(node) + " 行 " + where(node) + " 的 " + bad.attribute + " 值" + atZh +
                 "无法读取：\"" + value + "\"",
             "Unreadable " + bad.attribute + " value" + atEn + " of " + where(node) + " on line " +
                 lineOf(node) + ": \"" + value + "\"");
    }

    [[noreturn]] void collapsed(const pugi::xml_node& node) const {
        fail("第 " + lineOf(node) + " 行 " + where(node) +
                 " 的变换把图形压成一条线（行列式约为 0）",
             "The transform of " + where(node) + " on line " + lineOf(node) +
                 " squeezes the drawing onto a line (determinant about 0)");
    }

    [[noreturn]] void tooDeep(const pugi::xml_node& node) const {
        const std::string limit = std::to_string(kMaxSvgNesting);
        fail("第 " + lineOf(node) + " 行的分组嵌套超过 " + limit + " 层",
             "Groups are nested more than " + limit + " levels deep on line " + lineOf(node));
    }

    [[noreturn]] void noShape() const {
        std::string list;
        for (const auto& entry : m_drawing.skipped) {
            list += (list.empty() ? "" : ", ") + std::to_string(entry.count) + " " + entry.kind;
        }
        std::string zh =
            "图形中没有可加工的形状（path、rect、circle、ellipse、line、polyline、polygon）";
        std::string en = "The drawing holds no shape to bend (path, rect, circle, ellipse, line, "
                         "polyline, polygon)";
        if (!list.empty()) {
            zh += "，只有 " + list + "；请在设计软件中把文字和克隆转为路径，或用文字命令输入";
            en += ", only " + list +
                  "; convert text and clones to paths in the design program, or type the "
                  "word with the text command";
        }
        fail(zh, en);
    }

    std::string_view m_text;
    std::string_view m_source;
    SvgDrawing m_drawing;
};

} // namespace

SvgDrawing ParseSvg(std::string_view text, std::string_view source) {
    return SvgWalker(text, source).read();
}

DisplayDrawing ReadSvg(std::string_view text, const ContourTolerances& tolerances,
                       std::string_view source) {
    const SvgDrawing svg = ParseSvg(text, source);
    DrawingBuilder builder("0.000000", source);
    int open = 0;
    for (const Contour& contour : svg.contours) {
        AddContour(builder, contour, tolerances);
        open += contour.closed ? 0 : 1;
    }
    DisplayDrawing display = builder.finish();
    display.openOutlines = open;
    display.skipped = svg.skipped;
    display.straightenedArcs = svg.zeroRadiusArcs;
    return display;
}

} // namespace korvel::geometry
