#pragma once
// A machine program being written: the lines of G5.dat in order. Writers
// append lines; the text is written to the application folder in one piece.

#include "common/AppDir.h"
#include "common/TextFile.h"

#include <string>

namespace korvel::program {

inline constexpr std::string_view kProgramFile = "G5.dat";

class ProgramText {
public:
    void add(std::string line) { m_lines.push_back(std::move(line)); }
    const common::Lines& lines() const { return m_lines; }
    size_t size() const { return m_lines.size(); }
    void clear() { m_lines.clear(); }

    // Writes G5.dat (CR LF lines) through a temporary file.
    void write(const common::AppDir& dir) const;

private:
    common::Lines m_lines;
};

} // namespace korvel::program
