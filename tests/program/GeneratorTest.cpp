// The job generator on small paths: which joints, corners and arcs get
// slots or bends, joins between letters, the line limit, the machine checks
// and what a refused job leaves behind.

#include "ProgramTestSupport.h"
#include "common/Basic.h"
#include "machine/AxisUnits.h"
#include "program/JobChecks.h"
#include "program/JobRun.h"
#include "program/ProgramGenerator.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <tuple>

namespace korvel::program {
namespace {

using common::Lines;
using geometry::PathRecords;
using namespace korvel::program::test;

struct GeneratorFixture : ::testing::Test {
    machine::ParameterSet p = plainParams();
    machine::ParameterTables tables = plainTables();
    MainWindowFields fields;
    RunPanel panel{1, 10, 0};
    MarkedPoints marked;
    FakeCard card;

    GeneratedProgram run(const PathRecords& path) {
        ProgramGenerator generator(p, tables, fields, panel, marked);
        return generator.generate(path, card);
    }
    Lines lines(const PathRecords& path) {
        auto result = run(path);
        EXPECT_FALSE(result.refusal.has_value()) << result.refusal->en;
        return result.lines;
    }
    // The swing words of the slot blocks (order "P"): "A<angle with four
    // decimals> F1000", leaving out pre-swing, swing back and the epilogue.
    Lines swings(const PathRecords& path) {
        p.SlotActionOrder = "P";
        Lines found;
        for (const auto& l : lines(path)) {
            if (l[0] == 'A' && l.find('.') != std::string::npos && l.ends_with(" F1000")) {
                found.push_back(l);
            }
        }
        return found;
    }
    // One straight block from (0,0) over a corner at (100,0) to (200,0).
    static PathRecords cornerBlock(double turn, double headerTurn = 0) {
        PathRecords path{header(headerTurn), plain(0, 0)};
        addCorner(path, 100, 0, turn);
        path.push_back(plain(200, 0));
        path.push_back(trailer(0));
        return path;
    }
    // The job is refused with a message whose English text starts so.
    void expectRefused(const PathRecords& path, const std::string& start) {
        const auto refused = run(path);
        ASSERT_TRUE(refused.refusal.has_value()) << start;
        EXPECT_EQ(refused.refusal->en.rfind(start, 0), 0u) << refused.refusal->en;
        EXPECT_TRUE(refused.lines.empty());
    }
    static PathRecords straightBlock(double length, double headerTurn = 0, double endTurn = 0) {
        return {header(headerTurn), plain(0, 0), plain(length, 0), trailer(endTurn)};
    }
    // `count` blocks of `length` joined one after the other, turning by
    // `turn` at both joints.
    static PathRecords blocks(int count, double length, double turn = 0) {
        PathRecords path;
        for (int i = 0; i < count; ++i) {
            const auto b = straightBlock(length, turn, turn);
            path.insert(path.end(), b.begin(), b.end());
        }
        return path;
    }
};

TEST_F(GeneratorFixture, HeaderAngleFiveIsAShapeSwungJointAbovePointOneIsCut) {
    // At 5.0 the joint counts as square: -(blade 40)/2 on the first
    // (odd) slot, the opposite side on the second.
    EXPECT_EQ(swings(straightBlock(100, 5.0)), (Lines{"A-20.0000 F1000", "A20.0000 F1000"}));
    EXPECT_EQ(swings(straightBlock(100, 5.1)), (Lines{"A180.0000 F1000", "A-20.0000 F1000"}));
    p.SlotControl = 1;
    EXPECT_EQ(swings(straightBlock(100, 5.1)).at(0), "A0.0000 F1000");
    p.SlotControl = 0;
    // A left-turning joint swings by half its angle less the blade.
    EXPECT_EQ(swings(straightBlock(100, -90)), (Lines{"A25.0000 F1000", "A20.0000 F1000"}));
    p.FrontSwingControl = 1;
    EXPECT_EQ(swings(straightBlock(100, -90)), (Lines{"A0.0000 F1000", "A0.0000 F1000"}));
}

TEST_F(GeneratorFixture, SwingParityRunsOverBlocksAndPasses) {
    panel.repeatCount = 2;
    // Four joints per pass, eight in all, alternating +, -, +, ...
    const Lines s = swings(blocks(2, 100));
    ASSERT_EQ(s.size(), 8u);
    for (size_t i = 0; i < s.size(); ++i) {
        EXPECT_EQ(s[i], i % 2 == 0 ? "A-20.0000 F1000" : "A20.0000 F1000") << i;
    }
}

// Slotting from 30 on is pinned by GeneratorProperties.RandomClosedLetters.
TEST_F(GeneratorFixture, CornerThresholds) {
    // Corner-to-arc threshold 10: bent, not slotted; the tap is due when
    // the corner reaches the bender at 100 + 50.
    auto l = lines(cornerBlock(10));
    EXPECT_EQ(countLines(l, "M16"), 2);
    EXPECT_EQ(countLines(l, "X150.0000 F6000"), 1);
    EXPECT_EQ(countLines(l, "G05 Y-10.0000 F00003000"), 1);
    // Below it the corner passes as straight.
    l = lines(cornerBlock(9.99));
    EXPECT_EQ(countLines(l, "M16"), 2);
    for (const auto& line : l) {
        EXPECT_EQ(line.rfind("G05", 0), std::string::npos) << line;
    }
}

TEST_F(GeneratorFixture, SlotSwingsClampAtTheBlade) {
    auto cornerSwing = [&](double turn) { return swings(cornerBlock(turn)).at(1); };
    EXPECT_EQ(cornerSwing(-35), "A0.0000 F1000");  // |b| < blade: no swing
    EXPECT_EQ(cornerSwing(35), "A180.0000 F1000"); // back face, no swing
    EXPECT_EQ(cornerSwing(-60), "A10.0000 F1000"); // (60 - 40) / 2
    EXPECT_EQ(cornerSwing(60), "A190.0000 F1000"); // back face
    p.BackSwingControl = 1;
    EXPECT_EQ(cornerSwing(60), "A180.0000 F1000");
    p.SlotControl = 1;
    EXPECT_EQ(cornerSwing(60), "A0.0000 F1000");
    p.BackSwingControl = 0;
    EXPECT_EQ(cornerSwing(60), "A10.0000 F1000");
}

TEST_F(GeneratorFixture, TappedSlotCornerBendsAtMostThirtyDegrees) {
    p.TapAtSlot = 1;
    p.SlotTapPositionCorr = 2;
    auto l = lines(cornerBlock(45));
    EXPECT_EQ(countLines(l, "X152.0000 F6000"), 1);
    EXPECT_EQ(countLines(l, "G05 Y-30.0000 F00003000"), 1);
    l = lines(cornerBlock(-25)); // not a slot at 25 < 30: bent by its angle
    EXPECT_EQ(countLines(l, "G05 Y25.0000 F00003000"), 1);
    p.SlotAngleThreshold = 20;
    l = lines(cornerBlock(-25)); // slotted and tapped by its own 25
    EXPECT_EQ(countLines(l, "X152.0000 F6000"), 1);
    EXPECT_EQ(countLines(l, "G05 Y25.0000 F00003000"), 1);
}

// A join with no pause time writes no pause and marks "M100" (GoldenLetters.
// RingOTwoPieces); feeds of joins between passes and the end feed are pinned
// by GeneratorProperties.RandomClosedLetters.
TEST_F(GeneratorFixture, JoiningPausesAfterEachJointButPassesCarryNoMarker) {
    p.JoinPauseTime = 2;
    auto l = lines(blocks(2, 100));
    // Joint at 100 + join 10: the pause is due at 110 + 50 + 10.
    const auto at = std::find(l.begin(), l.end(), "G04 P2000 ;connect pause");
    ASSERT_NE(at, l.end());
    EXPECT_EQ(*(at - 1), "X170.0000 F6000");
    EXPECT_EQ(countLines(l, "G04 P2000 ;connect pause"), 1);
    panel.repeatCount = 3;
    l = lines(straightBlock(100));
    EXPECT_EQ(countLines(l, "M100"), 0);
}

TEST_F(GeneratorFixture, ProgramOfTheLineLimitRunsOneMoreIsRefused) {
    // Every straight point adds one feed line.
    auto path = [](int points) {
        PathRecords r{header(0), plain(0, 0)};
        for (int i = 1; i <= points; ++i) {
            r.push_back(contour(i, 0));
        }
        r.push_back(plain(points + 1, 0));
        r.push_back(trailer(0));
        return r;
    };
    const int base = static_cast<int>(lines(path(0)).size());
    ASSERT_EQ(static_cast<int>(lines(path(10)).size()), base + 10);
    const int fits = kMaxJobLines - base;
    EXPECT_EQ(lines(path(fits)).size(), 29999u);
    const auto refused = run(path(fits + 1));
    ASSERT_TRUE(refused.refusal.has_value());
    EXPECT_EQ(refused.refusal->en, "Machining Code is too long!");
    EXPECT_EQ(refused.refusal->zh, "加工程序超长，请减少加工循环或缩短选择字形！");
    EXPECT_TRUE(refused.lines.empty());
}

// Joins, waiting bends and feed corrections each have a table of fixed size.
TEST_F(GeneratorFixture, JobsBeyondTheTablesAreRefused) {
    fields.Check5 = true; // keep the programs short: no arm moves
    p.BendToSlotDistance = 1e6;
    EXPECT_FALSE(run(blocks(52, 10)).refusal.has_value()); // 51 joins fit
    expectRefused(blocks(53, 10), "More than 51 material joins");
    // One bend is loaded for writing, 10,000 wait in the queue: the next
    // one has no place.
    auto corners = [](int count) {
        PathRecords path{header(0), plain(0, 0)};
        for (int i = 1; i <= count; ++i) {
            addCorner(path, i, 0, 20);
        }
        path.push_back(plain(count + 1, 0));
        path.push_back(trailer(0));
        return path;
    };
    EXPECT_FALSE(run(corners(10001)).refusal.has_value());
    expectRefused(corners(10002), "More than 10000 bends");
    // Each block logs the corrections of its two right-turning joints.
    p.EngraveCutterRadius = 1;
    panel.joinLength = 0;
    expectRefused(blocks(501, 10, 90), "More than 1001 feed length corrections");
}

TEST_F(GeneratorFixture, CompensationsAndCutterRadiusCorrectionAreLogged) {
    p.StartSegmentComp = 3;
    p.EndSegmentComp = 2;
    p.EngraveCutterRadius = 1;
    // Right-turning joints of 90: each takes 1 - pi/4 = 0.2146 mm.
    const PathRecords path = straightBlock(100, 90, 90);
    // The fed length is pinned by GeneratorProperties.RandomClosedLetters.
    const auto result = run(path);
    ASSERT_FALSE(result.refusal);
    const double c = 1 - geometry::kPi / 4;
    const auto& rows = result.corrections.rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_DOUBLE_EQ(rows[0].cumulative, -3);
    EXPECT_DOUBLE_EQ(rows[1].cumulative, -3 + c);
    EXPECT_DOUBLE_EQ(rows[2].cumulative, -5 + c);
    EXPECT_DOUBLE_EQ(rows[3].cumulative, -5 + 2 * c);
    EXPECT_DOUBLE_EQ(rows[3].position, 0);
}

TEST_F(GeneratorFixture, SmallArcIsSlottedUnlessMarkedForBending) {
    // A left turn through (10,0) -> (12,1) -> (13,3) with radius 3 < 5.
    const PathRecords path{header(0),    plain(0, 0), plain(10, 0), contour(12, 1, 3, 0.8),
                           plain(13, 3), trailer(0)};
    EXPECT_EQ(countLines(lines(path), "M16"), 3);
    marked.enter(12.005, 1.005);
    EXPECT_EQ(countLines(lines(path), "M16"), 3); // listed, not yet marked
    ASSERT_TRUE(marked.toggle(12, 1));
    const auto l = lines(path);
    EXPECT_EQ(countLines(l, "M16"), 2);
    // The pressed-or-tapped arc is bent from the positive table.
    EXPECT_TRUE(std::any_of(l.begin(), l.end(),
                            [](const auto& line) { return line.rfind("G05 Y80.0000", 0) == 0; }));
    EXPECT_FALSE(marked.toggle(50, 50));
}

TEST_F(GeneratorFixture, PrologueByBenderFeedAndHoming) {
    const PathRecords empty;
    auto start = [&](size_t n) {
        auto l = lines(empty);
        return Lines(l.begin(), l.begin() + static_cast<long>(std::min(n, l.size())));
    };
    p.BenderType = kBenderLiftingDouble;
    EXPECT_EQ(start(1), (Lines{"M19 M21"}));
    p.BenderType = kBenderDouble;
    fields.Check4 = true; // the roller feed homes first
    EXPECT_EQ(start(4), (Lines{"G90 G01", "G92 X0", "M36", "M30"}));
    p.RunMode = 1;
    EXPECT_EQ(start(4), (Lines{"G90 G01", "G92 X0", "G90 G01", "G92 X0 Y0 Z0 A0"}));
    p.RunMode = 0;
    fields.Check4 = false;
    p.FeedType = kFeedGripperSingle;
    EXPECT_EQ(start(12), (Lines{"G90 G01", "M16", "G04 P500", "M23", "G04 P500", "M36", "M30",
                                "M22", "G04 P500", "M17", "G04 P500", "G92 X0 Y0"}));
    p.FeedType = kFeedRoller;

    // Homing first with the single bender off its switch and the cutter out.
    fields.Check2 = true;
    p.BenderType = kBenderSingle;
    card.inputs[17] = 1;
    EXPECT_EQ(start(14),
              (Lines{"M19", "G90 G01", "G92 X0", "M14", "G04 P100", "M15", "M42", "M30",
                     "G91 Y45.0000 F3000", "G90", "M38", "M30", "G90 G01", "G92 X0 Y0 Z0 A0"}));
    // Nothing swings and the cutter is on a motor: no swing homing, Z home.
    p.FrontSwingControl = p.BackSwingControl = p.SlotControl = 1;
    p.CutterUpDownControl = 1;
    card.inputs[8] = 1;
    EXPECT_EQ(start(9), (Lines{"M19", "G90 G01", "G92 X0", "M38", "M30", "M40", "M30", "G90 G01",
                               "G92 X0 Y0 Z0 A0"}));
}

TEST_F(GeneratorFixture, EpilogueReturnsTheBenderItHas) {
    auto tail = [&](const PathRecords& path, size_t n) {
        auto l = lines(path);
        return Lines(l.end() - static_cast<long>(n), l.end());
    };
    // Single bender that never bent: the arm goes out at the far side.
    p.BenderType = kBenderSingle;
    EXPECT_EQ(tail(straightBlock(100), 6),
              (Lines{"X150.0000 Y90.0000 F6000", "M19", "G04 P500", "Y0.0000 F3000.0000",
                     "X150.0000 F6000", "A0.0000 F1000.0000"}));
    // After a positive bend it leaves from Y 0.
    EXPECT_EQ(tail(cornerBlock(-20), 5), (Lines{"X250.0000 Y0.0000 F6000", "M19", "G04 P500",
                                                "X250.0000 F6000", "A0.0000 F1000.0000"}));
    // Lifting double bender after a negative bend: rod II out.
    p.BenderType = kBenderLiftingDouble;
    p.LiftBenderAngle = 15;
    EXPECT_EQ(tail(cornerBlock(20), 6),
              (Lines{"X250.0000 Y-15.0000 F6000", "M21", "G04 P500", "Y0.0000 F3000.0000",
                     "X250.0000 F6000", "A0.0000 F1000.0000"}));
    p.BenderInOutDelay = 0.5;
    EXPECT_EQ(tail(cornerBlock(-20), 6).at(2), "M00");
    // Spin for the whole pass, swinging Z, encoder check at the end.
    p.BenderType = kBenderDouble;
    p.SpinControl = 1;
    p.ZAxisSwingCutter = 1;
    p.EncoderPort = 1;
    fields.Check3 = true;
    const auto l = lines(straightBlock(100));
    EXPECT_EQ(l.at(2), "M10");
    EXPECT_EQ(Lines(l.end() - 8, l.end()),
              (Lines{"M11", "X150.0000 Y0.0000 F6000", "X150.0000 F6000", "Z0.0000 F2000.0000",
                     "A0.0000 F1000.0000", "G04 P400", "M34", "G04 P100"}));
}

TEST_F(GeneratorFixture, BentArcsFeedMoreOnTheLeftLessOnTheRight) {
    p.ArcCorrPos = 0.5;
    p.ArcCorrNeg = 0.5;
    // Radius 100 arc point arriving after 10 mm; the next point turns left.
    auto left = lines({header(0), plain(0, 0), contour(10, 0, 100, 0.1), plain(20, 1), trailer(0)});
    EXPECT_EQ(countLines(left, "X10.0500 F6000"), 1);         // 10 + 0.5 x 10 / 100
    EXPECT_EQ(countLines(left, "X35.0000 Y0.0000 F6000"), 1); // approach: 1.5 arcs early
    EXPECT_EQ(countLines(left, "X50.0000 Y10.0000 F6000"), 1);
    EXPECT_EQ(countLines(left, "X60.0500 Y10.0000 F6000"), 1);
    auto right =
        lines({header(0), plain(0, 0), contour(10, 0, 100, 0.1), plain(20, -1), trailer(0)});
    EXPECT_EQ(countLines(right, "X9.9500 F6000"), 1);
    EXPECT_EQ(countLines(right, "X59.9500 Y-10.0000 F6000"), 1);
    // A straight "arc" and an arc point before a trailer are neither bent
    // nor slotted.
    auto straight =
        lines({header(0), plain(0, 0), contour(10, 0, 100, 0.1), plain(20, 0), trailer(0)});
    EXPECT_EQ(countLines(straight, "X10.0000 F6000"), 1);
    for (const auto& line : straight) {
        EXPECT_EQ(line.find(" Y1"), std::string::npos) << line;
    }
}

TEST(JobChecks, FailInTheMachinesOrder) {
    auto p = plainParams();
    MainWindowFields fields;
    FakeCard card;
    EXPECT_FALSE(CheckMachineBeforeRun(p, fields, card).has_value());

    p.InfeedControl = 1;
    p.InfeedDistanceLimit = 1;
    p.CycleCount = 2;
    p.CutStroke = {0.5, 1.5, 0, 0, 0, 0};
    auto m = CheckMachineBeforeRun(p, fields, card);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->kind, common::MessageKind::Notice);
    EXPECT_EQ(m->zh, "切深设置大于材料厚度，请重新设置后加工！");
    p.CutStroke = {0.5, 0.5, 0, 0, 0, 0};
    p.CutOffStroke = 2;
    EXPECT_EQ(CheckMachineBeforeRun(p, fields, card)->zh,
              "切深设置大于材料厚度，请重新设置后加工！");
    p.CutOffStroke = 0;
    EXPECT_EQ(CheckMachineBeforeRun(p, fields, card)->en, "Cutter is at Zero, Please move up!");
    card.inputs[20] = 1;

    card.commandPos[machine::kAxisY] = 2; // 0.02 degrees: at zero
    card.commandPos[machine::kAxisZ] = 3; // 0.03: away
    card.commandPos[machine::kAxisA] = 3;
    card.inputs[17] = 1;
    EXPECT_EQ(CheckMachineBeforeRun(p, fields, card)->en,
              "Down cutter motor is not at zero position!");
    card.commandPos[machine::kAxisY] = -3;
    EXPECT_EQ(CheckMachineBeforeRun(p, fields, card)->en, "Bend Motor is not at zero position!");
    card.commandPos[machine::kAxisY] = 0;
    card.commandPos[machine::kAxisZ] = 0;
    EXPECT_EQ(CheckMachineBeforeRun(p, fields, card)->en,
              "Swing or Foward motor is not at zero position!");
    card.commandPos[machine::kAxisA] = 0;
    EXPECT_EQ(CheckMachineBeforeRun(p, fields, card)->en, "Cutter is not at zero position!");
    p.RunMode = 1;
    EXPECT_FALSE(CheckMachineBeforeRun(p, fields, card).has_value());
    p.RunMode = 0;
    fields.Check2 = true; // homing first: positions and cutter do not matter
    card.commandPos[machine::kAxisY] = 500;
    EXPECT_FALSE(CheckMachineBeforeRun(p, fields, card).has_value());
}

// A folder with a one-piece letter of 80 mm, prepared or as it stands.
struct JobRunFixture : ::testing::Test {
    korvel::test::TempDir dir;
    const common::AppDir app{dir.path()};
    machine::ParameterSet p = plainParams();
    const machine::ParameterTables tables = plainTables();
    MarkedPoints marked;
    FakeCard card;
    machine::RunState state;

    void writePath(const std::string& secondX) {
        common::WriteLines(app.file("CtrP.dat"),
                           {"SPLINE 0.000000 3.0", "0.000000 0.000000 1 0.000000 0.000000 0.000000",
                            secondX + " 0.000000 1 0.000000 0.000000 0.000000",
                            "SPLINE 0.000000 0.0"});
    }
    JobOutcome press(const MainWindowFields& fields = {}) {
        return JobRun(app, p, tables, fields, marked).Command_Run(card, state);
    }
};

TEST_F(JobRunFixture, LoadsTheProgramOrLeavesEverythingAsItWas) {
    common::WriteLines(app.file("PointForControl.dat"), {});
    writePath("80.000000");
    card.commandPos[machine::kAxisY] = 100; // the arm is not at zero
    const JobOutcome refused = press();
    EXPECT_FALSE(refused.started);
    ASSERT_TRUE(refused.message);
    EXPECT_EQ(refused.message->en, "Bend Motor is not at zero position!");
    EXPECT_EQ(state.LineCount, 0);
    EXPECT_EQ(state.JobRunActive, 0);
    EXPECT_FALSE(std::filesystem::exists(app.file("G5.dat")));

    card.commandPos[machine::kAxisY] = 0;
    MainWindowFields fields;
    fields.Text5 = "2";
    fields.Text4 = "10";
    fields.Text7 = "5";
    const JobOutcome ok = press(fields);
    ASSERT_TRUE(ok.started) << (ok.message ? ok.message->en : "");
    EXPECT_EQ(state.JobRunActive, common::kTrue);
    EXPECT_EQ(state.CurrentLine, 0);
    EXPECT_EQ(state.LineCount, ok.lineCount);
    EXPECT_EQ(common::ReadLines(app.file("G5.dat")), state.ProgramLines);
    EXPECT_EQ(ok.selectedLabel, "80.0000  mm");
    EXPECT_EQ(ok.totalLabel, "225.0000  mm"); // 10 + 2 x 80 + 5 + 50

    fields.Text5 = "0";
    EXPECT_EQ(press(fields).message->en, "Machining count must be a whole number from 1 to 32767!");
}

TEST_F(JobRunFixture, GripperStrokeMustBeFeedable) {
    writePath("250.000000");
    p.FeedType = kFeedGripperDouble;
    p.GripperStroke = 0;
    EXPECT_EQ(press().message->en, "Gripper stroke must be greater than 0, Please Reset!");
    // The executor counts double strokes by "X100 F6000" lines: whole mm only.
    p.GripperStroke = 100.5;
    EXPECT_EQ(press().message->en,
              "Double-stroke gripper stroke must be a whole number of mm, Please Reset!");
    EXPECT_EQ(state.JobRunActive, 0);
    p.GripperStroke = 100;
    EXPECT_TRUE(press().started);
    p.FeedType = kFeedGripperSingle;
    p.GripperStroke = 100.5; // counted by its "X0 F" return
    EXPECT_TRUE(press().started);
}

TEST_F(JobRunFixture, BadPathFileGivesAMessageNotACrash) {
    // No control point file: the path is taken as it stands.
    writePath("1E308");
    const JobOutcome bad = press();
    ASSERT_TRUE(bad.message);
    EXPECT_EQ(bad.message->en,
              "The machining path holds an invalid number, please select the letter again!");
    EXPECT_EQ(state.JobRunActive, 0);

    common::WriteLines(app.file("CtrP.dat"), {""});
    const JobOutcome empty = press();
    EXPECT_FALSE(empty.started);
    EXPECT_FALSE(empty.message);
}

// The lifting double bender's return takes the rod of the last bend's
// side by its sign alone: a last arm angle of -0.005 is the negative rod.
TEST_F(GeneratorFixture, LiftingBenderReturnsOnTheSideOfEvenTheSmallestLastBend) {
    p.BenderType = kBenderLiftingDouble;
    p.LiftBenderAngle = 15;
    p.CornerArcAngleThreshold = 0;
    const std::tuple<const char*, PathRecords, Lines> cases[] = {
        {"arm -0.005", cornerBlock(0.005), {"X250.0000 Y-15.0000 F6000", "M21"}},
        {"arm +0.005", cornerBlock(-0.005), {"X250.0000 Y15.0000 F6000", "M19"}},
        {"never bent", straightBlock(100), {"X150.0000 Y15.0000 F6000", "M19"}}};
    for (const auto& [what, path, rod] : cases) {
        SCOPED_TRACE(what);
        const Lines l = lines(path);
        ASSERT_GE(l.size(), 6u);
        EXPECT_EQ(Lines(l.end() - 6, l.end() - 4), rod);
    }
}

} // namespace
} // namespace korvel::program
