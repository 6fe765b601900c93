#pragma once
// The run state that the program writers, the line interpreter and the
// executor share: the loaded machine program, the run flags, the wait and
// dwell state, the homing state and the interpreter's remembered positions.
// One object per machine, handed around by reference.

#include "common/AppDir.h"
#include "common/TextFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::machine {

// The program table holds indices 0..30000.
inline constexpr int kProgramCapacity = 30001;
// The machine program in the application folder.
inline constexpr std::string_view kProgramFileName = "G5.dat";

// Which run flag a loaded program raises.
enum class RunKind { Job, Slot, Action };

// What the run command (the window's run button, the machine's start
// button, korvel-cli) does on the machine as it stands.
enum class RunCommandStep {
    Resume, // a run waits (paused, or at a line that waits): it goes on
    Busy,   // a run moves or a homing search runs: nothing happens
    NewJob, // the machine is idle: a new job is generated and loaded
};

struct RunState {
    // Loaded program, index 0 .. LineCount - 1 (never more than
    // kProgramCapacity entries).
    std::vector<std::string> ProgramLines;
    std::int16_t LineCount = 0;
    // Next line to execute; the interpreter advances it past look-ahead
    // lines it has consumed.
    std::int16_t CurrentLine = 0;

    // Run flags, true = -1, false = 0.
    std::int16_t JobRunActive = 0;
    std::int16_t SlotRunActive = 0;
    std::int16_t ActionRunActive = 0;

    // 1: the executor waits for an input (or the start button) before the
    // next line.
    std::int16_t WaitFlag = 0;
    // 1 while a manual cutter out/back command waits for its in-position
    // input.
    std::int16_t ManualInPositionWait = 0;
    // Remaining executor steps of a dwell.
    std::int16_t DwellTicks = 0;

    // Homing or search in progress: 0 none, 1 X search, 2 Y search, 3 Z
    // search, 4 A search, 5..8 back-off phases, 9 A tool setting, 10 Z
    // return.
    std::int16_t HomingAxisCode = 0;
    // Set to 1 when a search starts: the executor lets one step pass before
    // it looks at the card.
    std::int16_t HomingActive = 0;
    // Set to 1 by "M36" when the program homes the feed axis.
    std::int16_t XHomeRequest = 0;

    // Sign (-1, 0, 1) of the last Y-only move, for the bend backlash.
    std::int16_t LastBendDir = 0;

    // Last commanded X and Y positions in pulses.
    std::int32_t CurXPulses = 0;
    std::int32_t CurYPulses = 0;
    // X command position (pulses) to verify against the encoder; 0 = none.
    std::int32_t EncoderCheckPos = 0;
    // Last encoder count of the feed axis.
    std::int32_t EncoderCount = 0;

    // Executor's count of "M16" segments, -1 when no run has counted yet.
    std::int16_t SegmentCounter = -1;
    // Gripper strokes fed in the current run.
    double GripperStrokes = 0.0;

    // Line `index` of the loaded program, or an empty line outside
    // 0 .. LineCount - 1: the look-ahead past the last line sees nothing.
    std::string_view line(int index) const;
    // True while a job, slotting or action run is in progress.
    bool anyRunActive() const;
    // What the run command would do now.
    RunCommandStep runCommandStep() const;
    // The run command's part on the run state: a waiting run is resumed
    // (the wait cleared, the program store and its line kept). Returns the
    // step taken; only NewJob leaves the rest to the caller, which is then
    // the only time the program store may be written.
    RunCommandStep runCommand();

    // Puts `lines` into the program table, sets LineCount, CurrentLine = 0
    // and raises the flag of `kind`. A program longer than the table throws
    // common::UserError and leaves the state as it was.
    void loadLines(common::Lines lines, RunKind kind);
    // Reads G5.dat from the application folder and loads it as above.
    void loadProgram(const common::AppDir& dir, RunKind kind);
};

} // namespace korvel::machine
