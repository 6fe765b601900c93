#include "machine/GroupFile.h"

#include "machine/LoadProblems.h"
#include "machine/ParameterTable.h"

namespace korvel::machine {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

size_t skipBlanks(std::string_view line, size_t i) {
    while (i < line.size() && isBlank(line[i])) {
        ++i;
    }
    return i;
}

// A quoted field runs to the closing quote; `i` is left after it.
std::string quotedField(std::string_view line, size_t& i) {
    const size_t close = line.find('"', i + 1);
    const size_t end = close == std::string_view::npos ? line.size() : close;
    std::string text(line.substr(i + 1, end - i - 1));
    i = close == std::string_view::npos ? line.size() : close + 1;
    return text;
}

std::string lineText(int line) {
    return std::to_string(line);
}

// One bad line: its number, field name and what is wrong with it.
void addLineProblem(LoadProblems& problems, const ParameterInfo& info, const std::string& zhWhy,
                    const std::string& enWhy) {
    problems.add("第 " + lineText(info.line) + " 行（" + std::string(info.name) + "）：" + zhWhy,
                 "line " + lineText(info.line) + " (" + std::string(info.name) + "): " + enWhy);
}

// Value of a present line; false (with the problem recorded) when it
// cannot be used.
bool readValue(const GroupLineFields& fields, const ParameterInfo& info, ParameterSet& set,
               LoadProblems& problems) {
    if (info.type == ParameterType::String) {
        if (!IsValidSlotActionOrder(fields.value)) {
            addLineProblem(problems, info, "开槽动作顺序“" + fields.value + "”只能由字母UDPNFB组成",
                           "the slot action order \"" + fields.value +
                               "\" may only hold the letters U D P N F B");
            return false;
        }
        set.SlotActionOrder = fields.value;
        return true;
    }
    const auto number = ParseNumber(fields.value);
    if (!number) {
        addLineProblem(problems, info, "“" + fields.value + "”不是数值",
                       "\"" + fields.value + "\" is not a number");
        return false;
    }
    if (CheckValue(info, *number) != ValueProblem::None) {
        addLineProblem(problems, info,
                       "数值 " + fields.value + " 超出范围（" + LimitsText(info) + "）",
                       "the value " + fields.value + " is out of range (" + LimitsText(info) + ")");
        return false;
    }
    SetNumericValue(set, info, *number);
    return true;
}

void useFactoryValue(ParameterSet& set, const ParameterInfo& info, const ParameterSet& factory) {
    if (info.type == ParameterType::String) {
        set.SlotActionOrder = factory.SlotActionOrder;
    } else {
        SetNumericValue(set, info, info.factory);
    }
}

// Values that are fine alone but cannot work together.
void checkCombinations(ParameterSet& set, const ParameterSet& factory, LoadProblems& problems) {
    if (set.FeedType != 0 && set.GripperStroke <= 0) {
        problems.add("机械手送料时机械手行程必须大于0，已使用出厂值",
                     "a gripper feed needs a gripper stroke above 0; the factory value is used");
        set.GripperStroke = factory.GripperStroke;
    }
}

} // namespace

GroupLineFields SplitGroupLine(std::string_view line) {
    GroupLineFields fields;
    size_t i = skipBlanks(line, 0);
    bool endedByComma = false;
    if (i < line.size() && line[i] == '"') {
        fields.value = quotedField(line, i);
    } else {
        const size_t start = i;
        while (i < line.size() && !isBlank(line[i]) && line[i] != ',') {
            ++i;
        }
        fields.value = std::string(line.substr(start, i - start));
    }
    if (i < line.size() && line[i] == ',') {
        endedByComma = true;
        ++i;
    }
    i = skipBlanks(line, i);
    if (!endedByComma && i < line.size() && line[i] == ',') {
        i = skipBlanks(line, i + 1);
    }
    if (i < line.size() && line[i] == '"') {
        fields.description = quotedField(line, i);
        return fields;
    }
    const size_t end = std::min(line.find(',', i), line.size());
    size_t last = end;
    while (last > i && isBlank(line[last - 1])) {
        --last;
    }
    fields.description = std::string(line.substr(i, last - i));
    return fields;
}

common::Lines GroupFileLines(const ParameterSet& set) {
    common::Lines lines;
    lines.reserve(kParameterLineCount);
    for (const auto& info : ParameterTable()) {
        const std::string& description = set.description(info.line);
        if (info.type == ParameterType::String) {
            lines.push_back(set.SlotActionOrder + ",         " + description);
        } else if (&info == &ParameterLine(18)) {
            lines.push_back(" 0 " + description);
        } else {
            lines.push_back(ValueText(set, info) + " " + description);
        }
    }
    return lines;
}

common::Message ReadGroupFile(const std::filesystem::path& file, ParameterSet& set) {
    const ParameterSet factory = FactoryParameterSet();
    LoadProblems problems(file);
    common::Lines lines;
    if (!ReadSmallTextFile(file, lines, problems)) {
        set = factory;
        return problems.message("已使用出厂默认参数", "the factory parameters are used");
    }
    const int present = static_cast<int>(std::min<size_t>(lines.size(), kParameterLineCount));
    if (present < kParameterRequiredLines) {
        const std::string n = std::to_string(present);
        const std::string next = std::to_string(present + 1);
        problems.add("文件在第 " + n + " 行后结束，第 " + next + " 至 73 行已使用出厂值",
                     "the file ends after line " + n + "; lines " + next +
                         " to 73 take the factory values");
    }
    for (const auto& info : ParameterTable()) {
        if (info.line <= present) {
            const GroupLineFields fields =
                SplitGroupLine(lines[static_cast<size_t>(info.line - 1)]);
            set.description(info.line) = fields.description;
            if (!readValue(fields, info, set, problems)) {
                useFactoryValue(set, info, factory);
            }
        } else if (info.line <= kParameterRequiredLines) {
            useFactoryValue(set, info, factory);
            set.description(info.line) = factory.description(info.line);
        } else if (info.line > 75) {
            // Lines added after the old 75-line files: known defaults.
            set.description(info.line) = std::string(info.description);
            if (info.ifMissing) {
                SetNumericValue(set, info, *info.ifMissing);
            }
        }
    }
    checkCombinations(set, factory, problems);
    if (problems.empty()) {
        return {};
    }
    return problems.message("有误的参数已使用出厂默认值",
                            "the factory values are used for the faulty parameters");
}

void WriteGroupFile(const std::filesystem::path& file, const ParameterSet& set) {
    common::RewriteAtomically(file, GroupFileLines(set));
}

} // namespace korvel::machine
