#include "machine/ParameterChecks.h"

#include "common/Basic.h"
#include "common/FieldText.h"
#include "common/Fields.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace korvel::machine {
namespace {

constexpr int kCutOffStrokeLine = 63;

// The value as the operator typed it: "0.6", not the file form " .6".
std::string number(double v) {
    if (!std::isfinite(v)) {
        return "?";
    }
    return common::FieldText(v);
}

// "“X轴脉冲当量”（PulseEquivX）" / "PulseEquivX": how a message names a field.
std::string zhName(const ParameterInfo& info) {
    return "“" + std::string(info.description) + "”（" + std::string(info.name) + "）";
}

common::Message refused(const ParameterInfo& info, const std::string& zhWhy,
                        const std::string& enWhy) {
    return common::error(zhName(info) + zhWhy + "，参数未保存！",
                         std::string(info.name) + ": " + enWhy + "; nothing was saved!");
}

} // namespace

common::Message ValueRefusal(const ParameterInfo& info, double value) {
    switch (CheckValue(info, value)) {
    case ValueProblem::None:
        return {};
    case ValueProblem::OutOfType:
        return refused(info, "的数值 " + number(value) + " 无效",
                       "the value " + number(value) + " is not a usable number");
    case ValueProblem::OutOfLimits:
        break;
    }
    return refused(info, "的数值 " + number(value) + " 超出范围（" + LimitsText(info) + "）",
                   "the value " + number(value) + " is out of range (" + LimitsText(info) + ")");
}

std::optional<int> StrokeBeyondMaterial(const ParameterSet& set) {
    if (set.InfeedControl != 1) {
        return std::nullopt;
    }
    const int passes = std::clamp<int>(set.CycleCount, 0, static_cast<int>(set.CutStroke.size()));
    for (int i = 0; i < passes; ++i) {
        if (set.CutStroke[static_cast<size_t>(i)] > set.InfeedDistanceLimit) {
            return FindParameter("CutStroke[" + std::to_string(i) + "]")->line;
        }
    }
    if (set.CutOffStroke > set.InfeedDistanceLimit) {
        return kCutOffStrokeLine;
    }
    return std::nullopt;
}

common::Message CombinationRefusal(const ParameterSet& set) {
    if (set.FeedType != 0 && !(set.GripperStroke > 0)) {
        return refused(*FindParameter("GripperStroke"), "必须大于0（机械手送料）",
                       "a gripper feed needs a stroke above 0");
    }
    if (set.EncoderPort > 0 && !(set.EncoderPulseEquiv > 0)) {
        return refused(*FindParameter("EncoderPulseEquiv"), "必须大于0（已装编码器）",
                       "a fitted encoder needs a pulse equivalent above 0");
    }
    if (set.ExtraSlotActive != 0 && !(set.ExtraSlotSpacing > 0)) {
        return refused(*FindParameter("ExtraSlotSpacing"), "必须大于0（附加开槽已使能）",
                       "extra slots need a spacing above 0");
    }
    if (const auto line = StrokeBeyondMaterial(set)) {
        const ParameterInfo& info = ParameterLine(*line);
        const std::string depth = number(NumericValue(set, info));
        const std::string limit = number(set.InfeedDistanceLimit);
        return refused(info, "的数值 " + depth + " 大于材料厚度 " + limit,
                       "the stroke " + depth + " is deeper than the material thickness " + limit);
    }
    return {};
}

} // namespace korvel::machine
