#pragma once
// The machine as the application sees it: the parameter set and tables,
// the run state, the line interpreter, the executor and the manual homing
// commands over one motion card. startUp() is the main window's load
// sequence, shutDown() its unload handler.
//
// The application owns the card, the operator dialog and the job launcher
// and hands them in; everything else lives here and is reached through the
// accessors, never through globals.

#include "common/AppDir.h"
#include "machine/Executor.h"
#include "machine/FormText.h"
#include "machine/Interpreter.h"
#include "machine/ManualHoming.h"
#include "machine/ManualOperations.h"
#include "machine/ParameterSet.h"
#include "machine/ParameterStore.h"
#include "machine/RunState.h"

#include <filesystem>
#include <string>

namespace korvel::machine {

class JobLauncher;
class MotionCard;
class OperatorDialog;

inline constexpr std::string_view kFormTextFileName = "formtext.ini";
inline constexpr std::string_view kFinishedPathFileName = "YJG.dat";

struct StartupOptions {
    // Shipped parameter files copied into a folder that lacks them; empty:
    // only the built-in factory files are used for what is missing.
    std::filesystem::path resourcesDir;
    // The geometry's CoreAlgorithm.TranParas.
    TranParasHook tranParas;
};

class Machine {
public:
    Machine(common::AppDir dir, MotionCard& card, OperatorDialog& dialog, JobLauncher& launcher);
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // The load sequence: parameter groups and tables (installing the
    // shipped files on a first start), the geometry hand-over, the card with
    // its axes and limit modes, the remembered fields, an empty record of
    // finished paths, the executor timer.
    void startUp(const StartupOptions& options);
    // The unload handler: the remembered fields go to formtext.ini. The
    // card is left as it is (outputs keep their state).
    void shutDown();

    // The manual commands of the control tab.
    bool MachineBusy() const { return m_homing.MachineBusy(); }
    void Command_Z1() { m_homing.Command_Z1(); }
    void Command_Z2() { m_homing.Command_Z2(); }
    void Command_Z3() { m_homing.Command_Z3(); }

    const common::AppDir& appDir() const { return m_dir; }
    MotionCard& card() { return m_card; }
    OperatorDialog& dialog() { return m_dialog; }
    ParameterSet& params() { return m_params; }
    ParameterTables& tables() { return m_tables; }
    ParameterStore& store() { return m_store; }
    FormText& form() { return m_form; }
    RunState& run() { return m_run; }
    Interpreter& interpreter() { return m_interpreter; }
    Executor& executor() { return m_executor; }
    ManualHoming& homing() { return m_homing; }
    // The feed panel: feed and retract, single step, feed homing, clamp
    // and grippers.
    ManualOperations& manual() { return m_manual; }
    // The feed speed field (Text2) as typed: the feed buttons and the feed
    // homing of the panel and of the programs ("M36") use it.
    void setManualFeedSpeedText(const std::string& text);

    bool cardPresent() const { return m_cardPresent; }
    // The main window's encoder option is offered when an encoder is fitted.
    bool encoderFitted() const { return m_params.EncoderPort > 0.5; }
    int timerIntervalMs() const { return m_timerIntervalMs; }
    // The dwell text the gripper jog programs use.
    const std::string& jogDwell() const { return m_jogDwell; }

private:
    void initialiseCard();
    void setLimitModes();
    void show(const common::Message& message);

    common::AppDir m_dir;
    MotionCard& m_card;
    OperatorDialog& m_dialog;
    ParameterSet m_params;
    ParameterTables m_tables;
    ParameterStore m_store;
    FormText m_form;
    RunState m_run;
    Interpreter m_interpreter;
    Executor m_executor;
    ManualHoming m_homing;
    ManualOperations m_manual;
    bool m_cardPresent = false;
    int m_timerIntervalMs = 0;
    std::string m_jogDwell;
};

} // namespace korvel::machine
