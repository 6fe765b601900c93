// Start-up and shutdown of the machine, and the manual homing buttons with
// their interlocks.

#include "MachineRig.h"
#include "MachineTestSupport.h"
#include "common/TextFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace korvel::test {
namespace {

// A second machine started on the rig's folder and card, as after a
// restart of the program.
struct Restarted {
    machine::RecordingDialog dialog;
    RecordingLauncher launcher;
    machine::Machine m;
    explicit Restarted(MachineRig& rig, machine::TranParasHook hook = {})
        : m(rig.dir, *rig.card, dialog, launcher) {
        m.startUp({KORVEL_RESOURCES_DIR, std::move(hook)});
    }
};

// The restart also hands the geometry values over once more.
TEST(MachineStartup, RestartKeepsTheLanguageEmptiesTheFinishedPathsAndHandsOver) {
    MachineRig rig;
    rig.machine->tables().LanguageFlag = 1;
    rig.machine->form().Text7 = "250";
    common::WriteLines(rig.dir.file("YJG.dat"), {"SPLINE 0 2", "1 2 1 0 0 0"});
    rig.machine->shutDown();

    std::vector<double> fixed;
    Restarted again(
        rig, [&](double, double, double, std::int16_t, double, double f) { fixed.push_back(f); });
    EXPECT_TRUE(again.m.cardPresent());
    EXPECT_EQ(again.m.tables().LanguageFlag, 1);
    EXPECT_EQ(again.m.form().Text7, "250");
    EXPECT_EQ(std::filesystem::file_size(rig.dir.file("YJG.dat")), 0u);
    EXPECT_TRUE(again.dialog.entries().empty());
    ASSERT_FALSE(fixed.empty());
    EXPECT_DOUBLE_EQ(fixed.back(), 105.0);
}

TEST(MachineStartup, MissingCardIsReportedAndTheMachineRunsOn) {
    MachineRig rig;
    rig.card->setCardPresent(false);
    Restarted noCard(rig);
    EXPECT_FALSE(noCard.m.cardPresent());
    EXPECT_TRUE(noCard.dialog.saw("8940A1卡未正确安装"));
    EXPECT_EQ(noCard.m.timerIntervalMs(), 30);
}

TEST(MachineStartup, MotorInfeedCutsBothFacesToTheFrontDepth) {
    MachineRig rig;
    rig.params().InfeedControl = 1;
    rig.params().DownStrokeFront = 3.25;
    rig.params().DownStrokeBack = 7.0;
    rig.machine->store().SaveSysPara(0, true);
    EXPECT_DOUBLE_EQ(Restarted(rig).m.params().DownStrokeBack, 3.25);
}

// What start-up tells the card about each axis: counters, start velocity,
// travel limits; with the infeed's own limit switches the card must not
// stop the A axis on them (the executor reads them instead).
TEST(MachineStartup, CardIsSetUpPerAxisAndTheInfeedLimitsLeftToTheExecutor) {
    for (const std::int16_t infeedLimits : {0, 1}) {
        SCOPED_TRACE(infeedLimits);
        MachineRig rig;
        rig.params().InfeedLimitActive = infeedLimits;
        rig.machine->store().SaveSysPara(0, true);
        rig.card->setRecording(machine::RecordLevel::Commands);
        rig.card->clearRecording();
        Restarted again(rig);
        std::vector<std::string> expected;
        const std::pair<const char*, const char*> calls[] = {{"set_command_pos", "0"},
                                                             {"set_actual_pos", "1"},
                                                             {"set_startv", "1000"},
                                                             {"set_limit_mode", "1, 1, 0"}};
        for (const auto& [name, values] : calls) {
            for (int axis = 1; axis <= 4; ++axis) {
                expected.push_back(std::string(name) + "(0, " + std::to_string(axis) + ", " +
                                   values + ") = 0");
            }
        }
        if (infeedLimits == 1) {
            expected.emplace_back("set_limit_mode(0, 4, 0, 0, 0) = 0");
        }
        std::vector<std::string> setUp;
        for (const auto& [name, values] : calls) {
            for (const auto& call : recorded(*rig.card, name)) {
                setUp.push_back(call);
            }
        }
        EXPECT_EQ(setUp, expected);
        EXPECT_EQ(recorded(*rig.card, "set_acc").size(), 4u);
    }
}

TEST(ManualHoming, BendHomeRefusesWhileABenderRodIsOut) {
    MachineRig rig;
    rig.card->write_bit(0, 4, 1);
    rig.machine->Command_Z1();
    EXPECT_EQ(rig.shown(), "请先缩回弯弧杆！ / Please draw back Bending shaft!");
    EXPECT_EQ(rig.run().HomingAxisCode, 0);
    EXPECT_TRUE(rig.card->idle());
}

TEST(ManualHoming, BendHomeRunsToTheSwitchAndASecondClickCancels) {
    MachineRig rig;
    rig.machine->Command_Z1();
    EXPECT_EQ(rig.run().HomingAxisCode, 2);
    EXPECT_TRUE(rig.machine->MachineBusy());
    rig.clock->step();
    rig.machine->Command_Z1();
    EXPECT_EQ(rig.run().HomingAxisCode, 0);
    rig.clock->runFor(1000);
    EXPECT_TRUE(rig.card->idle());

    rig.machine->Command_Z1();
    ASSERT_TRUE(rig.clock->runUntil([&] { return rig.run().HomingAxisCode == 0; }, 1000));
    EXPECT_EQ(rig.card->get_command_pos(0, 2), 0);
    EXPECT_FALSE(rig.machine->MachineBusy());
}

TEST(ManualHoming, ButtonsDoNothingWhileAProgramRuns) {
    MachineRig rig;
    rig.load({"X500.0000 F12000"});
    rig.clock->step();
    rig.machine->Command_Z1();
    rig.machine->Command_Z2();
    rig.machine->Command_Z3();
    EXPECT_EQ(rig.run().HomingAxisCode, 0);

    // A program's own bend search is not cut short by the bend-home button:
    // the program would go on with an arm that was never zeroed.
    rig.executor().Command_Stop();
    rig.load({"Y-4.0000 F36000", "M38", "M30", "M10"});
    ASSERT_TRUE(rig.clock->runUntil([&] { return rig.run().HomingAxisCode == 2; }, 200));
    rig.machine->Command_Z1();
    EXPECT_EQ(rig.run().HomingAxisCode, 2);
    ASSERT_TRUE(rig.runToEnd(2000));
    EXPECT_EQ(rig.card->get_command_pos(0, 2), 0);
    EXPECT_EQ(rig.card->get_out(0, 0), 1);
}

TEST(ManualHoming, SwingHomeNeedsTheCutterBack) {
    MachineRig rig;
    rig.params().CutterUpDownControl = 0;
    rig.card->forceInput(17, 1); // the cutter-back switch does not answer
    rig.machine->Command_Z2();
    EXPECT_TRUE(rig.dialog.saw("切刀未在原位，请先回切刀！"));
    EXPECT_EQ(rig.run().HomingAxisCode, 0);

    rig.card->clearInput(17);
    rig.params().InfeedControl = 1;
    rig.card->forceInput(20, 0); // infeed standing on its home switch
    rig.machine->Command_Z2();
    ASSERT_TRUE(rig.dialog.saw("进刀压上零位开关，请手动退回！"));
    EXPECT_EQ(rig.dialog.entries().back().message.kind, common::MessageKind::Error);
    EXPECT_EQ(rig.run().HomingAxisCode, 0);
}

TEST(ManualHoming, CutterHomeWithMotorSearchesAndZeroesZ) {
    MachineRig rig;
    rig.params().CutterUpDownControl = 1;
    rig.load({"Z30.0000 F3000"});
    ASSERT_TRUE(rig.runToEnd(1000));
    rig.machine->Command_Z3();
    EXPECT_EQ(rig.run().HomingAxisCode, 10);
    ASSERT_TRUE(rig.clock->runUntil([&] { return rig.run().HomingAxisCode == 0; }, 3000));
    EXPECT_EQ(rig.card->get_command_pos(0, 3), 0);
    EXPECT_TRUE(rig.card->idle());
}

TEST(ManualHoming, PneumaticCutterHomeDrivesTheCutterBack) {
    MachineRig rig;
    rig.params().CutterUpDownControl = 0;
    rig.params().InPositionCheck = 0;
    rig.card->write_bit(0, 1, 1);
    rig.machine->Command_Z3();
    EXPECT_EQ(rig.card->get_out(0, 1), 0);
    EXPECT_EQ(rig.card->get_out(0, 2), 1);
    EXPECT_EQ(rig.run().ManualInPositionWait, 1);
    rig.clock->runFor(600);
    EXPECT_EQ(rig.card->get_out(0, 2), 0) << "the valve is off once the cutter is back";
    EXPECT_EQ(rig.run().ManualInPositionWait, 0);
    EXPECT_TRUE(rig.machine->homing().cutterHomed());
}

} // namespace
} // namespace korvel::test
