#include "app/MotorSettings.h"

#include "app/FieldText.h"
#include "common/Basic.h"
#include "machine/ParameterTable.h"

#include <cmath>

namespace korvel::app {
namespace {

using machine::ParameterLine;

constexpr std::array<const char*, kMotorAxisCount> kAxisZh{"X轴-送料", "Y轴-弯弧", "Z轴-上下刀",
                                                           "A轴-摆角（进刀）"};
constexpr std::array<const char*, kMotorAxisCount> kAxisEn{
    "X axis (feed)", "Y axis (bending)", "Z axis (cutter up/down)", "A axis (swing/infeed)"};
constexpr std::array<const char*, kAxisValueCount> kValueZh{
    "脉冲当量：", "回零速度：", "手动速度：", "加速度：", "回零摆正：", "摆正速度：", "自动速度："};
constexpr std::array<const char*, kAxisValueCount> kValueEn{
    "Pulse equivalent", "Homing speed",   "Manual speed", "Acceleration",
    "Homing back-off",  "Back-off speed", "Auto speed"};

common::Message refusal(const common::Message& field, const machine::ParameterInfo& info) {
    const std::string range = machine::LimitsText(info);
    return common::error("保存失败！" + field.zh + "数值须为 " + range,
                         "Save failed! " + field.en + " must be " + range);
}

} // namespace

MotorSettings MotorSettings::Load(const machine::ParameterSet& params) {
    MotorSettings s;
    for (int a = 0; a < kMotorAxisCount; ++a) {
        for (int v = 0; v < kAxisValueCount; ++v) {
            s.axis[a][v] =
                FieldText(machine::NumericValue(params, ParameterLine(AxisParameterLine(a, v))));
        }
    }
    s.encoderEquiv = FieldText(params.EncoderPulseEquiv);
    return s;
}

common::Message MotorFieldName(int axis, int value) {
    return {std::string(kAxisZh.at(axis)) + " " + kValueZh.at(value),
            std::string(kAxisEn.at(axis)) + ": " + kValueEn.at(value)};
}

common::Message ApplyMotorSettings(const MotorSettings& settings, machine::ParameterSet& params) {
    std::array<std::array<double, kAxisValueCount>, kMotorAxisCount> values{};
    for (int a = 0; a < kMotorAxisCount; ++a) {
        for (int v = 0; v < kAxisValueCount; ++v) {
            const auto& info = ParameterLine(AxisParameterLine(a, v));
            values[a][v] = common::Val(settings.axis[a][v]);
            if (!std::isfinite(values[a][v]) ||
                machine::CheckValue(info, values[a][v]) != machine::ValueProblem::None) {
                return refusal(MotorFieldName(a, v), info);
            }
        }
    }
    const auto& encoderInfo = ParameterLine(kEncoderEquivLine);
    const double encoder = common::Val(settings.encoderEquiv);
    if (!std::isfinite(encoder) ||
        machine::CheckValue(encoderInfo, encoder) != machine::ValueProblem::None) {
        return refusal({"送料轴编码器 脉冲当量：", "Feed encoder: Pulse equivalent"}, encoderInfo);
    }
    for (int a = 0; a < kMotorAxisCount; ++a) {
        for (int v = 0; v < kAxisValueCount; ++v) {
            machine::SetNumericValue(params, ParameterLine(AxisParameterLine(a, v)), values[a][v]);
        }
    }
    params.EncoderPulseEquiv = encoder;
    return {};
}

MotorWindowAccess MotorAccess(std::int16_t userLevel) {
    MotorWindowAccess access;
    if (userLevel <= 0) {
        access.saveEnabled = false;
        access.framesEnabled = false;
        access.holdJogEnabled.fill(false);
    } else if (userLevel == 1) {
        access.holdJogEnabled = {true, false, false, false};
    }
    return access;
}

} // namespace korvel::app
