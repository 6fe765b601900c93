// The bent-letter preview read back from generated programs: letters whose
// outline the machine can follow exactly must close and follow their path;
// a program with a bend taken out, a bend on the wrong side or bends at the
// wrong distance from the slots must not.

#include "program/BendPreview.h"

#include "ProgramTestSupport.h"
#include "TestLetters.h"
#include "geometry/PlaneGeometry.h"
#include "program/CurvatureLookup.h"
#include "program/StripReplay.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <regex>

namespace korvel::program {
namespace {

using namespace korvel::program::test;

// Slots swung to both flanks, so that each groove tells its fold.
machine::ParameterSet previewParams() {
    machine::ParameterSet p = plainParams();
    p.SlotActionOrder = "PDUNDU";
    return p;
}

struct Previewed {
    common::Lines program;
    BendPreview preview;
};

Previewed preview(const geometry::PathRecords& path, const machine::ParameterSet& p,
                  const machine::ParameterSet& readBackWith) {
    const auto tables = plainTables();
    Previewed r;
    r.program = generateJob(p, tables, path, RunPanel{1, 10, 0}).lines;
    r.preview = MakeBendPreview(r.program, path, readBackWith, tables);
    return r;
}

double worstDeviation(const BendPreview& preview) {
    double d = 0;
    for (const auto& piece : preview.pieces) {
        d = std::max(d, piece.deviation);
    }
    return d;
}

TEST(BendPreview, LettersTheMachineCanFollowCloseAndFollowTheirPath) {
    const auto p = previewParams();
    for (const auto& path : {letterD(), polygon18()}) {
        const auto r = preview(path, p, p);
        ASSERT_EQ(r.preview.pieces.size(), 1u);
        const PiecePreview& piece = r.preview.pieces[0];
        EXPECT_TRUE(piece.closed);
        EXPECT_LT(piece.closure, 0.5);
        EXPECT_LT(piece.deviation, 0.5);
        EXPECT_NEAR(piece.lengthDifference, 0.0, 1e-3);
        // The picture's strip starts on the path's first point.
        EXPECT_NEAR(piece.strip.front().x, 0.0, 1e-9);
        EXPECT_NEAR(piece.strip.front().y, 0.0, 1e-9);
    }
}

TEST(BendPreview, BrokenProgramsShowLargeDeviations) {
    const auto p = previewParams();
    const auto sound = preview(polygon18(), p, p);
    const auto tables = plainTables();
    const auto deviationOf = [&](const common::Lines& program, const machine::ParameterSet& q) {
        return worstDeviation(MakeBendPreview(program, polygon18(), q, tables));
    };
    // The first strike of the third corner bend ("G05 Y..." pairs).
    std::size_t third = 0;
    for (int seen = 0; third < sound.program.size(); ++third) {
        if (sound.program[third].rfind("G05 Y", 0) == 0 && ++seen == 5) {
            break;
        }
    }
    ASSERT_LT(third + 1, sound.program.size());

    common::Lines removed = sound.program;
    removed.erase(removed.begin() + static_cast<long>(third),
                  removed.begin() + static_cast<long>(third) + 2);
    common::Lines flipped = sound.program;
    flipped[third] = std::regex_replace(flipped[third], std::regex("Y"), "Y-");
    machine::ParameterSet shifted = p;
    shifted.BendToSlotDistance -= 7.5; // bends read 7.5 mm from where they fall

    EXPECT_LT(worstDeviation(sound.preview), 0.5);
    EXPECT_GT(deviationOf(removed, p), 10.0);
    EXPECT_GT(deviationOf(flipped, p), 10.0);
    EXPECT_GT(deviationOf(sound.program, shifted), 5.0);
}

TEST(BendPreview, PiecesAreFoundBetweenTheirJointSlots) {
    // Two letters of two pieces each: the D and the polygon, joined.
    geometry::PathRecords path = letterD();
    const auto second = polygon18();
    path.insert(path.end(), second.begin(), second.end());
    const auto p = previewParams();
    const auto tables = plainTables();
    const auto program = generateJob(p, tables, path, RunPanel{2, 15, 0}).lines;
    const auto result = MakeBendPreview(program, path, p, tables);
    ASSERT_EQ(result.pieces.size(), 4u);
    for (const auto& piece : result.pieces) {
        EXPECT_NEAR(piece.lengthDifference, 0.0, 1e-3) << FormatPiecePreview(piece);
        EXPECT_LT(piece.closure, 0.5) << FormatPiecePreview(piece);
    }
    EXPECT_EQ(FormatPiecePreview(result.pieces[3]).substr(0, 16), "piece 4 closure ");
}

TEST(CurvatureLookup, RadiusForBendAngleUndoesTheGeneratorsLookup) {
    machine::ParameterTables tables = plainTables();
    // The shipped form too: angle = 2 + 600 / radius from 1000 mm to 10 mm.
    machine::ParameterTables shipped;
    const double radii[] = {1000, 600, 300, 150, 100, 60, 40, 25, 15, 10};
    for (int i = 0; i < 10; ++i) {
        shipped.ArcTablePos[i] = {2 + 600 / radii[i], radii[i]};
    }
    shipped.ArcTablePosLast = 9;
    for (const auto* t : {&tables, &shipped}) {
        const auto& rows = t->ArcTablePos;
        const int last = t->ArcTablePosLast;
        for (double r = rows[last].radius; r <= rows[0].radius; r *= 1.037) {
            const double angle = BendAngleForRadius(rows, t->ArcTablePosLast, r);
            const auto back = RadiusForBendAngle(rows, t->ArcTablePosLast, angle);
            ASSERT_TRUE(back.has_value()) << r;
            EXPECT_NEAR(*back, r, 1e-9 * r);
        }
        // Below the first row the strip stays straight; beyond the last row
        // the arm cannot bend tighter than the last radius.
        EXPECT_FALSE(RadiusForBendAngle(rows, t->ArcTablePosLast, rows[0].angle - 0.01));
        EXPECT_EQ(RadiusForBendAngle(rows, t->ArcTablePosLast, rows[last].angle + 5),
                  rows[last].radius);
    }
    EXPECT_FALSE(RadiusForBendAngle(tables.ArcTablePos, -1, 10.0));
}

TEST(StripReplay, GrippersFeedTheSameStripAsTheRoller) {
    // The gripper feeds the strip stroke by stroke while its carriage goes
    // back and forth: the slots still fall at the same strip positions.
    auto p = previewParams();
    const auto tables = plainTables();
    const auto roller = ReplayStrip(generateJob(p, tables, letterD(), {1, 10, 0}).lines, p, tables);
    for (int feed : {1, 2}) {
        p.FeedType = static_cast<std::int16_t>(feed);
        p.GripperStroke = 70;
        const auto gripper =
            ReplayStrip(generateJob(p, tables, letterD(), {1, 10, 0}).lines, p, tables);
        ASSERT_EQ(gripper.slots.size(), roller.slots.size()) << feed;
        for (std::size_t i = 0; i < roller.slots.size(); ++i) {
            EXPECT_NEAR(gripper.slots[i].at, roller.slots[i].at, 1e-3) << feed;
            EXPECT_EQ(gripper.slots[i].fold, roller.slots[i].fold) << feed;
        }
        EXPECT_NEAR(gripper.fed, roller.fed, 1e-3) << feed;
    }
}

TEST(BendPreview, DamagedProgramsGiveFiniteFigures) {
    // Programs with bytes overwritten and lines cut short: the preview
    // reads whatever is left and never reports a figure that is not a
    // number.
    const auto p = previewParams();
    const auto tables = plainTables();
    const auto path = letterD();
    const auto program = generateJob(p, tables, path, {1, 10, 0}).lines;
    std::mt19937 rng(14);
    const std::string noise = "XYZAGMFP-.;0123456789 e";
    for (int round = 0; round < 200; ++round) {
        common::Lines damaged = program;
        for (int k = 0; k < 20; ++k) {
            auto& line = damaged[rng() % damaged.size()];
            if (!line.empty()) {
                line[rng() % line.size()] = noise[rng() % noise.size()];
                line.resize(rng() % (line.size() + 1));
            }
        }
        damaged.push_back("X99999999 Y45");
        for (const auto& piece : MakeBendPreview(damaged, path, p, tables).pieces) {
            ASSERT_TRUE(std::isfinite(piece.closure) && std::isfinite(piece.deviation) &&
                        std::isfinite(piece.lengthDifference));
        }
    }
}

} // namespace
} // namespace korvel::program
