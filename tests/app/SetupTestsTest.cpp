// The test buttons of the settings windows on the simulated machine: the
// cutter by valves and by motor, the busy guard and the shared stop.

#include "app/SetupTests.h"

#include "app/SimulatedSession.h"
#include "machine/MachineRig.h"

#include <gtest/gtest.h>

namespace korvel::app {
namespace {

struct TestsRig : test::MachineRig {
    SetupTests tests{*machine};
    machine::ParameterSet values = machine->params();
    bool settle() {
        return clock->runUntil([this] { return machine->interpreter().Axis_Status() == 0; }, 20000);
    }
    double z() { return card->get_command_pos(0, 3) / values.PulseEquivZ; }
};

TEST(SetupTests, CutterGoesOutAndBackByValvesOrByItsMotor) {
    TestsRig rig;
    rig.values.CutterUpDownControl = 0;
    rig.tests.cutterOut(rig.values);
    EXPECT_EQ(rig.card->get_out(0, 1), 1);
    EXPECT_EQ(rig.card->get_out(0, 2), 0);
    rig.tests.cutterBack(rig.values);
    EXPECT_EQ(rig.card->get_out(0, 1), 0);
    EXPECT_EQ(rig.card->get_out(0, 2), 1);

    // The edited stroke, not the saved one, is what the motor drives to.
    rig.values.CutterUpDownControl = 1;
    rig.values.DownStrokeFront = 7.5;
    rig.tests.cutterOut(rig.values);
    ASSERT_TRUE(rig.settle());
    EXPECT_NEAR(rig.z(), 7.5, 1e-9);
    rig.tests.cutterBack(rig.values);
    ASSERT_TRUE(rig.settle());
    EXPECT_NEAR(rig.z(), 0.0, 1e-9);
}

TEST(SetupTests, BusyMachineIgnoresTheButtonsAndStopEndsEverything) {
    TestsRig rig;
    rig.tests.bendPressed(rig.values, 1, false, 0);
    rig.clock->step();
    // While the arm runs, nothing else starts.
    rig.tests.toggleClamp();
    EXPECT_EQ(rig.card->get_out(0, 3), 0);
    rig.tests.feedPressed(rig.values, 1, true, 50);
    EXPECT_EQ(rig.card->get_status(0, 1), 0);

    rig.card->write_bit(0, 0, 1);
    rig.load({"G04 P100000"});
    rig.tests.stop();
    ASSERT_TRUE(rig.settle());
    EXPECT_FALSE(rig.run().anyRunActive());
    EXPECT_EQ(rig.card->get_out(0, 0), 0) << "the spindle is off";
    const std::int32_t at = rig.card->get_command_pos(0, 2);
    rig.clock->step();
    EXPECT_EQ(rig.card->get_command_pos(0, 2), at) << "the arm stands";

    // Idle again: a single feed step runs to its length.
    rig.tests.feedPressed(rig.values, 1, true, 50);
    ASSERT_TRUE(rig.settle());
    EXPECT_NEAR(rig.x(), 50.0, 1e-9);
    rig.tests.toggleClamp();
    EXPECT_EQ(rig.card->get_out(0, 3), 1);
    EXPECT_EQ(rig.card->get_out(0, 11), 1);
}

// The tool-setting button on the machine starts the same program as the
// windows' "自动对刀" and moves the infeed's home offset.
TEST(SetupTests, MachineToolSettingButtonRunsTheToolSetting) {
    test::TempDir tmp;
    machine::RecordingDialog dialog;
    SimulatedSession session(common::AppDir(tmp.path()), KORVEL_RESOURCES_DIR, dialog);
    auto& p = session.machine().params();
    p.InfeedControl = 1;
    p.CutterUpDownControl = 1;
    p.AutoToolSetSpeed = 600;
    p.HomeOffsetA = 5;
    const double before = p.HomeOffsetA;
    session.clock().step(); // the executor sees the button up first
    session.card().setButton(15, true);
    session.clock().step();
    session.card().setButton(15, false);
    ASSERT_TRUE(session.runToEnd(40000));
    EXPECT_TRUE(dialog.saw("动作完成！"));
    EXPECT_GT(p.HomeOffsetA, before);
}

} // namespace
} // namespace korvel::app
