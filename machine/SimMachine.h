#pragma once
// The description of the simulated machine behind SimulatedCard: where the
// switches sit, how far the axes stand from them at power-on, the travel
// limits, the pneumatic delays and the feed encoder. It lives in the
// application folder as SimMachine.ini ("Name=Value" lines, ';' comments,
// positions in mm or degrees of each axis, delays in milliseconds); a missing
// file gives the built-in values below, which are also what the shipped
// resources/SimMachine.ini holds.
//
// Switch positions are the edges of the cams in the machine's own frame:
// each home switch is pressed from its edge onwards in the direction its
// homing search travels (the feed axis searches towards negative positions,
// the other axes by the sign of their homing speed), so a search from the
// power-on position runs onto the cam and stops on its edge.

#include "common/AppDir.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvel::machine {

struct ParameterSet;

inline constexpr std::string_view kSimMachineFileName = "SimMachine.ini";

// The values of SimMachine.ini, in machine units.
struct SimMachineFile {
    // Edge of the home switch of X, Y, Z, A (index 0..3).
    std::array<double, 4> HomeSwitch{0.0, 0.0, 0.0, 0.0};
    // Distance from the switch edge at power-on, on the side the search
    // comes from.
    std::array<double, 4> PowerOnDistance{5.0, 3.0, 4.0, 3.0};
    // Travel limits, active while the card's limit mode is enabled.
    std::array<double, 4> NegativeLimit{-100000.0, -360.0, -200.0, -360.0};
    std::array<double, 4> PositiveLimit{100000.0, 360.0, 200.0, 360.0};
    // Edge of the tool-setting switch on A (pressed from there upwards).
    double ToolSetSwitch = 20.0;
    // A position from which the infeed limit input IN19 reads 0; 0 = none.
    double InfeedLimit = 0.0;
    double CutterOutDelay = 150.0;  // ms from OUT1 on to IN16 reading 0
    double CutterBackDelay = 150.0; // ms from OUT2 on to IN17 reading 0
    double BenderRodDelay = 250.0;  // ms from OUT4/OUT5 to IN10..IN13
    // 1: IN10..IN13 are the lifting double bender's rod sensors; 0: they are
    // the panel buttons.
    double LiftingBenderSensors = 0.0;
    // Encoder counts per motor pulse of X; 0 = EncoderPulseEquiv/PulseEquivX.
    double EncoderRatio = 0.0;
    // Fraction of the feed lost to slip between roller and strip (0..0.5).
    double EncoderSlip = 0.0;
};

// Reads SimMachine.ini from the application folder; built-in values when
// the file is missing. A line that cannot be read, an unknown name or a
// value outside its range throws common::UserError naming the line.
SimMachineFile readSimMachineFile(const common::AppDir& dir);
SimMachineFile parseSimMachineFile(std::string_view text);
// The file as it is shipped: every value with its explanation.
std::string formatSimMachineFile(const SimMachineFile& file);

// The description in pulses, as the simulated card uses it.
struct SimAxis {
    std::int64_t homeSwitch = 0; // edge, pulses
    int searchDirection = 1;     // +1 / -1: side on which the cam is pressed
    std::int64_t powerOnPosition = 0;
    std::int64_t negativeLimit = 0;
    std::int64_t positiveLimit = 0;
};

struct SimMachine {
    std::array<SimAxis, 4> axes{};
    std::int64_t toolSetSwitch = 0; // A pulses
    bool infeedLimitFitted = false;
    std::int64_t infeedLimit = 0; // A pulses
    std::int64_t cutterOutDelayMs = 150;
    std::int64_t cutterBackDelayMs = 150;
    std::int64_t benderRodDelayMs = 250;
    bool liftingBenderSensors = false;
    double encoderRatio = 1.0;
    double encoderSlip = 0.0;

    // Converts the file's units with the pulse equivalents of `params`; the
    // search directions follow the signs of its homing speeds.
    static SimMachine fromFile(const SimMachineFile& file, const ParameterSet& params);
};

} // namespace korvel::machine
