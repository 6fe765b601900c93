#include "program/ProgramGenerator.h"

#include "common/Basic.h"
#include "machine/AxisUnits.h"
#include "program/HomingPreamble.h"
#include "program/JobMessages.h"

#include <algorithm>
#include <cmath>

namespace korvel::program {

using common::FormatNumber;
using geometry::PathRecord;
using geometry::PathRecords;

namespace {

// Header angles up to this count as a straight joint; above it the joint
// is a cut straight through the strip.
constexpr double kStraightJointAngle = 5.0;
// A join pause is due when the joint is this far past the bender.
constexpr double kJoinPauseOffset = 10.0;
// A tapped corner at a slot is bent at most this much.
constexpr double kMaxSlotTapAngle = 30.0;

double signOf(double v) {
    return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0);
}

} // namespace

ProgramGenerator::ProgramGenerator(const machine::ParameterSet& params,
                                   const machine::ParameterTables& tables,
                                   const MainWindowFields& fields, const RunPanel& panel,
                                   const MarkedPoints& marked)
    : PathWalker(params, marked), m_fields(fields), m_panel(panel),
      m_slots(m_out, params, fields.Check3), m_feed(m_out, params),
      m_queue(params.TapBendRadiusThreshold, tables),
      m_bends(m_out, params, tables, m_feed, m_queue, m_joins,
              BendOptions{fields.Check3, fields.Check5}) {
    m_out.setLineLimit(kMaxJobLines);
}

std::optional<std::size_t> PieceStart(const PathRecords& path, int piece) {
    int seen = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i].isHeader() && ++seen == piece) {
            return i;
        }
    }
    return std::nullopt;
}

int PieceCount(const PathRecords& path) {
    return static_cast<int>(
        std::count_if(path.begin(), path.end(), [](const PathRecord& r) { return r.isHeader(); }));
}

GeneratedProgram ProgramGenerator::generate(const PathRecords& path, machine::MotionCard& card) {
    GeneratedProgram result;
    if (m_panel.firstPiece > 1 && !PieceStart(path, m_panel.firstPiece)) {
        result.refusal = NoSuchPieceMessage(m_panel.firstPiece, PieceCount(path));
        return result;
    }
    try {
        writeProgram(path, card);
    } catch (const ProgramTooLong&) {
        result.refusal = ProgramTooLongMessage();
        return result;
    }
    if (m_queue.dropped() > 0) {
        result.refusal = BendQueueFullMessage();
    } else if (m_log.overflow() > 0) {
        result.refusal = CorrectionLogFullMessage();
    } else if (m_joins.overflow() > 0) {
        result.refusal = JoiningTableFullMessage();
    } else {
        result.lines = m_out.takeLines();
        result.corrections = m_log;
        result.finalPosition = m_pos + m_panel.endFeed;
    }
    return result;
}

void ProgramGenerator::writeProgram(const PathRecords& path, machine::MotionCard& card) {
    writePrologue(card);
    std::size_t from = 0;
    if (m_panel.firstPiece > 1) {
        from = *PieceStart(path, m_panel.firstPiece);
        countSkippedJointSlots(path, from);
        skipEndCompensation();
    }
    for (int pass = 1; pass <= m_panel.repeatCount; ++pass) {
        writePass(path, pass, pass == 1 ? from : 0);
    }
    writeEpilogue();
}

bool ProgramGenerator::shapeSwungJoint(const PathRecord& rec) const {
    return rec.b <= kStraightJointAngle && m_p.FrontSwingControl == 0;
}

void ProgramGenerator::countSkippedJointSlots(const PathRecords& path, std::size_t before) {
    for (std::size_t i = 0; i < before; ++i) {
        if (path[i].isBlockLine() && shapeSwungJoint(path[i])) {
            ++m_parity;
        }
    }
}

// ---------------------------------------------------------------------------
// Prologue and epilogue

void ProgramGenerator::writePrologue(machine::MotionCard& card) {
    const bool machining = m_p.RunMode == 0;
    if (m_p.BenderType == kBenderSingle) {
        m_out.add("M19");
    } else if (m_p.BenderType == kBenderLiftingDouble) {
        m_out.add("M19 M21");
    }
    if (m_p.FeedType == kFeedRoller) {
        if (m_fields.Check4) {
            m_out.add("G90 G01");
            m_out.add("G92 X0");
            if (machining) {
                m_out.add("M36");
                m_out.add("M30");
            }
        }
    } else if (m_p.FeedType == kFeedGripperSingle) {
        for (const char* line : {"G90 G01", "M16", "G04 P500", "M23", "G04 P500", "M36", "M30",
                                 "M22", "G04 P500", "M17", "G04 P500", "G92 X0 Y0"}) {
            m_out.add(line);
        }
    } else if (m_p.FeedType == kFeedGripperDouble) {
        for (const char* line : {"G90 G01", "M16", "M100", "G04 P500", "M23", "M25", "G04 P500",
                                 "M36", "M30", "M22", "G04 P500", "M17", "G04 P500", "G92 X0 Y0"}) {
            m_out.add(line);
        }
    }
    if (m_fields.Check2) {
        writeHoming(card);
    }
    m_out.add("G90 G01");
    m_out.add("G92 X0 Y0 Z0 A0");
}

void ProgramGenerator::writeHoming(machine::MotionCard& card) {
    m_out.add("G90 G01");
    m_out.add("G92 X0");
    WriteHomingSteps(m_out, m_p, card, true);
}

void ProgramGenerator::writeBenderReturn() {
    const std::string dwell = "G04 P" + FormatNumber(m_p.BenderInOutDelay, "0");
    const std::string armHome = "Y0.0000 F" + FormatNumber(m_p.AutoSpeedY, "0.0000");
    const double last = m_bends.lastBendAngle();
    switch (m_p.BenderType) {
    case kBenderSingle:
        if (last > kBendDeadBand) {
            m_feed.PrintXcode(m_pos, 0.0);
            m_out.add("M19");
            m_out.add(dwell);
        } else {
            m_feed.PrintXcode(m_pos, m_p.MaxBendAngle);
            m_out.add("M19");
            m_out.add(dwell);
            m_out.add(armHome);
        }
        break;
    case kBenderDouble:
        m_feed.PrintXcode(m_pos, 0.0);
        break;
    case kBenderLiftingDouble: {
        // The rod in use is the one of the last bend's side, however small
        // that bend was: no dead band here.
        const bool negative = last < 0;
        m_feed.PrintXcode(m_pos, negative ? -m_p.LiftBenderAngle : m_p.LiftBenderAngle);
        m_out.add(negative ? "M21" : "M19");
        m_bends.writeLiftWait();
        m_out.add(armHome);
        break;
    }
    default:
        break;
    }
}

void ProgramGenerator::writeEpilogue() {
    if (m_p.SpinControl == 1) {
        m_out.add("M11");
    }
    // Run the strip on until the last corner has reached the bender.
    m_pos += m_p.BendToSlotDistance;
    m_bends.FeedTo(m_pos - m_p.BendToSlotDistance, m_pos);
    m_bends.writeJoinPausesUpTo(m_pos);
    writeBenderReturn();
    m_feed.PrintXcode(m_pos + m_panel.endFeed);
    if (m_p.ZAxisSwingCutter == 1) {
        m_out.add("Z0.0000 F" + FormatNumber(m_p.AutoSpeedZ, "0.0000"));
    }
    m_out.add("A0.0000 F" + FormatNumber(m_p.AutoSpeedA, "0.0000"));
    if (m_fields.Check3 && m_p.EncoderPort >= 0.5) {
        m_out.add("G04 P400");
        m_out.add("M34");
        m_out.add("G04 P100");
    }
}

// ---------------------------------------------------------------------------
// Passes over the path

void ProgramGenerator::writePass(const PathRecords& path, int pass, std::size_t from) {
    if (m_p.SpinControl == 1 && m_p.InfeedControl == 0) {
        m_out.add("M10"); // the cutter spins for the whole pass
    }
    walkPass(path, from);
    if (pass < m_panel.repeatCount) {
        // Strip between two letters of the run.
        const double j = m_panel.joinLength;
        m_pos += j;
        m_bends.FeedTo(m_pos - j, m_pos);
        m_feed.PrintXcode(m_pos);
        m_joins.append(m_pos + m_p.BendToSlotDistance + kJoinPauseOffset);
    }
}

void ProgramGenerator::blockEnd(const PathRecord& rec) {
    double t = rec.b;
    if (t > kStraightJointAngle) {
        m_slots.Print_KCaction(m_p.SlotControl == 0 ? 180.0 : 0.0, kSlotBlockEnd, kFaceBack,
                               kSlotFlagNone);
        return;
    }
    if (t > 0) {
        t = 0; // a joint turning right by up to 5 degrees is cut square
    }
    if (m_p.FrontSwingControl == 0) {
        // Consecutive shape-swung joint slots alternate their swing side.
        ++m_parity;
        const double s = m_parity % 2 == 1 ? 1.0 : -1.0;
        m_slots.Print_KCaction(s * (std::abs(t) - m_p.BladeAngle) / 2, kSlotBlockEnd, kFaceFront,
                               kSlotFlagNone);
    } else {
        m_slots.Print_KCaction(0.0, kSlotBlockEnd, kFaceFront, kSlotFlagNone);
    }
}

void ProgramGenerator::join() {
    const double j = m_panel.joinLength;
    m_pos += j;
    m_bends.FeedTo(m_pos - j, m_pos);
    m_bends.writeJoinPausesUpTo(m_pos);
    m_feed.PrintXcode(m_pos);
    m_joins.append(m_pos + m_p.BendToSlotDistance + kJoinPauseOffset);
    m_out.add("M100");
}

void ProgramGenerator::point(const PathRecords& path, std::size_t i, double length) {
    const PathRecord& rec = path[i];
    if (length < 0) {
        // The strip went back: bends decided beyond the new position go
        // back with it.
        m_queue.shiftBeyond(m_pos, m_p.BendToSlotDistance, length);
        BendEvent& loaded = m_bends.current();
        if (loaded.trigger != 0 && loaded.trigger - m_p.BendToSlotDistance > m_pos) {
            loaded.trigger += length;
        }
    }
    if (rec.type == geometry::kContourPoint && rec.a > kMarkableMinRadius) {
        arcPoint(path, i, length);
    }
    feedTo(length);
}

void ProgramGenerator::feedTo(double length) {
    m_bends.FeedTo(m_pos - length, m_pos);
    m_bends.writeJoinPausesUpTo(m_pos);
    m_feed.PrintXcode(m_pos);
}

void ProgramGenerator::arcPoint(const PathRecords& path, std::size_t i, double& length) {
    const PathRecord& rec = path[i];
    const int s = arcTurnSign(path, i);
    if (s == 0) {
        return;
    }
    const double radius = rec.a;
    const double arcAngle = rec.b; // radians
    if (bendsArc(rec)) {
        const double d = arcStretch(s, length, radius);
        m_pos += d;
        length += d;
        const double bts = m_p.BendToSlotDistance;
        m_queue.QueueBend(m_pos - length + bts, radius, s, arcAngle);
        m_queue.QueueBend(m_pos + bts, radius, s, arcAngle);
        return;
    }
    // Small radius: a slot takes the place of the arc.
    const double beta = std::abs(arcAngle * 180.0 / geometry::kPi);
    if (s < 0) {
        if (m_p.FrontSwingControl == 0 && beta > m_p.BladeAngle) {
            m_slots.Print_KCaction((beta - m_p.BladeAngle) / 2, kSlotCorner, kFaceFront,
                                   kSlotFlagArc);
        } else {
            m_slots.Print_KCaction(0.0, kSlotStraight, kFaceFront, kSlotFlagArc);
        }
    } else {
        positiveSlot(beta, kSlotFlagArc);
    }
}

// A right turn is slotted from the back face when both faces are cut.
void ProgramGenerator::positiveSlot(double angle, std::int16_t flag) {
    const double swing = (angle - m_p.BladeAngle) / 2;
    if (m_p.SlotControl == 0) {
        if (m_p.BackSwingControl == 0) {
            m_slots.Print_KCaction(swing + 180.0, kSlotCorner, kFaceBack, flag);
        } else {
            m_slots.Print_KCaction(180.0, kSlotStraight, kFaceBack, flag);
        }
    } else if (m_p.BackSwingControl == 0) {
        m_slots.Print_KCaction(swing, kSlotCorner, kFaceBack, flag);
    } else {
        m_slots.Print_KCaction(0.0, kSlotStraight, kFaceBack, flag);
    }
}

void ProgramGenerator::corner(const PathRecord& rec) {
    const double b = rec.b;
    const double size = std::abs(b);
    if (size < m_p.CornerArcAngleThreshold) {
        return; // shallow enough to pass as straight
    }
    const double bendAt = m_pos + m_p.BendToSlotDistance;
    if (size < m_p.SlotAngleThreshold) {
        m_queue.QueueBend(bendAt, b, kBendCorner, 0.0);
        return;
    }
    // The blade cannot cut a groove narrower than itself.
    const double cut = std::max(size, m_p.BladeAngle);
    if (b <= 0) {
        if (m_p.FrontSwingControl == 0) {
            m_slots.Print_KCaction((cut - m_p.BladeAngle) / 2, kSlotCorner, kFaceFront,
                                   kSlotFlagNone);
        } else {
            m_slots.Print_KCaction(0.0, kSlotStraight, kFaceFront, kSlotFlagNone);
        }
    } else {
        positiveSlot(cut, kSlotFlagNone);
    }
    if (m_p.TapAtSlot == 1) {
        const double tap = size < kMaxSlotTapAngle ? b : kMaxSlotTapAngle * signOf(b);
        m_queue.QueueBend(bendAt + m_p.SlotTapPositionCorr, tap, kBendCorner, 0.0);
    }
}

} // namespace korvel::program
