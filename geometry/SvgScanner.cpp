#include "geometry/SvgScanner.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace korvel::geometry {

namespace {

bool isBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f';
}

bool isDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

} // namespace

void SvgScanner::skipBlanks() {
    while (!atEnd() && isBlank(m_text[m_pos])) {
        ++m_pos;
    }
}

void SvgScanner::skipSeparators() {
    skipBlanks();
    if (peek() == ',') {
        ++m_pos;
        skipBlanks();
    }
}

bool SvgScanner::numberAhead() const {
    const char ch = peek();
    return isDigit(ch) || ch == '-' || ch == '+' || ch == '.';
}

std::optional<double> SvgScanner::number() {
    skipSeparators();
    std::size_t pos = m_pos;
    const bool negative = pos < m_text.size() && m_text[pos] == '-';
    if (pos < m_text.size() && (m_text[pos] == '-' || m_text[pos] == '+')) {
        ++pos;
    }
    // from_chars would also read "inf", "nan" and hexadecimal floats, which
    // are no numbers of a drawing: a digit or a point must come first.
    const bool digitFirst = pos < m_text.size() && isDigit(m_text[pos]);
    const bool pointFirst =
        pos + 1 < m_text.size() && m_text[pos] == '.' && isDigit(m_text[pos + 1]);
    if (!digitFirst && !pointFirst) {
        return std::nullopt;
    }
    double value = 0.0;
    const char* first = m_text.data() + pos;
    const char* last = m_text.data() + m_text.size();
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc{} || !std::isfinite(value)) {
        return std::nullopt;
    }
    m_pos = static_cast<std::size_t>(end - m_text.data());
    return negative ? -value : value;
}

std::optional<bool> SvgScanner::flag() {
    skipSeparators();
    const char ch = peek();
    if (ch != '0' && ch != '1') {
        return std::nullopt;
    }
    ++m_pos;
    return ch == '1';
}

} // namespace korvel::geometry
