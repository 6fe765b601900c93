#pragma once
// The four-axis pulse motion card as the machine uses it. The operations
// keep the names of the vendor library so that an engineer who knows the
// card finds them; every call takes the card number first (always 0).
//
// Axes: 1 X feed, 2 Y bending arm, 3 Z cutter up/down, 4 A swing/infeed.
// Positions and distances are signed 32-bit pulse counts, speeds pulses per
// second, accelerations the card's unit (parameter value x 10000).
// Inputs 0..23 and outputs 0..11 read and write 0 or 1.
//
// Read-backs that the vendor library hands out through a reference are
// returned here. Calls with a card, axis or bit number out of range do
// nothing and return kCardBadArgument (reads return 0).

#include <cstdint>
#include <optional>
#include <string>

namespace korvel::machine {

inline constexpr int kCardInputCount = 24;
inline constexpr int kCardOutputCount = 12;
inline constexpr int kCardAxisCount = 4;
inline constexpr int kCardOk = 0;
inline constexpr int kCardBadArgument = -1;

// A call the card's driver refused with an error code.
struct CardFault {
    std::string function; // "pmove"
    int code = 0;
    bool operator==(const CardFault&) const = default;
};

class MotionCard {
public:
    virtual ~MotionCard() = default;

    // Opens the card; returns the number of cards found (below 1: no card).
    virtual int adt8940a1_initial() = 0;

    // Limit inputs of an axis: positive / negative limit enable and the
    // active level.
    virtual int set_limit_mode(int card, int axis, int positiveEnable, int negativeEnable,
                               int level) = 0;
    // The axis stops by itself when its stop-0 (home) input reaches `level`.
    virtual int set_stop0_mode(int card, int axis, int enable, int level) = 0;
    // The axis stops by itself when its stop-1 (tool-setting) input reaches
    // `level`.
    virtual int set_stop1_mode(int card, int axis, int enable, int level) = 0;

    // Profile for the next single-axis move.
    virtual int set_startv(int card, int axis, std::int32_t pulsesPerSecond) = 0;
    virtual int set_speed(int card, int axis, std::int32_t pulsesPerSecond) = 0;
    virtual int set_acc(int card, int axis, std::int32_t acceleration) = 0;

    // Starts a relative move and returns at once.
    virtual int pmove(int card, int axis, std::int32_t pulses) = 0;
    // Decelerating stop.
    virtual int dec_stop(int card, int axis) = 0;

    // Non-zero while the axis moves (its own move or an interpolation).
    virtual int get_status(int card, int axis) = 0;
    // 1 while an interpolation runs.
    virtual int get_inp_status(int card) = 0;

    // Queues one linear X-Y segment (relative pulses) at `speed` pulses per
    // second along the path; queued segments run back to back.
    virtual int fifo_inp_move2(int card, int axis1, int axis2, std::int32_t delta1,
                               std::int32_t delta2, std::int32_t speed) = 0;
    // Empties the interpolation queue.
    virtual int reset_fifo(int card) = 0;
    // 0 while the queue still holds segments, 1 when it is empty.
    virtual int read_fifo_empty(int card) = 0;

    // Command position; actual position = encoder count (axis 1).
    virtual std::int32_t get_command_pos(int card, int axis) = 0;
    virtual std::int32_t get_actual_pos(int card, int axis) = 0;
    // Positions redefined without motion.
    virtual int set_command_pos(int card, int axis, std::int32_t value) = 0;
    virtual int set_actual_pos(int card, int axis, std::int32_t value) = 0;

    // Current speed in pulses per second.
    virtual std::int32_t get_speed(int card, int axis) = 0;

    // Input level 0 or 1.
    virtual int read_bit(int card, int input) = 0;
    // Set an output to 0 or 1, read it back.
    virtual int write_bit(int card, int output, int value) = 0;
    virtual int get_out(int card, int output) = 0;

    // The first call the driver refused since the last look, and forgets
    // it. A card whose driver reports errors keeps them here, because most
    // operations hand back a value and have no room for an error code; the
    // executor looks on every tick and stops the machine.
    virtual std::optional<CardFault> takeFault() { return std::nullopt; }
};

// Busy state of the card as the executor and the manual commands test it:
// 1..4 when axis 1..4 reports a running move (first one wins), 5 while an
// interpolation runs, 6 while the interpolation queue still holds
// segments, 0 when everything is idle.
inline std::int16_t Axis_Status(MotionCard& card) {
    for (int axis = 1; axis <= kCardAxisCount; ++axis) {
        if (card.get_status(0, axis) != 0) {
            return static_cast<std::int16_t>(axis);
        }
    }
    if (card.get_inp_status(0) != 0) {
        return 5;
    }
    if (card.read_fifo_empty(0) == 0) {
        return 6;
    }
    return 0;
}

} // namespace korvel::machine
