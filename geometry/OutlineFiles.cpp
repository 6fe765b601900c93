#include "geometry/OutlineFiles.h"

#include "common/Basic.h"

namespace korvel::geometry {

std::string OutlineHeader(int number) {
    return std::string(kSplineWord) + common::Str(number);
}

std::string DisplayPointLine(double x, double y, bool node, std::string_view pattern) {
    std::string line = common::FormatNumber(x, pattern);
    line += ' ';
    line += common::FormatNumber(y, pattern);
    if (node) {
        line += ' ';
        line += kNodeWord;
    }
    return line;
}

bool IsSplineLine(std::string_view line) {
    return line.substr(0, kSplineWord.size()) == kSplineWord &&
           (line.size() == kSplineWord.size() || line[kSplineWord.size()] == ' ');
}

} // namespace korvel::geometry
