#include "geometry/DxfEntities.h"

#include "common/Fields.h"
#include "common/Message.h"
#include "common/TextFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace korvel::geometry {

namespace {

// ---- messages -------------------------------------------------------------

std::string num(std::size_t value) {
    return std::to_string(value);
}

[[noreturn]] void fail(const std::string& zh, const std::string& en) {
    throw common::UserError(common::error(zh, en));
}

// A value shown in a message: a damaged file may hold a long line of noise.
std::string shown(std::string_view text) {
    constexpr std::size_t kShown = 40;
    return text.size() <= kShown ? std::string(text) : std::string(text.substr(0, kShown)) + "...";
}

[[noreturn]] void failBinary(std::string_view source) {
    const std::string s(source);
    fail("这是二进制 DXF 文件，请在绘图软件中另存为文本（ASCII）DXF：" + s,
         "This is a binary DXF file; save it as a text (ASCII) DXF in the drawing program: " + s);
}

[[noreturn]] void failNoGroupCode(std::string_view source, std::size_t line,
                                  std::string_view text) {
    const std::string s(source);
    const std::string t = shown(text);
    fail("DXF 文件第 " + num(line) + " 行应为组码，实为“" + t + "”，文件已损坏：" + s,
         "Line " + num(line) + " of the DXF file should be a group code but reads \"" + t +
             "\"; the file is damaged: " + s);
}

[[noreturn]] void failBadNumber(std::string_view source, std::size_t line, std::string_view text) {
    const std::string s(source);
    const std::string t = shown(text);
    fail("DXF 文件第 " + num(line) + " 行的数值无效：“" + t + "”：" + s,
         "Line " + num(line) + " of the DXF file holds no usable number: \"" + t + "\": " + s);
}

[[noreturn]] void failIncomplete(std::string_view source) {
    const std::string s(source);
    fail("DXF 文件在图元段（ENTITIES）中间结束，文件不完整：" + s,
         "The DXF file ends inside its ENTITIES section; the file is incomplete: " + s);
}

[[noreturn]] void failTooFewVertices(std::string_view source, std::string_view entity,
                                     std::size_t line, std::size_t vertices) {
    const std::string s(source);
    const std::string e(entity);
    fail("第 " + num(line) + " 行的 " + e + " 只有 " + num(vertices) +
             " 个顶点，多段线至少需要 2 个顶点：" + s,
         "The " + e + " at line " + num(line) + " has " + num(vertices) +
             (vertices == 1 ? " vertex" : " vertices") + "; a polyline needs at least 2: " + s);
}

[[noreturn]] void failBadBulge(std::string_view source, std::size_t line, std::string_view text) {
    const std::string s(source);
    const std::string t = shown(text);
    const std::string limit = num(static_cast<std::size_t>(kMaxBulge));
    fail("第 " + num(line) + " 行的凸度 " + t + " 超出范围（绝对值最大 " + limit + "）：" + s,
         "The bulge " + t + " at line " + num(line) + " is out of range (at most " + limit +
             " either way): " + s);
}

[[noreturn]] void failBadRadius(std::string_view source, std::string_view entity, std::size_t line,
                                std::string_view text) {
    const std::string s(source);
    const std::string e(entity);
    const std::string t = shown(text);
    fail("第 " + num(line) + " 行的 " + e + " 半径为 " + t + "，半径必须大于 0：" + s,
         "The " + e + " at line " + num(line) + " has radius " + t +
             "; a radius must be greater than 0: " + s);
}

[[noreturn]] void failBadEllipse(std::string_view source, std::size_t line) {
    const std::string s(source);
    fail("第 " + num(line) + " 行的 ELLIPSE 长轴长度为 0 或短长轴之比不在 0 至 1 之间：" + s,
         "The ELLIPSE at line " + num(line) +
             " has a major axis of length 0 or an axis ratio outside 0 to 1: " + s);
}

// ---- group code and value pairs ----------------------------------------------

struct Pair {
    int code = 0;
    std::string_view value;
    std::size_t line = 0; // line number of the value
};

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
        line.remove_suffix(1);
    }
    return common::Trim(line);
}

class PairReader {
public:
    PairReader(std::string_view text, std::string_view source) : m_text(text), m_source(source) {}

    bool next(Pair& pair) {
        std::string_view codeText;
        if (!nextLine(codeText)) {
            return false;
        }
        const std::size_t codeLine = m_line;
        int code = 0;
        const auto [end, ec] =
            std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
        if (codeText.empty() || ec != std::errc() || end != codeText.data() + codeText.size()) {
            if (codeText.empty() && atEnd()) {
                return false; // blank lines after the last pair
            }
            failNoGroupCode(m_source, codeLine, codeText);
        }
        std::string_view value;
        if (!nextLine(value)) {
            return false; // a code without its value: the file was cut off
        }
        pair = {code, value, m_line};
        return true;
    }

private:
    bool atEnd() const { return common::Trim(trimmed(m_text.substr(m_pos))).empty(); }

    bool nextLine(std::string_view& line) {
        if (m_pos >= m_text.size()) {
            return false;
        }
        // CR LF, a lone CR or a lone LF ends a line, as drawings from old
        // Macintosh programs end their lines with CR alone.
        const std::size_t end = std::min(m_text.find_first_of("\r\n", m_pos), m_text.size());
        line = trimmed(m_text.substr(m_pos, end - m_pos));
        m_pos = end + 1;
        if (end < m_text.size() && m_text[end] == '\r' && m_pos < m_text.size() &&
            m_text[m_pos] == '\n') {
            ++m_pos;
        }
        ++m_line;
        return true;
    }

    std::string_view m_text;
    std::string_view m_source;
    std::size_t m_pos = 0;
    std::size_t m_line = 0;
};

// ---- entities ----------------------------------------------------------------

struct Vertex {
    Point2 p;
    double bulge = 0.0;
};

// Entities whose coordinates lie in their own plane (ARC, CIRCLE and the
// polylines): with the extrusion along -Z that plane's x axis points along
// -X, so x is mirrored and arcs turn the other way.
struct Plane {
    bool flat = true;      // the extrusion is along Z: a drawing in the plane
    bool mirrored = false; // along -Z
};

class EntityReader {
public:
    explicit EntityReader(std::string_view source) : m_source(source) {}

    void read(std::string_view text) {
        if (text.starts_with("AutoCAD Binary DXF")) {
            failBinary(m_source);
        }
        PairReader pairs(text, m_source);
        Pair pair;
        while (pairs.next(pair)) {
            if (pair.code == 0) {
                finishEntity();
                startEntity(pair);
            } else {
                m_groups.push_back(pair);
            }
        }
        finishEntity();
        if (m_section == "ENTITIES") {
            failIncomplete(m_source);
        }
    }

    DxfEntities take() { return std::move(m_out); }

private:
    void startEntity(const Pair& pair) {
        m_name = common::ToUpper(pair.value);
        m_line = pair.line;
        m_groups.clear();
        if (m_polyline && m_name != "VERTEX" && m_name != "SEQEND") {
            finishPolyline(); // a POLYLINE without its SEQEND ends here
        }
        // Some writers end the file without closing its last section.
        if (m_name == "ENDSEC" || m_name == "EOF") {
            m_section.clear();
        }
    }

    void finishEntity() {
        if (m_name == "SECTION") {
            for (const auto& g : m_groups) {
                if (g.code == 2) {
                    m_section = common::ToUpper(g.value);
                }
            }
        } else if (m_name == "SPLINE") {
            // Splines are read wherever they are, as the spline reader reads them.
            m_out.splineOrder.push_back(m_order++);
        } else if (m_section == "ENTITIES") {
            finishDrawnEntity();
        }
        m_name.clear();
        m_groups.clear();
    }

    void finishDrawnEntity() {
        if (m_name == "LINE") {
            readLine();
        } else if (m_name == "ARC" || m_name == "CIRCLE") {
            readArc(m_name == "CIRCLE");
        } else if (m_name == "ELLIPSE") {
            readEllipse();
        } else if (m_name == "LWPOLYLINE") {
            readLwPolyline();
        } else if (m_name == "POLYLINE") {
            startPolyline();
        } else if (m_name == "VERTEX") {
            addPolylineVertex();
        } else if (m_name == "SEQEND") {
            if (m_polyline) {
                finishPolyline();
            }
        } else if (m_name != "ATTRIB" && !m_name.empty()) {
            // ATTRIB entities belong to the INSERT before them, counted there.
            CountSkipped(m_out.skipped, m_name);
        }
    }

    // -- values --

    double number(const Pair& g) const {
        const auto v = common::ParseDecimal(g.value);
        if (!v) {
            failBadNumber(m_source, g.line, g.value);
        }
        return *v;
    }

    double coordinate(const Pair& g) const {
        const double v = number(g);
        CheckDrawingCoordinate(v, m_source, g.line);
        return v;
    }

    // Angles, parameters and flags: any number a drawing could mean.
    double bounded(const Pair& g) const {
        const double v = number(g);
        if (std::fabs(v) > kMaxDrawingCoordinate) {
            failBadNumber(m_source, g.line, g.value);
        }
        return v;
    }

    double bulge(const Pair& g) const {
        const auto v = common::ParseDecimal(g.value);
        if (!v || std::fabs(*v) > kMaxBulge) {
            failBadBulge(m_source, g.line, g.value);
        }
        return *v;
    }

    // The entity's first group of the code, if any.
    const Pair* find(int code) const {
        for (const auto& g : m_groups) {
            if (g.code == code) {
                return &g;
            }
        }
        return nullptr;
    }
    double coordinateOr(int code, double fallback) const {
        const Pair* g = find(code);
        return g ? coordinate(*g) : fallback;
    }
    double boundedOr(int code, double fallback) const {
        const Pair* g = find(code);
        return g ? bounded(*g) : fallback;
    }
    // The point of the groups xCode and xCode + 10 (10/20, 11/21).
    Point2 point(int xCode) const {
        return {coordinateOr(xCode, 0.0), coordinateOr(xCode + 10, 0.0)};
    }

    // The extrusion direction (groups 210, 220, 230) of the entity.
    Plane plane() const {
        double e[3] = {0.0, 0.0, 1.0};
        for (const auto& g : m_groups) {
            if (g.code >= 210 && g.code <= 230 && g.code % 10 == 0) {
                e[(g.code - 210) / 10] = bounded(g);
            }
        }
        const double length = std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
        if (length == 0.0) {
            return {};
        }
        // A plane tilted by more than a few hundredths of a degree is a 3-D
        // drawing, which no strip follows.
        constexpr double kFlat = 1.0 - 1e-6;
        return {std::fabs(e[2]) / length >= kFlat, e[2] < 0.0};
    }

    // -- output --

    void emit(Contour contour) {
        const std::size_t order = m_order++;
        if (!contour.pieces.empty()) {
            m_out.pieces.push_back({std::move(contour), order});
        }
    }

    void skipTilted() { CountSkipped(m_out.skipped, m_name); }

    // -- LINE, ARC, CIRCLE, ELLIPSE --

    void readLine() {
        const Point2 a = point(10);
        const Point2 b = point(11);
        Contour c;
        if (Distance(a, b) >= kZeroLength) {
            c.pieces.push_back(ContourPiece::line(a, b));
        }
        emit(std::move(c));
    }

    void readArc(bool circle) {
        Point2 centre = point(10);
        const Pair* radiusGroup = find(40);
        const double radius = radiusGroup ? coordinate(*radiusGroup) : 0.0;
        const double startDeg = boundedOr(50, 0.0);
        const double endDeg = boundedOr(51, 360.0);
        if (!(radius > 0.0)) {
            failBadRadius(m_source, m_name, radiusGroup ? radiusGroup->line : m_line,
                          radiusGroup ? radiusGroup->value : std::string_view("0"));
        }
        const Plane p = plane();
        if (!p.flat) {
            skipTilted();
            return;
        }
        double theta = 0.0;
        double sweep = 2.0 * kPi;
        if (!circle) {
            // Counter-clockwise from the start angle to the end angle; equal
            // angles make a full turn.
            double degrees = std::fmod(endDeg - startDeg, 360.0);
            if (degrees <= 0.0) {
                degrees += 360.0;
            }
            theta = startDeg * kPi / 180.0;
            sweep = degrees * kPi / 180.0;
        }
        if (p.mirrored) {
            centre.x = -centre.x;
            theta = kPi - theta;
            sweep = -sweep;
        }
        Contour c;
        c.pieces.push_back(ContourPiece::arc(centre, radius, radius, 0.0, theta, sweep));
        c.closed = circle;
        emit(std::move(c));
    }

    void readEllipse() {
        const Point2 centre = point(10);
        const Point2 major = point(11);
        const double ratio = boundedOr(40, 1.0);
        const double start = boundedOr(41, 0.0);
        const double end = boundedOr(42, 2.0 * kPi);
        const double rx = std::hypot(major.x, major.y);
        // Writers round the ratio of a circle drawn as an ellipse to just above 1.
        if (rx < kZeroLength || !(ratio > 0.0) || ratio > 1.0 + 1e-6) {
            failBadEllipse(m_source, m_line);
        }
        const Plane p = plane();
        if (!p.flat) {
            skipTilted();
            return;
        }
        double sweep = std::fmod(end - start, 2.0 * kPi);
        if (sweep <= 1e-12) {
            sweep += 2.0 * kPi;
        }
        const bool full = std::fabs(sweep - 2.0 * kPi) < 1e-9;
        // Centre and axis are drawing coordinates; the minor axis lies a
        // quarter turn counter-clockwise of the major one seen from the
        // extrusion side, so from -Z the parameter runs the other way.
        const double theta = p.mirrored ? -start : start;
        Contour c;
        c.pieces.push_back(ContourPiece::arc(centre, rx, rx * ratio, std::atan2(major.y, major.x),
                                             theta, p.mirrored ? -sweep : sweep));
        c.closed = full;
        emit(std::move(c));
    }

    // -- polylines --

    static bool flag(double flags, int bit) { return (static_cast<long long>(flags) & bit) != 0; }

    void readLwPolyline() {
        std::vector<Vertex> vertices;
        double flags = 0.0;
        for (const auto& g : m_groups) {
            switch (g.code) {
            case 70:
                flags = bounded(g);
                break;
            case 10:
                vertices.push_back({{coordinate(g), 0.0}, 0.0});
                break;
            case 20:
                if (!vertices.empty()) {
                    vertices.back().p.y = coordinate(g);
                }
                break;
            case 42:
                if (!vertices.empty()) {
                    vertices.back().bulge = bulge(g);
                }
                break;
            default:
                break;
            }
        }
        const Plane p = plane();
        emitPolyline(vertices, flag(flags, 1), p, m_line);
    }

    void startPolyline() {
        const double flags = boundedOr(70, 0.0);
        m_polyline = PolylineState{};
        m_polyline->line = m_line;
        m_polyline->closed = flag(flags, 1);
        // A 3-D polyline lies in drawing coordinates and has no bulges; the
        // two meshes are surfaces, not outlines.
        m_polyline->mesh = flag(flags, 16) || flag(flags, 64);
        m_polyline->plane = flag(flags, 8) ? Plane{} : plane();
    }

    void addPolylineVertex() {
        if (!m_polyline) {
            return;
        }
        const Pair* bulgeGroup = find(42);
        const Vertex v{point(10), bulgeGroup ? bulge(*bulgeGroup) : 0.0};
        // The frame of a spline-fit polyline steers the fit; the fitted
        // vertices are the outline.
        if (!flag(boundedOr(70, 0.0), 16)) {
            m_polyline->vertices.push_back(v);
        }
    }

    void finishPolyline() {
        PolylineState pl = std::move(*m_polyline);
        m_polyline.reset();
        const std::string name = "POLYLINE";
        if (pl.mesh) {
            CountSkipped(m_out.skipped, name);
            ++m_order;
            return;
        }
        emitPolyline(pl.vertices, pl.closed, pl.plane, pl.line, name);
    }

    void emitPolyline(std::vector<Vertex>& vertices, bool closed, Plane p, std::size_t line,
                      std::string_view name = "LWPOLYLINE") {
        if (vertices.size() < 2) {
            failTooFewVertices(m_source, name, line, vertices.size());
        }
        if (!p.flat) {
            CountSkipped(m_out.skipped, name);
            ++m_order;
            return;
        }
        if (p.mirrored) {
            for (auto& v : vertices) {
                v.p.x = -v.p.x;
                v.bulge = -v.bulge;
            }
        }
        Contour c;
        const std::size_t n = vertices.size();
        for (std::size_t i = 0; i < (closed ? n : n - 1); ++i) {
            const Vertex& from = vertices[i];
            const Point2 to = vertices[(i + 1) % n].p;
            if (Distance(from.p, to) >= kZeroLength) {
                c.pieces.push_back(ContourPiece::bulge(from.p, to, from.bulge));
            }
        }
        c.closed = closed;
        emit(std::move(c));
    }

    struct PolylineState {
        std::size_t line = 0;
        bool closed = false;
        bool mesh = false;
        Plane plane;
        std::vector<Vertex> vertices;
    };

    std::string_view m_source;
    DxfEntities m_out;
    std::string m_section;
    std::string m_name;
    std::size_t m_line = 0;
    std::vector<Pair> m_groups;
    std::optional<PolylineState> m_polyline;
    std::size_t m_order = 0;
};

} // namespace

DxfEntities ReadDxfEntities(std::string_view text, std::string_view source) {
    EntityReader reader(source);
    reader.read(text);
    return reader.take();
}

bool HasSplineLine(std::string_view text) {
    for (const std::string_view line : common::LineViews(text)) {
        const std::string_view word = common::Trim(line);
        if (word.size() == 6 && common::ToUpper(word) == "SPLINE") {
            return true;
        }
    }
    return false;
}

} // namespace korvel::geometry
