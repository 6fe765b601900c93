#pragma once
// The pulse-equivalent calibration panel of the motor window (and of the
// user process window): the operator cuts a mark, lets the machine feed a
// commanded distance, measures the strip between the marks and has the new
// equivalent computed. In feed-axis mode the feed motor's pulses per mm are
// scaled by commanded / actual; in encoder mode the encoder's pulses per mm
// are the encoder count of the move over the actual distance.

#include "common/Message.h"
#include "machine/ParameterSet.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvel::app {

enum class CalibrationMode { FeedAxis, Encoder };

struct PulseCalibrationPanel {
    CalibrationMode mode = CalibrationMode::FeedAxis;
    double original = 0; // "原当量：" when the panel opened

    // The panel as a click on the feed axis's or the encoder's
    // "脉冲当量：" label opens it.
    static PulseCalibrationPanel Open(CalibrationMode mode, const machine::ParameterSet& params);
    // " 送料轴脉冲当量校准" / " 编码器脉冲当量校准" and their English texts.
    common::Message title() const;
};

struct CalibrationResult {
    std::optional<double> newEquiv; // set when the measurement was accepted
    common::Message message;        // the refusal otherwise
};

// "计算新当量": the commanded and actual distances as typed; the encoder
// count read at the end of the move. A measured length more than 15 mm off
// the commanded one or below 1 mm is refused with the length message, an
// encoder mode without counted pulses with its own message.
CalibrationResult ComputeNewEquivalent(const PulseCalibrationPanel& panel,
                                       std::string_view commanded, std::string_view actual,
                                       std::int32_t encoderCount);

// Stores an equivalent into the parameter the panel calibrates.
void StoreEquivalent(CalibrationMode mode, double value, machine::ParameterSet& params);

} // namespace korvel::app
