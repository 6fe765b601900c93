// The strip length a loaded job still has to feed, planned from the
// program and followed live from the card.

#include "machine/FeedProgress.h"

#include "machine/ParameterSet.h"
#include "machine/RunState.h"

#include <gtest/gtest.h>

namespace korvel::test {
namespace {

machine::ParameterSet feedParams(int feedType) {
    machine::ParameterSet p;
    p.PulseEquivX = 200;
    p.AutoSpeedX = 12000;
    p.FeedType = static_cast<std::int16_t>(feedType);
    p.GripperStroke = 100;
    return p;
}

// Double stroke: the first stroke carries 0 -> 100, the carriage then
// feeds 30 mm more on its way back to 70; a second stroke back to 0 and a
// forward remainder of 20 end at 220 mm.
TEST(FeedProgress, DoubleStrokeCarriesTheStripBothWays) {
    const auto p = feedParams(2);
    machine::RunState run;
    run.loadLines({"G92 X0", "X100 F12000", "M24", "X70.0000 F12000", "M34", "X0 F12000", "M22",
                   "X20.0000 F12000"},
                  machine::RunKind::Job);
    machine::FeedProgress feed;
    feed.plan(run, p, 0);
    EXPECT_DOUBLE_EQ(feed.total(), 220.0);
    EXPECT_DOUBLE_EQ(feed.fed(70 * 200, 1.0), 130.0);
    EXPECT_DOUBLE_EQ(feed.remaining(20 * 200, 2.0), 0.0);
    EXPECT_DOUBLE_EQ(machine::FeedProgress::carriageDirection(p, 1.0), -1.0);
    EXPECT_DOUBLE_EQ(machine::FeedProgress::carriageDirection(p, 2.0), 1.0);
    EXPECT_DOUBLE_EQ(machine::FeedProgress::carriageDirection(feedParams(1), 1.0), 1.0);
    EXPECT_TRUE(machine::FeedProgress::isStrokeLine("X0 F12000", feedParams(1)));
    EXPECT_FALSE(machine::FeedProgress::isStrokeLine("X100.0000 F12000", feedParams(1)));
    EXPECT_TRUE(machine::FeedProgress::isStrokeLine("X0 F12000", p));
    EXPECT_TRUE(machine::FeedProgress::isStrokeLine("X100 F12000", p));
    EXPECT_FALSE(machine::FeedProgress::isStrokeLine("X100.0000 F12000", p));
    EXPECT_FALSE(machine::FeedProgress::isStrokeLine("X0 F6000", p));
}

TEST(FeedProgress, LineAfterAHomingCodeIsNotCounted) {
    const auto p = feedParams(0);
    machine::RunState run;
    run.loadLines({"M38", "X500 F12000", "X20 F12000"}, machine::RunKind::Job);
    machine::FeedProgress feed;
    feed.plan(run, p, 0);
    EXPECT_DOUBLE_EQ(feed.total(), 20.0);
}

} // namespace
} // namespace korvel::test
