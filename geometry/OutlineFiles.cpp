#include "geometry/OutlineFiles.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "common/Message.h"

#include <cmath>

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

void CheckDisplayPoint(double x, double y, std::string_view line, std::size_t lineNumber,
                       std::string_view source) {
    if (std::fabs(x) <= kMaxDisplayCoordinate && std::fabs(y) <= kMaxDisplayCoordinate) {
        return;
    }
    const std::string name(source);
    const std::string where = std::to_string(lineNumber);
    const std::string text(common::Trim(line));
    throw common::UserError(common::error(
        "图形坐标超出范围（第 " + where + " 行：" + text + "，允许 ±10000000）：" + name,
        "Coordinate out of range (line " + where + ": " + text + ", at most ±10000000): " + name));
}

bool IsSplineLine(std::string_view line) {
    return line.substr(0, kSplineWord.size()) == kSplineWord &&
           (line.size() == kSplineWord.size() || line[kSplineWord.size()] == ' ');
}

} // namespace korvel::geometry
