// Feeds, the bend queue and the bend blocks: the lines a feed mechanism and
// a bender need, checked by hand against the mechanism.

#include "ProgramTestSupport.h"
#include "program/BendQueue.h"
#include "program/BendWriter.h"
#include "program/CurvatureLookup.h"
#include "program/FeedWriter.h"

#include <gtest/gtest.h>
#include <optional>
#include <tuple>

namespace korvel::program {
namespace {

using common::Lines;
using test::plainParams;
using test::plainTables;

const Lines kSingleStroke{
    "X100.0000 F6000", "M16",      "G04 P300", "M23",      "G04 P300", "X-2 F500",
    "G04 P100",        "X0 F6000", "M22",      "G04 P300", "M17",      "G04 P300"};

Lines concat(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

// ---------------------------------------------------------------------------
// Feeds

struct FeedFixture : ::testing::Test {
    machine::ParameterSet p = plainParams();
    ProgramText out;
    FeedWriter feed{out, p};
    // The lines written by one feed to `to` (with Y: an arm move on the way).
    Lines feedTo(double to, std::optional<double> y = {}) {
        out.clear();
        feed.PrintXcode(to, y);
        return out.lines();
    }
};

TEST_F(FeedFixture, RollerFeedIsOneLine) {
    EXPECT_EQ(feedTo(12.5), (Lines{"X12.5000 F6000"}));
    EXPECT_EQ(feedTo(12.5, -3.25), (Lines{"X12.5000 Y-3.2500 F6000"}));
}

TEST_F(FeedFixture, SingleStrokeGripperWritesOnlyNewStrokes) {
    p.FeedType = kFeedGripperSingle;
    EXPECT_EQ(feedTo(250), concat({kSingleStroke, kSingleStroke, {"X50.0000 F6000"}}));
    EXPECT_EQ(feed.strokeCounter(), 2);
    EXPECT_EQ(feedTo(320, 12), concat({kSingleStroke, {"X20.0000 Y12.0000 F6000"}}));
    EXPECT_EQ(feedTo(330), (Lines{"X30.0000 F6000"})); // within the stroke: the carriage only
}

TEST_F(FeedFixture, DoubleStrokeGripperAlternatesGrippersAndDirection) {
    p.FeedType = kFeedGripperDouble;
    const Lines odd{"X100 F6000", "M24", "G04 P300", "M23", "G04 P300"};
    const Lines even{"X0 F6000", "M22", "G04 P300", "M25", "G04 P300"};
    EXPECT_EQ(feedTo(250), concat({odd, even, {"X50.0000 F6000"}}));
    // After an odd stroke the carriage stands at the far end: 20 mm more is
    // the carriage 20 mm back from there.
    EXPECT_EQ(feedTo(320), concat({odd, {"X80.0000 F6000"}}));
}

// ---------------------------------------------------------------------------
// Bend queue

struct QueueFixture : ::testing::Test {
    machine::ParameterTables tables = plainTables();
    BendQueue queue{50.0, tables};
    std::vector<double> triggers() {
        std::vector<double> t;
        for (BendEvent e = queue.NextBend(); e.trigger != 0; e = queue.NextBend()) {
            t.push_back(e.trigger);
        }
        return t;
    }
};

TEST_F(QueueFixture, SpacingByRadiusLimit) {
    EXPECT_EQ(queue.tapSpacing(39.9), 2);
    EXPECT_EQ(queue.tapSpacing(40), 4); // the limit itself is no longer below it
    EXPECT_EQ(queue.tapSpacing(500), 4);
    tables.TapSpacing[0].spacing = 0; // a row without spacing takes the last row's
    EXPECT_EQ(queue.tapSpacing(10), 4);
}

TEST_F(QueueFixture, HoldsTenThousandEventsAndDropsTheNext) {
    for (int i = 1; i <= 10001; ++i) {
        queue.QueueBend(i, 45, kBendCorner, 0);
    }
    EXPECT_EQ(queue.size(), 10000);
    EXPECT_EQ(queue.dropped(), 1);
    // Reading frees room; the ring wraps and keeps the order.
    EXPECT_EQ(queue.NextBend().trigger, 1);
    EXPECT_EQ(queue.NextBend().trigger, 2);
    queue.QueueBend(20000, 45, kBendCorner, 0);
    queue.QueueBend(20001, 45, kBendCorner, 0);
    queue.QueueBend(20002, 45, kBendCorner, 0);
    EXPECT_EQ(queue.dropped(), 2);
    const auto t = triggers();
    ASSERT_EQ(t.size(), 10000u);
    EXPECT_EQ(t.front(), 3);
    EXPECT_EQ(t.back(), 20001);
}

TEST_F(QueueFixture, CloseTappedArcEventsMergeIntoThePrevious) {
    queue.QueueBend(100, 10, -1, 0.5);
    queue.QueueBend(101, 10, -1, 0.5); // 1 mm < 0.8 x 2 mm
    ASSERT_EQ(queue.size(), 1);
    const BendEvent e = queue.NextBend();
    EXPECT_DOUBLE_EQ(e.extra, 0.6); // grew by 1 mm / 10 mm
}

TEST_F(QueueFixture, TappedArcIsSubdividedAtTheSpacing) {
    queue.QueueBend(100, 10, -1, 0.5);
    queue.QueueBend(101, 10, -1, 0.5);  // merged: extra 0.6
    queue.QueueBend(105, 10, -1, 0.5);  // 5 < 2 x 10 x 0.6: taps at 102, 104
    queue.QueueBend(200, 10, -1, 0.5);  // 96 >= 2 x 10 x 0.5: appended as is
    queue.QueueBend(201.8, 10, 1, 0.5); // 1.8 >= 1.6: one tap at 202, past 201.8
    queue.QueueBend(300, 60, 1, 0.2);   // pressed arc: appended
    queue.QueueBend(300.5, 10, 1, 0.5); // after a pressed arc: appended
    EXPECT_EQ(triggers(), (std::vector<double>{100, 102, 104, 200, 202, 300, 300.5}));
}

TEST_F(QueueFixture, CornersAreNeverMergedOrSubdivided) {
    queue.QueueBend(100, 10, -1, 0.5);
    queue.QueueBend(100.5, 45, kBendCorner, 0);
    queue.QueueBend(101, 10, -1, 0.5);
    EXPECT_EQ(triggers(), (std::vector<double>{100, 100.5, 101}));
}

TEST_F(QueueFixture, NegativeFeedMovesLaterBendsBack) {
    queue.QueueBend(140, 45, kBendCorner, 0);
    queue.QueueBend(160, 45, kBendCorner, 0);
    queue.shiftBeyond(100, 50, -5); // 140 - 50 is not beyond 100, 160 - 50 is
    EXPECT_EQ(triggers(), (std::vector<double>{140, 155}));
}

// ---------------------------------------------------------------------------
// Curvature tables

TEST(CurvatureLookup, InterpolatesBetweenRowsOfDecreasingRadius) {
    const auto t = plainTables();
    auto angle = [&](double r) { return BendAngleForRadius(t.ArcTablePos, t.ArcTablePosLast, r); };
    EXPECT_DOUBLE_EQ(angle(150), 10);  // beyond the first row
    EXPECT_DOUBLE_EQ(angle(100), 10);  // equal to a row: that row's angle
    EXPECT_DOUBLE_EQ(angle(50), 20);   // equal to a middle row
    EXPECT_DOUBLE_EQ(angle(35), 32.5); // half way between 50 (20) and 20 (45)
    EXPECT_DOUBLE_EQ(angle(10), 80);   // at the last row
    EXPECT_DOUBLE_EQ(angle(5), 80);    // below every row
    EXPECT_DOUBLE_EQ(BendAngleForRadius(t.ArcTablePos, -1, 35), 0);
}

// ---------------------------------------------------------------------------
// Bend blocks

struct BendFixture : ::testing::Test {
    machine::ParameterSet p = plainParams();
    machine::ParameterTables tables = plainTables();
    ProgramText out;
    FeedWriter feed{out, p};
    BendQueue queue{p.TapBendRadiusThreshold, tables};
    JoiningTable joins;
    BendOptions options;

    BendWriter writer() { return BendWriter(out, p, tables, feed, queue, joins, options); }
    // The lines of one feed through the queued bends.
    const Lines& feedThrough(double from, double to) {
        auto w = writer();
        w.loadNextIfIdle();
        w.FeedTo(from, to);
        return out.lines();
    }
};

TEST_F(BendFixture, ForceAndIdleCorrectionsPerBender) {
    p.PressForceFactorPos = 1.2;
    p.PressForceFactorNeg = 1.1;
    p.TapForceFactorNeg = 0.9;
    p.IdleAnglePos = 2;
    p.IdleAngleNeg = 3;
    auto w = writer();
    const BendEvent pressed{100, 100, -1, 0.2};
    const BendEvent tappedCorner{100, 45, kBendCorner, 0};
    EXPECT_DOUBLE_EQ(w.correctedAngle(10, pressed), 14);
    EXPECT_DOUBLE_EQ(w.correctedAngle(-10, pressed), -14);
    EXPECT_DOUBLE_EQ(w.correctedAngle(-45, tappedCorner), -43.5);
    p.BenderType = kBenderSingle; // the single arm adds its negative idle angle
    EXPECT_DOUBLE_EQ(w.correctedAngle(-10, pressed), -8);
    p.MaxBendAngle = 40;
    EXPECT_DOUBLE_EQ(w.correctedAngle(50, pressed), 40);
    EXPECT_DOUBLE_EQ(w.correctedAngle(-50, pressed), -40);
}

TEST_F(BendFixture, DoubleBenderTapsACornerAndBacksOff) {
    p.IdleAngleNeg = 3;
    p.TapBackExtraAngle = 1;
    auto w = writer();
    w.EmitBend({200, 45, kBendCorner, 0}, 300);
    EXPECT_EQ(out.lines(),
              (Lines{"X200.0000 F6000", "G05 Y-48.0000 F00003000", "G05 Y-2.0000 F00003000"}));
    EXPECT_DOUBLE_EQ(w.lastBendAngle(), -48);
}

TEST_F(BendFixture, EncoderCorrectionWhileTappingOnlyWhenAllIsSet) {
    p.EncoderPort = 1;
    p.TapEncoderCorrect = 1;
    options.encoderOn = true;
    writer().EmitBend({200, 45, kBendCorner, 0}, 300);
    EXPECT_EQ(out.lines().at(1), "G04 P200");
    EXPECT_EQ(out.lines().at(2), "M34");
    out.clear();
    p.BenderType = kBenderSingle; // the single arm never corrects
    writer().EmitBend({200, -45, kBendCorner, 0}, 300);
    EXPECT_EQ(test::countLines(out.lines(), "M34"), 0);
}

TEST_F(BendFixture, SingleBenderSwitchesSides) {
    p.BenderType = kBenderSingle;
    auto w = writer();
    w.EmitBend({100, -30, kBendCorner, 0}, 300); // left corner: arm bends +30
    w.EmitBend({150, 30, kBendCorner, 0}, 300);  // right corner: -30 from the far side
    w.EmitBend({170, 30, kBendCorner, 0}, 300);  // same side again: no switching
    EXPECT_EQ(
        out.lines(),
        (Lines{"Y0 F3000", "M18", "G04 P500", "X100.0000 F6000", "G05 Y30.0000 F00003000",
               "G05 Y0.0000 F00003000", "Y0 F3000", "M19", "G04 P500", "Y90.0000 F3000", "M18",
               "G04 P500", "X150.0000 F6000", "G05 Y-30.0000 F00003000", "G05 Y0.0000 F00003000",
               "X170.0000 F6000", "G05 Y-30.0000 F00003000", "G05 Y0.0000 F00003000"}));
}

TEST_F(BendFixture, LiftingBenderSwapsRodsWithGiveWay) {
    p.BenderType = kBenderLiftingDouble;
    p.LiftBenderAngle = 15;
    p.LiftGiveWayDistance = 20; // on, raised to the 30 mm minimum
    p.BenderInOutDelay = 0.5;   // rods report by input: the operator confirms
    auto w = writer();
    w.EmitBend({100, -30, kBendCorner, 0}, 300);
    w.EmitBend({200, 30, kBendCorner, 0}, 300);
    EXPECT_EQ(out.lines(),
              (Lines{"Y15.0000 F3000", "M18", "M00", "X100.0000 F6000", "G05 Y30.0000 F00003000",
                     "G05 Y0.0000 F00003000", "Y15.0000 F3000", "M19", "M00", "X230.0000 F6000",
                     "Y-15.0000 F3000", "M20", "M00", "X190.0000 F6000", "X200.0000 F6000",
                     "X200.0000 F6000", "G05 Y-30.0000 F00003000", "G05 Y0.0000 F00003000"}));
}

TEST_F(BendFixture, LiftingBenderWaitByDelayOrNothingInDebug) {
    p.BenderType = kBenderLiftingDouble;
    p.LiftBenderAngle = 15;
    p.BenderInOutDelay = 1500;
    writer().EmitBend({100, -30, kBendCorner, 0}, 300);
    EXPECT_EQ(out.lines().at(2), "G04 P1500");
    out.clear();
    p.BenderInOutDelay = 0.5;
    p.RunMode = 1;
    writer().EmitBend({100, -30, kBendCorner, 0}, 300);
    EXPECT_EQ(out.lines().at(2), "X100.0000 F6000");
}

TEST_F(BendFixture, BendingDisabledWritesNoArmMove) {
    options.bendingDisabled = true;
    auto w = writer();
    w.EmitBend({100, -30, kBendCorner, 0}, 300);
    EXPECT_TRUE(out.lines().empty());
    EXPECT_DOUBLE_EQ(w.lastBendAngle(), 0);
}

// Pressed arc runs with the arm back at 0 at their end: GoldenLetters.RingOTwoPieces;
// the approach 1.5 arc lengths early: GeneratorFixture.BentArcsFeedMoreOnTheLeftLessOnTheRight.
TEST_F(BendFixture, JoiningPausesOnTheWay) {
    p.JoinPauseTime = 2;
    joins.append(110);
    joins.append(125);
    queue.QueueBend(120, 45, kBendCorner, 0);
    queue.QueueBend(130, 45, kBendCorner, 0);
    EXPECT_EQ(feedThrough(100, 200),
              (Lines{"X110.0000 F6000", "G04 P2000 ;connect pause", "X120.0000 Y0.0000 F6000",
                     "X120.0000 F6000", "G05 Y-45.0000 F00003000", "G05 Y0.0000 F00003000",
                     "X125.0000 F6000", "G04 P2000 ;connect pause", "X130.0000 F6000",
                     "G05 Y-45.0000 F00003000", "G05 Y0.0000 F00003000"}));
}

// A rod change ends with the strip at the bend, with or without the
// give-way, in both directions.
TEST_F(BendFixture, LiftingRodChangeWithoutGiveWayEndsAtTheBend) {
    p.BenderType = kBenderLiftingDouble;
    p.LiftBenderAngle = 15;
    p.BenderInOutDelay = 1500;
    auto w = writer();
    w.EmitBend({100, -30, kBendCorner, 0}, 400);
    out.clear();
    w.EmitBend({200, 30, kBendCorner, 0}, 400);  // rod I out, rod II in
    w.EmitBend({300, -30, kBendCorner, 0}, 400); // and back
    EXPECT_EQ(out.lines(), (Lines{"Y15.0000 F3000",
                                  "M19",
                                  "G04 P1500",
                                  "Y-15.0000 F3000",
                                  "M20",
                                  "G04 P1500",
                                  "X200.0000 F6000",
                                  "X200.0000 F6000",
                                  "G05 Y-30.0000 F00003000",
                                  "G05 Y0.0000 F00003000",
                                  "Y-15.0000 F3000",
                                  "M21",
                                  "G04 P1500",
                                  "Y15.0000 F3000",
                                  "M18",
                                  "G04 P1500",
                                  "X300.0000 F6000",
                                  "X300.0000 F6000",
                                  "G05 Y30.0000 F00003000",
                                  "G05 Y0.0000 F00003000"}));
}

// The end of an arc run (a pressed arc 20 mm long ending at 140) feeds one
// arc length on whether or not an arm bends it.
TEST_F(BendFixture, ArcRunEndFeedsOnWithoutBending) {
    const std::tuple<const char*, int, bool, Lines> cases[] = {
        {"no bender", kBenderNone, false, {"X160.0000 F6000"}},
        {"bending disabled", kBenderDouble, true, {"X160.0000 Y0.0000 F6000"}}};
    for (const auto& [what, bender, disabled, expected] : cases) {
        SCOPED_TRACE(what);
        p.BenderType = bender;
        options.bendingDisabled = disabled;
        out.clear();
        queue.QueueBend(120, 100, -1, 0.2);
        queue.QueueBend(140, 100, -1, 0.2);
        EXPECT_EQ(feedThrough(100, 300), expected);
    }
}

} // namespace
} // namespace korvel::program
