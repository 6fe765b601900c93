#pragma once
// A simulated machine behind the motion card interface: the default card of
// the window, the command line and the tests, so that every program the
// system writes can run on any PC.
//
// Time is virtual: nothing moves until advance(ms) is called, and the same
// calls with the same advances always give the same positions. Inside each
// millisecond an axis follows a trapezoid profile (start velocity, speed,
// acceleration; card acceleration unit = 125 pulses/s^2) and moves in whole
// pulses; a relative move ends exactly on its target. Switches sit at the
// positions of the machine description (SimMachine); an axis whose stop-0 or
// stop-1 mode is enabled stops on the first pulse at which its input reads
// the level given to the mode, and a move that would start with the input
// already at that level does not start. Enabled travel limits stop an axis
// on the limit.
//
// Input levels: home switches IN8 (Y), IN14 (Z), IN20 (A) and the
// tool-setting switch IN21 read 0 while pressed; the feed home switch IN2
// reads 1 while X stands on it. In-position inputs IN16 (cutter out) and
// IN17 (cutter back) read 0 once OUT1 / OUT2 have driven the cutter there;
// with the lifting double bender's sensors fitted, IN10/IN11 read 0 when
// rod I is in / out (OUT4 on / off), IN12/IN13 likewise for rod II and OUT5.
// Operator buttons idle at 1 and read 0 while pressed. Unused inputs read 1.
//
// The interpolation queue runs its X-Y segments back to back; a segment's
// long axis moves at half the queued speed value in pulses per second (the
// card counts interpolation speed in half pulses), so a 20 ms sample of s
// pulses queued at s x 100 lasts exactly 20 ms.
//
// Axis 1's actual position is a feed encoder counting `encoderRatio` counts
// per motor pulse, less the configured slip; the other axes' actual
// positions follow their command positions.

#include "machine/AxisUnits.h"
#include "machine/MotionCard.h"
#include "machine/SimMachine.h"

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace korvel::machine {

inline constexpr int kCardBusy = -2;
inline constexpr int kCardQueueFull = -3;
// Depth of the simulated interpolation queue.
inline constexpr size_t kFifoCapacity = 65536;
// Most entries a recording keeps; later calls are counted, not stored.
inline constexpr size_t kRecordingCapacity = 2000000;

enum class RecordLevel {
    Off,
    Commands, // every call that changes the card, and every output change
    All,      // also every read
};

struct CardEvent {
    std::int64_t timeMs;
    std::string text; // "pmove(0, 1, 2000) = 0", "OUT3=1"
    bool operator==(const CardEvent&) const = default;
};

class SimulatedCard : public MotionCard {
public:
    explicit SimulatedCard(SimMachine machine = SimMachine{});

    // MotionCard
    int adt8940a1_initial() override;
    int set_limit_mode(int card, int axis, int positiveEnable, int negativeEnable,
                       int level) override;
    int set_stop0_mode(int card, int axis, int enable, int level) override;
    int set_stop1_mode(int card, int axis, int enable, int level) override;
    int set_startv(int card, int axis, std::int32_t pulsesPerSecond) override;
    int set_speed(int card, int axis, std::int32_t pulsesPerSecond) override;
    int set_acc(int card, int axis, std::int32_t acceleration) override;
    int pmove(int card, int axis, std::int32_t pulses) override;
    int dec_stop(int card, int axis) override;
    int get_status(int card, int axis) override;
    int get_inp_status(int card) override;
    int fifo_inp_move2(int card, int axis1, int axis2, std::int32_t delta1, std::int32_t delta2,
                       std::int32_t speed) override;
    int reset_fifo(int card) override;
    int read_fifo_empty(int card) override;
    std::int32_t get_command_pos(int card, int axis) override;
    std::int32_t get_actual_pos(int card, int axis) override;
    int set_command_pos(int card, int axis, std::int32_t value) override;
    int set_actual_pos(int card, int axis, std::int32_t value) override;
    std::int32_t get_speed(int card, int axis) override;
    int read_bit(int card, int input) override;
    int write_bit(int card, int output, int value) override;
    int get_out(int card, int output) override;

    // Virtual time.
    void advance(std::int64_t milliseconds);
    // Advances until every axis and the queue are idle, at most `limitMs`;
    // returns the time it took.
    std::int64_t runUntilIdle(std::int64_t limitMs = 3600000);
    std::int64_t timeMs() const { return m_timeMs; }
    bool idle() const;

    // The operator's buttons on the machine: IN11, IN12, IN13, IN15, IN18,
    // IN19, IN22, IN23 (and any other input) read 0 while pressed.
    void setButton(int input, bool pressed);
    // Forces an input to a level regardless of the machine (a broken wire, a
    // switch held by hand); clearInput gives it back to the machine.
    void forceInput(int input, int level);
    void clearInput(int input);
    // Whether adt8940a1_initial finds the card (default yes).
    void setCardPresent(bool present) { m_cardPresent = present; }

    // Physical position of an axis in pulses in the machine's frame (where
    // the switches are), independent of the card's counters.
    std::int64_t machinePosition(int axis) const;
    const SimMachine& machine() const { return m_machine; }

    // Recording of calls and output changes with their times.
    void setRecording(RecordLevel level) { m_recordLevel = level; }
    const std::vector<CardEvent>& recording() const { return m_recording; }
    std::size_t droppedEvents() const { return m_dropped; }
    void clearRecording();
    // The recording as text lines "<ms> <event>".
    std::vector<std::string> recordingLines() const;

private:
    struct Axis {
        std::int64_t command = 0; // command counter
        std::int64_t offset = 0;  // machine position = command + offset
        double actual = 0.0;      // actual counter (encoder on axis 1)
        std::int32_t startv = kStartVelocity;
        std::int32_t speed = kStartVelocity;
        std::int32_t acc = 0;
        bool stop0 = false;
        int stop0Level = 0;
        bool stop1 = false;
        int stop1Level = 0;
        bool limitPositive = false;
        bool limitNegative = false;
        // Move in progress.
        bool moving = false;
        bool stopping = false;
        int direction = 0;
        std::int64_t remaining = 0;
        double velocity = 0.0;
        double fraction = 0.0;
        double v0 = 0.0;
        double vmax = 0.0;
        double accel = 0.0;
    };

    struct Segment {
        std::int64_t dx;
        std::int64_t dy;
        double durationMs;
    };

    enum class Travel { Back, Out, GoingOut, GoingBack };
    struct Actuator {
        Travel state = Travel::Back;
        std::int64_t arrivalMs = 0;
    };

    bool validAxis(int card, int axis) const;
    bool validInput(int card, int input) const;
    bool validOutput(int card, int output) const;
    Axis& axisAt(int axis) { return m_axes[static_cast<size_t>(axis - 1)]; }
    const Axis& axisAt(int axis) const { return m_axes[static_cast<size_t>(axis - 1)]; }

    void step1ms();
    void stepAxis(int axis);
    void stepFifo();
    // Moves an axis's counters by `pulses` (both the command and the
    // machine position, and the actual counter).
    void shift(int axis, std::int64_t pulses);
    // True when a stop condition of the axis holds at machine position `at`
    // for a move in `direction`.
    bool stopsAt(int axis, std::int64_t at, int direction) const;
    void finishMove(Axis& axis);
    bool axisInInterpolation(int axis) const;
    int machineInput(int input) const;
    // Levels of the home switch of `axis` and of the tool-setting switch
    // with the axis at machine position `at`.
    int homeLevelAt(int axis, std::int64_t at) const;
    int toolSetLevelAt(std::int64_t at) const;
    void updateActuators();
    void driveActuator(Actuator& actuator, bool towardsOut, std::int64_t delayMs);

    int setStopMode(const char* name, int card, int axis, int enable, int level,
                    bool Axis::*enabled, int Axis::*stopLevel);
    int setProfile(const char* name, int card, int axis, std::int32_t value,
                   std::int32_t Axis::*field);

    void record(std::string text);
    int recordCall(const char* name, std::initializer_list<std::int64_t> args, int result,
                   bool isRead);

    SimMachine m_machine;
    std::array<Axis, 4> m_axes{};
    std::deque<Segment> m_fifo;
    double m_segmentElapsedMs = 0.0;
    std::int64_t m_segmentDoneX = 0;
    std::int64_t m_segmentDoneY = 0;
    std::array<int, kCardOutputCount> m_outputs{};
    std::array<int, kCardInputCount> m_forced{};
    std::array<bool, kCardInputCount> m_isForced{};
    std::array<bool, kCardInputCount> m_pressed{};
    Actuator m_cutter;
    std::array<Actuator, 2> m_rods{};
    std::int64_t m_timeMs = 0;
    bool m_cardPresent = true;
    RecordLevel m_recordLevel = RecordLevel::Off;
    std::vector<CardEvent> m_recording;
    std::size_t m_dropped = 0;
};

} // namespace korvel::machine
