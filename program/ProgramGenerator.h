#pragma once
// Turns the machining path into the job's machine program: the prologue,
// one pass over the path per letter to make, the epilogue.
//
// The generator walks the path with one running quantity, the feed
// position `pos` at the slotting line. Slots are cut when a corner is at
// the slotting line; bends are queued BendToSlotDistance further on and
// written by the feed when the strip gets there.
//
// Choices where the machine's rules leave room, kept here in one place:
// - The start compensation goes to the first feed of the run, whatever the
//   point (straight or arc); compensations and corrections of zero length
//   are not logged.
// - An arc point whose next record is not a point (a trailer, or the end of
//   the path) has no turn direction: it is neither bent nor slotted, like an
//   arc point on a straight line (turn sign 0).
// - After a negative feed the bend already loaded for writing moves back
//   with the queued ones.
// - A tapped slot corner bends by its own turn angle (limited to 30
//   degrees), not by the blade-clamped angle used for the slot's swing.
// - The epilogue writes the joining pauses due up to the final position.

#include "common/Message.h"
#include "geometry/PathFile.h"
#include "geometry/PlaneGeometry.h"
#include "machine/MotionCard.h"
#include "machine/ParameterSet.h"
#include "program/BendQueue.h"
#include "program/BendWriter.h"
#include "program/FeedCorrectionLog.h"
#include "program/FeedWriter.h"
#include "program/JoiningTable.h"
#include "program/MainWindowFields.h"
#include "program/MarkedPoints.h"
#include "program/PathWalker.h"
#include "program/ProgramText.h"
#include "program/SlotBlock.h"

#include <optional>

namespace korvel::program {

// The largest program a job may have.
inline constexpr int kMaxJobLines = 29999;

// The run panel's values as numbers.
struct RunPanel {
    int repeatCount = 1;   // R
    double joinLength = 0; // J
    double endFeed = 0;    // E
    // A restart after a stop: the first letter starts at this piece (from
    // 1), the later letters are made whole.
    int firstPiece = 1;
};

// Index of the header of piece `piece` (from 1) in the path; none when the
// path has fewer pieces.
std::optional<std::size_t> PieceStart(const geometry::PathRecords& path, int piece);
// Number of pieces (headers) of the path.
int PieceCount(const geometry::PathRecords& path);

struct GeneratedProgram {
    common::Lines lines;
    FeedCorrectionLog corrections;
    double finalPosition = 0; // feed position after the end feed
    // Set when the job is refused; lines are then empty.
    std::optional<common::Message> refusal;
};

class ProgramGenerator : private PathWalker {
public:
    ProgramGenerator(const machine::ParameterSet& params, const machine::ParameterTables& tables,
                     const MainWindowFields& fields, const RunPanel& panel,
                     const MarkedPoints& marked);
    ProgramGenerator(const ProgramGenerator&) = delete;
    ProgramGenerator& operator=(const ProgramGenerator&) = delete;

    // Writes the whole program for the path. The card is read for the
    // homing block of the prologue (cutter back, bender home inputs).
    GeneratedProgram generate(const geometry::PathRecords& path, machine::MotionCard& card);

private:
    void writeProgram(const geometry::PathRecords& path, machine::MotionCard& card);
    void writePrologue(machine::MotionCard& card);
    void writeHoming(machine::MotionCard& card);
    void writeEpilogue();
    void writeBenderReturn();
    void writePass(const geometry::PathRecords& path, int pass, std::size_t from);
    // The joint slots of the pieces a restart leaves out still count for
    // the alternating swing, so the remaining slots swing as in the full job.
    void countSkippedJointSlots(const geometry::PathRecords& path, std::size_t before);
    bool shapeSwungJoint(const geometry::PathRecord& rec) const;

    void blockEnd(const geometry::PathRecord& rec) override;
    void join() override;
    void point(const geometry::PathRecords& path, std::size_t i, double length) override;
    void corner(const geometry::PathRecord& rec) override;
    void afterRecord() override { m_bends.loadNextIfIdle(); }
    void corrected(double added) override { m_log.record(m_pos, added); }

    void arcPoint(const geometry::PathRecords& path, std::size_t i, double& length);
    void positiveSlot(double angle, std::int16_t flag);
    void feedTo(double length);

    const MainWindowFields& m_fields;
    RunPanel m_panel;

    ProgramText m_out;
    SlotBlock m_slots;
    FeedWriter m_feed;
    BendQueue m_queue;
    JoiningTable m_joins;
    BendWriter m_bends;
    FeedCorrectionLog m_log;

    int m_parity = 0;
};

} // namespace korvel::program
