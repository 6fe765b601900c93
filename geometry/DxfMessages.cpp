#include "geometry/DxfMessages.h"

#include <string>

namespace korvel::geometry::dxfmsg {

using common::error;
using common::Message;

namespace {

std::string num(long long value) {
    return std::to_string(value);
}

} // namespace

Message emptyFile(std::string_view file) {
    const std::string f(file);
    return error("图纸文件是空的：" + f, "The drawing file is empty: " + f);
}

Message fileTooLarge(std::string_view file, long long limitMegabytes) {
    const std::string f(file);
    return error("图纸文件太大（超过 " + num(limitMegabytes) + " MB）：" + f,
                 "The drawing file is too large (over " + num(limitMegabytes) + " MB): " + f);
}

Message missingExtents(std::string_view variable) {
    const std::string v(variable);
    return error("DXF 文件缺少头变量 " + v + " 及其组码 10 和 20，无法读取图纸。",
                 "The DXF file lacks the header variable " + v +
                     " with its groups 10 and 20; the drawing cannot be read.");
}

Message tooManySplines(long long count, long long limit) {
    return error("图纸中的样条太多（" + num(count) + " 条，最多 " + num(limit) + " 条）。",
                 "The drawing has too many splines (" + num(count) + ", at most " + num(limit) +
                     ").");
}

Message missingExtrusion(int spline) {
    return error("第 " + num(spline) + " 条样条缺少组码 210（拉伸方向），无法读取图纸。",
                 "Spline " + num(spline) +
                     " has no group 210 (extrusion direction); the drawing cannot be read.");
}

Message endsInsideSpline(int spline) {
    return error("DXF 文件在第 " + num(spline) + " 条样条中间结束，文件不完整。",
                 "The DXF file ends inside spline " + num(spline) + "; the file is incomplete.");
}

Message badValue(int spline, std::string_view code, std::string_view text) {
    const std::string c(code);
    const std::string t(text);
    return error("第 " + num(spline) + " 条样条的组码 " + c + " 数值无效：" + t,
                 "Spline " + num(spline) + " has an invalid value in group " + c + ": " + t);
}

Message countTooLarge(int spline, std::string_view code, long long value, long long limit) {
    const std::string c(code);
    return error("第 " + num(spline) + " 条样条的组码 " + c + " 数量 " + num(value) +
                     " 超出文件可能容纳的数量（最多 " + num(limit) + "）。",
                 "Spline " + num(spline) + " declares " + num(value) + " in group " + c +
                     ", more than the file can hold (at most " + num(limit) + ").");
}

Message unsupportedDegree(int spline, int degree, int maxDegree) {
    return error("第 " + num(spline) + " 条样条的阶数 " + num(degree) + " 不受支持（支持 1 至 " +
                     num(maxDegree) + "）。",
                 "Spline " + num(spline) + " has degree " + num(degree) +
                     ", which is not supported (1 to " + num(maxDegree) + ").");
}

Message countsMismatch(int spline, int knots, int points, int degree) {
    return error("第 " + num(spline) + " 条样条的节点数 " + num(knots) + " 与控制点数 " +
                     num(points) + " 和阶数 " + num(degree) + " 不符（应为控制点数 + 阶数 + 1）。",
                 "Spline " + num(spline) + " has " + num(knots) +
                     " knots, which does not fit its " + num(points) +
                     " control points of degree " + num(degree) +
                     " (control points + degree + 1 expected).");
}

Message missingData(int spline) {
    return error("第 " + num(spline) + " 条样条的节点或控制点少于声明的数量。",
                 "Spline " + num(spline) + " has fewer knots or control points than it declares.");
}

Message badKnots(int spline) {
    return error("第 " + num(spline) + " 条样条的节点矢量不是递增的，无法计算曲线。",
                 "The knot vector of spline " + num(spline) +
                     " does not ascend; the curve cannot be computed.");
}

Message badDensify(long long count) {
    return error("两节点间密化点数必须在 1 至 32767 之间：" + num(count),
                 "The densification point count between two nodes must be 1 to 32767: " +
                     num(count));
}

Message tooManyDisplayPoints(long long count, long long limit) {
    return error("图纸将产生 " + num(count) + " 个显示点，超过上限 " + num(limit) +
                     " 个；请减小两节点间密化点数。",
                 "The drawing would give " + num(count) + " display points, more than " +
                     num(limit) + "; lower the densification point count between two nodes.");
}

} // namespace korvel::geometry::dxfmsg
