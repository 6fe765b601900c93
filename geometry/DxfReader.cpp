#include "geometry/DxfReader.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "geometry/DxfMessages.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace korvel::geometry {

namespace {

constexpr std::string_view kSplineName = "SPLINE";
constexpr std::string_view kEndSection = "ENDSEC";
constexpr long long kMaxSplines = std::numeric_limits<std::int16_t>::max();
// Letters are drawn in millimetres; a coordinate beyond 10 km or a knot
// beyond 1e12 is a broken file, and would only overflow the arithmetic.
constexpr double kMaxCoordinate = 1e7;
constexpr double kMaxKnot = 1e12;

// A DXF name line (SPLINE, ENDSEC, $EXTMIN) matches without regard to case;
// the line is already trimmed.
bool isName(std::string_view line, std::string_view upperName) {
    return line.size() == upperName.size() && common::ToUpper(line) == upperName;
}

// Walks the lines of the drawing one at a time, as Temp.dat holds them:
// every CR and every LF of the drawing ends a line, so a CR LF drawing has
// an empty line after each of its lines, and the text after the last line
// end is a line of its own (empty when the drawing ends in a line end). The
// current line is kept trimmed, as every comparison of the reader works on
// trimmed lines.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : m_text(text) {}

    std::string_view current() const { return m_current; }
    void replaceCurrent(std::string_view text) { m_current = text; }

    bool advance() {
        if (m_next > m_text.size()) {
            return false;
        }
        m_current = common::Trim(lineAt(m_next));
        return true;
    }

    // The line after a group code is its value; a CR LF drawing has an empty
    // line in between, and exactly one such line is passed over.
    bool advanceValue() {
        if (!advance()) {
            return false;
        }
        return !m_current.empty() || advance();
    }

    // The value that advanceValue would give, without moving.
    std::optional<std::string_view> peekValue() const {
        LineCursor ahead = *this;
        if (!ahead.advanceValue()) {
            return std::nullopt;
        }
        return ahead.current();
    }

    // Reads until the current line is the name (a line already current
    // counts).
    bool seekNameFromCurrent(std::string_view upperName) {
        while (!isName(m_current, upperName)) {
            if (!advance()) {
                return false;
            }
        }
        return true;
    }

    bool seekName(std::string_view upperName) {
        while (advance()) {
            if (isName(m_current, upperName)) {
                return true;
            }
        }
        return false;
    }

    bool seekCode(std::string_view code) {
        while (advance()) {
            if (m_current == code) {
                return true;
            }
        }
        return false;
    }

private:
    // The line starting at `start`; m_next moves past its line end (beyond
    // the text after the last line).
    std::string_view lineAt(size_t start) {
        const size_t end = m_text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            m_next = m_text.size() + 1;
            return m_text.substr(start);
        }
        m_next = end + 1;
        return m_text.substr(start, end - start);
    }

    std::string_view m_text;
    size_t m_next = 0;
    std::string_view m_current;
};

// Locates a header variable with its groups 10 and 20. The values are not
// used, but a drawing without them is no drawing this reader understands.
void passExtents(LineCursor& cursor, std::string_view variable) {
    const bool found = cursor.seekName(variable) && cursor.seekCode("10") &&
                       cursor.advanceValue() && cursor.seekCode("20") && cursor.advanceValue();
    if (!found) {
        throw common::UserError(dxfmsg::missingExtents(variable));
    }
}

// Lines of the drawing as the cursor counts them: one more than its line
// ends.
size_t lineCount(std::string_view text) {
    return 1 + static_cast<size_t>(std::count_if(text.begin(), text.end(),
                                                 [](char c) { return c == '\r' || c == '\n'; }));
}

short countSplines(std::string_view text) {
    long long count = 0;
    LineCursor cursor(text);
    while (cursor.seekName(kSplineName)) {
        ++count;
    }
    if (count > kMaxSplines) {
        throw common::UserError(dxfmsg::tooManySplines(count, kMaxSplines));
    }
    return static_cast<short>(count);
}

// Reads the splines one after the other from a cursor shared by all of them:
// each spline starts at its SPLINE line and ends where the next SPLINE line
// (or the end of the section) begins.
class SplineReader {
public:
    SplineReader(std::string_view text, DxfDrawing& drawing)
        : m_cursor(text), m_drawing(drawing),
          // Every knot or point takes at least a code line and a value line,
          // so no count can be larger than half the file's lines.
          m_countLimit(std::min<long long>(std::numeric_limits<std::int16_t>::max(),
                                           static_cast<long long>(lineCount(text) / 2))) {}

    void readSpline(int number) {
        m_number = number;
        m_spline = DxfSpline{};
        m_knotsRead = m_xRead = m_yRead = 0;
        // After a section end the spline's own SPLINE line is still ahead.
        const bool found = m_afterSectionEnd ? m_cursor.seekName(kSplineName)
                                             : m_cursor.seekNameFromCurrent(kSplineName);
        m_afterSectionEnd = false;
        if (!found) {
            throw common::UserError(dxfmsg::endsInsideSpline(number));
        }
        seekExtrusion();
        while (!isName(m_cursor.current(), kSplineName)) {
            readGroup(m_cursor.current());
            if (!m_cursor.advanceValue()) {
                throw common::UserError(dxfmsg::endsInsideSpline(number));
            }
            if (isName(m_cursor.current(), kEndSection)) {
                // The end of the section ends the spline as a next SPLINE would.
                m_cursor.replaceCurrent(kSplineName);
                m_afterSectionEnd = true;
            }
        }
        validate();
        m_drawing.splines.push_back(std::move(m_spline));
    }

private:
    // The spline's data starts after the value of its group 210. Meeting the
    // next spline or the end of the file first means the group is missing.
    void seekExtrusion() {
        while (m_cursor.advance()) {
            if (m_cursor.current() == "210") {
                if (!m_cursor.advance()) {
                    throw common::UserError(dxfmsg::endsInsideSpline(m_number));
                }
                return;
            }
            if (isName(m_cursor.current(), kSplineName)) {
                break;
            }
        }
        throw common::UserError(dxfmsg::missingExtrusion(m_number));
    }

    void readGroup(std::string_view code) {
        if (code == "70") {
            readValueText();
            m_spline.flag = 1;
        } else if (code == "71") {
            // The degree's value line stays in the stream and is met as an
            // ordinary line; it is only looked at here.
            const auto text = m_cursor.peekValue();
            m_spline.degree = text ? static_cast<int>(readCount(code, *text)) : 0;
        } else if (code == "72") {
            const auto n = readCount(code, readValueText());
            m_spline.knotCount = static_cast<std::int16_t>(n);
            m_spline.knots.resize(static_cast<size_t>(n));
            m_drawing.maxKnots = std::max(m_drawing.maxKnots, static_cast<int>(n));
        } else if (code == "73") {
            const auto n = readCount(code, readValueText());
            m_spline.pointCount = static_cast<std::int16_t>(n);
            m_spline.ctrlPts.resize(static_cast<size_t>(n));
            m_drawing.maxCtrlPts = std::max(m_drawing.maxCtrlPts, static_cast<int>(n));
        } else if (code == "40") {
            const double v = readNumber(code, kMaxKnot);
            if (++m_knotsRead <= m_spline.knots.size()) {
                m_spline.knots[m_knotsRead - 1] = v;
            }
        } else if (code == "10") {
            const double v = readNumber(code, kMaxCoordinate);
            if (++m_xRead <= m_spline.ctrlPts.size()) {
                m_spline.ctrlPts[m_xRead - 1].x = v;
            }
        } else if (code == "20") {
            const double v = readNumber(code, kMaxCoordinate);
            if (++m_yRead <= m_spline.ctrlPts.size()) {
                m_spline.ctrlPts[m_yRead - 1].y = v;
            }
        }
    }

    std::string_view readValueText() {
        if (!m_cursor.advanceValue()) {
            throw common::UserError(dxfmsg::endsInsideSpline(m_number));
        }
        return m_cursor.current();
    }

    double readNumber(std::string_view code, double limit) {
        const std::string_view text = readValueText();
        const double v = common::Val(text);
        if (!(std::abs(v) <= limit)) {
            throw common::UserError(dxfmsg::badValue(m_number, code, text));
        }
        return v;
    }

    // A count of knots, points or the degree: a whole number, not negative,
    // and no larger than the file could hold.
    long long readCount(std::string_view code, std::string_view text) {
        const double v = common::Val(text);
        if (!std::isfinite(v) || v < 0.0) {
            throw common::UserError(dxfmsg::badValue(m_number, code, text));
        }
        const double n = common::RoundHalfEven(v);
        if (n > static_cast<double>(m_countLimit)) {
            const long long shown =
                n > 1e15 ? static_cast<long long>(1e15) : static_cast<long long>(n);
            throw common::UserError(dxfmsg::countTooLarge(m_number, code, shown, m_countLimit));
        }
        return static_cast<long long>(n);
    }

    void validate() const {
        const DxfSpline& s = m_spline;
        if (s.degree < 1 || s.degree > kMaxSplineDegree) {
            throw common::UserError(
                dxfmsg::unsupportedDegree(m_number, s.degree, kMaxSplineDegree));
        }
        if (s.pointCount < s.degree + 1 || s.knotCount != s.pointCount + s.degree + 1) {
            throw common::UserError(
                dxfmsg::countsMismatch(m_number, s.knotCount, s.pointCount, s.degree));
        }
        if (m_knotsRead < s.knots.size() || m_xRead < s.ctrlPts.size() ||
            m_yRead < s.ctrlPts.size()) {
            throw common::UserError(dxfmsg::missingData(m_number));
        }
        const auto p = static_cast<size_t>(s.degree);
        const bool ascending = std::is_sorted(s.knots.begin(), s.knots.end());
        // The curve lives between knot degree+1 and knot points+1; that
        // stretch must not be empty.
        if (!ascending || !(s.knots[p] < s.knots[s.ctrlPts.size()])) {
            throw common::UserError(dxfmsg::badKnots(m_number));
        }
    }

    LineCursor m_cursor;
    DxfDrawing& m_drawing;
    long long m_countLimit;
    int m_number = 0;
    DxfSpline m_spline;
    size_t m_knotsRead = 0;
    size_t m_xRead = 0;
    size_t m_yRead = 0;
    bool m_afterSectionEnd = false;
};

} // namespace

DxfDrawing ReadDxfSplines(std::string_view text) {
    const short count = countSplines(text);
    LineCursor header(text);
    passExtents(header, "$EXTMIN");
    passExtents(header, "$EXTMAX");
    DxfDrawing drawing;
    if (count == 0) {
        return drawing;
    }
    drawing.splines.reserve(static_cast<size_t>(count));
    SplineReader reader(text, drawing);
    for (int s = 1; s <= count; ++s) {
        reader.readSpline(s);
    }
    return drawing;
}

} // namespace korvel::geometry
