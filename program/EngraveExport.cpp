#include "program/EngraveExport.h"

#include "common/Basic.h"
#include "common/FieldText.h"
#include "common/Fields.h"
#include "geometry/OutlineFiles.h"
#include "program/FolderFiles.h"

#include <cmath>
#include <filesystem>

namespace korvel::program {

namespace {

// The cutter runs this far beyond the strip's far edge and waits this far
// before its near edge, so that the groove runs out cleanly on both sides.
constexpr double kRunOut = 5.0;

// Depth, feed and spindle speed go into the milling program as typed, so
// they must be plain decimals that any milling control reads ("0.5abc" or
// "1E3" would make a line the engraving machine refuses or misreads).
bool isPlainDecimal(std::string_view t) {
    bool digit = false;
    bool point = false;
    for (const char c : t) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

// `most`: a value beyond it is a typing slip, not a setting any engraving
// machine has.
void checkPositive(const std::string& text, double most, const char* zhName, const char* enName) {
    const std::string_view t = common::Trim(text);
    const double value = common::Val(t);
    if (!isPlainDecimal(t) || !(value > 0.0 && value <= most)) {
        const std::string limit = common::FieldText(most);
        throw common::UserError(common::error(
            std::string(zhName) + "必须是不大于 " + limit + " 的正数：" + text,
            std::string(enName) + " must be a positive number up to " + limit + ": " + text));
    }
}

void checkFields(const EngraveFields& f) {
    const std::string name(common::Trim(f.fileName));
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of("/\\") != std::string::npos) {
        throw common::UserError(common::error("请输入文件名（不含文件夹）：" + f.fileName,
                                              "Enter a file name without folders: " + f.fileName));
    }
    CheckNotFolderOwnFile(name);
    checkPositive(f.depth, 100, "开槽深度", "Groove depth");      // mm
    checkPositive(f.width, 10000, "材料宽度", "Material width");  // mm
    checkPositive(f.spindle, 1.0e6, "主轴转速", "Spindle speed"); // rpm
    checkPositive(f.feed, 1.0e6, "进给速度", "Feed speed");       // mm/min
}

} // namespace

common::Message NoPathMessage() {
    return common::notice("尚未选择加工路径，不能输出！", "No Choise, Can't Output!");
}

bool PathSelected(const common::AppDir& app) {
    const auto file = app.file(geometry::kPathFile);
    return std::filesystem::exists(file) && !common::ReadLines(file).empty();
}

common::Lines EngraveProgramLines(const std::vector<double>& grooves, const EngraveFields& f) {
    const std::string depth(common::Trim(f.depth));
    const std::string feed(common::Trim(f.feed));
    const std::string farEdge = common::FormatNumber(common::Val(f.width) + kRunOut, "0.000");
    common::Lines out = {"G90 G17", "G00 Z5", "G00 X-5 Y0",
                         "S" + std::string(common::Trim(f.spindle)) + " M03"};
    for (const double y : grooves) {
        out.push_back("G00 Y" + common::FormatNumber(y, "0.000"));
        std::string plunge = "G01 Z-";
        plunge += depth;
        plunge += " F";
        plunge += feed;
        out.push_back(std::move(plunge));
        out.push_back("X" + farEdge);
        out.emplace_back("G00 Z5");
        out.emplace_back("G00 X-5");
    }
    out.emplace_back("G00 X0 Y0");
    out.emplace_back("M05");
    out.emplace_back("M30");
    return out;
}

std::size_t ExportEngraveProgram(const common::AppDir& app, const EngraveFields& fields,
                                 const machine::ParameterSet& params, const MarkedPoints& marked,
                                 const GrooveOptions& options) {
    checkFields(fields);
    const auto path = geometry::ReadPathFile(app.file(geometry::kPathFile));
    const auto grooves = GroovePositions(path, params, marked, options);
    common::RewriteAtomically(app.file(std::string(common::Trim(fields.fileName))),
                              EngraveProgramLines(grooves, fields));
    return grooves.size();
}

} // namespace korvel::program
