#pragma once
// Shared pieces of the machine tests: a parameter set whose numbers are easy
// to follow by hand, a GoogleMock card for call sequences, and a small
// stepper that runs a loaded program on the simulated card the way the
// executor does (one line per 30 ms tick while the card is idle).

#include "machine/Interpreter.h"
#include "machine/MotionCard.h"
#include "machine/ParameterSet.h"
#include "machine/RunState.h"
#include "machine/SimMachine.h"
#include "machine/SimulatedCard.h"

#include <gmock/gmock.h>

namespace korvel::test {

// X: 100 pulses/mm, 6000 mm/min = 10000 pulses/s, sample step growth
// d = 0.2 x 10000 x 125 x 0.02^2 = 100 pulses, so a ramp has 2 samples.
// Y: 50 pulses/degree, 3000 deg/min = 2500 pulses/s, idle angles 3 degrees
// = 150 pulses, backlash 0.5 degree = 25 pulses.
inline machine::ParameterSet handParameters() {
    machine::ParameterSet p;
    p.PulseEquivX = 100;
    p.AutoSpeedX = 6000;
    p.AccelX = 0.2;
    p.HomeSpeedX = 1200;
    p.ManualSpeedX = 1200;
    p.HomeOffsetX = 2;
    p.HomeOffsetSpeedX = 600;
    p.PulseEquivY = 50;
    p.AutoSpeedY = 3000;
    p.AccelY = 1;
    p.HomeSpeedY = 600;
    p.HomeOffsetY = 1;
    p.HomeOffsetSpeedY = 600;
    p.PulseEquivZ = 100;
    p.AutoSpeedZ = 1200;
    p.AccelZ = 1;
    p.HomeSpeedZ = 600;
    p.HomeOffsetZ = 1;
    p.HomeOffsetSpeedZ = 600;
    p.PulseEquivA = 100;
    p.AutoSpeedA = 1200;
    p.AccelA = 1;
    p.HomeSpeedA = 600;
    p.HomeOffsetA = 1;
    p.HomeOffsetSpeedA = 600;
    p.AutoToolSetSpeed = 300;
    p.IdleAnglePos = 3;
    p.IdleAngleNeg = 3;
    p.BendBacklash = 0.5;
    p.MaxFeedLength = 0;
    p.InPositionCheck = 0;
    p.BenderType = 2;
    p.BenderInOutDelay = 300;
    p.FeedType = 0;
    p.GripperStroke = 100;
    p.InfeedControl = 0;
    p.FeedHomeSwitch = 0;
    p.EncoderPulseEquiv = 100;
    return p;
}

class MockCard : public machine::MotionCard {
public:
    MOCK_METHOD(int, adt8940a1_initial, (), (override));
    MOCK_METHOD(int, set_limit_mode, (int, int, int, int, int), (override));
    MOCK_METHOD(int, set_stop0_mode, (int, int, int, int), (override));
    MOCK_METHOD(int, set_stop1_mode, (int, int, int, int), (override));
    MOCK_METHOD(int, set_startv, (int, int, std::int32_t), (override));
    MOCK_METHOD(int, set_speed, (int, int, std::int32_t), (override));
    MOCK_METHOD(int, set_acc, (int, int, std::int32_t), (override));
    MOCK_METHOD(int, pmove, (int, int, std::int32_t), (override));
    MOCK_METHOD(int, dec_stop, (int, int), (override));
    MOCK_METHOD(int, get_status, (int, int), (override));
    MOCK_METHOD(int, get_inp_status, (int), (override));
    MOCK_METHOD(int, fifo_inp_move2, (int, int, int, std::int32_t, std::int32_t, std::int32_t),
                (override));
    MOCK_METHOD(int, reset_fifo, (int), (override));
    MOCK_METHOD(int, read_fifo_empty, (int), (override));
    MOCK_METHOD(std::int32_t, get_command_pos, (int, int), (override));
    MOCK_METHOD(std::int32_t, get_actual_pos, (int, int), (override));
    MOCK_METHOD(int, set_command_pos, (int, int, std::int32_t), (override));
    MOCK_METHOD(int, set_actual_pos, (int, int, std::int32_t), (override));
    MOCK_METHOD(std::int32_t, get_speed, (int, int), (override));
    MOCK_METHOD(int, read_bit, (int, int), (override));
    MOCK_METHOD(int, write_bit, (int, int, int), (override));
    MOCK_METHOD(int, get_out, (int, int), (override));
};

// The simulated machine of the hand parameters, built-in description.
inline machine::SimMachine handMachine(const machine::ParameterSet& p,
                                       machine::SimMachineFile file = {}) {
    return machine::SimMachine::fromFile(file, p);
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
            if (card.get_out(0, 1) == 1 && card.read_bit(0, 16) == 0) {
                card.write_bit(0, 1, 0);
                run.WaitFlag = 0;
            }
            if (card.get_out(0, 2) == 1 && card.read_bit(0, 17) == 0) {
                card.write_bit(0, 2, 0);
                run.WaitFlag = 0;
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
