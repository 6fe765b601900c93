#include "program/StripReplay.h"

#include "machine/Dialect.h"
#include "machine/FeedProgress.h"
#include "program/BendWriter.h"
#include "program/CurvatureLookup.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace korvel::program {

using machine::Word;

namespace {

// Swing angles from here on address the back face of the strip.
constexpr double kBackFaceSwing = 120.0;

// The bend the arm stands for at a commanded angle, for the fitted bender
// and the arm's in/out state.
class ArmModel {
public:
    explicit ArmModel(const machine::ParameterSet& p) : m_p(p) {}

    // "M18" .. "M21": arm or rods in and out.
    void output(const std::string& m, double y) {
        if (m == "18") {
            m_rodI = true;
            // The single arm goes in on the face its waiting place serves.
            m_singleNegative = y > m_p.MaxBendAngle / 2;
        } else if (m == "19") {
            m_rodI = false;
        } else if (m == "20") {
            m_rodII = true;
        } else if (m == "21") {
            m_rodII = false;
        }
    }

    // Bend (degrees, positive left) for arm angle y; `strike` chooses the
    // tap force factors, otherwise the press factors apply.
    double bend(double y, bool strike) const {
        const double fPos = strike ? m_p.TapForceFactorPos : m_p.PressForceFactorPos;
        const double fNeg = strike ? m_p.TapForceFactorNeg : m_p.PressForceFactorNeg;
        switch (m_p.BenderType) {
        case kBenderSingle:
            if (!m_rodI) {
                return 0;
            }
            if (m_singleNegative) {
                return y < m_p.IdleAngleNeg ? undo(y - m_p.IdleAngleNeg, fNeg) : 0;
            }
            return y > m_p.IdleAnglePos ? undo(y - m_p.IdleAnglePos, fPos) : 0;
        case kBenderDouble:
        case kBenderLiftingDouble: {
            const bool lifting = m_p.BenderType == kBenderLiftingDouble;
            if (y > m_p.IdleAnglePos && (!lifting || m_rodI)) {
                return undo(y - m_p.IdleAnglePos, fPos);
            }
            if (y < -m_p.IdleAngleNeg && (!lifting || m_rodII)) {
                return undo(y + m_p.IdleAngleNeg, fNeg);
            }
            return 0;
        }
        default:
            return 0; // no bender: the strip runs through straight
        }
    }

private:
    static double undo(double travel, double factor) { return factor > 0 ? travel / factor : 0; }

    const machine::ParameterSet& m_p;
    bool m_rodI = false;
    bool m_rodII = false;
    bool m_singleNegative = false;
};

// The weaker of two bends on the same side; none across sides.
double weaker(double a, double b) {
    if (a * b <= 0) {
        return 0;
    }
    return a > 0 ? std::min(a, b) : std::max(a, b);
}

class Replay {
public:
    Replay(const machine::ParameterSet& p, const machine::ParameterTables& t)
        : m_p(p), m_tables(t), m_arm(p) {}

    void run(const common::Lines& program) {
        for (std::size_t i = 0; i < program.size(); ++i) {
            if (line(program[i])) {
                ++i; // the line after a homing code never runs
            }
        }
        m_out.fed = strip();
        std::stable_sort(m_out.strikes.begin(), m_out.strikes.end(),
                         [](const auto& a, const auto& b) { return a.at < b.at; });
    }

    StripActions take() { return std::move(m_out); }

private:
    double strip() const { return machine::FeedProgress::stripFed(m_p, m_strokes, m_x); }
    double bender(double s) const { return s - m_p.BendToSlotDistance; }

    // Returns true for a homing code.
    bool line(const std::string& text) {
        const machine::Words w = machine::splitWords(text);
        const std::string& g = w[Word::G];
        if (g == machine::code::kSetPosition) {
            setPosition(w);
            return false;
        }
        if (g == machine::code::kDwell) {
            return false;
        }
        const std::string& m = w[Word::M];
        slotBlock(w, m);
        m_arm.output(m, m_y);
        if (m == machine::code::kHomeY) {
            m_y = 0; // the arm ends its search at its zero
        }
        if (machine::FeedProgress::isStrokeLine(text, m_p)) {
            m_strokes += 1.0;
        }
        if (w.has(Word::X)) {
            feed(w.value(Word::X), w.has(Word::Y) ? std::optional(w.value(Word::Y)) : std::nullopt);
        } else if (w.has(Word::Y)) {
            strike(w.value(Word::Y));
        }
        return machine::isHomingCode(m);
    }

    void setPosition(const machine::Words& w) {
        if (w.has(Word::X)) {
            // The job's strip is counted from here; gripper strokes start
            // again with it.
            m_strokes = 0;
            m_x = w.value(Word::X);
            m_reached = strip();
        }
        if (w.has(Word::Y)) {
            m_y = w.value(Word::Y);
        }
    }

    // A slot block runs from "M16" to "M17" and moves the cutter.
    void slotBlock(const machine::Words& w, const std::string& m) {
        if (m == "16") {
            m_inBlock = true;
            m_cuts = false;
            m_blockAt = strip();
            m_swing = 0;
            m_backFace = false;
        } else if (m == "17" && m_inBlock) {
            m_inBlock = false;
            if (m_cuts) {
                const double fold = m_p.BladeAngle + 2 * m_swing;
                m_out.slots.push_back({m_blockAt, m_backFace ? -fold : fold});
            }
        } else if (m_inBlock && (m == "12" || w.has(Word::Z) || w.has(Word::A))) {
            m_cuts = true;
            swing(w);
        }
    }

    // The swing axis is Z when it carries the swinging cutter, otherwise A
    // unless A pushes the cutter in.
    void swing(const machine::Words& w) {
        const bool onZ = m_p.ZAxisSwingCutter == 1;
        if (!onZ && m_p.InfeedControl == 1) {
            return;
        }
        const Word axis = onZ ? Word::Z : Word::A;
        if (!w.has(axis) || w[Word::G] == "05") {
            return; // "G05 Z" moves the cutter up and down
        }
        const double v = std::abs(w.value(axis));
        if (v >= kBackFaceSwing) {
            m_backFace = true;
        }
        m_swing = std::max(m_swing, v >= kBackFaceSwing ? std::abs(180.0 - v) : v);
    }

    void feed(double x, std::optional<double> y) {
        const double bendBefore = m_arm.bend(m_y, false);
        const double bendAfter = y ? m_arm.bend(*y, false) : bendBefore;
        m_x = x;
        if (y) {
            m_y = *y;
        }
        const double to = strip();
        if (to <= m_reached) {
            return; // a feed back: nothing new passes the bender
        }
        const double curvature = CurvatureForBend(m_tables, weaker(bendBefore, bendAfter));
        addSpan(bender(m_reached), curvature);
        m_reached = to;
    }

    void addSpan(double at, double curvature) {
        auto& spans = m_out.spans;
        // A "G92 X" that set the strip back starts the count again.
        while (!spans.empty() && spans.back().at >= at) {
            spans.pop_back();
        }
        if (!spans.empty() && spans.back().curvature == curvature) {
            return; // the strip goes on bending the same way
        }
        spans.push_back({at, curvature});
    }

    void strike(double y) {
        const double before = m_arm.bend(m_y, true);
        const double after = m_arm.bend(y, true);
        m_y = y;
        // Only a stroke further into the strip leaves a mark; backing off
        // lets it spring back as it is.
        const bool deeper =
            after != 0 && (before * after <= 0 || std::abs(after) > std::abs(before));
        if (deeper) {
            m_out.strikes.push_back({bender(strip()), after});
        }
    }

    const machine::ParameterSet& m_p;
    const machine::ParameterTables& m_tables;
    ArmModel m_arm;
    StripActions m_out;
    double m_x = 0;
    double m_y = 0;
    double m_strokes = 0;
    double m_reached = 0;
    bool m_inBlock = false;
    bool m_cuts = false;
    double m_blockAt = 0;
    double m_swing = 0;
    bool m_backFace = false;
};

} // namespace

double CurvatureForBend(const machine::ParameterTables& tables, double angle) {
    if (angle > 0) {
        const auto r = RadiusForBendAngle(tables.ArcTablePos, tables.ArcTablePosLast, angle);
        return r && *r > 0 ? 1.0 / *r : 0.0;
    }
    if (angle < 0) {
        const auto r = RadiusForBendAngle(tables.ArcTableNeg, tables.ArcTableNegLast, -angle);
        return r && *r > 0 ? -1.0 / *r : 0.0;
    }
    return 0.0;
}

StripActions ReplayStrip(const common::Lines& program, const machine::ParameterSet& params,
                         const machine::ParameterTables& tables) {
    Replay replay(params, tables);
    replay.run(program);
    return replay.take();
}

} // namespace korvel::program
