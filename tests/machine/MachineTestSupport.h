#pragma once
// Shared pieces of the machine tests: a parameter set whose numbers are easy
// to follow by hand, the interpreter on a recording simulated card, and a
// small stepper that runs a loaded program the way the executor does (one
// line per 30 ms tick while the card is idle).

#include "machine/Interpreter.h"
#include "machine/MotionCard.h"
#include "machine/ParameterSet.h"
#include "machine/RunState.h"
#include "machine/SimMachine.h"
#include "machine/SimulatedCard.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::test {

// X: 100 pulses/mm, 6000 mm/min = 10000 pulses/s, sample step growth
// d = 0.2 x 10000 x 125 x 0.02^2 = 100 pulses, so a ramp has 2 samples.
// Y: 50 pulses/degree, 3000 deg/min = 2500 pulses/s, idle angles 3 degrees
// = 150 pulses, backlash 0.5 degree = 25 pulses. Z and A: 100 pulses per
// unit, 1200 units/min = 2000 pulses/s. Every other value is 0.
inline machine::ParameterSet handParameters() {
    machine::ParameterSet p;
    p.PulseEquivX = 100;
    p.AutoSpeedX = 6000;
    p.AccelX = 0.2;
    p.HomeSpeedX = p.ManualSpeedX = 1200;
    p.HomeOffsetX = 2;
    p.HomeOffsetSpeedX = 600;
    p.PulseEquivY = 50;
    p.AutoSpeedY = 3000;
    p.HomeSpeedY = p.HomeSpeedZ = p.HomeSpeedA = 600;
    p.HomeOffsetSpeedY = p.HomeOffsetSpeedZ = p.HomeOffsetSpeedA = 600;
    p.HomeOffsetY = p.HomeOffsetZ = p.HomeOffsetA = 1;
    p.AccelY = p.AccelZ = p.AccelA = 1;
    p.PulseEquivZ = p.PulseEquivA = 100;
    p.AutoSpeedZ = p.AutoSpeedA = 1200;
    p.AutoToolSetSpeed = 300;
    p.IdleAnglePos = p.IdleAngleNeg = 3;
    p.BendBacklash = 0.5;
    p.BenderType = 2;
    p.BenderInOutDelay = 300;
    p.GripperStroke = 100;
    p.EncoderPulseEquiv = 100;
    return p;
}

// The simulated machine of the hand parameters, built-in description.
inline machine::SimMachine handMachine(const machine::ParameterSet& p,
                                       machine::SimMachineFile file = {}) {
    return machine::SimMachine::fromFile(file, p);
}

// Recorded events whose text starts with `prefix`.
inline std::vector<std::string> recorded(const machine::SimulatedCard& card,
                                         std::string_view prefix) {
    std::vector<std::string> found;
    for (const machine::CardEvent& event : card.recording()) {
        if (event.text.starts_with(prefix)) {
            found.push_back(event.text);
        }
    }
    return found;
}

// Levels of `inputs`, one digit each.
inline std::string inputLevels(machine::SimulatedCard& card, std::initializer_list<int> inputs) {
    std::string text;
    for (int input : inputs) {
        text += std::to_string(card.read_bit(0, input));
    }
    return text;
}

// The interpreter of the hand parameters on a simulated card that records
// every call that changes the card.
class InterpreterFixture : public ::testing::Test {
protected:
    machine::ParameterSet params = handParameters();
    machine::RunState run;
    machine::SimulatedCard card{handMachine(params)};
    machine::Interpreter interpreter{card, params, run};

    InterpreterFixture() { card.setRecording(machine::RecordLevel::Commands); }

    void load(common::Lines lines) { run.loadLines(std::move(lines), machine::RunKind::Job); }
    void executeCurrent() { interpreter.ExecuteLine(run.line(run.CurrentLine)); }
    std::vector<std::string> calls(std::string_view prefix = "") const {
        return recorded(card, prefix);
    }
    // Puts the arm (card and interpreter) at `pulses`.
    void armAt(std::int32_t pulses) {
        card.set_command_pos(0, 2, pulses);
        run.CurYPulses = pulses;
    }
};

// "A, v" of the recorded call "name(0, A, v)"; empty for any other event.
inline std::string argsOf(std::string_view event, std::string_view name) {
    const std::string prefix = std::string(name) + "(0, ";
    if (!event.starts_with(prefix) || !event.ends_with(")")) {
        return {};
    }
    return std::string(event.substr(prefix.size(), event.size() - prefix.size() - 1));
}

// The recorded events as one text with "; " between them. Results of 0 are
// left out, and each common move set-up (speed, start velocity 1000,
// acceleration, relative move, all on one axis and in that order) reads
// "move(axis, speed, acceleration, pulses)".
inline std::string callText(const machine::SimulatedCard& card) {
    std::vector<std::string> events;
    for (const machine::CardEvent& event : card.recording()) {
        const bool ok = event.text.ends_with(" = 0");
        events.push_back(event.text.substr(0, event.text.size() - (ok ? 4 : 0)));
    }
    std::string text;
    for (size_t i = 0; i < events.size(); ++i) {
        std::string item = events[i];
        const std::string speed = argsOf(events[i], "set_speed");
        if (!speed.empty() && i + 3 < events.size()) {
            const std::string axis = speed.substr(0, speed.find(',') + 1);
            const std::string acc = argsOf(events[i + 2], "set_acc");
            const std::string pulses = argsOf(events[i + 3], "pmove");
            if (argsOf(events[i + 1], "set_startv") == axis + " 1000" && acc.starts_with(axis) &&
                pulses.starts_with(axis)) {
                item = "move(" + speed + acc.substr(axis.size() - 1) +
                       pulses.substr(axis.size() - 1) + ")";
                i += 3;
            }
        }
        text += (text.empty() ? "" : "; ") + item;
    }
    return text;
}

// Stops every search and queued path, as the executor's distance guards and
// Command_Stop would, and lets the machine come to rest.
inline void stopEverything(machine::SimulatedCard& card) {
    card.reset_fifo(0);
    for (int axis = 1; axis <= machine::kCardAxisCount; ++axis) {
        card.set_stop0_mode(0, axis, 0, 0);
        card.set_stop1_mode(0, axis, 0, 0);
        card.dec_stop(0, axis);
    }
    card.runUntilIdle(600000);
}

// Runs the loaded program the way the executor steps it: a line only when
// the card is idle, no wait and no dwell are pending and no homing runs;
// dwells count down per 30 ms tick. In-position waits end when their input
// reads 0 (the output is then switched off); homing phases are finished by
// `onHoming`, which must clear HomingAxisCode. Returns the ticks used.
template <typename OnHoming>
int runProgram(machine::SimulatedCard& card, machine::Interpreter& interpreter,
               machine::RunState& run, OnHoming onHoming, int maxTicks = 100000) {
    int ticks = 0;
    for (; ticks < maxTicks; ++ticks) {
        card.advance(machine::kTimer2IntervalMs);
        if (run.HomingAxisCode != 0) {
            onHoming();
            continue;
        }
        if (run.WaitFlag == 1) {
            for (const auto& [output, input] : {std::pair{1, 16}, std::pair{2, 17}}) {
                if (card.get_out(0, output) == 1 && card.read_bit(0, input) == 0) {
                    card.write_bit(0, output, 0);
                    run.WaitFlag = 0;
                }
            }
            continue;
        }
        if (interpreter.Axis_Status() != 0) {
            continue;
        }
        if (run.DwellTicks > 0) {
            --run.DwellTicks;
            continue;
        }
        if (run.CurrentLine >= run.LineCount) {
            break;
        }
        interpreter.ExecuteLine(run.line(run.CurrentLine));
        run.CurrentLine = static_cast<std::int16_t>(run.CurrentLine + 1);
    }
    return ticks;
}

} // namespace korvel::test
