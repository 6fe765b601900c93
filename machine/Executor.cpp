#include "machine/Executor.h"

#include "common/Basic.h"
#include "common/TextFile.h"
#include "machine/AxisUnits.h"
#include "machine/Interpreter.h"
#include "machine/JobLauncher.h"
#include "machine/MachineOutputs.h"
#include "machine/MotionCard.h"
#include "machine/OperatorDialog.h"
#include "machine/ParameterSet.h"
#include "machine/RunState.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace korvel::machine {

namespace {

// Inputs of the machine panel and of the safety and position sensors.
constexpr int kInFeedHomeOrMaterial = 2;
constexpr int kInRodIIn = 10;
constexpr int kInRodIOut = 11;
constexpr int kInRodIIIn = 12;
constexpr int kInRodIIOut = 13;
constexpr int kInBendHomeButton = 11;
constexpr int kInPauseButton = 12;
constexpr int kInStartButton = 13;
constexpr int kInToolSetButton = 15;
constexpr int kInCutterOut = 16;
constexpr int kInFeedButton = 18;
constexpr int kInRetractButton = 19;
constexpr int kInInfeedLimit = 19;
constexpr int kInFeedButtonAlt = 22;
constexpr int kInRetractButtonAlt = 23;

// Command_Stop switches these off.
constexpr int kStoppedOutputs = 8;

// Ticks the feed gets to settle after an encoder correction.
constexpr std::int16_t kCorrectionSettleTicks = 3;
// A gripper-fed strip further than this from its expected position has
// slipped out of the grippers: the run is stopped instead of corrected.
constexpr double kGripperDeviationLimit = 10.0;
// The double-stroke gripper works within its stroke, with this margin.
constexpr double kGripperRangeMargin = 5.0;

// The path of the job just finished is appended to the record of finished
// outlines that the view draws in its "done" colour.
constexpr std::string_view kPathFile = "CtrP.dat";
constexpr std::string_view kFinishedFile = "YJG.dat";

double unitsOf(std::int32_t pulses, double pulseEquiv) {
    return pulseEquiv > 0 ? static_cast<double>(pulses) / pulseEquiv : 0.0;
}

const common::Message& encoderError() {
    static const common::Message m = common::error("Encoder Error!", "Encoder Error!");
    return m;
}

common::Message cardFault(const CardFault& fault) {
    const std::string code = common::FormatNumber(fault.code, "0");
    return common::error("运动卡出错：" + fault.function + " 返回错误码 " + code + "，机床已停止",
                         "Motion card error: " + fault.function + " returned error code " + code +
                             "; the machine was stopped");
}

} // namespace

Executor::Executor(common::AppDir dir, ParameterSet& params, RunState& run, MotionCard& card,
                   Interpreter& interpreter, OperatorDialog& dialog, JobLauncher& launcher)
    : m_dir(std::move(dir)), m_p(params), m_run(run), m_card(card), m_interpreter(interpreter),
      m_dialog(dialog), m_launcher(launcher), m_homing(params, run, card) {}

void Executor::tick() {
    ++m_ticks;
    stopOnCardFault();
    readInputs();
    pollFeedButtons();
    checkInfeedLimit();
    pollPanelButtons();
    pollToolSetButton();
    refreshDisplay();
    readEncoder();
    checkJobEnd();
    refreshIndicators();
    superviseHoming();
    checkInPositionWaits();
    checkMaterialPause();
    stepProgram();
    checkCalibrationFeed();
    m_lastInputs = m_inputs;
}

void Executor::stopOnCardFault() {
    std::optional<CardFault> fault = m_card.takeFault();
    if (!fault) {
        // The card answered every call of the last tick: a later refusal is
        // news again.
        m_reportedFault.reset();
        return;
    }
    const bool running =
        m_run.anyRunActive() || m_run.HomingAxisCode != 0 || m_run.HomingActive != 0;
    if (running || fault != m_reportedFault) {
        m_reportedFault = fault;
        alarm(cardFault(*fault));
        // The stop's own calls may be refused the same way; that is no news.
        m_card.takeFault();
    }
}

// --- buttons ---------------------------------------------------------------

void Executor::readInputs() {
    for (int i = 0; i < kCardInputCount; ++i) {
        m_inputs[static_cast<size_t>(i)] = static_cast<std::int8_t>(m_card.read_bit(kCard, i));
    }
    if (!m_inputsKnown) {
        // The levels found at the first tick are the resting levels: a
        // button already held at start-up does not act.
        m_lastInputs = m_inputs;
        m_inputsKnown = true;
    }
}

bool Executor::fell(int input) const {
    const auto i = static_cast<size_t>(input);
    return m_lastInputs[i] != 0 && m_inputs[i] == 0;
}

bool Executor::rose(int input) const {
    const auto i = static_cast<size_t>(input);
    return m_lastInputs[i] == 0 && m_inputs[i] != 0;
}

void Executor::pollFeedButtons() {
    // With the infeed limit switches in use, IN19 is the infeed limit and
    // the feed buttons move to IN22 and IN23.
    const bool limits = m_p.InfeedLimitActive == 1;
    const int feed = limits ? kInFeedButtonAlt : kInFeedButton;
    const int retract = limits ? kInRetractButtonAlt : kInRetractButton;
    if (fell(feed)) {
        m_launcher.feedButton(false, true);
    } else if (rose(feed)) {
        m_launcher.feedButton(false, false);
    }
    if (fell(retract)) {
        m_launcher.feedButton(true, true);
    } else if (rose(retract)) {
        m_launcher.feedButton(true, false);
    }
}

void Executor::checkInfeedLimit() {
    if (m_p.InfeedLimitActive == 1 && fell(kInInfeedLimit)) {
        alarm(common::error("角膜片磨损过大，请更换后再加工！",
                            "Please Change Cutter, Then Start Again！"));
    }
}

void Executor::pollPanelButtons() {
    // The lifting double bender detecting its rods by input uses IN10 to
    // IN13 for its sensors; the panel buttons are then not wired.
    if (m_p.BenderType == 3 && m_p.BenderInOutDelay <= 1) {
        return;
    }
    // The start button is the run command: a paused or waiting run resumes
    // with its next line; a new job only on an idle machine.
    if (fell(kInStartButton) && m_run.runCommand() == RunCommandStep::NewJob) {
        m_launcher.startJob();
    }
    if (fell(kInPauseButton)) {
        Command_Pause();
    }
    if (fell(kInBendHomeButton) && m_bendHomeEnabled && m_bendHome) {
        m_bendHome();
    }
}

void Executor::pollToolSetButton() {
    if (fell(kInToolSetButton) && m_p.AutoToolSetSpeed > 0) {
        m_launcher.startToolSetting();
    }
}

// --- display ---------------------------------------------------------------

double Executor::remainingFeed() const {
    if (!m_feed.planned() || m_run.JobRunActive == 0) {
        return 0.0;
    }
    return m_feed.remaining(m_card.get_command_pos(kCard, kAxisX), m_run.GripperStrokes);
}

void Executor::refreshDisplay() {
    const std::array<double, 4> equiv{m_p.PulseEquivX, m_p.PulseEquivY, m_p.PulseEquivZ,
                                      m_p.PulseEquivA};
    for (int axis = kAxisX; axis <= kAxisA; ++axis) {
        const double pe = equiv[static_cast<size_t>(axis - 1)];
        m_display.positions[static_cast<size_t>(axis - 1)] =
            common::FormatNumber(unitsOf(m_card.get_command_pos(kCard, axis), pe), "0.00");
    }
    m_display.feedSpeed = common::FormatNumber(
        unitsOf(m_card.get_speed(kCard, kAxisX), m_p.PulseEquivX) * 60.0, "0.0");

    m_display.feedLength = m_feed.planned() ? m_feed.total() : 0.0;
    m_display.remainingFeed = remainingFeed();
    std::string compensation;
    if (m_display.compensationLength != 0.0) {
        compensation =
            "  补偿长度 " + common::FormatNumber(m_display.compensationLength, "0.0000") + "  mm";
    }
    m_display.feedLengthText =
        common::FormatNumber(m_display.feedLength, "0.0000") + "  mm" + compensation;
    m_display.remainingText = common::FormatNumber(m_display.remainingFeed, "0.0000") + "  mm";
}

void Executor::refreshIndicators() {
    for (int i = 0; i < kCardOutputCount; ++i) {
        m_display.outputs[static_cast<size_t>(i)] =
            static_cast<std::uint8_t>(m_card.get_out(kCard, i));
    }
    for (int i = 0; i < kCardInputCount; ++i) {
        m_display.inputs[static_cast<size_t>(i)] =
            static_cast<std::uint8_t>(m_inputs[static_cast<size_t>(i)]);
    }
    m_display.segment = m_run.SegmentCounter;
}

// --- encoder ---------------------------------------------------------------

void Executor::readEncoder() {
    m_run.EncoderCount = m_card.get_actual_pos(kCard, kAxisX);
    if (m_p.FeedType == 2 && m_run.EncoderCheckPos != 0) {
        const double x = unitsOf(m_card.get_command_pos(kCard, kAxisX), m_p.PulseEquivX);
        if (x < -kGripperRangeMargin || x > m_p.GripperStroke + kGripperRangeMargin) {
            alarm(encoderError());
        }
    }
}

double Executor::encoderTolerance() const {
    const double pulseLimit = m_p.PulseEquivX > 0 ? 2.0 / m_p.PulseEquivX : 0.0;
    return std::max(m_p.EncoderTolerance, pulseLimit);
}

double Executor::expectedFeed(std::int32_t xPulses) const {
    // Gripper feeds: X goes back and forth within one stroke while the
    // strip advances a whole stroke per counted stroke.
    return FeedProgress::stripFed(m_p, m_run.GripperStrokes, unitsOf(xPulses, m_p.PulseEquivX));
}

void Executor::correctFeed(double differenceMm) {
    // The double-stroke carriage on its way back feeds the strip by
    // moving X towards 0: the correction goes the same way.
    const double move = differenceMm * FeedProgress::carriageDirection(m_p, m_run.GripperStrokes);
    m_card.set_speed(kCard, kAxisX, SpeedPulses(m_p.AutoSpeedX, m_p.PulseEquivX));
    m_card.set_startv(kCard, kAxisX, kStartVelocity);
    m_card.set_acc(kCard, kAxisX, CardAcceleration(m_p.AccelX));
    m_card.pmove(kCard, kAxisX, ToPulses(move, m_p.PulseEquivX));
}

bool Executor::checkEncoderBeforeLine() {
    if (m_run.EncoderCheckPos <= 0) {
        return true;
    }
    if (m_p.EncoderPulseEquiv <= 0 || m_p.PulseEquivX <= 0) {
        // Without an encoder scale nothing can be compared.
        m_run.EncoderCheckPos = 0;
        return true;
    }
    const double measured = m_card.get_actual_pos(kCard, kAxisX) / m_p.EncoderPulseEquiv;
    const double difference = expectedFeed(m_run.EncoderCheckPos) - measured;
    if (m_p.FeedType != 0 && std::fabs(difference) > kGripperDeviationLimit) {
        alarm(encoderError());
        return false;
    }
    if (std::fabs(difference) > encoderTolerance()) {
        correctFeed(difference);
        m_run.DwellTicks = kCorrectionSettleTicks;
        return false;
    }
    // Within tolerance: the strip is where the program wants it, so the
    // command position returns to the programmed value the interpreter
    // keeps counting from.
    m_card.set_command_pos(kCard, kAxisX, m_run.EncoderCheckPos);
    m_run.EncoderCheckPos = 0;
    return true;
}

void Executor::startCalibrationFeedCheck(double target, int settleTicks) {
    m_calibFeedTarget = target;
    m_calibSettleTicks = std::max(settleTicks, 0);
}

void Executor::checkCalibrationFeed() {
    if (m_calibFeedTarget <= 0.1 || m_interpreter.Axis_Status() != 0) {
        return;
    }
    if (m_calibSettleTicks > 0) {
        --m_calibSettleTicks;
        return;
    }
    if (m_p.EncoderPulseEquiv <= 0) {
        m_calibFeedTarget = 0.0;
        return;
    }
    const double measured = m_card.get_actual_pos(kCard, kAxisX) / m_p.EncoderPulseEquiv;
    const double difference = m_calibFeedTarget - measured;
    if (std::fabs(difference) > encoderTolerance()) {
        correctFeed(difference);
        m_calibSettleTicks = 1;
    } else {
        m_calibFeedTarget = 0.0;
    }
}

// --- end of a job ------------------------------------------------------------

void Executor::checkJobEnd() {
    if (m_run.JobRunActive == 0 || m_run.SlotRunActive != 0 ||
        m_run.CurrentLine < m_run.LineCount || !m_feed.planned() ||
        m_interpreter.Axis_Status() != 0) {
        return;
    }
    if (remainingFeed() < 0.1) {
        finishJob();
    }
}

void Executor::finishJob() {
    m_run.JobRunActive = 0;
    m_run.CurrentLine = 0;
    m_needPlan = true;
    const bool feedBack = m_dialog.ask(
        common::question("加工完成！送料是否回零？", "Work Finished！Feed SeekZero？"));
    if (feedBack) {
        m_launcher.startFeedReturn();
    }
    try {
        const auto path = m_dir.file(kPathFile);
        if (std::filesystem::exists(path)) {
            common::AppendLines(m_dir.file(kFinishedFile), common::ReadLines(path));
        }
    } catch (const common::UserError& e) {
        m_dialog.show(e.message());
    }
    m_launcher.jobFinished();
}

// --- homing and waits --------------------------------------------------------

void Executor::superviseHoming() {
    if (auto tripped = m_homing.tick()) {
        alarm(*tripped);
    }
}

void Executor::clearInPositionWait() {
    if (m_run.ManualInPositionWait != 0) {
        m_run.ManualInPositionWait = 0;
    } else {
        m_run.WaitFlag = 0;
    }
}

void Executor::confirmBenderRod(int output, int inInput, int outInput, std::int16_t& remembered) {
    const auto level = static_cast<std::int16_t>(m_card.get_out(kCard, output));
    if (remembered < 0) {
        remembered = level;
        return;
    }
    if (level == remembered) {
        return;
    }
    const int sensor = level != 0 ? inInput : outInput;
    if (m_card.read_bit(kCard, sensor) == 0) {
        remembered = level;
        m_run.WaitFlag = 0;
    }
}

void Executor::checkInPositionWaits() {
    if (m_p.CutterUpDownControl == 0 && m_p.InPositionCheck == 0) {
        // The pneumatic cutter is driven until its position switch answers;
        // then the valve is switched off and the program may go on.
        if (m_card.get_out(kCard, kOutCutterOut) == 1 &&
            m_card.read_bit(kCard, kInCutterOut) == 0) {
            m_card.write_bit(kCard, kOutCutterOut, 0);
            clearInPositionWait();
        }
        if (m_card.get_out(kCard, kOutCutterBack) == 1 &&
            m_card.read_bit(kCard, kInCutterBack) == 0) {
            m_card.write_bit(kCard, kOutCutterBack, 0);
            clearInPositionWait();
        }
    }
    if (m_p.BenderType == 3 && m_p.BenderInOutDelay < 1) {
        confirmBenderRod(kOutRodI, kInRodIIn, kInRodIOut, m_rodOut4);
        confirmBenderRod(kOutRodII, kInRodIIIn, kInRodIIOut, m_rodOut5);
    }
}

void Executor::checkMaterialPause() {
    // Machines with a feed encoder have a material sensor on IN2: when the
    // strip runs out the job waits for the operator to insert new strip.
    if (m_run.JobRunActive != 0 && m_p.InfeedControl == 0 && m_p.EncoderPort > 0.5 &&
        m_card.read_bit(kCard, kInFeedHomeOrMaterial) == 1) {
        m_run.WaitFlag = 1;
    }
}

// --- program stepping ----------------------------------------------------------

void Executor::planNewRun() {
    if (!m_run.anyRunActive()) {
        m_needPlan = true;
        return;
    }
    if (m_needPlan && m_run.CurrentLine == 0) {
        m_feed.plan(m_run, m_p, m_card.get_command_pos(kCard, kAxisX));
        m_needPlan = false;
    }
}

void Executor::stepProgram() {
    planNewRun();
    if (!m_run.anyRunActive() || m_run.WaitFlag != 0 || m_interpreter.Axis_Status() != 0) {
        return;
    }
    if (m_run.CurrentLine == 0) {
        if (m_run.ActionRunActive != 0) {
            // Jog and test programs start wherever the arm stands.
            m_run.CurYPulses = m_card.get_command_pos(kCard, kAxisY);
        }
        if (m_p.FeedType == 1 || m_p.FeedType == 2) {
            m_run.GripperStrokes = 0;
        }
    }
    if (m_run.DwellTicks > 0) {
        --m_run.DwellTicks;
        return;
    }
    if (m_run.HomingAxisCode != 0) {
        return;
    }
    // A pending encoder check is settled before anything else, also after
    // the last line, so that a job never ends on an uncorrected feed.
    if (!checkEncoderBeforeLine()) {
        return;
    }
    if (m_run.CurrentLine < m_run.LineCount) {
        stepOneLine();
    } else {
        finishRuns();
    }
}

bool Executor::stepOneLine() {
    std::string_view text = m_run.line(m_run.CurrentLine);
    if (text == line::kPassOver) {
        ++m_run.CurrentLine;
        if (m_run.CurrentLine >= m_run.LineCount) {
            return false;
        }
        text = m_run.line(m_run.CurrentLine);
    }
    if (text == line::kSegmentStart) {
        ++m_run.SegmentCounter;
        m_display.segment = m_run.SegmentCounter;
    } else if (text == line::kSegmentEnd) {
        --m_run.SegmentCounter;
    }
    if (FeedProgress::isStrokeLine(text, m_p)) {
        m_run.GripperStrokes += 1.0;
    }
    m_feed.passLine(m_run.CurrentLine);
    m_interpreter.ExecuteLine(text);
    ++m_run.CurrentLine;
    ++m_linesExecuted;
    return true;
}

void Executor::finishRuns() {
    if (m_run.ActionRunActive != 0) {
        m_run.CurrentLine = 0;
        m_run.ActionRunActive = 0;
        m_needPlan = true;
        m_dialog.show(common::notice("动作完成！", "Work Finished！"));
    }
    if (m_run.SlotRunActive != 0 && m_card.get_out(kCard, kOutClamp) == 0) {
        m_run.CurrentLine = 0;
        m_run.SlotRunActive = 0;
        m_needPlan = true;
        m_dialog.show(common::notice("开槽完成！", "Work Finished！"));
    }
}

// --- commands --------------------------------------------------------------------

void Executor::Command_Pause() {
    // Nothing to pause on an idle machine: a wait left behind would hold
    // the next program at its first line.
    if (m_run.anyRunActive()) {
        m_run.WaitFlag = 1;
    }
}

void Executor::Command_Stop() {
    stopAll(nullptr);
}

void Executor::stopAll(const common::Message* alarm) {
    if (m_run.JobRunActive != 0) {
        // The application notes how the job ended while the strip still
        // stands where it stopped.
        m_launcher.jobStopped(alarm);
    }
    m_card.reset_fifo(kCard);
    // Every moving axis is brought down, not only the first one found: a
    // stop during a homing search or a combined feed-and-bend move must
    // leave nothing running.
    for (int axis = kAxisX; axis <= kAxisA; ++axis) {
        if (m_card.get_status(kCard, axis) != 0) {
            m_card.dec_stop(kCard, axis);
        }
        // A search that was cut short must not leave its axis armed to
        // stop at the switch on the next ordinary move.
        m_card.set_stop0_mode(kCard, axis, 0, 0);
    }
    m_card.set_stop1_mode(kCard, kAxisA, 0, 0);
    for (int output = 0; output < kStoppedOutputs; ++output) {
        m_card.write_bit(kCard, output, 0);
    }
    // The clamp's second valve follows the clamp.
    m_card.write_bit(kCard, kOutClampSecond, 0);
    m_run.JobRunActive = 0;
    m_run.SlotRunActive = 0;
    m_run.ActionRunActive = 0;
    m_run.WaitFlag = 0;
    m_run.ManualInPositionWait = 0;
    m_run.DwellTicks = 0;
    m_run.HomingAxisCode = 0;
    m_run.HomingActive = 0;
    m_run.EncoderCheckPos = 0;
    m_run.SegmentCounter = -1;
    m_display.segment = -1;
    m_calibFeedTarget = 0.0;
    m_calibSettleTicks = 0;
    m_needPlan = true;
}

void Executor::alarm(const common::Message& message) {
    stopAll(&message);
    m_dialog.show(message);
}

} // namespace korvel::machine
