// The motor window's axis buttons on the simulated machine: held jogs that
// stop on release, steps of a typed length, homing with its interlock, and
// nothing at all while the machine is busy.

#include "app/AxisJogs.h"

#include "app/SetupStop.h"
#include "machine/MachineRig.h"

#include <gtest/gtest.h>

namespace korvel::test {
namespace {

bool axisMoving(MachineRig& rig, int axis) {
    return rig.card->get_status(0, axis) != 0;
}

bool settle(MachineRig& rig) {
    return rig.clock->runUntil([&] { return machine::Axis_Status(*rig.card) == 0; }, 5000);
}

TEST(AxisJogs, HeldJogRunsUntilItsReleaseAndTheFeedAxisLetsTheClampGo) {
    MachineRig rig;
    app::AxisJogs jogs(*rig.machine);
    rig.card->write_bit(0, 3, 1);
    rig.card->write_bit(0, 11, 1);
    jogs.pressed(1, -1);
    for (int i = 0; i < 20; ++i) {
        rig.clock->step();
    }
    EXPECT_TRUE(axisMoving(rig, 1));
    EXPECT_LT(rig.x(), 0.0) << "反转 retracts";
    EXPECT_EQ(rig.card->get_out(0, 3) + rig.card->get_out(0, 11), 0);
    jogs.released(2); // another button's release stops nothing
    EXPECT_TRUE(axisMoving(rig, 1));
    jogs.released(1);
    ASSERT_TRUE(settle(rig));
    EXPECT_EQ(jogs.heldAxis(), 0);
}

TEST(AxisJogs, StepsMoveTheTypedLengthAndNothingElse) {
    MachineRig rig;
    app::AxisJogs jogs(*rig.machine);
    jogs.step(2, "12.5");
    ASSERT_TRUE(settle(rig));
    EXPECT_NEAR(rig.y(), 12.5, 1e-9);
    for (const char* nothing : {"0", "abc", ""}) {
        jogs.step(2, nothing);
        EXPECT_FALSE(axisMoving(rig, 2)) << nothing;
    }
    EXPECT_NEAR(rig.y(), 12.5, 1e-9);
}

TEST(AxisJogs, NothingStartsWhileAProgramRunsAndTheStopEndsIt) {
    MachineRig rig;
    app::AxisJogs jogs(*rig.machine);
    rig.load({"G04 P5000", "M30"});
    rig.clock->step();
    jogs.pressed(3, 1);
    jogs.step(4, "5");
    jogs.home(2);
    EXPECT_EQ(machine::Axis_Status(*rig.card), 0);
    EXPECT_EQ(rig.run().HomingAxisCode, 0);
    EXPECT_EQ(jogs.heldAxis(), 0);
    app::StopSetupMotion(*rig.machine);
    EXPECT_FALSE(rig.run().anyRunActive());
}

TEST(AxisJogs, HomingFollowsTheControlTabAndASecondClickCancels) {
    MachineRig rig;
    app::AxisJogs jogs(*rig.machine);
    rig.card->write_bit(0, 4, 1); // bender I out
    jogs.home(2);
    EXPECT_EQ(rig.run().HomingAxisCode, 0);
    EXPECT_NE(rig.shown().find("请先缩回弯弧杆！"), std::string::npos);
    rig.card->write_bit(0, 4, 0);
    jogs.home(2);
    EXPECT_EQ(rig.run().HomingAxisCode, 2);
    rig.clock->step();
    jogs.home(2);
    EXPECT_EQ(rig.run().HomingAxisCode, 0);
    ASSERT_TRUE(settle(rig));
}

} // namespace
} // namespace korvel::test
