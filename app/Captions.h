#pragma once
// A window's caption table: which line of its caption file fills which
// control, with the built-in Chinese text.

#include <string>
#include <vector>

namespace korvel::app {

struct CaptionLine {
    int line;
    std::string key;
    std::string zh;
};
using CaptionTable = std::vector<CaptionLine>;

} // namespace korvel::app
