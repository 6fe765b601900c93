#pragma once
// The run-time executor: the main window's 30 ms timer (Timer2). Each tick
// polls the machine's buttons and safety inputs, refreshes the display
// data, supervises homing searches, ends in-position waits, counts down
// dwells, checks the feed against the encoder and, when the card is idle
// and nothing is pending, hands the next line of the loaded program to the
// line interpreter. Runs are started by whoever loads a program and raises
// a run flag; the executor follows the flags, finishes runs with their
// messages and owns the stop and pause commands.
//
// A call the card's driver refused (an error code) stops every run at the
// next tick with a message naming the call. A driver that goes on refusing
// while nothing runs is not reported again on every tick, but every new
// start is stopped the same way.
//
// Everything happens on the thread that calls tick(); a tick never waits
// for motion. Messages and questions go out through the OperatorDialog,
// starting a job or a jog program through the JobLauncher.

#include "common/AppDir.h"
#include "machine/ExecutorDisplay.h"
#include "machine/FeedProgress.h"
#include "machine/HomingSupervisor.h"
#include "machine/MotionCard.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace korvel::machine {

class JobLauncher;
class Interpreter;
class OperatorDialog;
struct ParameterSet;
struct RunState;

class Executor {
public:
    Executor(common::AppDir dir, ParameterSet& params, RunState& run, MotionCard& card,
             Interpreter& interpreter, OperatorDialog& dialog, JobLauncher& launcher);

    // One timer tick.
    void tick();

    // Pause command and pause button: the program stops after the current
    // line's motion; the start button resumes with the next line. Does
    // nothing while no program runs.
    void Command_Pause();
    // Stop command (also on every alarm): stops the motion, switches OUT0 to
    // OUT7 off (and OUT11 with the clamp OUT3) and ends every run, wait and
    // homing.
    void Command_Stop();

    // The bend-home button (IN11) acts only while the window's bend-home
    // control is active; the handler is the machine's bending-arm homing.
    void setBendHomeHandler(std::function<void()> handler) { m_bendHome = std::move(handler); }
    void setBendHomeEnabled(bool enabled) { m_bendHomeEnabled = enabled; }
    // Quiet save of the parameter group after the automatic tool setting.
    void setParameterSaver(std::function<void()> saver) {
        m_homing.setParameterSaver(std::move(saver));
    }

    // Feed-axis calibration of the process window: after its test feed the
    // executor checks the strip against `target` (mm) with the encoder and
    // corrects it until it lies within the tolerance.
    void startCalibrationFeedCheck(double target, int settleTicks);
    double calibrationFeedTarget() const { return m_calibFeedTarget; }

    // Length correction the generator applied to the loaded job (display).
    void setCompensationLength(double length) { m_display.compensationLength = length; }

    const ExecutorDisplay& display() const { return m_display; }
    const FeedProgress& feedProgress() const { return m_feed; }
    // Remaining strip length of the running job (mm).
    double remainingFeed() const;
    // Lines handed to the interpreter since start-up.
    long long linesExecuted() const { return m_linesExecuted; }
    long long ticks() const { return m_ticks; }

private:
    // The tick's steps, in their order.
    void stopOnCardFault();
    void readInputs();
    void pollFeedButtons();
    void checkInfeedLimit();
    void pollPanelButtons();
    void pollToolSetButton();
    void refreshDisplay();
    void readEncoder();
    void checkJobEnd();
    void refreshIndicators();
    void superviseHoming();
    void checkInPositionWaits();
    void checkMaterialPause();
    void stepProgram();
    void checkCalibrationFeed();

    // Parts of the steps.
    bool fell(int input) const;
    bool rose(int input) const;
    void planNewRun();
    bool checkEncoderBeforeLine();
    bool stepOneLine();
    void finishRuns();
    void finishJob();
    void confirmBenderRod(int output, int inInput, int outInput, std::int16_t& remembered);
    void clearInPositionWait();
    double encoderTolerance() const;
    double expectedFeed(std::int32_t xPulses) const;
    void correctFeed(double differenceMm);
    void alarm(const common::Message& message);
    // Command_Stop, telling the launcher about a stopped job (and the alarm
    // that stopped it, if one did).
    void stopAll(const common::Message* alarm);

    common::AppDir m_dir;
    ParameterSet& m_p;
    RunState& m_run;
    MotionCard& m_card;
    Interpreter& m_interpreter;
    OperatorDialog& m_dialog;
    JobLauncher& m_launcher;
    HomingSupervisor m_homing;
    FeedProgress m_feed;
    ExecutorDisplay m_display;

    // Input levels of this tick and of the previous one (-1: not yet read).
    std::array<std::int8_t, 24> m_inputs{};
    std::array<std::int8_t, 24> m_lastInputs{};
    bool m_inputsKnown = false;
    // A newly loaded program needs its feed plan before its first line.
    bool m_needPlan = true;
    // The lifting double bender's rod outputs as last confirmed by their
    // sensors (-1 until first seen).
    std::int16_t m_rodOut4 = -1;
    std::int16_t m_rodOut5 = -1;

    std::function<void()> m_bendHome;
    bool m_bendHomeEnabled = true;

    double m_calibFeedTarget = 0.0;
    int m_calibSettleTicks = 0;

    // The card fault last reported: a driver that keeps refusing the same
    // call while nothing runs is reported once, not on every tick, until a
    // tick passes without a refusal.
    std::optional<CardFault> m_reportedFault;

    long long m_linesExecuted = 0;
    long long m_ticks = 0;
};

} // namespace korvel::machine
