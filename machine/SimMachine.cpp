#include "machine/SimMachine.h"

#include "common/Basic.h"
#include "common/Encoding.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "common/SettingLines.h"
#include "common/TextFile.h"
#include "machine/ParameterSet.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

namespace korvel::machine {

namespace {

// One line of SimMachine.ini: its name, where the value lives, its range
// and the explanation written above it in the shipped file.
struct Entry {
    std::string_view name;
    double& (*field)(SimMachineFile&);
    double min;
    double max;
    std::string_view comment;
};

constexpr double kFar = 1.0e7;

#define KORVEL_SIM_ARRAY(member, index)                                                            \
    ([](SimMachineFile& f) -> double& { return f.member[index]; })
#define KORVEL_SIM_FIELD(member) ([](SimMachineFile& f) -> double& { return f.member; })

const Entry kEntries[] = {
    {"XHomeSwitch", KORVEL_SIM_ARRAY(HomeSwitch, 0), -kFar, kFar,
     "feed home switch IN2 (mm); reads 1 at and below this position"},
    {"YHomeSwitch", KORVEL_SIM_ARRAY(HomeSwitch, 1), -kFar, kFar,
     "bend home switch IN8 (degrees); reads 0 from here in the homing direction"},
    {"ZHomeSwitch", KORVEL_SIM_ARRAY(HomeSwitch, 2), -kFar, kFar,
     "cutter home switch IN14; reads 0 from here in the homing direction"},
    {"AHomeSwitch", KORVEL_SIM_ARRAY(HomeSwitch, 3), -kFar, kFar,
     "swing/infeed home switch IN20; reads 0 from here in the homing direction"},
    {"XPowerOnDistance", KORVEL_SIM_ARRAY(PowerOnDistance, 0), 0.0, kFar,
     "distance of X from its switch at power-on, on the side the search comes from"},
    {"YPowerOnDistance", KORVEL_SIM_ARRAY(PowerOnDistance, 1), 0.0, kFar, "the same for Y"},
    {"ZPowerOnDistance", KORVEL_SIM_ARRAY(PowerOnDistance, 2), 0.0, kFar, "the same for Z"},
    {"APowerOnDistance", KORVEL_SIM_ARRAY(PowerOnDistance, 3), 0.0, kFar, "the same for A"},
    {"XNegativeLimit", KORVEL_SIM_ARRAY(NegativeLimit, 0), -kFar, kFar,
     "travel limits, active while the card's limit mode is on"},
    {"XPositiveLimit", KORVEL_SIM_ARRAY(PositiveLimit, 0), -kFar, kFar, ""},
    {"YNegativeLimit", KORVEL_SIM_ARRAY(NegativeLimit, 1), -kFar, kFar, ""},
    {"YPositiveLimit", KORVEL_SIM_ARRAY(PositiveLimit, 1), -kFar, kFar, ""},
    {"ZNegativeLimit", KORVEL_SIM_ARRAY(NegativeLimit, 2), -kFar, kFar, ""},
    {"ZPositiveLimit", KORVEL_SIM_ARRAY(PositiveLimit, 2), -kFar, kFar, ""},
    {"ANegativeLimit", KORVEL_SIM_ARRAY(NegativeLimit, 3), -kFar, kFar, ""},
    {"APositiveLimit", KORVEL_SIM_ARRAY(PositiveLimit, 3), -kFar, kFar, ""},
    {"AToolSetSwitch", KORVEL_SIM_FIELD(ToolSetSwitch), -kFar, kFar,
     "tool-setting switch IN21 on A; reads 0 at and above this position"},
    {"InfeedLimit", KORVEL_SIM_FIELD(InfeedLimit), -kFar, kFar,
     "A position at which the infeed limit IN19 reads 0; 0 = no such switch"},
    {"CutterOutDelay", KORVEL_SIM_FIELD(CutterOutDelay), 0.0, 600000.0,
     "ms from OUT1 (cutter out) on until IN16 reads 0"},
    {"CutterBackDelay", KORVEL_SIM_FIELD(CutterBackDelay), 0.0, 600000.0,
     "ms from OUT2 (cutter back) on until IN17 reads 0"},
    {"BenderRodDelay", KORVEL_SIM_FIELD(BenderRodDelay), 0.0, 600000.0,
     "ms from OUT4/OUT5 until the rod sensors IN10..IN13 confirm"},
    {"LiftingBenderSensors", KORVEL_SIM_FIELD(LiftingBenderSensors), 0.0, 1.0,
     "1: IN10..IN13 are the lifting double bender's rod sensors, 0: panel buttons"},
    {"EncoderRatio", KORVEL_SIM_FIELD(EncoderRatio), 0.0, 1000.0,
     "encoder counts per X motor pulse; 0 = EncoderPulseEquiv / PulseEquivX"},
    {"EncoderSlip", KORVEL_SIM_FIELD(EncoderSlip), 0.0, 0.5,
     "fraction of the feed lost between roller and strip (0.01 = 1 %)"},
};

#undef KORVEL_SIM_ARRAY
#undef KORVEL_SIM_FIELD

const Entry* findEntry(std::string_view name) {
    for (const Entry& entry : kEntries) {
        if (entry.name.size() == name.size() &&
            common::ToUpper(entry.name) == common::ToUpper(name)) {
            return &entry;
        }
    }
    return nullptr;
}

[[noreturn]] void badLine(size_t lineNumber, std::string_view line) {
    const std::string number = common::FormatNumber(static_cast<double>(lineNumber), "0");
    throw common::UserError(common::error(
        "模拟机床文件 SimMachine.ini 第" + number + "行无法识别：" + std::string(line),
        "SimMachine.ini line " + number + " cannot be read: " + std::string(line)));
}

bool isNumberText(std::string_view text) {
    // The value must be a plain decimal number, nothing after it.
    text = common::Trim(text);
    if (text.empty()) {
        return false;
    }
    size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            digits = true;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

std::int64_t toPulses64(double units, double pulseEquiv) {
    const double pulses = common::RoundHalfEven(units * pulseEquiv);
    const double limit = static_cast<double>(std::numeric_limits<std::int32_t>::max()) * 4.0;
    return static_cast<std::int64_t>(std::clamp(pulses, -limit, limit));
}

} // namespace

SimMachineFile parseSimMachineFile(std::string_view text) {
    SimMachineFile file;
    const common::Lines lines = common::SplitLines(common::WithoutByteOrderMark(text));
    for (const common::SettingLine& setting : common::SettingLines(lines)) {
        if (!setting.hasEquals) {
            badLine(setting.number, setting.text);
        }
        const Entry* entry = findEntry(setting.name);
        std::string_view value = setting.value;
        if (const size_t comment = value.find(';'); comment != std::string_view::npos) {
            value = value.substr(0, comment);
        }
        if (entry == nullptr || !isNumberText(value)) {
            badLine(setting.number, setting.text);
        }
        const double number = common::Val(common::Trim(value));
        if (!(number >= entry->min && number <= entry->max)) {
            badLine(setting.number, setting.text);
        }
        entry->field(file) = number;
    }
    return file;
}

SimMachineFile readSimMachineFile(const common::AppDir& dir) {
    const std::filesystem::path path = dir.file(kSimMachineFileName);
    if (!std::filesystem::exists(path)) {
        return SimMachineFile{};
    }
    return parseSimMachineFile(common::ReadBytes(path));
}

std::string formatSimMachineFile(const SimMachineFile& file) {
    SimMachineFile copy = file;
    std::string text = "; The simulated machine behind the default motion card.\r\n"
                       "; Positions in mm or degrees of the axis, delays in milliseconds.\r\n";
    for (const Entry& entry : kEntries) {
        if (!entry.comment.empty()) {
            text += "; " + std::string(entry.comment) + "\r\n";
        }
        text += std::string(entry.name) + "=" + common::FormatNumber(entry.field(copy), "0.000") +
                "\r\n";
    }
    return text;
}

SimMachine SimMachine::fromFile(const SimMachineFile& file, const ParameterSet& params) {
    const std::array<double, 4> equiv{params.PulseEquivX, params.PulseEquivY, params.PulseEquivZ,
                                      params.PulseEquivA};
    // The feed search always runs towards negative positions; Y and A search
    // in the direction of their homing speed, Z (which leaves its switch
    // against that direction first) likewise.
    const std::array<int, 4> direction{-1, params.HomeSpeedY > 0 ? 1 : -1,
                                       params.HomeSpeedZ >= 0 ? 1 : -1,
                                       params.HomeSpeedA > 0 ? 1 : -1};
    SimMachine machine;
    for (size_t i = 0; i < 4; ++i) {
        SimAxis& axis = machine.axes[i];
        axis.homeSwitch = toPulses64(file.HomeSwitch[i], equiv[i]);
        axis.searchDirection = direction[i];
        axis.powerOnPosition =
            axis.homeSwitch - direction[i] * toPulses64(file.PowerOnDistance[i], equiv[i]);
        axis.negativeLimit = toPulses64(file.NegativeLimit[i], equiv[i]);
        axis.positiveLimit = toPulses64(file.PositiveLimit[i], equiv[i]);
    }
    machine.toolSetSwitch = toPulses64(file.ToolSetSwitch, params.PulseEquivA);
    machine.infeedLimitFitted = std::fabs(file.InfeedLimit) > 1e-9;
    machine.infeedLimit = toPulses64(file.InfeedLimit, params.PulseEquivA);
    machine.cutterOutDelayMs = static_cast<std::int64_t>(file.CutterOutDelay);
    machine.cutterBackDelayMs = static_cast<std::int64_t>(file.CutterBackDelay);
    machine.benderRodDelayMs = static_cast<std::int64_t>(file.BenderRodDelay);
    machine.liftingBenderSensors = file.LiftingBenderSensors > 0.5;
    if (file.EncoderRatio > 0.0) {
        machine.encoderRatio = file.EncoderRatio;
    } else if (params.PulseEquivX > 0.0 && params.EncoderPulseEquiv > 0.0) {
        machine.encoderRatio = params.EncoderPulseEquiv / params.PulseEquivX;
    }
    machine.encoderSlip = file.EncoderSlip;
    return machine;
}

} // namespace korvel::machine
