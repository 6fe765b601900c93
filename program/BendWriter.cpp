#include "program/BendWriter.h"

#include "common/Basic.h"
#include "program/CurvatureLookup.h"

#include <algorithm>
#include <cmath>

namespace korvel::program {

using common::FormatNumber;

namespace {

constexpr double kMinGiveWay = 30.0;

} // namespace

void BendWriter::writeJoinPause() {
    m_feed.PrintXcode(m_joins.next());
    m_out.add("G04 P" + FormatNumber(m_p.JoinPauseTime * 1000.0, "0") + " ;connect pause");
    m_joins.advance();
}

void BendWriter::writeJoinPausesUpTo(double pos) {
    while (m_joins.hasNext() && m_joins.next() <= pos && m_p.JoinPauseTime > 0) {
        writeJoinPause();
    }
}

void BendWriter::writeDwell() {
    m_out.add("G04 P" + FormatNumber(m_p.BenderInOutDelay, "0"));
}

// The lifting rods report their position by inputs when the delay is short:
// the operator confirms in machining mode, debug runs go on.
void BendWriter::writeLiftWait() {
    if (m_p.BenderInOutDelay >= 1.0) {
        writeDwell();
    } else if (m_p.RunMode == 0) {
        m_out.add("M00");
    }
}

void BendWriter::armTo(double y) {
    m_out.add("Y" + FormatNumber(y, "0.0000") + " F" + FormatNumber(m_p.AutoSpeedY, "0"));
}

double BendWriter::giveWay() const {
    if (m_p.LiftGiveWayDistance > 0.5) {
        return std::max(m_p.LiftGiveWayDistance, kMinGiveWay);
    }
    return 0.0;
}

double BendWriter::tableAngle(const BendEvent& event) const {
    if (event.kind < 0) {
        return BendAngleForRadius(m_tables.ArcTablePos, m_tables.ArcTablePosLast, event.value);
    }
    if (event.kind > 0) {
        return -BendAngleForRadius(m_tables.ArcTableNeg, m_tables.ArcTableNegLast, event.value);
    }
    return -event.value; // a corner turning by b is bent by -b
}

double BendWriter::correctedAngle(double theta, const BendEvent& event) const {
    const bool pressed = isPressed(event);
    double result;
    if (theta > 0) {
        result =
            (pressed ? m_p.PressForceFactorPos : m_p.TapForceFactorPos) * theta + m_p.IdleAnglePos;
    } else {
        const double factor = pressed ? m_p.PressForceFactorNeg : m_p.TapForceFactorNeg;
        // The single arm waits at MaxBendAngle on the negative side, so its
        // idle angle is added; the double arms take it up the other way.
        result = m_p.BenderType == kBenderSingle ? factor * theta + m_p.IdleAngleNeg
                                                 : factor * theta - m_p.IdleAngleNeg;
    }
    return std::clamp(result, -std::abs(m_p.MaxBendAngle), std::abs(m_p.MaxBendAngle));
}

std::optional<double> BendWriter::armWaitY() const {
    switch (m_p.BenderType) {
    case kBenderDouble:
        return 0.0;
    case kBenderSingle:
        return m_lastAngle <= -kBendDeadBand ? m_p.MaxBendAngle : 0.0;
    case kBenderLiftingDouble:
        if (m_lastAngle >= kBendDeadBand) {
            return m_p.LiftBenderAngle;
        }
        if (m_lastAngle <= -kBendDeadBand) {
            return -m_p.LiftBenderAngle;
        }
        return 0.0;
    default:
        return std::nullopt;
    }
}

// The single arm bends positive arcs from Y 0 and negative ones from
// MaxBendAngle; changing sides takes it out, across and in again.
void BendWriter::switchSingleBenderSide(double theta) {
    const bool positive = theta >= 0;
    const bool unused = std::abs(m_lastAngle) < kBendDeadBand;
    const bool lastPositive = m_lastAngle >= kBendDeadBand;
    // Y 0 is written as the bare "Y0", the far side with four decimals.
    auto toZero = [&] { m_out.add("Y0 F" + FormatNumber(m_p.AutoSpeedY, "0")); };
    auto toMax = [&] { armTo(m_p.MaxBendAngle); };
    auto home = [&] { positive ? toZero() : toMax(); };
    auto other = [&] { positive ? toMax() : toZero(); };
    if (unused) {
        home();
        m_out.add("M18");
        writeDwell();
        return;
    }
    if (positive == lastPositive) {
        return; // same side as the last bend
    }
    other();
    m_out.add("M19");
    writeDwell();
    home();
    m_out.add("M18");
    writeDwell();
}

// Rod I (M18 in / M19 out) bends positive, rod II (M20 / M21) negative.
// Swapping rods may need the strip moved forward out of the way and back.
void BendWriter::switchLiftingRods(double pos, double theta) {
    const bool positive = theta >= 0;
    const double lift = m_p.LiftBenderAngle;
    const bool unused = std::abs(m_lastAngle) < kBendDeadBand;
    const bool lastPositive = m_lastAngle >= kBendDeadBand;
    if (unused) {
        armTo(positive ? lift : -lift);
        m_out.add(positive ? "M18" : "M20");
        writeLiftWait();
        return;
    }
    if (positive == lastPositive) {
        return;
    }
    const double gw = giveWay();
    armTo(positive ? -lift : lift);
    m_out.add(positive ? "M21" : "M19");
    writeLiftWait();
    if (gw > 0) {
        m_feed.PrintXcode(pos + gw);
    }
    armTo(positive ? lift : -lift);
    m_out.add(positive ? "M18" : "M20");
    writeLiftWait();
    if (gw > 0) {
        m_feed.PrintXcode(pos - 10.0);
    }
    // The strip is back at the bend in either case: the rod change always
    // ends with the feed to the bend position.
    m_feed.PrintXcode(pos);
}

// One tap: the strip stands, the arm strikes to theta and backs off to
// where it leaves the strip.
void BendWriter::writeTap(double pos, double theta) {
    m_feed.PrintXcode(pos);
    const bool doubleArms =
        m_p.BenderType == kBenderDouble || m_p.BenderType == kBenderLiftingDouble;
    if (doubleArms && m_options.encoderOn && m_p.EncoderPort >= 0.5 && m_p.TapEncoderCorrect != 0) {
        m_out.add("G04 P200");
        m_out.add("M34");
    }
    const std::string speed = " F0000" + FormatNumber(m_p.AutoSpeedY, "0000");
    m_out.add("G05 Y" + FormatNumber(theta, "0.0000") + speed);
    double back;
    if (theta >= 0) {
        back = m_p.IdleAnglePos - m_p.TapBackExtraAngle;
    } else if (m_p.BenderType == kBenderSingle) {
        back = m_p.IdleAngleNeg + m_p.TapBackExtraAngle;
    } else {
        back = -(m_p.IdleAngleNeg - m_p.TapBackExtraAngle);
    }
    m_out.add("G05 Y" + FormatNumber(back, "0.0000") + speed);
}

void BendWriter::EmitBend(const BendEvent& event, double toPos) {
    const double pos = event.trigger;
    if (m_joins.hasNext() && pos >= m_joins.next() && m_p.JoinPauseTime > 0) {
        writeJoinPause();
    }
    m_lastPos = pos;
    const int bender = m_p.BenderType;
    const bool fitted =
        bender == kBenderSingle || bender == kBenderDouble || bender == kBenderLiftingDouble;
    // Without a bender, or with bending disabled, the strip runs through and
    // the arm stays where it is; the feed past an arc's end is still due.
    if (fitted && !m_options.bendingDisabled) {
        writeBendBlock(event, pos);
    }
    if (std::abs(event.kind) == 2) {
        feedPastArcEnd(event, toPos);
    }
}

void BendWriter::writeBendBlock(const BendEvent& event, double pos) {
    const double theta = correctedAngle(tableAngle(event), event);
    if (m_p.BenderType == kBenderSingle) {
        switchSingleBenderSide(theta);
    } else if (m_p.BenderType == kBenderLiftingDouble) {
        switchLiftingRods(pos, theta);
    }
    if (isPressed(event)) {
        m_feed.PrintXcode(pos, theta); // the arc is pressed while the strip moves
    } else {
        writeTap(pos, theta);
    }
    m_lastAngle = theta;
}

// End of an arc run: the strip goes on one arc length with the arm back at
// its waiting place, or straight to the target when that is close.
void BendWriter::feedPastArcEnd(const BendEvent& event, double toPos) {
    const double pos = event.trigger;
    const double arc = event.arcLength();
    const double target = 1.5 * arc >= toPos - pos ? toPos : pos + arc;
    m_feed.PrintXcode(target, armWaitY());
}

void BendWriter::FeedTo(double fromPos, double toPos) {
    if (m_current.trigger == 0 || m_current.trigger >= toPos) {
        return;
    }
    const double t = m_current.trigger;
    writeJoinPausesUpTo(t);
    // Approach: an arc starts being bent 1.5 arc lengths before its trigger.
    const double approach = t - 1.5 * m_current.arcLength();
    if (approach > fromPos) {
        m_feed.PrintXcode(approach, armWaitY());
    }
    while (m_current.trigger != 0 && m_current.trigger < toPos) {
        BendEvent event = m_current;
        m_current = m_queue.NextBend();
        const bool lastOfRun =
            m_current.trigger == 0 || m_current.trigger - event.trigger > 1.5 * event.arcLength();
        if (event.isArc() && lastOfRun) {
            event.kind = event.kind < 0 ? -2 : 2;
        }
        EmitBend(event, toPos);
    }
}

} // namespace korvel::program
