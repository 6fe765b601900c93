#include "app/PulseCalibration.h"

#include "common/Basic.h"
#include "program/TestPrograms.h"

#include <cmath>
#include <cstdlib>

namespace korvel::app {

PulseCalibrationPanel PulseCalibrationPanel::Open(CalibrationMode mode,
                                                  const machine::ParameterSet& params) {
    return {mode, mode == CalibrationMode::Encoder ? params.EncoderPulseEquiv : params.PulseEquivX};
}

common::Message PulseCalibrationPanel::title() const {
    if (mode == CalibrationMode::Encoder) {
        return {" 编码器脉冲当量校准", " Encoder Pulse Equivalent Adjust"};
    }
    return {" 送料轴脉冲当量校准", " Feeding Axis Pulse Equivalent Adjust"};
}

CalibrationResult ComputeNewEquivalent(const PulseCalibrationPanel& panel,
                                       std::string_view commanded, std::string_view actual,
                                       std::int32_t encoderCount) {
    const double l = common::Val(commanded);
    const double m = common::Val(actual);
    if (!std::isfinite(l) || !std::isfinite(m) || !program::MeasuredLengthAccepted(m, l)) {
        return {std::nullopt, program::LengthErrorMessage()};
    }
    if (panel.mode == CalibrationMode::Encoder) {
        if (encoderCount == 0) {
            return {std::nullopt,
                    common::error("编码器计数为0，请先清零，移动后再计算！",
                                  "The encoder counted nothing: clear it, move, then compute!")};
        }
        // The strip passed the encoder wheel over the measured length.
        return {std::abs(static_cast<double>(encoderCount)) / m, {}};
    }
    if (!(panel.original > 0)) {
        return {std::nullopt, common::error("原当量为0，无法计算新当量！",
                                            "The old equivalent is 0, nothing to scale!")};
    }
    // The motor was told l mm and moved the strip m mm: it needs l / m
    // times the pulses per mm.
    return {panel.original * l / m, {}};
}

void StoreEquivalent(CalibrationMode mode, double value, machine::ParameterSet& params) {
    (mode == CalibrationMode::Encoder ? params.EncoderPulseEquiv : params.PulseEquivX) = value;
}

} // namespace korvel::app
