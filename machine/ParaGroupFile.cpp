#include "machine/ParaGroupFile.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "machine/LoadProblems.h"
#include "machine/ParameterTable.h"

namespace korvel::machine {
namespace {

constexpr int kLines = 22;
constexpr size_t kParaNumberLine = 0;
constexpr size_t kCurvNumberLine = 11;

// A name is read as one field: up to a comma, blanks around it dropped.
std::string nameField(const std::string& line) {
    const size_t comma = line.find(',');
    return std::string(common::Trim(std::string_view(line).substr(0, comma)));
}

// Group number 1..10 of a line, as ParaGroupNo 0..9; -1 when it is absurd.
int groupNumber(const common::Lines& lines, size_t index, int& raw) {
    raw = index < lines.size() ? static_cast<int>(common::Fix(
                                     std::max(-1e6, std::min(1e6, common::Val(lines[index])))))
                               : 0;
    return raw >= 1 && raw <= kGroupCount ? raw - 1 : -1;
}

void readNames(const common::Lines& lines, size_t first, std::array<std::string, 10>& names,
               bool para) {
    for (int g = 0; g < kGroupCount; ++g) {
        const size_t index = first + static_cast<size_t>(g);
        names[static_cast<size_t>(g)] =
            index < lines.size() ? nameField(lines[index])
                                 : (para ? FactoryParaGroupName(g) : FactoryCurvGroupName(g));
    }
}

} // namespace

std::string FactoryParaGroupName(int group) {
    return "参数组" + std::to_string(group + 1);
}
std::string FactoryCurvGroupName(int group) {
    return "曲率表" + std::to_string(group + 1);
}

std::vector<common::Message> ReadParaGroup(const std::filesystem::path& file,
                                           ParameterTables& tables) {
    std::vector<common::Message> messages;
    LoadProblems problems(file);
    common::Lines lines;
    ReadSmallTextFile(file, lines, problems);
    if (!lines.empty() && lines.size() < kLines) {
        problems.add("文件有 " + std::to_string(lines.size()) + " 行，应为 22 行",
                     "the file has " + std::to_string(lines.size()) + " lines instead of 22");
    }
    int rawPara = 0;
    int rawCurv = 0;
    const int para = groupNumber(lines, kParaNumberLine, rawPara);
    const int curv = groupNumber(lines, kCurvNumberLine, rawCurv);
    if (rawPara == 0 && rawCurv == 0) {
        // The file is there in name only: the machine's own notice.
        messages.push_back(
            common::error("qspzhwj缺少参数组配置文件！", "qspzhwj缺少参数组配置文件！"));
    } else {
        if (para < 0) {
            problems.add("参数组号 " + std::to_string(rawPara) + " 不在1至10之间，已使用参数组1",
                         "parameter group " + std::to_string(rawPara) +
                             " is not within 1 to 10; group 1 is used");
        }
        if (curv < 0) {
            problems.add("曲率表组号 " + std::to_string(rawCurv) + " 不在1至10之间，已使用曲率表1",
                         "curvature group " + std::to_string(rawCurv) +
                             " is not within 1 to 10; group 1 is used");
        }
    }
    tables.ParaGroupNo = static_cast<std::int16_t>(std::max(para, 0));
    tables.CurvGroupNo = static_cast<std::int16_t>(std::max(curv, 0));
    readNames(lines, kParaNumberLine + 1, tables.ParaGroupNames, true);
    readNames(lines, kCurvNumberLine + 1, tables.CurvGroupNames, false);
    if (!problems.empty()) {
        messages.insert(messages.begin(),
                        problems.message("缺少的部分已使用默认值",
                                         "the defaults are used for what is missing"));
    }
    return messages;
}

common::Lines ParaGroupLines(const ParameterTables& tables) {
    common::Lines lines;
    lines.push_back(common::Str(static_cast<int>(tables.ParaGroupNo) + 1));
    lines.insert(lines.end(), tables.ParaGroupNames.begin(), tables.ParaGroupNames.end());
    lines.push_back(common::Str(static_cast<int>(tables.CurvGroupNo) + 1));
    lines.insert(lines.end(), tables.CurvGroupNames.begin(), tables.CurvGroupNames.end());
    return lines;
}

} // namespace korvel::machine
