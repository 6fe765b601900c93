#include "machine/SimulatedCard.h"

#include "common/Basic.h"
#include "machine/AxisUnits.h"

#include <algorithm>
#include <cmath>

namespace korvel::machine {

namespace {

constexpr double kStepSeconds = 0.001;
// Home switch (stop-0) inputs of X, Y, Z, A and the tool-setting (stop-1)
// input of A.
constexpr int kHomeInput[] = {2, 8, 14, 20};
constexpr size_t kInToolSet = 21;

std::string number(std::int64_t value) {
    return common::FormatNumber(static_cast<double>(value), "0");
}

} // namespace

SimulatedCard::SimulatedCard(SimMachine machine) : m_machine(machine) {
    for (size_t i = 0; i < m_axes.size(); ++i) {
        m_axes[i].offset = m_machine.axes[i].powerOnPosition;
    }
    // At power-on the rods of the lifting bender and the cutter are back.
    m_cutter.state = Travel::Back;
    m_rods[0].state = Travel::Back;
    m_rods[1].state = Travel::Back;
}

// --- argument checks -------------------------------------------------------

bool SimulatedCard::validAxis(int card, int axis) const {
    return card == 0 && axis >= 1 && axis <= kCardAxisCount;
}
bool SimulatedCard::validInput(int card, int input) const {
    return card == 0 && input >= 0 && input < kCardInputCount;
}
bool SimulatedCard::validOutput(int card, int output) const {
    return card == 0 && output >= 0 && output < kCardOutputCount;
}

// --- recording --------------------------------------------------------------

void SimulatedCard::record(std::string text) {
    if (m_recording.size() >= kRecordingCapacity) {
        ++m_dropped;
        return;
    }
    m_recording.push_back({m_timeMs, std::move(text)});
}

int SimulatedCard::recordCall(const char* name, std::initializer_list<std::int64_t> args,
                              int result, bool isRead) {
    if (m_recordLevel == RecordLevel::Off || (isRead && m_recordLevel != RecordLevel::All)) {
        return result;
    }
    std::string text = name;
    text += '(';
    bool first = true;
    for (std::int64_t arg : args) {
        if (!first) {
            text += ", ";
        }
        text += number(arg);
        first = false;
    }
    text += ") = " + number(result);
    record(std::move(text));
    return result;
}

void SimulatedCard::clearRecording() {
    m_recording.clear();
    m_dropped = 0;
}

std::vector<std::string> SimulatedCard::recordingLines() const {
    std::vector<std::string> lines;
    lines.reserve(m_recording.size());
    for (const CardEvent& event : m_recording) {
        lines.push_back(number(event.timeMs) + " " + event.text);
    }
    return lines;
}

// --- configuration ------------------------------------------------------------

int SimulatedCard::adt8940a1_initial() {
    return recordCall("adt8940a1_initial", {}, m_cardPresent ? 1 : 0, false);
}

int SimulatedCard::set_limit_mode(int card, int axis, int positiveEnable, int negativeEnable,
                                  int level) {
    int result = kCardBadArgument;
    if (validAxis(card, axis)) {
        // The limit inputs are the card's own pins; the level only says how
        // they are wired, the simulated limits always trip at their position.
        axisAt(axis).limitPositive = positiveEnable != 0;
        axisAt(axis).limitNegative = negativeEnable != 0;
        result = kCardOk;
    }
    return recordCall("set_limit_mode", {card, axis, positiveEnable, negativeEnable, level}, result,
                      false);
}

int SimulatedCard::setStopMode(const char* name, int card, int axis, int enable, int level,
                               bool Axis::*enabled, int Axis::*stopLevel) {
    int result = kCardBadArgument;
    if (validAxis(card, axis)) {
        axisAt(axis).*enabled = enable != 0;
        axisAt(axis).*stopLevel = level != 0 ? 1 : 0;
        result = kCardOk;
    }
    return recordCall(name, {card, axis, enable, level}, result, false);
}

int SimulatedCard::setProfile(const char* name, int card, int axis, std::int32_t value,
                              std::int32_t Axis::*field) {
    int result = kCardBadArgument;
    if (validAxis(card, axis)) {
        axisAt(axis).*field = value;
        result = kCardOk;
    }
    return recordCall(name, {card, axis, value}, result, false);
}

int SimulatedCard::set_stop0_mode(int card, int axis, int enable, int level) {
    return setStopMode("set_stop0_mode", card, axis, enable, level, &Axis::stop0,
                       &Axis::stop0Level);
}

int SimulatedCard::set_stop1_mode(int card, int axis, int enable, int level) {
    return setStopMode("set_stop1_mode", card, axis, enable, level, &Axis::stop1,
                       &Axis::stop1Level);
}

int SimulatedCard::set_startv(int card, int axis, std::int32_t pulsesPerSecond) {
    return setProfile("set_startv", card, axis, pulsesPerSecond, &Axis::startv);
}

int SimulatedCard::set_speed(int card, int axis, std::int32_t pulsesPerSecond) {
    return setProfile("set_speed", card, axis, pulsesPerSecond, &Axis::speed);
}

int SimulatedCard::set_acc(int card, int axis, std::int32_t acceleration) {
    return setProfile("set_acc", card, axis, acceleration, &Axis::acc);
}

// --- single-axis moves --------------------------------------------------------

int SimulatedCard::pmove(int card, int axis, std::int32_t pulses) {
    int result = kCardBadArgument;
    if (validAxis(card, axis)) {
        Axis& a = axisAt(axis);
        if (a.moving || axisInInterpolation(axis)) {
            result = kCardBusy;
        } else {
            result = kCardOk;
            const int direction = pulses > 0 ? 1 : -1;
            // A move whose stop input already reads its stop level, or that
            // would run further into an enabled limit, does not start.
            if (pulses != 0 && !stopsAt(axis, machinePosition(axis), direction)) {
                a.moving = true;
                a.stopping = false;
                a.direction = direction;
                a.remaining = std::llabs(static_cast<long long>(pulses));
                a.vmax = std::max(1.0, static_cast<double>(a.speed));
                a.v0 = std::clamp(static_cast<double>(a.startv), 1.0, a.vmax);
                a.accel = std::max(0.0, static_cast<double>(a.acc) * kCardAccelUnit);
                a.velocity = a.v0;
                a.fraction = 0.0;
            }
        }
    }
    return recordCall("pmove", {card, axis, pulses}, result, false);
}

int SimulatedCard::dec_stop(int card, int axis) {
    int result = kCardBadArgument;
    if (validAxis(card, axis)) {
        if (axisInInterpolation(axis)) {
            // Stopping an axis of the interpolation ends the interpolation.
            m_fifo.clear();
            m_segmentElapsedMs = 0.0;
            m_segmentDoneX = m_segmentDoneY = 0;
        }
        axisAt(axis).stopping = axisAt(axis).moving;
        result = kCardOk;
    }
    return recordCall("dec_stop", {card, axis}, result, false);
}

bool SimulatedCard::stopsAt(int axis, std::int64_t at, int direction) const {
    const Axis& a = axisAt(axis);
    const size_t index = static_cast<size_t>(axis - 1);
    if (a.limitPositive && direction > 0 && at >= m_machine.axes[index].positiveLimit) {
        return true;
    }
    if (a.limitNegative && direction < 0 && at <= m_machine.axes[index].negativeLimit) {
        return true;
    }
    if (a.stop0) {
        const int input = kHomeInput[index];
        const int level = m_isForced[static_cast<size_t>(input)]
                              ? m_forced[static_cast<size_t>(input)]
                              : homeLevelAt(axis, at);
        if (level == a.stop0Level) {
            return true;
        }
    }
    if (a.stop1 && axis == kAxisA) {
        const int level = m_isForced[kInToolSet] ? m_forced[kInToolSet] : toolSetLevelAt(at);
        if (level == a.stop1Level) {
            return true;
        }
    }
    return false;
}

void SimulatedCard::finishMove(Axis& a) {
    a.moving = false;
    a.stopping = false;
    a.remaining = 0;
    a.velocity = 0.0;
    a.fraction = 0.0;
}

void SimulatedCard::shift(int axis, std::int64_t pulses) {
    Axis& a = axisAt(axis);
    a.command += pulses;
    const double scale = axis == 1 ? m_machine.encoderRatio * (1.0 - m_machine.encoderSlip) : 1.0;
    a.actual += static_cast<double>(pulses) * scale;
}

void SimulatedCard::stepAxis(int axis) {
    Axis& a = axisAt(axis);
    if (!a.moving) {
        return;
    }
    const double braking = (a.accel > 0.0 && a.velocity > a.v0)
                               ? (a.velocity * a.velocity - a.v0 * a.v0) / (2.0 * a.accel)
                               : 0.0;
    if (a.accel <= 0.0) {
        a.velocity = a.stopping ? a.v0 : a.vmax;
    } else if (a.stopping || static_cast<double>(a.remaining) <= braking) {
        a.velocity = std::max(a.v0, a.velocity - a.accel * kStepSeconds);
    } else {
        a.velocity = std::min(a.vmax, a.velocity + a.accel * kStepSeconds);
    }
    const double travel = a.velocity * kStepSeconds + a.fraction;
    std::int64_t k = static_cast<std::int64_t>(std::floor(travel));
    a.fraction = travel - static_cast<double>(k);
    k = std::min(k, a.remaining);
    if (k > 0) {
        const std::int64_t from = machinePosition(axis);
        if (stopsAt(axis, from + a.direction * k, a.direction)) {
            // First pulse at which the stop condition holds.
            std::int64_t lo = 1;
            std::int64_t hi = k;
            while (lo < hi) {
                const std::int64_t mid = lo + (hi - lo) / 2;
                if (stopsAt(axis, from + a.direction * mid, a.direction)) {
                    hi = mid;
                } else {
                    lo = mid + 1;
                }
            }
            shift(axis, a.direction * lo);
            finishMove(a);
            return;
        }
        shift(axis, a.direction * k);
        a.remaining -= k;
    }
    if (a.remaining == 0 || (a.stopping && a.velocity <= a.v0)) {
        finishMove(a);
    }
}

// --- interpolation queue ------------------------------------------------------

bool SimulatedCard::axisInInterpolation(int axis) const {
    return !m_fifo.empty() && (axis == 1 || axis == 2);
}

int SimulatedCard::fifo_inp_move2(int card, int axis1, int axis2, std::int32_t delta1,
                                  std::int32_t delta2, std::int32_t speed) {
    int result = kCardBadArgument;
    if (card == 0 && axis1 == 1 && axis2 == 2) {
        if (m_fifo.size() >= kFifoCapacity) {
            result = kCardQueueFull;
        } else {
            const double longAxis =
                static_cast<double>(std::max(std::llabs(static_cast<long long>(delta1)),
                                             std::llabs(static_cast<long long>(delta2))));
            const double pulsesPerSecond = std::max(1.0, static_cast<double>(speed) / 2.0);
            m_fifo.push_back({delta1, delta2, longAxis / pulsesPerSecond * 1000.0});
            result = kCardOk;
        }
    }
    return recordCall("fifo_inp_move2", {card, axis1, axis2, delta1, delta2, speed}, result, false);
}

int SimulatedCard::reset_fifo(int card) {
    int result = kCardBadArgument;
    if (card == 0) {
        m_fifo.clear();
        m_segmentElapsedMs = 0.0;
        m_segmentDoneX = m_segmentDoneY = 0;
        result = kCardOk;
    }
    return recordCall("reset_fifo", {card}, result, false);
}

int SimulatedCard::read_fifo_empty(int card) {
    // The segment being executed has left the queue.
    const int result = card == 0 ? (m_fifo.size() <= 1 ? 1 : 0) : kCardBadArgument;
    return recordCall("read_fifo_empty", {card}, result, true);
}

int SimulatedCard::get_inp_status(int card) {
    const int result = card == 0 ? (m_fifo.empty() ? 0 : 1) : kCardBadArgument;
    return recordCall("get_inp_status", {card}, result, true);
}

void SimulatedCard::stepFifo() {
    // The queue waits while X or Y still runs a move of its own.
    if (axisAt(1).moving || axisAt(2).moving) {
        return;
    }
    double budget = 1.0;
    while (budget > 0.0 && !m_fifo.empty()) {
        const Segment& segment = m_fifo.front();
        const double left = segment.durationMs - m_segmentElapsedMs;
        if (left <= budget + 1e-9) {
            shift(1, segment.dx - m_segmentDoneX);
            shift(2, segment.dy - m_segmentDoneY);
            budget -= std::max(0.0, left);
            m_fifo.pop_front();
            m_segmentElapsedMs = 0.0;
            m_segmentDoneX = m_segmentDoneY = 0;
        } else {
            m_segmentElapsedMs += budget;
            const double share = m_segmentElapsedMs / segment.durationMs;
            const auto x = static_cast<std::int64_t>(static_cast<double>(segment.dx) * share);
            const auto y = static_cast<std::int64_t>(static_cast<double>(segment.dy) * share);
            shift(1, x - m_segmentDoneX);
            shift(2, y - m_segmentDoneY);
            m_segmentDoneX = x;
            m_segmentDoneY = y;
            budget = 0.0;
        }
    }
}

// --- status and positions -------------------------------------------------------

int SimulatedCard::get_status(int card, int axis) {
    int result = kCardBadArgument;
    if (validAxis(card, axis)) {
        result = (axisAt(axis).moving || axisInInterpolation(axis)) ? 1 : 0;
    }
    return recordCall("get_status", {card, axis}, result, true);
}

std::int32_t SimulatedCard::get_command_pos(int card, int axis) {
    const std::int32_t result = validAxis(card, axis) ? SaturatePulses(axisAt(axis).command) : 0;
    return recordCall("get_command_pos", {card, axis}, result, true);
}

std::int32_t SimulatedCard::get_actual_pos(int card, int axis) {
    const std::int32_t result =
        validAxis(card, axis) ? common::CLngSaturated(axisAt(axis).actual) : 0;
    return recordCall("get_actual_pos", {card, axis}, result, true);
}

int SimulatedCard::set_command_pos(int card, int axis, std::int32_t value) {
    int result = kCardBadArgument;
    if (validAxis(card, axis)) {
        Axis& a = axisAt(axis);
        // The machine stays where it is; only the counter is redefined.
        a.offset += a.command - value;
        a.command = value;
        result = kCardOk;
    }
    return recordCall("set_command_pos", {card, axis, value}, result, false);
}

int SimulatedCard::set_actual_pos(int card, int axis, std::int32_t value) {
    int result = kCardBadArgument;
    if (validAxis(card, axis)) {
        axisAt(axis).actual = value;
        result = kCardOk;
    }
    return recordCall("set_actual_pos", {card, axis, value}, result, false);
}

std::int32_t SimulatedCard::get_speed(int card, int axis) {
    double speed = 0.0;
    if (validAxis(card, axis)) {
        const Axis& a = axisAt(axis);
        if (a.moving) {
            speed = a.velocity;
        } else if (axisInInterpolation(axis) && m_fifo.front().durationMs > 0.0) {
            const Segment& s = m_fifo.front();
            const double delta = static_cast<double>(std::llabs(axis == 1 ? s.dx : s.dy));
            speed = delta / (s.durationMs / 1000.0);
        }
    }
    return recordCall("get_speed", {card, axis}, common::CLngSaturated(speed), true);
}

std::int64_t SimulatedCard::machinePosition(int axis) const {
    const Axis& a = axisAt(axis);
    return a.command + a.offset;
}

// --- inputs and outputs -----------------------------------------------------------

int SimulatedCard::homeLevelAt(int axis, std::int64_t at) const {
    const SimAxis& sim = m_machine.axes[static_cast<size_t>(axis - 1)];
    const bool pressed = sim.searchDirection > 0 ? at >= sim.homeSwitch : at <= sim.homeSwitch;
    // The feed switch reads 1 while pressed, the others 0.
    return pressed == (axis == kAxisX) ? 1 : 0;
}

int SimulatedCard::toolSetLevelAt(std::int64_t at) const {
    return at >= m_machine.toolSetSwitch ? 0 : 1;
}

int SimulatedCard::machineInput(int input) const {
    const auto button = [this](int in) { return m_pressed[static_cast<size_t>(in)] ? 0 : 1; };
    for (int axis = kAxisX; axis <= kAxisA; ++axis) {
        if (input == kHomeInput[axis - 1]) {
            return homeLevelAt(axis, machinePosition(axis));
        }
    }
    switch (input) {
    case kInToolSet:
        return toolSetLevelAt(machinePosition(kAxisA));
    case 16:
        return m_cutter.state == Travel::Out ? 0 : 1;
    case 17:
        return m_cutter.state == Travel::Back ? 0 : 1;
    case 19:
        if (m_machine.infeedLimitFitted && machinePosition(4) >= m_machine.infeedLimit) {
            return 0;
        }
        return button(input);
    case 10:
    case 11:
    case 12:
    case 13:
        if (m_machine.liftingBenderSensors) {
            const Actuator& rod = m_rods[input < 12 ? 0 : 1];
            const bool inSensor = input == 10 || input == 12;
            return rod.state == (inSensor ? Travel::Out : Travel::Back) ? 0 : 1;
        }
        return button(input);
    default:
        return button(input);
    }
}

int SimulatedCard::read_bit(int card, int input) {
    int result = kCardBadArgument;
    if (validInput(card, input)) {
        const auto index = static_cast<size_t>(input);
        result = m_isForced[index] ? m_forced[index] : machineInput(input);
    }
    return recordCall("read_bit", {card, input}, result, true);
}

void SimulatedCard::driveActuator(Actuator& actuator, bool towardsOut, std::int64_t delayMs) {
    const Travel target = towardsOut ? Travel::Out : Travel::Back;
    const Travel going = towardsOut ? Travel::GoingOut : Travel::GoingBack;
    if (actuator.state == target || actuator.state == going) {
        return;
    }
    actuator.state = delayMs <= 0 ? target : going;
    actuator.arrivalMs = m_timeMs + delayMs;
}

void SimulatedCard::updateActuators() {
    for (Actuator* actuator : {&m_cutter, &m_rods[0], &m_rods[1]}) {
        if (m_timeMs >= actuator->arrivalMs) {
            if (actuator->state == Travel::GoingOut) {
                actuator->state = Travel::Out;
            } else if (actuator->state == Travel::GoingBack) {
                actuator->state = Travel::Back;
            }
        }
    }
}

int SimulatedCard::write_bit(int card, int output, int value) {
    int result = kCardBadArgument;
    if (validOutput(card, output)) {
        const int level = value != 0 ? 1 : 0;
        int& current = m_outputs[static_cast<size_t>(output)];
        const bool changed = current != level;
        current = level;
        result = kCardOk;
        recordCall("write_bit", {card, output, value}, result, false);
        if (changed && m_recordLevel != RecordLevel::Off) {
            record("OUT" + number(output) + "=" + number(level));
        }
        // The valves: OUT1 pushes the cutter out, OUT2 pulls it back; OUT4
        // and OUT5 move the bender rods in (on) and out (off).
        if (output == 1 && level == 1) {
            driveActuator(m_cutter, true, m_machine.cutterOutDelayMs);
        } else if (output == 2 && level == 1) {
            driveActuator(m_cutter, false, m_machine.cutterBackDelayMs);
        } else if (output == 4 || output == 5) {
            driveActuator(m_rods[static_cast<size_t>(output - 4)], level == 1,
                          m_machine.benderRodDelayMs);
        }
        return result;
    }
    return recordCall("write_bit", {card, output, value}, result, false);
}

int SimulatedCard::get_out(int card, int output) {
    const int result =
        validOutput(card, output) ? m_outputs[static_cast<size_t>(output)] : kCardBadArgument;
    return recordCall("get_out", {card, output}, result, true);
}

void SimulatedCard::setButton(int input, bool pressed) {
    if (input >= 0 && input < kCardInputCount) {
        m_pressed[static_cast<size_t>(input)] = pressed;
    }
}

void SimulatedCard::forceInput(int input, int level) {
    if (input >= 0 && input < kCardInputCount) {
        m_isForced[static_cast<size_t>(input)] = true;
        m_forced[static_cast<size_t>(input)] = level != 0 ? 1 : 0;
    }
}

void SimulatedCard::clearInput(int input) {
    if (input >= 0 && input < kCardInputCount) {
        m_isForced[static_cast<size_t>(input)] = false;
    }
}

// --- time -----------------------------------------------------------------------------

bool SimulatedCard::idle() const {
    return m_fifo.empty() &&
           std::none_of(m_axes.begin(), m_axes.end(), [](const Axis& a) { return a.moving; });
}

void SimulatedCard::step1ms() {
    for (int axis = 1; axis <= kCardAxisCount; ++axis) {
        stepAxis(axis);
    }
    stepFifo();
    ++m_timeMs;
    updateActuators();
}

void SimulatedCard::advance(std::int64_t milliseconds) {
    while (milliseconds > 0) {
        const std::array<const Actuator*, 3> actuators{&m_cutter, &m_rods[0], &m_rods[1]};
        const bool travelling =
            std::any_of(actuators.begin(), actuators.end(), [](const Actuator* a) {
                return a->state == Travel::GoingOut || a->state == Travel::GoingBack;
            });
        if (idle() && !travelling) {
            // Nothing changes while the machine stands still.
            m_timeMs += milliseconds;
            return;
        }
        step1ms();
        --milliseconds;
    }
}

std::int64_t SimulatedCard::runUntilIdle(std::int64_t limitMs) {
    const std::int64_t start = m_timeMs;
    while (!idle() && m_timeMs - start < limitMs) {
        step1ms();
    }
    return m_timeMs - start;
}

} // namespace korvel::machine
