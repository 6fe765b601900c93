#pragma once
// The parameter group file SysPara/SYS_<n>.ini: 110 lines, one per
// parameter in table order. A numeric line is the value in Str form (a
// leading blank unless negative, ".5", no trailing zeros), a blank and the
// description; the slot action order line is the letters, "," and nine
// blanks, then the description. Reading takes the value as the first field
// (ended by a blank, a comma or the line end) and the description as the
// second (leading blanks skipped, ended by a comma outside quotes).

#include "common/Message.h"
#include "common/TextFile.h"
#include "machine/ParameterSet.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace korvel::machine {

// The two fields of one group-file line.
struct GroupLineFields {
    std::string value;
    std::string description;
};
GroupLineFields SplitGroupLine(std::string_view line);

// The 110 lines of a group file. RunMode is always written as 0, so every
// reload starts in machining mode.
common::Lines GroupFileLines(const ParameterSet& set);

// Reads a group file into `set`.
// - Lines 1-73 must be there; a line that is missing, not a number or an
//   absurd value gets the factory value (and, when missing, the factory
//   description).
// - Lines 74 and 75 are read when present, otherwise `set` keeps its values.
// - Lines 76-110 missing from an older file get their default description
//   and, where one is defined, their default value.
// A file that cannot be read at all gives the whole factory set. Every
// problem is reported in the returned message (empty when the file was
// fine); the file itself is never touched.
common::Message ReadGroupFile(const std::filesystem::path& file, ParameterSet& set);

// Writes the group file through a temporary file. Throws UserError.
void WriteGroupFile(const std::filesystem::path& file, const ParameterSet& set);

} // namespace korvel::machine
