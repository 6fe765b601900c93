#include "geometry/ShapePltExport.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "common/TextFile.h"
#include "geometry/OutlineFiles.h"
#include "geometry/PltReader.h"

namespace korvel::geometry {

namespace {

std::string plotterCoordinate(double mm) {
    return common::FormatNumber(mm * kPlotterUnitsPerMm, "0");
}

} // namespace

std::string ShapePltFileName(common::Language language) {
    return language == common::Language::English ? "ShapePLT.plt" : "字形PLT.plt";
}

common::Lines ShapePltLines(const common::Lines& displayLines) {
    common::Lines out;
    bool first = true;
    std::size_t lineNumber = 0;
    for (const auto& line : displayLines) {
        ++lineNumber;
        const auto fields = common::SplitFields(line);
        if (common::FieldAt(fields, 0) == kSplineWord) {
            out.emplace_back("LT;");
            out.emplace_back("SP1;");
            first = true;
            continue;
        }
        if (common::Trim(line).empty()) {
            continue;
        }
        const double x = common::Val(common::FieldAt(fields, 0));
        const double y = common::Val(common::FieldAt(fields, 1));
        CheckDisplayPoint(x, y, line, lineNumber, kDisplayFile);
        const std::string xy = plotterCoordinate(x) + " " + plotterCoordinate(y) + ";";
        if (first) {
            out.push_back("PU" + xy);
            first = false;
        }
        out.push_back("PD" + xy);
    }
    out.emplace_back("SP0;");
    return out;
}

common::Message ExportShapePlt(const common::AppDir& app, bool drawingOpen,
                               common::Language language) {
    if (!drawingOpen) {
        throw common::UserError(
            common::notice("尚未打开文件，不能输出！", "Have no opened file, Can't Output!"));
    }
    const common::Lines display = common::ReadLines(app.file(kDisplayFile));
    common::RewriteAtomically(app.file(ShapePltFileName(language)), ShapePltLines(display));
    return common::notice("当前显示字形已保存为“字形PLT.plt”", "Have been saved as “ShapePLT.plt”");
}

} // namespace korvel::geometry
