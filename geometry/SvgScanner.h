#pragma once
// Reads the number lists of vector drawings: path data, point lists and
// transform arguments. Numbers follow the compact writing design programs
// use: "1.5.5" is 1.5 and .5, "10-3" is 10 and -3, "1e-3" an exponent;
// blanks and one comma separate them. Arc flags are single digits that need
// no separator ("0110" is the flags 0 and 1 and then the number 10).

#include <cstddef>
#include <optional>
#include <string_view>

namespace korvel::geometry {

class SvgScanner {
public:
    explicit SvgScanner(std::string_view text) : m_text(text) {}

    // Passes over blanks and at most one comma among them.
    void skipSeparators();
    // Passes over blanks only.
    void skipBlanks();
    bool atEnd() const { return m_pos >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }
    char take() { return atEnd() ? '\0' : m_text[m_pos++]; }
    // True when a number starts here (a digit, a sign or a point).
    bool numberAhead() const;
    // The next number (separators before it passed over). Nothing when none
    // starts here or it is beyond the range of a double (the position then
    // stays at the bad text).
    std::optional<double> number();
    // An arc flag: '0' or '1' after separators.
    std::optional<bool> flag();
    std::size_t position() const { return m_pos; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace korvel::geometry
