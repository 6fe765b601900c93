#include "geometry/AiReader.h"

#include "common/Fields.h"
#include "common/Message.h"

#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace korvel::geometry {

namespace {

// Illustrator works in PostScript points (1/72 inch).
constexpr double kMmPerPoint = 127.0 / 360.0;
// Bézier curves are stepped in thousandths of their parameter.
constexpr int kCurveSteps = 1000;

struct Pt {
    double x = 0.0;
    double y = 0.0;
};

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Where the path section starts and ends: after the prolog and set-up (the
// prolog defines procedures whose lines may end in the same letters as the
// path operators) and before the trailer.
std::pair<std::size_t, std::size_t> pathSection(const common::Lines& lines) {
    std::size_t begin = 0;
    std::size_t end = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = common::Trim(lines[i]);
        if (startsWith(line, "%%EndProlog") || startsWith(line, "%%EndSetup")) {
            begin = i + 1;
        } else if (begin > 0 &&
                   (startsWith(line, "%%Trailer") || startsWith(line, "%%PageTrailer"))) {
            end = i;
            break;
        }
    }
    return {begin, std::max(begin, end)};
}

double directionOf(Pt from, Pt to) {
    return std::atan2(to.y - from.y, to.x - from.x);
}

bool sameSpot(Pt a, Pt b) {
    return std::fabs(a.x - b.x) < 1e-9 && std::fabs(a.y - b.y) < 1e-9;
}

// Direction of travel leaving p0 towards the first control point that is
// not on top of it.
double startDirection(const std::array<Pt, 4>& c) {
    for (int i = 1; i < 4; ++i) {
        if (!sameSpot(c[0], c[i])) {
            return directionOf(c[0], c[i]);
        }
    }
    return 0.0;
}

// Direction of travel arriving at p3.
double endDirection(const std::array<Pt, 4>& c) {
    for (int i = 2; i >= 0; --i) {
        if (!sameSpot(c[i], c[3])) {
            return directionOf(c[i], c[3]);
        }
    }
    return 0.0;
}

class AiPathReader {
public:
    AiPathReader(const AiReaderOptions& options, std::string_view source)
        : m_builder("###0.0000", source), m_source(source),
          m_threshold(options.slotAngleThreshold * std::numbers::pi / 180.0) {}

    void line(std::string_view text, std::size_t lineNumber) {
        m_lineNumber = lineNumber;
        text = common::Trim(text);
        if (text.empty() || text[0] == '%') {
            return;
        }
        // Illustrator separates operands by single blanks; a stray double
        // blank is tolerated.
        std::vector<std::string_view> fields;
        for (const auto f : common::SplitFields(text)) {
            if (!f.empty()) {
                fields.push_back(f);
            }
        }
        const std::string_view op = fields.back();
        if (op == "m") {
            moveTo(operands(fields, 2));
        } else if (op == "l" || op == "L") {
            const auto v = operands(fields, 2);
            segment({m_current, {v[0], v[1]}, {v[0], v[1]}, {v[0], v[1]}}, false, op == "L");
        } else if (op == "c" || op == "C") {
            const auto v = operands(fields, 6);
            segment({m_current, {v[0], v[1]}, {v[2], v[3]}, {v[4], v[5]}}, true, op == "C");
        } else if (op == "v" || op == "V") {
            // First control point on the current point.
            const auto v = operands(fields, 4);
            segment({m_current, m_current, {v[0], v[1]}, {v[2], v[3]}}, true, op == "V");
        } else if (op == "y" || op == "Y") {
            // Second control point on the end point.
            const auto v = operands(fields, 4);
            segment({m_current, {v[0], v[1]}, {v[2], v[3]}, {v[2], v[3]}}, true, op == "Y");
        } else if (op == "f" || op == "F" || op == "s" || op == "b" || op == "B" || op == "n") {
            // Filled paths enclose an area and are closed by definition; "s",
            // "b" and "n" close the path before painting it.
            endPath(true);
        } else if (op == "S" || op == "N") {
            endPath(false);
        }
    }

    DisplayDrawing finish() {
        endPath(false);
        return m_builder.finish();
    }

private:
    std::vector<double> operands(const std::vector<std::string_view>& fields, std::size_t count) {
        if (fields.size() != count + 1) {
            malformed();
        }
        std::vector<double> values;
        for (std::size_t i = 0; i < count; ++i) {
            const auto v = common::ParseDecimal(fields[i]);
            if (!v) {
                malformed();
            }
            values.push_back(*v);
        }
        return values;
    }

    [[noreturn]] void malformed() const {
        const std::string where = std::to_string(m_lineNumber);
        const std::string name(m_source);
        throw common::UserError(
            common::error("AI文件第 " + where + " 行路径数据有误：" + name,
                          "Malformed path data in line " + where + " of the AI file: " + name));
    }

    void write(Pt p, bool node) {
        const double x = p.x * kMmPerPoint;
        const double y = p.y * kMmPerPoint;
        CheckDrawingCoordinate(x, m_source, m_lineNumber);
        CheckDrawingCoordinate(y, m_source, m_lineNumber);
        m_builder.addPoint(x, y, node);
    }

    void moveTo(const std::vector<double>& v) {
        endPath(false);
        m_current = {v[0], v[1]};
        m_start = m_current;
        m_builder.beginOutline();
        write(m_current, true);
        m_inPath = true;
    }

    // The end point of the previous segment is held back until the
    // direction of the next one is known: a smooth point that still turns
    // sharply is a corner for the machine.
    void flushPending(std::optional<double> nextDirection) {
        if (!m_pending) {
            return;
        }
        bool node = m_pendingCorner;
        if (nextDirection) {
            double turn = std::fabs(*nextDirection - m_pendingDirection);
            if (turn > std::numbers::pi) {
                turn = 2.0 * std::numbers::pi - turn;
            }
            node = node || turn > m_threshold;
        }
        write(*m_pending, node);
        m_pending.reset();
    }

    void segment(const std::array<Pt, 4>& c, bool curve, bool corner) {
        if (!m_inPath) {
            // A segment without a preceding move starts at the current point.
            m_start = m_current;
            m_builder.beginOutline();
            write(m_current, true);
            m_inPath = true;
        }
        const bool degenerate =
            sameSpot(c[0], c[3]) && (!curve || (sameSpot(c[0], c[1]) && sameSpot(c[0], c[2])));
        if (degenerate) {
            return;
        }
        flushPending(startDirection(c));
        if (curve) {
            writeCurveInterior(c);
        }
        m_pending = c[3];
        m_pendingCorner = corner;
        m_pendingDirection = endDirection(c);
        m_current = c[3];
    }

    // B(t) = (1-t)^3 P0 + 3t(1-t)^2 P1 + 3t^2(1-t) P2 + t^3 P3 in single
    // precision, t = 0.001, 0.002, ... 0.999; the end point t = 1 is
    // written exactly as P3 by the caller.
    void writeCurveInterior(const std::array<Pt, 4>& c) {
        m_builder.reserveCheck(kCurveSteps);
        for (int i = 1; i < kCurveSteps; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(kCurveSteps);
            const float u = 1.0f - t;
            const float b0 = u * u * u;
            const float b1 = 3.0f * t * u * u;
            const float b2 = 3.0f * t * t * u;
            const float b3 = t * t * t;
            const float x = b0 * static_cast<float>(c[0].x) + b1 * static_cast<float>(c[1].x) +
                            b2 * static_cast<float>(c[2].x) + b3 * static_cast<float>(c[3].x);
            const float y = b0 * static_cast<float>(c[0].y) + b1 * static_cast<float>(c[1].y) +
                            b2 * static_cast<float>(c[2].y) + b3 * static_cast<float>(c[3].y);
            write({x, y}, false);
        }
    }

    void endPath(bool close) {
        if (!m_inPath) {
            return;
        }
        if (close && !sameSpot(m_current, m_start)) {
            segment({m_current, m_start, m_start, m_start}, false, false);
        }
        flushPending(std::nullopt);
        m_builder.endOutline();
        m_inPath = false;
    }

    DrawingBuilder m_builder;
    std::string_view m_source;
    double m_threshold;
    std::size_t m_lineNumber = 0;
    Pt m_current;
    Pt m_start;
    bool m_inPath = false;
    std::optional<Pt> m_pending;
    bool m_pendingCorner = false;
    double m_pendingDirection = 0.0;
};

} // namespace

DisplayDrawing ReadAi(const common::Lines& lines, const AiReaderOptions& options,
                      std::string_view source) {
    if (!lines.empty() && startsWith(lines.front(), "%PDF")) {
        // Illustrator 9 and later keep the drawing in a compressed PDF body.
        const std::string name(source);
        throw common::UserError(common::error(
            "此AI文件为PDF格式（Illustrator 9 及以后版本），请另存为 Illustrator 8 格式：" + name,
            "This AI file has a PDF body (Illustrator 9 or later); save it as Illustrator 8: " +
                name));
    }
    AiPathReader reader(options, source);
    const auto [begin, end] = pathSection(lines);
    for (std::size_t i = begin; i < end; ++i) {
        reader.line(lines[i], i + 1);
    }
    return reader.finish();
}

} // namespace korvel::geometry
