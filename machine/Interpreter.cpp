#include "machine/Interpreter.h"

#include "common/Basic.h"
#include "machine/AxisUnits.h"
#include "machine/FeedHoming.h"
#include "machine/MachineOutputs.h"

#include <algorithm>
#include <cmath>

namespace korvel::machine {

namespace {

constexpr std::string_view kNum = "NUM";
// Lines of the friction roller's "M34" correction: the executor re-checks
// after this many steps.
constexpr std::int16_t kEncoderSettleTicks = 6;
// Homing codes of the searches the interpreter starts.
constexpr std::int16_t kHomingY = 2;
constexpr std::int16_t kHomingA = 4;
constexpr std::int16_t kToolSettingA = 9;
constexpr std::int16_t kReturnZ = 10;
// Standing on its switch, the cutter first moves this far away from it.
constexpr double kZLeaveDistance = 20.0;

// Units of a pulse count; 0 when the axis has no pulse equivalent.
double toUnits(double pulses, double pulseEquiv) {
    return pulseEquiv != 0.0 ? pulses / pulseEquiv : 0.0;
}

// A search runs in the direction of its homing speed's sign.
std::int32_t searchPulses(double homeSpeed) {
    return homeSpeed > 0 ? kSearchPulses : -kSearchPulses;
}

} // namespace

// --- card helpers -------------------------------------------------------------------

void Interpreter::startMove(int axis, std::int64_t pulses, double autoSpeed, double pulseEquiv,
                            double accel) {
    m_card.set_speed(kCard, axis, SpeedPulses(autoSpeed, pulseEquiv));
    m_card.set_startv(kCard, axis, kStartVelocity);
    m_card.set_acc(kCard, axis, CardAcceleration(accel));
    m_card.pmove(kCard, axis, SaturatePulses(pulses));
}

void Interpreter::moveFromCommand(int axis, double target, double autoSpeed, double pulseEquiv,
                                  double accel) {
    // Z and A follow the card's own command position.
    const std::int32_t current = m_card.get_command_pos(kCard, axis);
    startMove(axis, static_cast<std::int64_t>(ToPulses(target, pulseEquiv)) - current, autoSpeed,
              pulseEquiv, accel);
}

void Interpreter::startSearch(int axis, double speed, double pulseEquiv, double accel,
                              std::int32_t distance, std::int16_t homingCode) {
    m_card.set_speed(kCard, axis, SpeedPulses(std::fabs(speed), pulseEquiv));
    m_card.set_startv(kCard, axis, kStartVelocity);
    m_card.set_acc(kCard, axis, CardAcceleration(accel));
    m_card.pmove(kCard, axis, distance);
    m_run.HomingAxisCode = homingCode;
    m_run.HomingActive = 1;
}

// --- look-ahead -----------------------------------------------------------------------

std::string Interpreter::X_Only(std::string_view line) {
    // Cleared first in every case: a gripper stroke line must never carry
    // the values of an earlier look-ahead into the merge.
    m_nextX.clear();
    m_nextY.clear();
    const std::string speed = common::FormatNumber(m_params.AutoSpeedX, "0");
    if (m_params.FeedType == 1 && line.substr(0, 4) == "X0 F") {
        return std::string(kNum);
    }
    if (m_params.FeedType == 2 &&
        (line == "X0 F" + speed ||
         line == "X" + common::FormatNumber(m_params.GripperStroke, "0") + " F" + speed)) {
        return std::string(kNum);
    }
    const Words words = splitWords(line);
    if (words.has(Word::X) && !words.has(Word::Y) && !words.has(Word::G)) {
        return words[Word::X];
    }
    if (words.has(Word::X) && words.has(Word::Y) && !words.has(Word::G)) {
        m_nextX = words[Word::X];
        m_nextY = words[Word::Y];
    }
    return std::string(kNum);
}

std::string Interpreter::lookAhead() {
    return X_Only(m_run.line(m_run.CurrentLine + 1));
}

// --- ExecuteLine ------------------------------------------------------------------------

void Interpreter::ExecuteLine(std::string_view line) {
    const Words words = splitWords(line);
    if (words[Word::G] == code::kSetPosition) {
        executeSetPosition(words);
        return;
    }
    if (words[Word::G] == code::kDwell) {
        const double ticks = common::RoundHalfEven(words.value(Word::P) / kTimer2IntervalMs);
        m_run.DwellTicks = std::max<std::int16_t>(0, common::CIntSaturated(ticks));
        return;
    }
    if (words.has(Word::M)) {
        bool endLine = false;
        executeMCode(words, endLine);
        if (endLine) {
            return;
        }
    }
    if (words.has(Word::X)) {
        if (words.has(Word::Y)) {
            feedAndBend(words.value(Word::X), words.value(Word::Y));
        } else {
            feedMerge(words.value(Word::X));
        }
    } else if (words.has(Word::Y)) {
        bendMove(words.value(Word::Y));
    } else if (words.has(Word::Z)) {
        moveFromCommand(kAxisZ, words.value(Word::Z), m_params.AutoSpeedZ, m_params.PulseEquivZ,
                        m_params.AccelZ);
    } else if (words.has(Word::A)) {
        moveFromCommand(kAxisA, words.value(Word::A), m_params.AutoSpeedA, m_params.PulseEquivA,
                        m_params.AccelA);
    }
}

void Interpreter::executeSetPosition(const Words& words) {
    if (words.has(Word::X)) {
        const std::int32_t p = ToPulses(words.value(Word::X), m_params.PulseEquivX);
        m_card.set_command_pos(kCard, kAxisX, p);
        m_card.set_actual_pos(kCard, kAxisX, p);
        m_run.CurXPulses = p;
    }
    if (words.has(Word::Y)) {
        const std::int32_t p = ToPulses(words.value(Word::Y), m_params.PulseEquivY);
        m_card.set_command_pos(kCard, kAxisY, p);
        m_run.CurYPulses = p;
    }
    if (words.has(Word::Z)) {
        m_card.set_command_pos(kCard, kAxisZ, ToPulses(words.value(Word::Z), m_params.PulseEquivZ));
    }
    if (words.has(Word::A)) {
        m_card.set_command_pos(kCard, kAxisA, ToPulses(words.value(Word::A), m_params.PulseEquivA));
    }
}

void Interpreter::executeMCode(const Words& words, bool& endLine) {
    const std::string& m = words[Word::M];
    if (const OutputCode* output = findOutputCode(m)) {
        m_card.write_bit(kCard, output->output, output->level);
        if (output->secondOutput >= 0) {
            m_card.write_bit(kCard, output->secondOutput, output->level);
        }
        const bool cutterWait = (m == "12" || m == "14") && m_params.InPositionCheck == 0;
        // The lifting double bender confirms its rods by input when no fixed
        // delay is set.
        const bool rodWait = (m == "18" || m == "19" || m == "20" || m == "21") &&
                             m_params.BenderInOutDelay < 1 && m_params.BenderType == 3;
        if (cutterWait || rodWait) {
            m_run.WaitFlag = 1;
        }
        return;
    }
    if (isHomingCode(m)) {
        // The line after a homing code ("M30") is never executed.
        m_run.CurrentLine = static_cast<std::int16_t>(m_run.CurrentLine + 1);
    }
    if (m == code::kHomeX) {
        m_run.XHomeRequest = 1;
        const double speed = m_manualFeedSpeed >= 0.0 ? m_manualFeedSpeed : m_params.ManualSpeedX;
        HomeFeedAxis(m_card, m_params, m_run, {speed, true});
    } else if (m == code::kHomeY) {
        m_card.set_stop0_mode(kCard, kAxisY, 1, 0);
        startSearch(kAxisY, m_params.HomeSpeedY, m_params.PulseEquivY, m_params.AccelY,
                    searchPulses(m_params.HomeSpeedY), kHomingY);
    } else if (m == code::kReturnZ) {
        // Standing on the switch, the cutter first moves away from it; the
        // executor then searches the switch.
        if (m_card.read_bit(kCard, kInZHome) == 0) {
            const std::int32_t away = ToPulses(kZLeaveDistance, m_params.PulseEquivZ);
            startSearch(kAxisZ, m_params.HomeSpeedZ, m_params.PulseEquivZ, m_params.AccelZ,
                        m_params.HomeSpeedZ < 0 ? away : -away, kReturnZ);
        }
        m_run.HomingAxisCode = kReturnZ;
        m_run.HomingActive = 1;
    } else if (m == code::kHomeA) {
        m_card.set_stop0_mode(kCard, kAxisA, 1, 0);
        startSearch(kAxisA, m_params.HomeSpeedA, m_params.PulseEquivA, m_params.AccelA,
                    searchPulses(m_params.HomeSpeedA), kHomingA);
    } else if (m == code::kToolSetA) {
        m_card.set_stop1_mode(kCard, kAxisA, 1, 0);
        startSearch(kAxisA, m_params.AutoToolSetSpeed, m_params.PulseEquivA, m_params.AccelA,
                    kSearchPulses, kToolSettingA);
    } else if (m == code::kEncoderCheck) {
        encoderCheck(endLine);
    }
}

void Interpreter::encoderCheck(bool& endLine) {
    // The strip has run off the feed home switch's sensor: without an infeed
    // axis and without a feed switch the job pauses here.
    if (m_card.read_bit(kCard, kInFeedHome) == 1 && m_params.InfeedControl == 0 &&
        m_params.FeedHomeSwitch > 0.5) {
        m_run.WaitFlag = 1;
        endLine = true;
        return;
    }
    m_run.EncoderCheckPos = m_card.get_command_pos(kCard, kAxisX);
    if (m_params.FeedType != 0 || m_params.EncoderPulseEquiv <= 0.0) {
        return;
    }
    // Friction roller: feed the difference between the commanded and the
    // measured strip length, then let the executor check again.
    const std::int32_t encoder = m_card.get_actual_pos(kCard, kAxisX);
    const double error =
        toUnits(m_run.EncoderCheckPos, m_params.PulseEquivX) - encoder / m_params.EncoderPulseEquiv;
    const double pulses = common::RoundHalfEven(error * m_params.PulseEquivX);
    startMove(kAxisX, common::CLngSaturated(pulses), m_params.AutoSpeedX, m_params.PulseEquivX,
              m_params.AccelX);
    m_run.DwellTicks = kEncoderSettleTicks;
}

// --- feed merge ---------------------------------------------------------------------------

void Interpreter::feedMerge(double x) {
    m_mergeLength = 0.0;
    double target = x;
    std::string s = lookAhead();
    while (true) {
        if (s == kNum) {
            if (m_nextX.empty() || m_nextY.empty()) {
                break;
            }
            // An X-Y line whose Y is where the arm already is, is a feed too.
            if (std::fabs(wordValue(m_nextY) * m_params.PulseEquivY - m_run.CurYPulses) > 0) {
                break;
            }
            target = wordValue(m_nextX);
        } else {
            const double next = wordValue(s);
            m_mergeLength += next - toUnits(m_run.CurXPulses, m_params.PulseEquivX);
            if (m_params.MaxFeedLength > 1 && m_mergeLength > m_params.MaxFeedLength) {
                break;
            }
            target = next;
        }
        m_run.CurrentLine = static_cast<std::int16_t>(m_run.CurrentLine + 1);
        s = lookAhead();
    }
    const std::int32_t targetPulses = ToPulses(target, m_params.PulseEquivX);
    startMove(kAxisX, static_cast<std::int64_t>(targetPulses) - m_run.CurXPulses,
              m_params.AutoSpeedX, m_params.PulseEquivX, m_params.AccelX);
    m_run.CurXPulses = targetPulses;
}

// --- feed and bend ------------------------------------------------------------------------

void Interpreter::moveXAndY(double x, double y) {
    // Both axes start at once, each with its own profile.
    const std::int32_t xPulses = ToPulses(x, m_params.PulseEquivX);
    const std::int32_t yPulses = ToPulses(y, m_params.PulseEquivY);
    startMove(kAxisX, static_cast<std::int64_t>(xPulses) - m_run.CurXPulses, m_params.AutoSpeedX,
              m_params.PulseEquivX, m_params.AccelX);
    startMove(kAxisY, static_cast<std::int64_t>(yPulses) - m_run.CurYPulses, m_params.AutoSpeedY,
              m_params.PulseEquivY, m_params.AccelY);
    m_run.CurXPulses = xPulses;
    m_run.CurYPulses = yPulses;
}

void Interpreter::feedAndBend(double x, double y) {
    const double dY = std::fabs(y * m_params.PulseEquivY - m_run.CurYPulses);
    const double dX = std::fabs(x * m_params.PulseEquivX - m_run.CurXPulses);
    const double idlePos = m_params.IdleAnglePos * m_params.PulseEquivY;
    const double idleNeg = m_params.IdleAngleNeg * m_params.PulseEquivY;
    const double armAt = std::fabs(static_cast<double>(m_run.CurYPulses));
    // The branches keep the machine's order of tests, several of which end in
    // the same two-axis move.
    if (dY > idlePos || dY > idleNeg) { // NOLINT(bugprone-branch-clone)
        // A real bend: the arm travels beyond its idle play.
        moveXAndY(x, y);
    } else if (std::fabs(armAt - idlePos) <= 2 || std::fabs(armAt - idleNeg) <= 2) {
        // The arm waits at an idle angle: a plain two-axis move.
        moveXAndY(x, y);
    } else if (dX < dY) {
        moveXAndY(x, y);
    } else if (dY < 2 && m_run.CurYPulses == 0) {
        // The arm stands at zero and stays there.
        const std::int32_t xPulses = ToPulses(x, m_params.PulseEquivX);
        startMove(kAxisX, static_cast<std::int64_t>(xPulses) - m_run.CurXPulses,
                  m_params.AutoSpeedX, m_params.PulseEquivX, m_params.AccelX);
        m_run.CurXPulses = xPulses;
    } else if (buildPath(x, y)) {
        runSampledPath();
    } else {
        moveXAndY(x, y);
    }
}

bool Interpreter::buildPath(double x, double y) {
    m_pathPoints[0] = {m_run.CurXPulses, m_run.CurYPulses};
    m_pathPoints[1] = {ToPulses(x, m_params.PulseEquivX), ToPulses(y, m_params.PulseEquivY)};
    m_pathCount = 1;
    m_mergeLength = 0.0;
    // The sampled feed runs one way; a line that would turn the strip back
    // ends the path.
    const int direction = m_pathPoints[1].first >= m_pathPoints[0].first ? 1 : -1;
    const auto lengthExceeded = [this](double step) {
        m_mergeLength += step;
        return m_params.MaxFeedLength > 1 && m_mergeLength > m_params.MaxFeedLength;
    };
    while (true) {
        const std::string s = lookAhead();
        double nextX;
        double nextY;
        if (s == kNum) {
            if (m_nextX.empty() || m_nextY.empty()) {
                break;
            }
            nextX = wordValue(m_nextX);
            nextY = wordValue(m_nextY);
            const double turn = std::fabs(nextY - y);
            if (turn < 0.00001 && nextX - x > kPathMaxStep) {
                break;
            }
            if (turn > m_params.IdleAnglePos || turn > m_params.IdleAngleNeg) {
                break;
            }
            if ((nextX - x) * m_params.PulseEquivX < turn * m_params.PulseEquivY) {
                break;
            }
        } else {
            nextX = wordValue(s);
            nextY = y;
            if (nextX - x > kPathMaxStep) {
                break;
            }
        }
        if (direction * (nextX - x) < 0 || lengthExceeded(nextX - x)) {
            break;
        }
        const std::int32_t yPulses =
            s == kNum ? ToPulses(nextY, m_params.PulseEquivY) : m_pathPoints[m_pathCount].second;
        ++m_pathCount;
        m_pathPoints[m_pathCount] = {ToPulses(nextX, m_params.PulseEquivX), yPulses};
        x = nextX;
        y = nextY;
        m_run.CurrentLine = static_cast<std::int16_t>(m_run.CurrentLine + 1);
        if (m_pathCount > kPathLookAheadLimit) {
            break;
        }
    }
    return m_pathCount > 1;
}

void Interpreter::runSampledPath() {
    const std::span<const PathPoint> points(m_pathPoints.data(),
                                            static_cast<size_t>(m_pathCount) + 1);
    const std::vector<PathSample> samples =
        SamplePath(points, SpeedPulses(m_params.AutoSpeedX, m_params.PulseEquivX), m_params.AccelX);
    for (const PathSample& sample : samples) {
        m_card.fifo_inp_move2(kCard, kAxisX, kAxisY, sample.dx, sample.dy, sample.speed);
        m_run.CurXPulses = sample.x;
        m_run.CurYPulses = sample.y;
    }
}

// --- bend ---------------------------------------------------------------------------------

void Interpreter::bendMove(double y) {
    const std::int32_t target = ToPulses(y, m_params.PulseEquivY);
    double delta = static_cast<double>(target) - m_run.CurYPulses;
    // Reversing the arm first takes up the play of the bender; the travel
    // with the play is rounded as a whole.
    const double backlash = m_params.BendBacklash * m_params.PulseEquivY;
    if (m_run.LastBendDir == 1 && delta < 0) {
        delta -= backlash;
    } else if (m_run.LastBendDir == -1 && delta > 0) {
        delta += backlash;
    }
    const std::int32_t pulses = common::CLngSaturated(delta);
    if (pulses != 0) {
        m_run.LastBendDir = static_cast<std::int16_t>((pulses > 0) - (pulses < 0));
    }
    startMove(kAxisY, pulses, m_params.AutoSpeedY, m_params.PulseEquivY, m_params.AccelY);
    m_run.CurYPulses = target;
}

} // namespace korvel::machine
