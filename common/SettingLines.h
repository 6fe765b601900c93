#pragma once
// The small "Name=Value" settings files of the application folder
// (SimMachine.ini, Card.ini): blank lines and lines starting with ';' or '#'
// are comments, every other line names one setting.

#include "common/TextFile.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace korvel::common {

struct SettingLine {
    std::size_t number;     // 1-based, for messages
    std::string_view text;  // the line, trimmed
    bool hasEquals;         // false: the line is no setting at all
    std::string_view name;  // trimmed text before the first '='
    std::string_view value; // trimmed text after it
};

// The setting lines of `lines`, viewing into them.
std::vector<SettingLine> SettingLines(const Lines& lines);

} // namespace korvel::common
