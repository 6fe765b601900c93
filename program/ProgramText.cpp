#include "program/ProgramText.h"

namespace korvel::program {

void ProgramText::write(const common::AppDir& dir) const {
    common::RewriteAtomically(dir.file(kProgramFile), m_lines);
}

} // namespace korvel::program
