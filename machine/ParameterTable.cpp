#include "machine/ParameterTable.h"

#include "common/Basic.h"
#include "common/Fields.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace korvel::machine {
namespace {

using P = ParameterSet;
using T = ParameterType;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr ValueLimits kAny{-kInf, kInf};
constexpr ValueLimits kFlag{0, 1};
// The 16-bit fields are bounded by their type; these leave them at that.
constexpr ValueLimits kNonNegative{0, kInf};
constexpr ValueLimits kPositive{0, kInf, true};
// Homing speeds: the sign chooses the direction of the switch search.
constexpr ValueLimits kNonZero{-kInf, kInf, false, true};
// Every floating-point field has a finite range, wide enough for any
// machine and narrow enough that a typing slip ("1e308", "100000" for
// "1.00000") is refused before it reaches a move, a feed or a file.
constexpr ValueLimits kAngle{0, 360};              // thresholds and swings (deg)
constexpr ValueLimits kAngleShift{-360, 360};      // offsets and backlash (deg)
constexpr ValueLimits kShortLength{0, 1000};       // strokes, radii, depths (mm)
constexpr ValueLimits kLength{0, 100000};          // distances along the strip (mm)
constexpr ValueLimits kLengthShift{-1000, 1000};   // compensations and positions (mm)
constexpr ValueLimits kFactor{0, 100};             // force factors
constexpr ValueLimits kFactorShift{-100, 100};     // correction factors
constexpr ValueLimits kAccel{0, 1000, true};       // x 10000 for the card
constexpr ValueLimits kAccelOrNone{0, 1000};       // an acceleration that may be 0
constexpr ValueLimits kPulseEquiv{0, 1.0e6, true}; // pulses per mm or deg
constexpr ValueLimits kPulses{0, 1.0e6};           // encoder counts
constexpr ValueLimits kTolerance{0, 100, true};    // chord error (mm)
constexpr ValueLimits kStep{0, 1000, true};        // discretisation step (mm)
constexpr ValueLimits kDelay{0, 100000};           // bender in/out delay (ms)
constexpr ValueLimits kSpeed32{0, 1.0e7, true};    // a 32-bit speed (deg/min)
constexpr std::nullopt_t kKeep = std::nullopt;

// The field's name and member together, so they can never disagree.
#define KV_FIELD(member) #member, &P::member

ParameterInfo dbl(int line, std::string_view name, double P::*member, std::string_view desc,
                  std::string_view unit, double factory, ValueLimits limits = kAny,
                  std::optional<double> ifMissing = kKeep) {
    return {line, name, T::Double, member, desc, unit, factory, ifMissing, limits};
}
ParameterInfo i16(int line, std::string_view name, std::int16_t P::*member, std::string_view desc,
                  std::string_view unit, double factory, ValueLimits limits = kAny,
                  std::optional<double> ifMissing = kKeep) {
    return {line, name, T::Int16, member, desc, unit, factory, ifMissing, limits};
}
ParameterInfo i32(int line, std::string_view name, std::int32_t P::*member, std::string_view desc,
                  std::string_view unit, double factory, ValueLimits limits) {
    return {line, name, T::Int32, member, desc, unit, factory, kKeep, limits};
}
ParameterInfo str(int line, std::string_view name, std::string P::*member, std::string_view desc) {
    return {line, name, T::String, member, desc, "", 0, kKeep, kAny};
}
ParameterInfo cut(int line, int index, std::string_view name, std::string_view desc, double factory,
                  std::optional<double> ifMissing = kKeep) {
    return {line, name,    T::Double, CutStrokeSlot{index}, desc,
            "mm", factory, ifMissing, kShortLength};
}

// Descriptions use full-width punctuation only: an ASCII comma would end
// the description when the file is read back.
std::array<ParameterInfo, kParameterLineCount> buildTable() {
    return {{
        dbl(1, KV_FIELD(CornerArcAngleThreshold), "切角转弯弧转角阀值", "deg", 10, kAngle),
        dbl(2, KV_FIELD(SlotAngleThreshold), "开槽转角阀值", "deg", 30, kAngle),
        dbl(3, KV_FIELD(TapBendRadiusThreshold), "拍打弯弧半径阀值", "mm", 30, kLength),
        dbl(4, KV_FIELD(BendToSlotRadiusThreshold), "弯弧转开槽半径阀值", "mm", 3, kLength),
        dbl(5, KV_FIELD(TapForceFactorPos), "正向拍打弯弧力度系数", "", 1, kFactor),
        dbl(6, KV_FIELD(PressForceFactorPos), "正向连续弯弧力度系数", "", 1, kFactor),
        dbl(7, KV_FIELD(TapForceFactorNeg), "负向拍打弯弧力度系数", "", 1, kFactor),
        dbl(8, KV_FIELD(PressForceFactorNeg), "负向连续弯弧力度系数", "", 1, kFactor),
        dbl(9, KV_FIELD(AutoRunAccel), "自动运行加速度", "", 5, kAccelOrNone),
        dbl(10, KV_FIELD(StartSegmentComp), "起始段长度补偿", "mm", 0, kLengthShift),
        dbl(11, KV_FIELD(EndSegmentComp), "结束段长度补偿", "mm", 0, kLengthShift),
        dbl(12, KV_FIELD(EngraveCutterRadius), "雕刻机铣刀半径", "mm", 1.5, kShortLength),
        dbl(13, KV_FIELD(CutterRadiusCompFactor), "铣刀半径补偿系数", "", 1, kFactorShift),
        dbl(14, KV_FIELD(ChordErrorTol), "控制点离散弦高误差", "mm", 0.05, kTolerance),
        dbl(15, KV_FIELD(LineStepLength), "直线离散间隔", "mm", 2, kStep),
        dbl(16, KV_FIELD(JoinAngleThreshold), "拼接角阀值", "deg", 2, kAngle),
        i16(17, KV_FIELD(DensifyPointCount), "两节点间密化点数", "", 10, {1, 1000}),
        i16(18, KV_FIELD(RunMode), "运行模式：0-加工模式，1-调试模式", "", 0, kFlag),
        dbl(19, KV_FIELD(PulseEquivX), "X轴脉冲当量", "pulse/mm", 200, kPulseEquiv),
        i16(20, KV_FIELD(HomeSpeedX), "X轴回零速度", "mm/min", 3000, kNonZero),
        i16(21, KV_FIELD(ManualSpeedX), "X轴手动速度", "mm/min", 6000, kPositive),
        dbl(22, KV_FIELD(AccelX), "X轴加速度", "", 5, kAccel),
        dbl(23, KV_FIELD(HomeOffsetX), "X轴回零摆正", "mm", 2, kLengthShift),
        i16(24, KV_FIELD(HomeOffsetSpeedX), "X轴摆正速度", "mm/min", 1000, kPositive),
        i16(25, KV_FIELD(AutoSpeedX), "X轴自动速度", "mm/min", 12000, kPositive),
        dbl(26, KV_FIELD(PulseEquivY), "Y轴脉冲当量", "pulse/deg", 100, kPulseEquiv),
        i16(27, KV_FIELD(HomeSpeedY), "Y轴回零速度", "deg/min", 3600, kNonZero),
        i16(28, KV_FIELD(ManualSpeedY), "Y轴手动速度", "deg/min", 7200, kPositive),
        dbl(29, KV_FIELD(AccelY), "Y轴加速度", "", 10, kAccel),
        dbl(30, KV_FIELD(HomeOffsetY), "Y轴回零摆正", "deg", 0, kAngleShift),
        i16(31, KV_FIELD(HomeOffsetSpeedY), "Y轴摆正速度", "deg/min", 1800, kPositive),
        i32(32, KV_FIELD(AutoSpeedY), "Y轴自动速度", "deg/min", 36000, kSpeed32),
        dbl(33, KV_FIELD(PulseEquivZ), "Z轴脉冲当量", "pulse/mm", 400, kPulseEquiv),
        i16(34, KV_FIELD(HomeSpeedZ), "Z轴回零速度", "mm/min", 600, kNonZero),
        i16(35, KV_FIELD(ManualSpeedZ), "Z轴手动速度", "mm/min", 1200, kPositive),
        dbl(36, KV_FIELD(AccelZ), "Z轴加速度", "", 5, kAccel),
        dbl(37, KV_FIELD(HomeOffsetZ), "Z轴回零摆正", "mm", 1, kLengthShift),
        i16(38, KV_FIELD(HomeOffsetSpeedZ), "Z轴摆正速度", "mm/min", 300, kPositive),
        i16(39, KV_FIELD(AutoSpeedZ), "Z轴自动速度", "mm/min", 3000, kPositive),
        dbl(40, KV_FIELD(PulseEquivA), "A轴脉冲当量", "pulse/deg", 100, kPulseEquiv),
        i16(41, KV_FIELD(HomeSpeedA), "A轴回零速度", "deg/min", 3600, kNonZero),
        i16(42, KV_FIELD(ManualSpeedA), "A轴手动速度", "deg/min", 7200, kPositive),
        dbl(43, KV_FIELD(AccelA), "A轴加速度", "", 8, kAccel),
        dbl(44, KV_FIELD(HomeOffsetA), "A轴回零摆正", "deg", 0, kAngleShift),
        i16(45, KV_FIELD(HomeOffsetSpeedA), "A轴摆正速度", "deg/min", 1800, kPositive),
        i16(46, KV_FIELD(AutoSpeedA), "A轴自动速度", "deg/min", 18000, kPositive),
        dbl(47, KV_FIELD(BladeAngle), "切刀刀刃角度", "deg", 45, {0, 180, true}),
        i16(48, KV_FIELD(SpinControl), "刀转控制：0-开槽前转动，1-加工中一直转", "", 0, kFlag),
        i16(49, KV_FIELD(CutterUpDownControl), "上下刀控制：0-IO控制，1-电机控制", "", 1, kFlag),
        i16(50, KV_FIELD(InPositionCheck), "到位检测：0-IO，1-延时", "", 0, kFlag),
        i16(51, KV_FIELD(InPositionDelay), "到位检测延时", "ms", 300, kNonNegative),
        dbl(52, KV_FIELD(DownStrokeFront), "正切下刀行程", "mm", 5, kLengthShift),
        i16(53, KV_FIELD(FrontSwingControl), "正面摆角控制：0-按字形计算摆角，1-不摆角", "", 0,
            kFlag),
        dbl(54, KV_FIELD(FrontMaxSwing), "正面最大摆角", "deg", 45, kAngle),
        i16(55, KV_FIELD(SlotControl), "开槽控制：0-双面切，1-正面切", "", 0, kFlag),
        i16(56, KV_FIELD(BackSwingControl), "背面摆角控制：0-按字形计算摆角，1-不摆角", "", 0,
            kFlag),
        dbl(57, KV_FIELD(BackMaxSwing), "背面最大摆角", "deg", 45, kAngle),
        i16(58, KV_FIELD(InfeedControl), "进退刀控制：0-无进退，1-电机进退", "", 0, kFlag),
        i16(59, KV_FIELD(HomeInfeedFirst), "进刀前找零", "", 0, kFlag),
        cut(60, 0, "CutStroke[0]", "第一刀行程", 0.6),
        cut(61, 1, "CutStroke[1]", "第二刀行程", 0.8),
        cut(62, 2, "CutStroke[2]", "第三刀行程", 1),
        dbl(63, KV_FIELD(CutOffStroke), "切断行程", "mm", 1, kShortLength),
        str(64, KV_FIELD(SlotActionOrder), "开槽动作顺序"),
        i16(65, KV_FIELD(CycleCount), "循环次数", "", 1, {1, 6}),
        i16(66, KV_FIELD(FeedType), "送料方式：0-滚动摩擦送料，1-机械手单行程，2-机械手双行程", "",
            0, {0, 2}),
        dbl(67, KV_FIELD(GripperStroke), "机械手行程", "mm", 200, kLength),
        i16(68, KV_FIELD(BenderType),
            "弯弧器类型：0-无弯弧器，1-单弯弧器，2-双弯弧器，3-升降双弯弧器", "", 1, {0, 3}),
        dbl(69, KV_FIELD(IdleAnglePos), "正向空程角", "deg", 3, kAngle),
        dbl(70, KV_FIELD(IdleAngleNeg), "负向空程角", "deg", 3, kAngle),
        dbl(71, KV_FIELD(MaxBendAngle), "最大弯弧角", "deg", 90, kAngle),
        dbl(72, KV_FIELD(BendToSlotDistance), "弯弧点至开槽线距离", "mm", 80, kLength),
        dbl(73, KV_FIELD(BenderInOutDelay), "弯弧器进出延时：0-IO检测", "", 0, kDelay),
        dbl(74, KV_FIELD(EncoderPulseEquiv), "送料轴编码器脉冲当量", "pulse/mm", 80, kPulses),
        dbl(75, KV_FIELD(DownStrokeBack), "背切下刀行程", "mm", 5, kLengthShift),
        dbl(76, KV_FIELD(ArcCorrPos), "正弧修正系数", "", 0, kFactorShift),
        dbl(77, KV_FIELD(ArcCorrNeg), "负弧修正系数", "", 0, kFactorShift),
        i16(78, KV_FIELD(JoinPauseTime), "接料暂停时间", "", 0, kNonNegative),
        i16(79, KV_FIELD(EncoderPort), "是否装有X轴编码器，0-否，非0-读编码器串口号", "", 0,
            kNonNegative),
        dbl(80, KV_FIELD(EncoderTolerance), "X轴编码器修正精度，单位：编码器脉冲数", "", 2, kPulses,
            2),
        i16(81, KV_FIELD(SaveContourOffset), "是否保存轮廓偏移0-否1-是", "", 0, kFlag),
        i16(82, KV_FIELD(InvertEndSlotSwing), "起止点开槽摆角是否取反0-否1-是", "", 0, kFlag),
        i16(83, KV_FIELD(FeedHomeSwitch), "是否装有送料零位开关0-是，>0-未装开关回零时退料长度",
            "mm", 0, kNonNegative),
        dbl(84, KV_FIELD(ArcJoinAngleThreshold), "线段拼弧夹角阀值，取值0.1至1，单位度", "deg", 0.2,
            {0, 1}, 0.2),
        dbl(85, KV_FIELD(LiftBenderAngle), "双升降弯弧器杆升降角度", "deg", 0, kAngleShift, 0),
        i16(86, KV_FIELD(AutoToolSetSpeed), "自动对刀进给速度，0-不支持此功能", "", 0, kNonNegative,
            0),
        dbl(87, KV_FIELD(BendBacklash), "弯弧轴反向间隙补偿", "deg", 0, kAngleShift, 0),
        dbl(88, KV_FIELD(TapBackExtraAngle), "拍弧回退附加角度", "deg", 0, kAngleShift, 0),
        dbl(89, KV_FIELD(InfeedSafeDistance), "进刀安全距度", "mm", 0, kLengthShift, 0),
        cut(90, 3, "CutStroke[3]", "第四刀距度", 0, 0),
        cut(91, 4, "CutStroke[4]", "第五刀距度", 0, 0),
        cut(92, 5, "CutStroke[5]", "第六刀距度", 0, 0),
        dbl(93, KV_FIELD(SlotTapPositionCorr), "开槽处拍弧位置修正", "mm", 0, kLengthShift, 0),
        dbl(94, KV_FIELD(InfeedDistanceLimit), "进刀距离限制", "mm", 1, kShortLength, 1),
        i16(95, KV_FIELD(TapAtSlot), "开槽处是否拍弧", "", 0, kFlag, 0),
        i16(96, KV_FIELD(ZAxisSwingCutter), "Z轴是否用于摆刀标志", "", 0, kFlag, 0),
        dbl(97, KV_FIELD(ZToolSetPosition), "上下刀对刀位置", "mm", 20, kLengthShift, 20),
        i16(98, KV_FIELD(TapEncoderCorrect), "拍弧时是否编码器修正X轴，0否，1是", "", 0, kFlag, 0),
        dbl(99, KV_FIELD(LiftGiveWayDistance), "弯弧杆升降时X向前让料距离，0关闭，>0打开，最小30mm",
            "mm", 0, kLength, 0),
        i16(100, KV_FIELD(SlotDepthCorr), "开槽深度修正", "%", 100, {1, 1000}, 100),
        i16(101, KV_FIELD(InfeedAccumulate), "进刀是否累加", "", 0, kFlag, 0),
        i16(102, KV_FIELD(InfeedLimitActive), "进刀限位是否有效", "", 0, kFlag, 0),
        dbl(103, KV_FIELD(MaxFeedLength), "单次最长送料长度", "mm", 0, kLength, 0),
        dbl(104, KV_FIELD(InfeedToolSetPosition), "进刀对刀位置", "mm", 0, kLengthShift, 0),
        i16(105, KV_FIELD(InfeedToolSetLock), "进刀对刀位置锁定0-否1-是", "", 0, kFlag, 0),
        i16(106, KV_FIELD(ClampCheckActive), "压紧检测打开0-否1-是", "", 0, kFlag, 0),
        i16(107, KV_FIELD(ExtraSlotActive), "锐角附加开槽0-否1-是", "", 0, kFlag, 0),
        dbl(108, KV_FIELD(ExtraSlotSpacing), "锐角附加开槽间距", "mm", 5, kLength, 5),
        dbl(109, KV_FIELD(ExtraSlotDepth), "锐角附加开槽深度", "mm", 0.3, kShortLength, 0.3),
        i16(110, KV_FIELD(ToolSetFromBasePlate), "以机器底板为基准对刀0-否1-是", "", 0, kFlag, 0),
    }};
}

#undef KV_FIELD

const std::array<ParameterInfo, kParameterLineCount> kTable = buildTable();

// The table must list the lines in order: the reader relies on index = line - 1.
bool tableInOrder() {
    for (size_t i = 0; i < kTable.size(); ++i) {
        if (kTable[i].line != static_cast<int>(i) + 1) {
            return false;
        }
    }
    return true;
}
const bool kTableChecked = [] {
    if (!tableInOrder()) {
        throw std::logic_error("parameter table out of line order");
    }
    return true;
}();

} // namespace

const std::array<ParameterInfo, kParameterLineCount>& ParameterTable() {
    return kTable;
}

const ParameterInfo& ParameterLine(int line) {
    return kTable.at(static_cast<size_t>(line - 1));
}

const ParameterInfo* FindParameter(std::string_view name) {
    std::string key(name);
    // "CutStroke(2)" as the equipment window's array is written elsewhere.
    if (key.size() == 12 && key.rfind("CutStroke(", 0) == 0 && key.back() == ')') {
        key[9] = '[';
        key[11] = ']';
    }
    for (const auto& info : kTable) {
        if (info.name == key) {
            return &info;
        }
    }
    return nullptr;
}

ParameterSet FactoryParameterSet() {
    (void)kTableChecked;
    ParameterSet set;
    for (const auto& info : kTable) {
        if (info.type == ParameterType::String) {
            set.SlotActionOrder = std::string(kFactorySlotActionOrder);
        } else {
            SetNumericValue(set, info, info.factory);
        }
        set.description(info.line) = std::string(info.description);
    }
    return set;
}

double NumericValue(const ParameterSet& set, const ParameterInfo& info) {
    return std::visit(
        [&](auto field) -> double {
            using F = decltype(field);
            if constexpr (std::is_same_v<F, CutStrokeSlot>) {
                return set.CutStroke.at(static_cast<size_t>(field.index));
            } else if constexpr (std::is_same_v<F, std::string P::*>) {
                return 0.0;
            } else {
                return static_cast<double>(set.*field);
            }
        },
        info.field);
}

void SetNumericValue(ParameterSet& set, const ParameterInfo& info, double value) {
    std::visit(
        [&](auto field) {
            using F = decltype(field);
            if constexpr (std::is_same_v<F, CutStrokeSlot>) {
                set.CutStroke.at(static_cast<size_t>(field.index)) = value;
            } else if constexpr (std::is_same_v<F, double P::*>) {
                set.*field = value;
            } else if constexpr (std::is_same_v<F, std::int16_t P::*>) {
                set.*field = common::CIntSaturated(value);
            } else if constexpr (std::is_same_v<F, std::int32_t P::*>) {
                set.*field = common::CLngSaturated(value);
            }
        },
        info.field);
}

std::string ValueText(const ParameterSet& set, const ParameterInfo& info) {
    switch (info.type) {
    case ParameterType::String:
        return set.SlotActionOrder;
    case ParameterType::Double:
        return common::Str(NumericValue(set, info));
    case ParameterType::Int16:
    case ParameterType::Int32:
        return common::Str(static_cast<long long>(NumericValue(set, info)));
    }
    return {};
}

ValueProblem CheckValue(const ParameterInfo& info, double value) {
    if (!std::isfinite(value)) {
        return ValueProblem::OutOfType;
    }
    const double rounded = common::RoundHalfEven(value);
    if (info.type == ParameterType::Int16 && (rounded < std::numeric_limits<std::int16_t>::min() ||
                                              rounded > std::numeric_limits<std::int16_t>::max())) {
        return ValueProblem::OutOfType;
    }
    if (info.type == ParameterType::Int32 && (rounded < std::numeric_limits<std::int32_t>::min() ||
                                              rounded > std::numeric_limits<std::int32_t>::max())) {
        return ValueProblem::OutOfType;
    }
    const bool integer = info.type == ParameterType::Int16 || info.type == ParameterType::Int32;
    return info.limits.contains(integer ? rounded : value) ? ValueProblem::None
                                                           : ValueProblem::OutOfLimits;
}

std::string LimitsText(const ParameterInfo& info) {
    const ValueLimits& l = info.limits;
    const auto num = [](double v) { return std::string(common::Trim(common::Str(v))); };
    if (l.lo == -kInf && l.hi == kInf) {
        if (l.nonZero) {
            return "!= 0";
        }
        return info.type == ParameterType::Int16 ? "-32768 .. 32767" : "any number";
    }
    if (l.hi == kInf) {
        return (l.loOpen ? "> " : ">= ") + num(l.lo);
    }
    return (l.loOpen ? "> " + num(l.lo) + " and <= " : num(l.lo) + " .. ") + num(l.hi);
}

std::optional<double> ParseNumber(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        const size_t expStart = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - expStart < 4) {
            ++i;
        }
        if (i == expStart) {
            return std::nullopt;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    // Val reads an overflowing number as 0: a mantissa with a non-zero
    // digit that comes back as 0 was too large for a double.
    const double v = common::Val(text);
    const size_t mantissaEnd = text.find_first_of("EeDd");
    if (v == 0.0 &&
        text.substr(0, mantissaEnd).find_first_of("123456789") != std::string_view::npos &&
        mantissaEnd != std::string_view::npos &&
        text.find('-', mantissaEnd) == std::string_view::npos) {
        return std::nullopt;
    }
    return v;
}

bool IsValidSlotActionOrder(std::string_view text) {
    for (char c : text) {
        if (std::string_view("UDPNFB").find(c) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

} // namespace korvel::machine
