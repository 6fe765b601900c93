#pragma once
// A machine program being written: the lines of G5.dat in order. Writers
// append lines; the text is written to the application folder in one piece.

#include "common/AppDir.h"
#include "common/TextFile.h"

#include <cstddef>
#include <limits>
#include <stdexcept>
#include <string>

namespace korvel::program {

inline constexpr std::string_view kProgramFile = "G5.dat";

// Thrown by ProgramText::add when a line would go beyond the limit that the
// writer set: a generator that runs away (a huge repeat count, a tiny gripper
// stroke) stops at once instead of filling memory.
class ProgramTooLong : public std::length_error {
public:
    explicit ProgramTooLong(std::size_t limit)
        : std::length_error("machine program longer than " + std::to_string(limit) + " lines"),
          m_limit(limit) {}
    std::size_t limit() const { return m_limit; }

private:
    std::size_t m_limit;
};

class ProgramText {
public:
    void add(std::string line) {
        if (m_lines.size() >= m_lineLimit) {
            throw ProgramTooLong(m_lineLimit);
        }
        m_lines.push_back(std::move(line));
    }
    const common::Lines& lines() const { return m_lines; }
    common::Lines takeLines() { return std::move(m_lines); }
    size_t size() const { return m_lines.size(); }
    void clear() { m_lines.clear(); }

    // The most lines the program may hold; add() throws ProgramTooLong
    // beyond it. Unlimited by default.
    void setLineLimit(std::size_t limit) { m_lineLimit = limit; }
    std::size_t lineLimit() const { return m_lineLimit; }

    // Writes G5.dat (CR LF lines) through a temporary file.
    void write(const common::AppDir& dir) const;

private:
    common::Lines m_lines;
    std::size_t m_lineLimit = std::numeric_limits<std::size_t>::max();
};

} // namespace korvel::program
