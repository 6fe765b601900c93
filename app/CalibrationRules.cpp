#include "app/CalibrationRules.h"

#include "common/Basic.h"
#include "machine/Machine.h"

#include <algorithm>
#include <cmath>

namespace korvel::app {

// A step this large is a typing error (the factors live around 1).
constexpr double kMaxForceStep = 10.0;

CalibrationPage PageForTab(std::int16_t calibrationTab) {
    switch (calibrationTab) {
    case 1:
        return CalibrationPage::SlotDepth;
    case 2:
        return CalibrationPage::Arc;
    default:
        return CalibrationPage::Feed;
    }
}

std::int16_t SlotDepthFromScroll(int scrollValue, bool coarse) {
    int value = std::clamp(scrollValue, kSlotDepthMin, kSlotDepthMax);
    if (coarse) {
        value -= value % 10;
    }
    return static_cast<std::int16_t>(value);
}

std::string SlotDepthLabel(std::int16_t depth, common::Language lang) {
    return (lang == common::Language::English ? "Slott Depth：" : "开槽深度：") +
           std::to_string(depth) + "%";
}

std::array<double, 4> ShownForceFactors(const machine::ParameterSet& p) {
    return {p.TapForceFactorPos, p.PressForceFactorPos, p.TapForceFactorNeg, p.PressForceFactorNeg};
}

common::Message StepForceFactor(machine::Machine& machine, bool positiveArc,
                                std::string_view radiusText, std::string_view stepText,
                                int direction) {
    machine::ParameterSet& p = machine.params();
    const double step = common::Val(stepText);
    if (!(step > 0 && step <= kMaxForceStep)) {
        return common::error("力度调整步长须在0至10之间！",
                             "The force step must be above 0 and at most 10!");
    }
    const bool tapped = common::Val(radiusText) < p.TapBendRadiusThreshold;
    double& factor = positiveArc ? (tapped ? p.TapForceFactorPos : p.PressForceFactorPos)
                                 : (tapped ? p.TapForceFactorNeg : p.PressForceFactorNeg);
    const double changed = factor + (direction < 0 ? -step : step);
    if (changed < -1e-12) {
        return common::error("力度系数不能小于0！", "A force factor cannot be below 0!");
    }
    factor = std::max(changed, 0.0);
    return machine.store().SaveSysPara(machine.tables().ParaGroupNo, true);
}

} // namespace korvel::app
