#pragma once
// Feeding with bends on the way: FeedTo writes every queued bend (and every
// joining pause) that falls due between two feed positions, EmitBend writes
// the block of one bend, with the arm angle from the curvature tables, the
// force and idle corrections of the fitted bender and the side or rod
// switching it needs.

#include "machine/ParameterSet.h"
#include "program/BendQueue.h"
#include "program/FeedWriter.h"
#include "program/JoiningTable.h"
#include "program/ProgramText.h"

#include <optional>

namespace korvel::program {

inline constexpr int kBenderNone = 0;
inline constexpr int kBenderSingle = 1;
inline constexpr int kBenderDouble = 2;
inline constexpr int kBenderLiftingDouble = 3;

// The last bend angle within this band means the arm has not bent yet.
inline constexpr double kBendDeadBand = 0.01;

struct BendOptions {
    bool encoderOn = false;       // main window: encoder ticked
    bool bendingDisabled = false; // main window: "禁止弯弧" ticked
};

class BendWriter {
public:
    BendWriter(ProgramText& out, const machine::ParameterSet& params,
               const machine::ParameterTables& tables, FeedWriter& feed, BendQueue& queue,
               JoiningTable& joins, BendOptions options)
        : m_out(out), m_p(params), m_tables(tables), m_feed(feed), m_queue(queue), m_joins(joins),
          m_options(options) {}

    // Loads the next queued bend when none is loaded.
    void loadNextIfIdle() {
        if (m_current.trigger == 0) {
            m_current = m_queue.NextBend();
        }
    }
    // Feeds from fromPos towards toPos writing the bends and joining pauses
    // due before toPos; the caller writes the final feed to toPos.
    void FeedTo(double fromPos, double toPos);
    // Writes the block of one bend event at its trigger position.
    void EmitBend(const BendEvent& event, double toPos);
    // The lifting rods' wait after a rod moves: the dwell for a long delay,
    // else the operator's confirmation ("M00") in machining mode and
    // nothing in debug mode.
    void writeLiftWait();
    // Writes the joining pauses due up to pos.
    void writeJoinPausesUpTo(double pos);

    // Arm angle for the event from the tables (corners: minus the turn
    // angle), before force and idle corrections.
    double tableAngle(const BendEvent& event) const;
    // Force and idle correction of the fitted bender, limited to
    // +-MaxBendAngle.
    double correctedAngle(double theta, const BendEvent& event) const;
    // Where the arm waits between bends (none without a bender).
    std::optional<double> armWaitY() const;

    BendEvent& current() { return m_current; }
    double lastBendAngle() const { return m_lastAngle; }
    double lastBendPosition() const { return m_lastPos; }

private:
    bool isPressed(const BendEvent& e) const {
        return e.isArc() && e.value >= m_p.TapBendRadiusThreshold;
    }
    void writeJoinPause();
    void writeDwell();
    void armTo(double y);
    void switchSingleBenderSide(double theta);
    void switchLiftingRods(double pos, double theta);
    void writeTap(double pos, double theta);
    // The arm's part of a bend: side or rod switching, then the press or
    // the tap; remembers the angle.
    void writeBendBlock(const BendEvent& event, double pos);
    void feedPastArcEnd(const BendEvent& event, double toPos);
    double giveWay() const;

    ProgramText& m_out;
    const machine::ParameterSet& m_p;
    const machine::ParameterTables& m_tables;
    FeedWriter& m_feed;
    BendQueue& m_queue;
    JoiningTable& m_joins;
    BendOptions m_options;

    BendEvent m_current;
    double m_lastAngle = 0; // signed arm angle of the latest bend
    double m_lastPos = 0;
};

} // namespace korvel::program
