#pragma once
// The machine's parameter set: the 110 values of one parameter group
// (SysPara/SYS_<n>.ini), one per line of the group file, in file order.
// Every subsystem reads them under these names: the generators take the
// process values, the interpreter and executor the pulse equivalents, speeds
// and machine options, the geometry its discretisation values.
//
// Beside it lives ParameterTables: the group choice, the group names, the
// language flag and the curvature and tapping-spacing tables of the current
// curvature group. Both are plain data handed around by reference; the
// operations that read and write them are in ParameterFiles.h, the
// description of every line (name, type, captions, defaults) in
// ParameterTable.h.

#include <array>
#include <cstdint>
#include <string>

namespace korvel::machine {

// Lines of a complete group file.
inline constexpr int kParameterLineCount = 110;
// Lines an old group file must have at least.
inline constexpr int kParameterRequiredLines = 73;

struct ParameterSet {
    // Process thresholds and force factors (lines 1-8).
    double CornerArcAngleThreshold = 0;   // 1  corner-to-arc turn angle threshold
    double SlotAngleThreshold = 0;        // 2  slotting turn angle threshold
    double TapBendRadiusThreshold = 0;    // 3  below this radius arcs are tapped
    double BendToSlotRadiusThreshold = 0; // 4  below this radius a bend becomes a slot
    double TapForceFactorPos = 0;         // 5  positive tapping force factor
    double PressForceFactorPos = 0;       // 6  positive continuous (press) force factor
    double TapForceFactorNeg = 0;         // 7  negative tapping force factor
    double PressForceFactorNeg = 0;       // 8  negative continuous force factor
    double AutoRunAccel = 0;              // 9  shown and stored only
    double StartSegmentComp = 0;          // 10 start segment length compensation
    double EndSegmentComp = 0;            // 11 end segment length compensation
    double EngraveCutterRadius = 0;       // 12 engraving cutter radius
    double CutterRadiusCompFactor = 0;    // 13 cutter radius compensation factor
    // Discretisation values handed to the geometry (TranParas).
    double ChordErrorTol = 0;           // 14 chord height error of control points
    double LineStepLength = 0;          // 15 straight-line discretisation interval
    double JoinAngleThreshold = 0;      // 16 joining angle threshold
    std::int16_t DensifyPointCount = 0; // 17 densification points between two nodes
    std::int16_t RunMode = 0;           // 18 0 machining, 1 debug; always saved as 0

    // Feed axis X (mm).
    double PulseEquivX = 0;            // 19 pulses per mm
    std::int16_t HomeSpeedX = 0;       // 20
    std::int16_t ManualSpeedX = 0;     // 21
    double AccelX = 0;                 // 22
    double HomeOffsetX = 0;            // 23 back-off after homing
    std::int16_t HomeOffsetSpeedX = 0; // 24
    std::int16_t AutoSpeedX = 0;       // 25
    // Bending arm Y (degrees).
    double PulseEquivY = 0;            // 26
    std::int16_t HomeSpeedY = 0;       // 27
    std::int16_t ManualSpeedY = 0;     // 28
    double AccelY = 0;                 // 29
    double HomeOffsetY = 0;            // 30
    std::int16_t HomeOffsetSpeedY = 0; // 31
    std::int32_t AutoSpeedY = 0;       // 32 the only 32-bit integer of the file
    // Cutter up/down Z.
    double PulseEquivZ = 0;            // 33
    std::int16_t HomeSpeedZ = 0;       // 34
    std::int16_t ManualSpeedZ = 0;     // 35
    double AccelZ = 0;                 // 36
    double HomeOffsetZ = 0;            // 37
    std::int16_t HomeOffsetSpeedZ = 0; // 38
    std::int16_t AutoSpeedZ = 0;       // 39
    // Swing (degrees) or infeed (mm) axis A.
    double PulseEquivA = 0;            // 40
    std::int16_t HomeSpeedA = 0;       // 41
    std::int16_t ManualSpeedA = 0;     // 42
    double AccelA = 0;                 // 43
    double HomeOffsetA = 0;            // 44
    std::int16_t HomeOffsetSpeedA = 0; // 45
    std::int16_t AutoSpeedA = 0;       // 46

    // Equipment: cutter, slotting and bender configuration.
    double BladeAngle = 0;                // 47 blade angle (deg); half goes to the geometry
    std::int16_t SpinControl = 0;         // 48 0 spin before slotting, 1 spin throughout
    std::int16_t CutterUpDownControl = 0; // 49 0 by IO, 1 by Z motor
    std::int16_t InPositionCheck = 0;     // 50 0 wait for input, 1 fixed delay
    std::int16_t InPositionDelay = 0;     // 51 delay of the in-position check
    double DownStrokeFront = 0;           // 52 cutter down stroke, front cut
    std::int16_t FrontSwingControl = 0;   // 53 0 swing from letter shape, 1 no swing
    double FrontMaxSwing = 0;             // 54
    std::int16_t SlotControl = 0;         // 55 0 both sides, 1 front only
    std::int16_t BackSwingControl = 0;    // 56 0 from letter shape, 1 none
    double BackMaxSwing = 0;              // 57
    std::int16_t InfeedControl = 0;       // 58 0 no infeed, 1 motor infeed on A
    std::int16_t HomeInfeedFirst = 0;     // 59 home the infeed axis before infeed
    // Strokes of cuts 1-6: lines 60, 61, 62 and 90, 91, 92.
    std::array<double, 6> CutStroke{};
    double CutOffStroke = 0;       // 63
    std::string SlotActionOrder;   // 64 letters U D P N F B
    std::int16_t CycleCount = 0;   // 65 cuts per slot
    std::int16_t FeedType = 0;     // 66 0 friction roller, 1 gripper single, 2 gripper double
    double GripperStroke = 0;      // 67
    std::int16_t BenderType = 0;   // 68 0 none, 1 single, 2 double, 3 lifting double
    double IdleAnglePos = 0;       // 69 positive idle (backlash) angle of the bender
    double IdleAngleNeg = 0;       // 70
    double MaxBendAngle = 0;       // 71
    double BendToSlotDistance = 0; // 72 bend point to slot line
    double BenderInOutDelay = 0;   // 73 0 = detect by IO input
    double EncoderPulseEquiv = 0;  // 74 optional line
    double DownStrokeBack = 0;     // 75 optional line

    // Later additions (lines 76-110); older files lack them.
    double ArcCorrPos = 0;               // 76
    double ArcCorrNeg = 0;               // 77
    std::int16_t JoinPauseTime = 0;      // 78
    std::int16_t EncoderPort = 0;        // 79 0 no X encoder, else its serial port
    double EncoderTolerance = 0;         // 80 encoder pulses
    std::int16_t SaveContourOffset = 0;  // 81
    std::int16_t InvertEndSlotSwing = 0; // 82
    std::int16_t FeedHomeSwitch = 0;     // 83 0 fitted, >0 retract length when homing
    double ArcJoinAngleThreshold = 0;    // 84 0.1 .. 1 degree
    double LiftBenderAngle = 0;          // 85
    std::int16_t AutoToolSetSpeed = 0;   // 86 0 = not supported
    double BendBacklash = 0;             // 87
    double TapBackExtraAngle = 0;        // 88
    double InfeedSafeDistance = 0;       // 89
    // Lines 90-92 are CutStroke[3..5].
    double SlotTapPositionCorr = 0;     // 93
    double InfeedDistanceLimit = 0;     // 94
    std::int16_t TapAtSlot = 0;         // 95
    std::int16_t ZAxisSwingCutter = 0;  // 96
    double ZToolSetPosition = 0;        // 97
    std::int16_t TapEncoderCorrect = 0; // 98
    double LiftGiveWayDistance = 0;     // 99 0 off, >0 on (at least 30 mm)
    std::int16_t SlotDepthCorr = 0;     // 100 percent
    std::int16_t InfeedAccumulate = 0;  // 101
    std::int16_t InfeedLimitActive = 0; // 102
    double MaxFeedLength = 0;           // 103
    // Values of the user process window (lines 104-110).
    double InfeedToolSetPosition = 0;   // 104 infeed (A) position where the cutter meets the strip
    std::int16_t InfeedToolSetLock = 0; // 105 1: that position is locked against editing
    std::int16_t ClampCheckActive = 0;  // 106 1: the clamp's in-place input is checked
    std::int16_t ExtraSlotActive = 0;   // 107 1: acute corners get extra slots
    double ExtraSlotSpacing = 0;        // 108 spacing of the extra slots
    double ExtraSlotDepth = 0;          // 109 depth of the extra slots
    std::int16_t ToolSetFromBasePlate = 0; // 110 1: tool setting measures from the base plate

    // The description text of every line as read from the group file,
    // written back unchanged; index = line - 1 (so the six cut-stroke
    // descriptions are at 59, 60, 61, 89, 90, 91).
    std::array<std::string, kParameterLineCount> descriptions;

    std::string& description(int line) { return descriptions.at(static_cast<size_t>(line - 1)); }
    const std::string& description(int line) const {
        return descriptions.at(static_cast<size_t>(line - 1));
    }

    bool operator==(const ParameterSet&) const = default;
};

// Row of a curvature table: the bending-arm angle that gives an arc of this
// radius. Rows are kept ordered by decreasing radius.
struct CurvatureRow {
    double angle = 0;  // degrees
    double radius = 0; // mm
    bool operator==(const CurvatureRow&) const = default;
};

// Row of the tapping-spacing table: arcs with a radius below radiusLimit
// are tapped every `spacing` mm; the last valid row holds the spacing for
// all larger radii (its radius limit is 0).
struct TapSpacingRow {
    double radiusLimit = 0;
    double spacing = 0;
    bool operator==(const TapSpacingRow&) const = default;
};

inline constexpr int kGroupCount = 10;
inline constexpr int kCurvatureRows = 201;
inline constexpr int kTapSpacingRows = 11;

// The machine state kept beside the parameter set: which parameter group
// and which curvature group are current, their names, the operator's
// language, and the tables of the current curvature group.
struct ParameterTables {
    std::int16_t ParaGroupNo = 0; // 0..9
    std::int16_t CurvGroupNo = 0; // 0..9
    std::array<std::string, kGroupCount> ParaGroupNames;
    std::array<std::string, kGroupCount> CurvGroupNames;
    std::int16_t LanguageFlag = 0; // 0 Chinese, non-zero English

    // Curvature tables, rows 0..ArcTablePosLast / ArcTableNegLast are valid
    // (-1 while nothing is loaded).
    std::array<CurvatureRow, kCurvatureRows> ArcTablePos{};
    std::array<CurvatureRow, kCurvatureRows> ArcTableNeg{};
    std::int16_t ArcTablePosLast = -1;
    std::int16_t ArcTableNegLast = -1;

    // Tapping-spacing table, rows 0..TapSpacingCount-1 are valid.
    std::array<TapSpacingRow, kTapSpacingRows> TapSpacing{};
    std::int16_t TapSpacingCount = 0;

    bool operator==(const ParameterTables&) const = default;
};

} // namespace korvel::machine
