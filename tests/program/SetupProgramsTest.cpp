// The programs the settings windows start: the slotting tests and the
// automatic tool setting, run on the simulated machine to their end.

#include "common/Basic.h"
#include "common/TextFile.h"
#include "machine/MachineRig.h"
#include "machine/ParameterStore.h"
#include "program/TestPrograms.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace korvel::test {
namespace {

using program::SlotTest;

struct SetupRig : MachineRig {
    program::TestPrograms programs{
        dir, machine->params(), machine->tables(), machine->run(), *card, false};
    common::Lines program() { return common::ReadLines(dir.file("G5.dat")); }
    bool has(const std::string& line) {
        const auto lines = program();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    bool finishedWith(const std::string& notice) {
        return runToEnd(40000) && dialog.saw(notice) &&
               std::none_of(dialog.entries().begin(), dialog.entries().end(), [](const auto& e) {
                   return e.message.kind == common::MessageKind::Error;
               });
    }
    std::string speedA() { return " F" + common::FormatNumber(params().AutoSpeedA, "0"); }
};

// Each slotting button on a swinging cutter and on a motor infeed: the slot
// runs to its end as a slotting run, the clamp opens and the cutter and the
// swing or infeed axis are back at zero.
TEST(SlotTestPrograms, EverySlotRunsToItsEndAndLeavesTheCutterBack) {
    const SlotTest kinds[] = {SlotTest::Front, SlotTest::End, SlotTest::Start, SlotTest::Back};
    for (const bool motorInfeed : {false, true}) {
        for (const SlotTest kind : kinds) {
            SCOPED_TRACE(std::to_string(motorInfeed) + " " +
                         std::to_string(static_cast<int>(kind)));
            SetupRig rig;
            auto& p = rig.params();
            p.InfeedControl = motorInfeed ? 1 : 0;
            p.CutterUpDownControl = motorInfeed ? 1 : 0;
            p.SlotActionOrder = motorInfeed ? "DFBU" : "PDUNDU";
            p.InfeedDistanceLimit = 2;
            p.HomeOffsetA = 5; // the infeed waits 5 mm in front of its switch
            p.CutOffStroke = 1.5;
            p.CycleCount = 2;
            ASSERT_TRUE(rig.programs.SlotTestProgram(kind).empty());
            EXPECT_NE(rig.run().SlotRunActive, 0);
            const auto lines = rig.program();
            EXPECT_EQ(lines.back(), "M30");
            // Only the end slot of a motor infeed cuts the strip off.
            const bool cutOff = std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
                return l.ends_with(" ;切断");
            });
            EXPECT_EQ(cutOff, motorInfeed && kind == SlotTest::End);
            if (!motorInfeed && kind == SlotTest::Start) {
                // A right-angle joint with a 45-degree blade swings 22.5 degrees.
                EXPECT_TRUE(rig.has("A22.5000" + rig.speedA()));
            }
            ASSERT_TRUE(rig.finishedWith("开槽完成！"))
                << rig.shown() << " line " << rig.run().CurrentLine << "/" << rig.run().LineCount;
            EXPECT_EQ(rig.card->get_out(0, 3), 0) << "the clamp is open";
            EXPECT_EQ(rig.card->get_command_pos(0, 4), 0) << "swing or infeed at zero";
            if (motorInfeed) {
                EXPECT_EQ(rig.card->get_command_pos(0, 3), 0) << "the cutter is up";
            }
        }
    }
}

TEST(SlotTestPrograms, DeepStrokesAndACutterOutAreRefusedBeforeAnythingIsWritten) {
    SetupRig rig;
    common::WriteLines(rig.dir.file("G5.dat"), {"M10"});
    auto& p = rig.params();
    p.InfeedControl = 1;
    p.CutterUpDownControl = 1;
    p.InfeedDistanceLimit = 1;
    p.CycleCount = 3;
    p.CutStroke = {0.5, 0.5, 1.2, 0, 0, 0};
    auto m = rig.programs.SlotTestProgram(SlotTest::Front);
    EXPECT_EQ(m.zh, "切深设置大于材料厚度，请重新设置后加工！");
    EXPECT_EQ(m.en, "Cut deapth is over meterial thickness, Please Reset！");
    EXPECT_EQ(m.title(common::Language::Chinese), "操作提示");

    // A pass that is not cut does not count.
    p.CycleCount = 2;
    p.InfeedControl = 0;
    p.CutterUpDownControl = 0;
    rig.card->forceInput(17, 1); // the pneumatic cutter is not back
    m = rig.programs.SlotTestProgram(SlotTest::End);
    EXPECT_EQ(m.zh, "切刀未在原位，请先回切刀！");
    EXPECT_EQ(m.en, "Cutter is not at zero position!");
    EXPECT_EQ(rig.program(), common::Lines{"M10"});
    EXPECT_FALSE(rig.run().anyRunActive());
}

// The infeed searches the strip until the tool-setting switch stops it; the
// executor moves the infeed's home offset by what lay beyond the safe
// distance and saves it; infeed and cutter end at zero.
TEST(ToolSettingProgram, SearchesTheStripStoresTheOffsetAndReturns) {
    SetupRig rig;
    auto& p = rig.params();
    p.InfeedControl = 1;
    p.CutterUpDownControl = 1;
    p.AutoToolSetSpeed = 600;
    p.InfeedSafeDistance = 2;
    p.ZToolSetPosition = 12;
    p.HomeOffsetA = 5;
    const double offsetBefore = p.HomeOffsetA;
    ASSERT_TRUE(rig.programs.ToolSettingProgram().empty());
    EXPECT_TRUE(rig.has("G01 Z12.0000 F" + common::FormatNumber(p.AutoSpeedZ, "0")));
    ASSERT_TRUE(rig.finishedWith("动作完成！")) << rig.shown();
    // The switch sits 20 (machine units) beyond A's home.
    EXPECT_GT(p.HomeOffsetA, offsetBefore + 10);
    EXPECT_EQ(rig.card->get_command_pos(0, 4), 0);
    EXPECT_EQ(rig.card->get_command_pos(0, 3), 0);
    machine::ParameterSet saved;
    machine::ParameterTables tables;
    machine::ParameterStore(rig.dir, saved, tables).LoadAtStartup();
    EXPECT_DOUBLE_EQ(saved.HomeOffsetA, p.HomeOffsetA);
}

TEST(ToolSettingProgram, RefusedWithTheSwitchActiveOrNoSearchSpeed) {
    SetupRig rig;
    rig.params().AutoToolSetSpeed = 0;
    EXPECT_NE(rig.programs.ToolSettingProgram().en.find("not supported"), std::string::npos);
    rig.params().AutoToolSetSpeed = 600;
    rig.card->forceInput(21, 0);
    const auto m = rig.programs.ToolSettingProgram();
    EXPECT_EQ(m.zh, "自动对刀开关有信号，请检后再对刀！");
    EXPECT_EQ(m.en, "Set Tool Signal On, Please Check!");
    EXPECT_FALSE(rig.run().anyRunActive());
}

} // namespace
} // namespace korvel::test
