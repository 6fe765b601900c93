#pragma once
// The line interpreter: executes one line of the machine program on the
// motion card. It never waits: it starts motion, switches outputs, sets the
// wait, dwell and homing state in the run state and returns; the executor
// calls it again with the next line once the card is idle.
//
// For the feed axis it looks ahead in the loaded program: consecutive
// X-only feeds become one move, and a run of short feed-and-bend lines
// becomes one sampled X-Y path pushed into the card's interpolation queue,
// so that the strip does not stop between them.

#include "machine/Dialect.h"
#include "machine/MotionCard.h"
#include "machine/ParameterSet.h"
#include "machine/PathSampler.h"
#include "machine/RunState.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace korvel::machine {

// Interval of the executor's timer: the unit of dwell steps.
inline constexpr int kTimer2IntervalMs = 30;
// Points of a merged feed-and-bend path (index 0..500).
inline constexpr int kPathCapacity = 501;
// The look-ahead stops once the path's last index exceeds this.
inline constexpr int kPathLookAheadLimit = 450;
// Longest feed step (mm) merged into a feed-and-bend path.
inline constexpr double kPathMaxStep = 20.0;

class Interpreter {
public:
    Interpreter(MotionCard& card, const ParameterSet& params, RunState& run)
        : m_card(card), m_params(params), m_run(run) {}

    // Executes one program line; `run.CurrentLine` points at it.
    void ExecuteLine(std::string_view line);
    // Look-ahead classification: the X value text of a pure feed line, or
    // "NUM" (then NextX / NextY hold the values of an X-Y line without G).
    std::string X_Only(std::string_view line);
    // Card busy state (see the free Axis_Status).
    std::int16_t Axis_Status() { return machine::Axis_Status(m_card); }

    // Manual feed speed (mm/min) used when "M36" retracts a feed without a
    // home switch; the main window keeps it in its speed field.
    void setManualFeedSpeed(double mmPerMinute) { m_manualFeedSpeed = mmPerMinute; }

    // State of the last look-ahead, for the display and for tests.
    double MergeLength() const { return m_mergeLength; }
    const std::string& NextX() const { return m_nextX; }
    const std::string& NextY() const { return m_nextY; }
    const std::array<PathPoint, kPathCapacity>& PathPoints() const { return m_pathPoints; }
    std::int16_t PathCount() const { return m_pathCount; }

private:
    void executeSetPosition(const Words& words);
    void executeMCode(const Words& words, bool& endLine);
    // A homing move at |speed| that sets `homingCode` for the executor.
    void startSearch(int axis, double speed, double pulseEquiv, double accel, std::int32_t distance,
                     std::int16_t homingCode);
    void encoderCheck(bool& endLine);
    void feedMerge(double x);
    void feedAndBend(double x, double y);
    void moveXAndY(double x, double y);
    bool buildPath(double x, double y);
    void runSampledPath();
    void bendMove(double y);
    void moveFromCommand(int axis, double target, double autoSpeed, double pulseEquiv,
                         double accel);
    // The common move set-up: speed, start velocity, acceleration, then a
    // relative move of `pulses`.
    void startMove(int axis, std::int64_t pulses, double autoSpeed, double pulseEquiv,
                   double accel);
    std::string lookAhead();

    MotionCard& m_card;
    const ParameterSet& m_params;
    RunState& m_run;
    double m_manualFeedSpeed = -1.0;

    double m_mergeLength = 0.0;
    std::string m_nextX;
    std::string m_nextY;
    std::array<PathPoint, kPathCapacity> m_pathPoints{};
    std::int16_t m_pathCount = 0;
};

} // namespace korvel::machine
