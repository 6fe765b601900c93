#include "app/ProcessRules.h"

#include <algorithm>
#include <string>

namespace korvel::app {
namespace {

constexpr double kLowestStroke = -0.1;
constexpr int kSlotDepthMin = 1;
constexpr int kSlotDepthMax = 1000;

} // namespace

const std::vector<ProcessBox>& MakerProcessBoxes() {
    static const std::vector<ProcessBox> boxes = {
        {0, "CornerArcAngleThreshold"},
        {1, "SlotAngleThreshold"},
        {2, "TapBendRadiusThreshold"},
        {3, "BendToSlotRadiusThreshold"},
        {4, "TapForceFactorPos"},
        {16, "TapForceFactorNeg"},
        {5, "PressForceFactorPos"},
        {15, "PressForceFactorNeg"},
        {6, "AutoRunAccel"},
        {7, "StartSegmentComp"},
        {8, "EndSegmentComp"},
        {9, "EngraveCutterRadius"},
        {10, "CutterRadiusCompFactor"},
        {14, "ChordErrorTol"},
        {13, "LineStepLength"},
        {12, "JoinAngleThreshold"},
        {11, "DensifyPointCount"},
        {23, "JoinPauseTime"},
        {17, "EncoderPort"},
        {18, "EncoderTolerance"},
        {19, "SaveContourOffset"},
        {20, "InvertEndSlotSwing"},
        {21, "FeedHomeSwitch"},
        {22, "ArcJoinAngleThreshold"},
        {24, "LiftBenderAngle"},
        {25, "AutoToolSetSpeed"},
        {26, "BendBacklash"},
        {27, "TapBackExtraAngle"},
        {28, "InfeedSafeDistance"},
        {29, "ZToolSetPosition"},
        {30, "TapEncoderCorrect"},
        {31, "LiftGiveWayDistance"},
    };
    return boxes;
}

bool InDiscretisationFrame(int index) {
    return index >= 11 && index <= 14;
}

std::vector<std::string_view> MakerProcessFields() {
    std::vector<std::string_view> fields;
    for (const auto& box : MakerProcessBoxes()) {
        fields.push_back(box.field);
    }
    fields.push_back("RunMode");
    return fields;
}

MakerProcessAccess MakerProcessAccessFor(std::int16_t userLevel) {
    return {userLevel >= 1, userLevel >= 2};
}

const std::vector<std::string_view>& UserProcessFields() {
    static const std::vector<std::string_view> fields = {
        // "长度参数"
        "PulseEquivX",
        "EncoderPulseEquiv",
        "EngraveCutterRadius",
        "JoinPauseTime",
        "MaxFeedLength",
        // "弯弧参数"
        "IdleAnglePos",
        "IdleAngleNeg",
        "ArcCorrPos",
        "ArcCorrNeg",
        "SlotTapPositionCorr",
        "TapAtSlot",
        "BendToSlotRadiusThreshold",
        "SlotAngleThreshold",
        // "开槽参数"
        "CycleCount",
        "DownStrokeFront",
        "DownStrokeBack",
        "CutStroke(0)",
        "CutStroke(1)",
        "CutStroke(2)",
        "CutStroke(3)",
        "CutStroke(4)",
        "CutStroke(5)",
        "CutOffStroke",
        "HomeOffsetZ",
        "HomeInfeedFirst",
        "InfeedDistanceLimit",
        // Shown beside them and saved with them, so no edit is lost.
        "ZToolSetPosition",
        "InfeedSafeDistance",
        // The user process window's own values.
        "InfeedToolSetPosition",
        "InfeedToolSetLock",
        "ClampCheckActive",
        "ExtraSlotActive",
        "ExtraSlotSpacing",
        "ExtraSlotDepth",
        "ToolSetFromBasePlate",
    };
    return fields;
}

StrokeCheck CheckDownStroke(const machine::ParameterSet& saved, double entered,
                            bool lockTotalDepth) {
    if (saved.InfeedControl != 1 || !lockTotalDepth) {
        return {true, entered, {}};
    }
    const double travel = saved.HomeOffsetZ + saved.DownStrokeFront;
    // NaN fails both comparisons and is refused with the rest.
    if (entered >= kLowestStroke && entered < travel) {
        return {true, entered, {}};
    }
    return {false, saved.DownStrokeFront,
            common::notice("参数设置超过总行程或为负，请重新设置",
                           "The value is beyond the total stroke or negative, please set it "
                           "again")};
}

std::int16_t CoarseSlotDepth(int position) {
    const int value = std::clamp(position, kSlotDepthMin, kSlotDepthMax) / 10 * 10;
    return static_cast<std::int16_t>(std::max(value, 10));
}

std::int16_t FineSlotDepth(int position) {
    return static_cast<std::int16_t>(std::clamp(position, kSlotDepthMin, kSlotDepthMax));
}

std::string SlotDepthLabel(std::int16_t percent, std::int16_t languageFlag) {
    return (languageFlag == 0 ? "开槽深度：" : "Slott Depth：") + std::to_string(percent) + "%";
}

} // namespace korvel::app
