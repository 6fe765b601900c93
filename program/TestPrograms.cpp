#include "program/TestPrograms.h"

#include "common/Basic.h"
#include "machine/AxisUnits.h"
#include "machine/MotionCard.h"
#include "machine/RunState.h"
#include "program/BendQueue.h"
#include "program/BendWriter.h"
#include "program/CurvatureLookup.h"
#include "program/FeedWriter.h"
#include "program/HomingPreamble.h"
#include "program/JoiningTable.h"
#include "program/ProgramText.h"
#include "program/SlotBlock.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace korvel::program {

namespace {

using common::FormatNumber;

// The jog programs feed this much while the button is held; releasing the
// button stops them long before.
constexpr double kJogLength = 3000.0;
// A test arc never needs more taps than this; more means absurd data.
constexpr double kMaxTaps = 5000.0;
// Limits of the tapping test and the calibration move: beyond them the
// operator mistyped (a strip is never fed 100 m to calibrate).
constexpr int kMaxTestTaps = 1000;
constexpr double kMaxTapAngle = 180.0;
constexpr double kMaxTestFeed = 10000.0;

[[noreturn]] void refuseField(const std::string& zhField, const std::string& enField,
                              const std::string& range) {
    throw common::UserError(
        common::error("数值错误：" + zhField + "须在" + range + "之间！",
                      "Wrong value: " + enField + " must be within " + range + "!"));
}

} // namespace

bool MeasuredLengthAccepted(double measured, double commanded) {
    return std::fabs(measured - commanded) <= 15.0 && measured >= 1.0 && commanded >= 1.0;
}

common::Message LengthErrorMessage() {
    return common::error("长度错误，请重新测量并输入以mm为单位的数值！",
                         "Length Error,Input Against!");
}

TestPrograms::TestPrograms(common::AppDir dir, machine::ParameterSet& params,
                           const machine::ParameterTables& tables, machine::RunState& run,
                           machine::MotionCard& card, bool encoderOn)
    : m_dir(std::move(dir)), m_p(params), m_tables(tables), m_run(run), m_card(card),
      m_encoderOn(encoderOn) {}

std::string TestPrograms::speed(double value) const {
    return " F" + FormatNumber(value, "0");
}

std::string TestPrograms::feedLine(double x) const {
    return "G01 X" + FormatNumber(x, "0.0000") + speed(m_p.AutoSpeedX);
}

ProgramText TestPrograms::preamble(bool homeBender) const {
    ProgramText t;
    WriteHomingSteps(t, m_p, m_card, homeBender);
    t.add("G90 G01");
    t.add("G92 X0");
    return t;
}

void TestPrograms::load(ProgramText& program, machine::RunKind kind) {
    program.write(m_dir);
    m_run.loadProgram(m_dir, kind);
}

void TestPrograms::SLxzhJG(double length) {
    if (!(length >= 1.0 && length <= kMaxTestFeed)) {
        refuseField("加工长度：", "Test length", "1 .. 10000 mm");
    }
    ProgramText t = preamble(true);
    SlotBlock slot(t, m_p, m_encoderOn);
    slot.Print_KCaction(0, kSlotStraight, kFaceFront, kSlotFlagNone);
    t.add(feedLine(length));
    slot.Print_KCaction(0, kSlotStraight, kFaceFront, kSlotFlagNone);
    t.add(feedLine(length + m_p.BendToSlotDistance + 10));
    t.add("M30");
    load(t);
}

common::Message TestPrograms::SLxzhCSh(const std::string& measured, double length) {
    const double m = common::Val(measured);
    if (!MeasuredLengthAccepted(m, length)) {
        return LengthErrorMessage();
    }
    common::Message done;
    if (!m_encoderOn || m_p.EncoderPort < 0.5) {
        // The strip came out m where the motor was told L: the motor needs
        // L/m times the pulses per mm it was given.
        m_p.PulseEquivX = m_p.PulseEquivX * length / m;
        done = common::notice("调整完成，送料轴电机新当量：" + common::Str(m_p.PulseEquivX),
                              "Adjust Finished, Axis New value:" + common::Str(m_p.PulseEquivX));
    } else {
        m_p.EncoderPulseEquiv = m_p.EncoderPulseEquiv * length / m;
        done = common::notice("调整完成，编码器新当量：" + common::Str(m_p.EncoderPulseEquiv),
                              "Adjust Finished, Encoder New value:" +
                                  common::Str(m_p.EncoderPulseEquiv));
    }
    if (m_save) {
        m_save();
    }
    return done;
}

void TestPrograms::KCPcshJG() {
    ProgramText t = singleSlot(SlotTest::Front);
    load(t);
}

void TestPrograms::KCNcshJG() {
    ProgramText t = singleSlot(SlotTest::Back);
    load(t);
}

void TestPrograms::WFPcshiJG(const TestArc& arc) {
    testArc(arc, true);
}

void TestPrograms::WFNcshiJG(const TestArc& arc) {
    testArc(arc, false);
}

void TestPrograms::testArc(const TestArc& arc, bool positive) {
    if (!(arc.radius > 0.1 && arc.radius < 100000.0 && arc.angle > 0.0 && arc.angle <= 360.0)) {
        throw common::UserError(
            common::error("测试圆弧数据错误：半径须大于0.1mm，角度须在0至360度之间！",
                          "Test arc error: the radius must be above 0.1 mm and "
                          "the angle between 0 and 360 degrees!"));
    }
    const double length = std::numbers::pi * arc.radius * arc.angle / 180.0;
    const double theta =
        positive ? BendAngleForRadius(m_tables.ArcTablePos, m_tables.ArcTablePosLast, arc.radius)
                 : -BendAngleForRadius(m_tables.ArcTableNeg, m_tables.ArcTableNegLast, arc.radius);

    ProgramText t = preamble(true);
    SlotBlock slot(t, m_p, m_encoderOn);
    // The two slots mark the test length on the strip; the arc of the same
    // length is bent from the second slot on, once it reaches the bender.
    slot.Print_KCaction(0, kSlotStraight, kFaceFront, kSlotFlagNone);
    t.add(feedLine(length));
    slot.Print_KCaction(0, kSlotStraight, kFaceFront, kSlotFlagNone);
    const double from = length + m_p.BendToSlotDistance;
    t.add(feedLine(from));
    if (arc.radius >= m_p.TapBendRadiusThreshold) {
        writePressedArc(t, theta, positive, from, from + length);
    } else {
        writeTappedArc(t, arc, theta, positive, from, from + length);
    }
    t.add("M30");
    load(t);
}

void TestPrograms::writePressedArc(ProgramText& t, double theta, bool positive, double,
                                   double to) const {
    double y = positive ? m_p.PressForceFactorPos * theta + m_p.IdleAnglePos
                        : m_p.PressForceFactorNeg * theta - m_p.IdleAngleNeg;
    if (m_p.MaxBendAngle > 0) {
        y = std::clamp(y, -m_p.MaxBendAngle, m_p.MaxBendAngle);
    }
    // The arm holds the strip at the bend angle while the arc length runs
    // through the bender, then returns.
    t.add("G01 Y" + FormatNumber(y, "0.0000") + speed(m_p.AutoSpeedY));
    t.add(feedLine(to));
    t.add("G05 Y0" + speed(m_p.AutoSpeedY));
}

void TestPrograms::writeTappedArc(ProgramText& t, const TestArc& arc, double theta, bool positive,
                                  double from, double to) const {
    double spacing = BendQueue(m_p.TapBendRadiusThreshold, m_tables).tapSpacing(arc.radius);
    if (!(spacing > 0) || (to - from) / spacing > kMaxTaps) {
        spacing = std::max(to - from, (to - from) / kMaxTaps);
    }
    double tap = positive ? m_p.TapForceFactorPos * theta + m_p.IdleAnglePos
                          : m_p.TapForceFactorNeg * theta - m_p.IdleAngleNeg;
    if (m_p.MaxBendAngle > 0) {
        tap = std::clamp(tap, -m_p.MaxBendAngle, m_p.MaxBendAngle);
    }
    const double idle = positive ? m_p.IdleAnglePos : -m_p.IdleAngleNeg;
    const int taps = static_cast<int>(std::floor((to - from) / spacing + 1e-9));
    for (int i = 0; i <= taps; ++i) {
        t.add(feedLine(from + i * spacing));
        t.add("G05 Y" + FormatNumber(tap, "0.0000") + speed(m_p.AutoSpeedY));
        t.add("G05 Y" + FormatNumber(idle, "0.0000") + speed(m_p.AutoSpeedY));
    }
}

void TestPrograms::gripperJog(ProgramText& t, bool grippersReady, bool retract,
                              double length) const {
    checkGripperStroke();
    t.add("G90 G01");
    if (!grippersReady) {
        gripperSetUp(t, true);
    }
    const double x = m_p.PulseEquivX > 0
                         ? m_card.get_command_pos(machine::kCard, machine::kAxisX) / m_p.PulseEquivX
                         : 0.0;
    t.add("G92X" + FormatNumber(x, "0.000"));
    const std::string jogSpeed = speed(m_p.ManualSpeedX);
    const std::string strokeEnd = "X" + FormatNumber(m_p.GripperStroke, "0.0000") + jogSpeed;
    const std::string strokeStart = "X0" + jogSpeed;
    const auto strokes = static_cast<long>(common::Fix(length / m_p.GripperStroke));
    const double rest = length - static_cast<double>(strokes) * m_p.GripperStroke;
    // Per stroke: gripper I takes the strip and II lets go, the carriage
    // carries the strip one stroke (forward from 0 to the stroke end, or
    // back from the stroke end to 0), then II holds the strip while I lets
    // go and the carriage travels back empty.
    const auto stroke = [&](const std::string& carry, const std::string& travel) {
        t.add("M22");
        t.add(kGripperDwell);
        t.add("M25");
        t.add(kGripperDwell);
        t.add(carry);
        t.add("M24");
        t.add(kGripperDwell);
        t.add("M23");
        t.add(kGripperDwell);
        t.add(travel);
    };
    for (long i = 0; i < strokes; ++i) {
        stroke(retract ? strokeStart : strokeEnd, retract ? strokeEnd : strokeStart);
    }
    if (rest > 0.0005) {
        const double target = retract ? m_p.GripperStroke - rest : rest;
        t.add("M22");
        t.add(kGripperDwell);
        t.add("M25");
        t.add(kGripperDwell);
        t.add("X" + FormatNumber(target, "0.0000") + jogSpeed);
    }
    t.add("M23");
    t.add("M25");
    t.add("M30");
}

void TestPrograms::checkGripperStroke() const {
    if (!(m_p.GripperStroke > 0.5)) {
        throw common::UserError(common::error("机械手行程设置错误，请检查设备参数！",
                                              "The gripper stroke is not set, please check the "
                                              "equipment settings!"));
    }
}

void TestPrograms::gripperSetUp(ProgramText& t, bool gripperII) const {
    // Clamp the strip, open both grippers, home the carriage, then take the
    // strip with the gripper that carries first and release the clamp.
    for (const char* line :
         {"M16", kGripperDwell, "M23", "M25", kGripperDwell, "M36", "M30", "G92 X0",
          gripperII ? "M24" : "M22", kGripperDwell, "M17", kGripperDwell}) {
        t.add(line);
    }
}

void TestPrograms::TapTestProgram(const TapTest& test) {
    if (test.count < 1 || test.count > kMaxTestTaps) {
        refuseField("联动次数：", "Linked count", "1 .. " + std::to_string(kMaxTestTaps));
    }
    if (!(std::fabs(test.angle) > 0 && std::fabs(test.angle) <= kMaxTapAngle)) {
        refuseField("联动角度：", "Linked angle", "-180 .. 180 (0 excepted)");
    }
    if (!(test.spacing >= 0 && test.spacing <= kMaxTestFeed / kMaxTestTaps)) {
        refuseField("拍弧间距：", "Tapping spacing", "0 .. 10");
    }
    if (m_p.BenderType < kBenderSingle || m_p.BenderType > kBenderLiftingDouble) {
        throw common::UserError(common::error("未装弯弧器，不能拍弯测试！",
                                              "No bender fitted, the tapping test cannot run!"));
    }
    ProgramText t;
    t.add("G90 G01");
    if (m_p.FeedType != kFeedRoller) {
        gripperSetUp(t, false);
    } else {
        t.add("G92 X0");
    }
    // The arm first waits at the idle angle of the side it taps on.
    const bool positive = test.angle > 0;
    const double idle = positive                          ? m_p.IdleAnglePos
                        : m_p.BenderType == kBenderSingle ? m_p.IdleAngleNeg
                                                          : -m_p.IdleAngleNeg;
    t.add("G01 Y" + FormatNumber(idle, "0.0000") + speed(m_p.AutoSpeedY));
    // Each tap is written as the bending program writes a corner of the
    // same angle: a corner of turn angle b is bent by -b, so the tap by the
    // linked angle a is the corner of turn -a.
    FeedWriter feed(t, m_p);
    auto queue = std::make_unique<BendQueue>(m_p.TapBendRadiusThreshold, m_tables);
    JoiningTable joins;
    BendWriter bends(t, m_p, m_tables, feed, *queue, joins, {m_encoderOn, false});
    for (int i = 0; i < test.count; ++i) {
        const double at = i * test.spacing;
        bends.EmitBend({at, -test.angle, kBendCorner, 0.0}, at);
    }
    t.add("M30");
    load(t);
}

void TestPrograms::CalibrationMove(double distance) {
    if (!(distance >= 1.0 && distance <= kMaxTestFeed)) {
        refuseField("指令距离：", "Commanded distance", "1 .. 10000 mm");
    }
    ProgramText t;
    t.add("G90 G01");
    const bool grippers = m_p.FeedType != kFeedRoller;
    if (grippers) {
        gripperSetUp(t, false);
    }
    t.add("G92 X0 Y0");
    FeedWriter(t, m_p).PrintXcode(distance);
    if (grippers) {
        // The clamp holds the measured strip, both grippers let go and the
        // carriage comes back to its start from behind, taking up the
        // backlash for the next move.
        for (const char* line : {"M16", kGripperDwell, "M23", "M25", kGripperDwell}) {
            t.add(line);
        }
        t.add("X-2" + speed(m_p.HomeOffsetSpeedX));
        t.add("G04 P100");
        t.add("X0" + speed(m_p.AutoSpeedX));
        t.add("M22");
        t.add(kGripperDwell);
        t.add("M17");
    }
    t.add("M30");
    load(t);
}

void TestPrograms::GripperStepProgram(double length) {
    checkGripperStroke();
    const double stroke = m_p.GripperStroke;
    const double distance = std::fabs(length);
    // Five lines a stroke; the header and the end take fewer than 30.
    const double mostStrokes = (machine::kProgramCapacity - 30) / 5.0;
    if (!std::isfinite(distance) || common::Fix(distance / stroke) > mostStrokes) {
        throw common::UserError(common::error("单步步长过大，请重新输入！",
                                              "The step length is too long, please input again!"));
    }
    const bool retract = length < 0;
    const auto strokes = static_cast<int>(common::Fix(distance / stroke));
    const double rest = distance - strokes * stroke;
    const bool withRest = rest > 0.0005;
    // With gripper I closed the strip follows the carriage, with gripper II
    // it runs against it (see FeedWriter): feeding starts with gripper I on
    // the way out, retracting with gripper II, and every stroke hands over.
    const auto carrierIsII = [retract](int strokeNumber) {
        return retract != (strokeNumber % 2 == 0);
    };
    const std::string stepSpeed = speed(m_p.ManualSpeedX);
    ProgramText t;
    t.add("G90 G01");
    gripperSetUp(t, carrierIsII(1));
    for (int i = 1; i <= strokes; ++i) {
        t.add("X" + FormatNumber(i % 2 == 1 ? stroke : 0.0, "0.000") + stepSpeed);
        if (i < strokes || withRest) {
            WriteGripperHandover(t, carrierIsII(i + 1));
        }
    }
    if (withRest) {
        // The carriage stands at the stroke end after an odd count.
        t.add("X" + FormatNumber(strokes % 2 == 1 ? stroke - rest : rest, "0.000") + stepSpeed);
    }
    t.add("M23");
    t.add("M25");
    t.add("M30");
    load(t);
}

bool TestPrograms::jog(bool grippersReady, bool retract) {
    const double x = m_p.PulseEquivX > 0
                         ? m_card.get_command_pos(machine::kCard, machine::kAxisX) / m_p.PulseEquivX
                         : 0.0;
    if (grippersReady && std::fabs(x) >= 0.01) {
        return false;
    }
    ProgramText t;
    gripperJog(t, grippersReady, retract, kJogLength);
    load(t);
    return true;
}

bool TestPrograms::FeedJogProgram(bool grippersReady) {
    return jog(grippersReady, false);
}

bool TestPrograms::RetractJogProgram(bool grippersReady) {
    return jog(grippersReady, true);
}

void TestPrograms::FeedReturnProgram(double position) {
    ProgramText t;
    if (m_p.FeedType == 0) {
        t.add("G90 G01");
        t.add("G92X" + FormatNumber(position, "0.000"));
        t.add("G01 X0" + speed(m_p.ManualSpeedX));
    } else {
        gripperJog(t, true, position > 0, std::fabs(position));
    }
    load(t);
}

} // namespace korvel::program
