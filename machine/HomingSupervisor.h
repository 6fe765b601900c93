#pragma once
// The executor's watch over homing searches. A search is started by a
// program line ("M38", "M40", "M42", "M44", "M36") or by a homing button;
// from then on HomingAxisCode tells which phase runs. Each tick, once the
// axis concerned stands still, the supervisor starts the next phase: the
// back-off by the axis's home offset after the switch stopped the search,
// then the zeroing of its positions. Two guards stop a search that runs too
// far because its switch never answers.

#include "common/Message.h"

#include <functional>
#include <optional>

namespace korvel::machine {

// Homing phases (HomingAxisCode): the search of an axis's switch, then its
// back-off by the home offset; 0 while no homing runs.
namespace homing {
inline constexpr int kXSearch = 1;
inline constexpr int kYSearch = 2;
inline constexpr int kZSearch = 3;
inline constexpr int kASearch = 4;
inline constexpr int kXBackOff = 5;
inline constexpr int kYBackOff = 6;
inline constexpr int kZBackOff = 7;
inline constexpr int kABackOff = 8;
inline constexpr int kAToolSetting = 9;
// The cutter (Z) leaves its switch before searching it.
inline constexpr int kZReturn = 10;
} // namespace homing

class MotionCard;
struct ParameterSet;
struct RunState;

class HomingSupervisor {
public:
    HomingSupervisor(ParameterSet& params, RunState& run, MotionCard& card)
        : m_p(params), m_run(run), m_card(card) {}

    // Called after the automatic tool setting has changed HomeOffsetA, to
    // save the parameter group quietly.
    void setParameterSaver(std::function<void()> saver) { m_saveParameters = std::move(saver); }

    // One tick of supervision. Returns the alarm when a distance guard
    // tripped: the caller stops the machine and shows it.
    std::optional<common::Message> tick();

    // The card axis a homing code waits for (0 for none).
    static int axisOf(int homingCode);

private:
    std::optional<common::Message> checkGuards();
    void advance(int code);
    void startBackOff(int axis, double offset, double offsetSpeed, double pulseEquiv, double accel,
                      int nextCode);
    void zeroAxis(int axis);
    void startZSearch();
    void finishToolSetting();
    void finishYBackOff();

    ParameterSet& m_p;
    RunState& m_run;
    MotionCard& m_card;
    std::function<void()> m_saveParameters;
};

} // namespace korvel::machine
