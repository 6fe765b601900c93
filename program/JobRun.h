#pragma once
// The run button: checks the machine, prepares the machining path, writes
// the job's program to G5.dat, loads it into the program store and asks the
// executor to run it. A job that fails a check or that this system refuses
// (too long, more bends, joins or corrections than the machine's tables
// hold) ends with one message and leaves the program store untouched.

#include "common/AppDir.h"
#include "common/Message.h"
#include "machine/MotionCard.h"
#include "machine/ParameterSet.h"
#include "machine/RunState.h"
#include "program/FeedCorrectionLog.h"
#include "program/MainWindowFields.h"
#include "program/MarkedPoints.h"
#include "program/ProgramGenerator.h"

#include <optional>
#include <string>

namespace korvel::program {

struct JobOutcome {
    // True when the program was loaded and JobRunActive raised.
    bool started = false;
    // The message to show when the job did not start (none for an empty
    // path, which simply does nothing).
    std::optional<common::Message> message;
    int lineCount = 0;
    // S: the selected path with the joins between its pieces; the total:
    // (R - 1) J + R S + E + BendToSlotDistance.
    double selectedLength = 0;
    double totalLength = 0;
    // The two length labels ("123.4560  mm").
    std::string selectedLabel;
    std::string totalLabel;
    // Where the feeds were corrected, for the executor.
    FeedCorrectionLog corrections;
};

class JobRun {
public:
    JobRun(common::AppDir dir, const machine::ParameterSet& params,
           const machine::ParameterTables& tables, MainWindowFields fields, MarkedPoints& marked)
        : m_dir(std::move(dir)), m_p(params), m_tables(tables), m_fields(std::move(fields)),
          m_marked(marked) {}

    // A restart after a stop ("从此段开始加工"): the job starts at piece
    // `piece` (from 1) of the path, homing the machine first, and makes the
    // rest of the letter and the later letters as the whole job would.
    void startAtPiece(int piece) { m_firstPiece = piece; }

    // Command_Run: everything the button does, in order.
    JobOutcome Command_Run(machine::MotionCard& card, machine::RunState& state);

    // The run panel's numbers, or the message for a value the job cannot use.
    static std::optional<common::Message> readRunPanel(const MainWindowFields& fields,
                                                       RunPanel& panel);

private:
    std::optional<common::Message> checkSetUp() const;
    void generateAndLoad(machine::MotionCard& card, machine::RunState& state, JobOutcome& outcome);

    common::AppDir m_dir;
    const machine::ParameterSet& m_p;
    const machine::ParameterTables& m_tables;
    MainWindowFields m_fields;
    MarkedPoints& m_marked;
    int m_firstPiece = 1;
};

} // namespace korvel::program
