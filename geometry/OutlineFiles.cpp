#include "geometry/OutlineFiles.h"

#include "common/Basic.h"

namespace korvel::geometry {

std::string OutlineHeader(int number) {
    return std::string(kSplineWord) + common::Str(number);
}

std::string DisplayPointLine(double x, double y, bool node, std::string_view pattern) {
    std::string line;
    AppendDisplayPointLine(line, x, y, node, pattern);
    return line;
}

void AppendDisplayPointLine(std::string& out, double x, double y, bool node,
                            std::string_view pattern) {
    common::AppendNumber(out, x, pattern);
    out += ' ';
    common::AppendNumber(out, y, pattern);
    if (node) {
        out += ' ';
        out += kNodeWord;
    }
}

bool IsSplineLine(std::string_view line) {
    return line.substr(0, kSplineWord.size()) == kSplineWord &&
           (line.size() == kSplineWord.size() || line[kSplineWord.size()] == ' ');
}

} // namespace korvel::geometry
