// The rules of the equipment and process windows: the enabling matrix, the
// action-order combo boxes, the operator levels, the down-stroke check and
// the slot-depth scroll bars.

#include "app/EquipmentRules.h"
#include "app/ProcessRules.h"
#include "app/SetupCopy.h"
#include "machine/DefaultInstall.h"
#include "machine/GroupFile.h"
#include "machine/ParameterStore.h"
#include "machine/ParameterTable.h"
#include "support/TempDir.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <string_view>

namespace korvel::app {
namespace {

struct Config {
    std::int16_t upDown, inPosition, infeed, toolSetSpeed, feed, bender, passes;
};

TEST(LogicLimit, EnablingFollowsTheMachineConfiguration) {
    using B = SlotButton5;
    struct Row {
        Config c;
        B button5;
        // One digit each: in-position options, in-position delay, down-stroke
        // row, swing controls and slot side, pass strokes and infeed homing |
        // button 5 enabled | gripper stroke, gripper 1, gripper 2 | bender
        // geometry and bend tests, rod II | stroke rows 1..3.
        std::string_view enabled;
    };
    const Row rows[] = {
        // IO cutter waiting for its input, swinging cutter, roller feed, no bender.
        {{0, 0, 0, 0, 0, 0, 1}, B::BackSlot, "10010|1|000|00|100"},
        // IO cutter waiting a delay, single gripper, single bender, two passes.
        {{0, 1, 0, 0, 1, 1, 2}, B::BackSlot, "11010|1|110|10|110"},
        // Z motor, motor infeed that can set its tool, double gripper, double bender.
        {{1, 1, 1, 600, 2, 2, 3}, B::AutoToolSet, "00101|1|111|11|111"},
        // Motor infeed with a pneumatic cutter: no tool setting.
        {{0, 0, 1, 600, 0, 3, 6}, B::AutoToolSet, "10001|0|000|11|111"},
        // Motor infeed and Z motor, but no tool-setting speed.
        {{1, 0, 1, 0, 0, 1, 0}, B::AutoToolSet, "00101|0|000|10|000"},
    };
    for (const auto& [c, button5, enabled] : rows) {
        machine::ParameterSet v = machine::FactoryParameterSet();
        v.CutterUpDownControl = c.upDown;
        v.InPositionCheck = c.inPosition;
        v.InfeedControl = c.infeed;
        v.AutoToolSetSpeed = c.toolSetSpeed;
        v.FeedType = c.feed;
        v.BenderType = c.bender;
        v.CycleCount = c.passes;
        const EquipmentEnabling e = LogicLimit(v);
        std::string got;
        for (const bool b : {e.inPositionOptions, e.inPositionDelay, e.downStrokeRow,
                             e.swingControls, e.passStrokes}) {
            got += b ? '1' : '0';
        }
        got += e.slotButton5Enabled ? "|1|" : "|0|";
        for (const bool b : {e.gripperStroke, e.gripper1, e.gripper2}) {
            got += b ? '1' : '0';
        }
        got += std::string("|") + (e.benderGeometry ? '1' : '0') + (e.benderRod2 ? '1' : '0') + '|';
        for (const bool b : e.strokeRowShown) {
            got += b ? '1' : '0';
        }
        SCOPED_TRACE(::testing::Message()
                     << c.upDown << c.inPosition << c.infeed << c.feed << c.bender << c.passes);
        EXPECT_EQ(got, enabled);
        // Controls that go together.
        EXPECT_EQ(e.slotSideOptions, e.swingControls);
        EXPECT_EQ(e.homeInfeedFirst, e.passStrokes);
        EXPECT_EQ(e.bendTests, e.benderGeometry);
        EXPECT_EQ(e.slotButton5, button5);
        EXPECT_EQ(e.cutterHome, c.upDown == 1);
    }
}

TEST(SlotActionCombos, AComboReplacesOnlyItsOwnLetter) {
    // "D-下刀" in the second box of the factory order: only letter 2 changes,
    // letters 5 and 6 beyond the four boxes stay.
    const int down = SlotActionEntry("D", 0);
    ASSERT_EQ(SlotActionEntries(0)[static_cast<size_t>(down)], "D-下刀");
    EXPECT_EQ(SlotActionEntries(1)[static_cast<size_t>(down)], "Down");
    EXPECT_EQ(ChooseSlotAction("PUUNDU", 1, down), "PDUNDU");
    EXPECT_EQ(ChooseSlotAction("UDPN", 3, SlotActionEntry("F", 0)), "UDPF");
    // A short order is completed from the factory order up to the box.
    EXPECT_EQ(ChooseSlotAction("U", 2, SlotActionEntry("B", 0)), "UDB");
    EXPECT_EQ(SlotActionEntry("PDU", 3), -1);
    EXPECT_EQ(SlotActionEntry("PDxU", 2), -1);
    EXPECT_EQ(SlotActionEntry("PDUNDU", 3), 3);
    EXPECT_THROW(ChooseSlotAction("UDPN", 4, 0), std::out_of_range);
    EXPECT_THROW(ChooseSlotAction("UDPN", 0, 6), std::out_of_range);
}

TEST(OperatorLevels, MachineUsersReadOnlyAndOnlySystemMakersDiscretise) {
    EXPECT_EQ(EquipmentAccessFor(0), (EquipmentAccess{false, false, false}));
    EXPECT_EQ(EquipmentAccessFor(1), (EquipmentAccess{true, true, true}));
    EXPECT_EQ(EquipmentAccessFor(2), (EquipmentAccess{true, true, true}));
    EXPECT_EQ(MakerProcessAccessFor(0), (MakerProcessAccess{false, false}));
    EXPECT_EQ(MakerProcessAccessFor(1), (MakerProcessAccess{true, false}));
    EXPECT_EQ(MakerProcessAccessFor(2), (MakerProcessAccess{true, true}));
    // The discretisation frame holds exactly the four geometry values.
    std::vector<std::string_view> inFrame;
    for (const auto& box : MakerProcessBoxes()) {
        if (InDiscretisationFrame(box.index)) {
            inFrame.push_back(box.field);
        }
    }
    EXPECT_EQ(inFrame, (std::vector<std::string_view>{"ChordErrorTol", "LineStepLength",
                                                      "JoinAngleThreshold", "DensifyPointCount"}));
}

TEST(DownStrokeCheck, LockedTotalDepthKeepsTheStrokeWithinTheTravel) {
    machine::ParameterSet saved = machine::FactoryParameterSet();
    saved.InfeedControl = 1;
    saved.HomeOffsetZ = 3;
    saved.DownStrokeFront = 5; // total travel 8
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<double, bool> entries[] = {
        {7.99, true}, {-0.1, true}, {8, false}, {-0.11, false}, {nan, false}};
    for (const auto& [entered, ok] : entries) {
        const StrokeCheck r = CheckDownStroke(saved, entered, true);
        EXPECT_EQ(r.accepted, ok) << entered;
        EXPECT_EQ(r.message.empty(), ok);
        if (!ok) {
            EXPECT_EQ(r.value, 5);
            EXPECT_EQ(r.message.zh, "参数设置超过总行程或为负，请重新设置");
        }
    }
    EXPECT_TRUE(CheckDownStroke(saved, 20, false).accepted) << "not locked";
    saved.InfeedControl = 0;
    EXPECT_TRUE(CheckDownStroke(saved, 20, true).accepted) << "no infeed axis";
}

TEST(SlotDepthScroll, CoarseBarStepsInTensFineBarIsExact) {
    EXPECT_EQ(CoarseSlotDepth(57), 50);
    EXPECT_EQ(CoarseSlotDepth(100), 100);
    EXPECT_EQ(CoarseSlotDepth(3), 10) << "never a depth of 0";
    EXPECT_EQ(FineSlotDepth(57), 57);
    EXPECT_EQ(FineSlotDepth(0), 1);
    EXPECT_EQ(SlotDepthLabel(95, 0), "开槽深度：95%");
    EXPECT_EQ(SlotDepthLabel(95, 1), "Slott Depth：95%");
}

// Both process windows through the private copy on an installed folder.
TEST(ProcessWindows, SavedValuesReachTheGroupFile) {
    test::TempDir dir;
    const common::AppDir appDir(dir.path());
    machine::InstallDefaults(appDir, KORVEL_RESOURCES_DIR);
    machine::ParameterSet params;
    machine::ParameterTables tables;
    machine::ParameterStore store(appDir, params, tables);
    store.LoadAtStartup();

    // "调试模式" lives for the session; the file always restarts machining.
    SetupCopy maker(store, params, tables, MakerProcessFields());
    maker.setValue("RunMode", 1);
    maker.setText("TapBendRadiusThreshold", "42");
    ASSERT_EQ(maker.save().kind, common::MessageKind::Notice);
    EXPECT_EQ(params.RunMode, 1);

    // The operator's window saves its own new lines and none of the maker's.
    SetupCopy user(store, params, tables, UserProcessFields());
    EXPECT_THROW(user.setText("TapBendRadiusThreshold", "1"), std::invalid_argument);
    user.setText("ExtraSlotActive", "1");
    user.setText("ExtraSlotSpacing", "12.5");
    user.setText("InfeedToolSetPosition", "-3.25");
    ASSERT_EQ(user.save().kind, common::MessageKind::Notice);

    machine::ParameterSet reread;
    machine::ReadGroupFile(appDir.sysPara("SYS_0.ini"), reread);
    EXPECT_EQ(reread.RunMode, 0);
    EXPECT_EQ(reread.TapBendRadiusThreshold, 42);
    EXPECT_EQ(reread.ExtraSlotActive, 1);
    EXPECT_EQ(reread.ExtraSlotSpacing, 12.5);
    EXPECT_EQ(reread.InfeedToolSetPosition, -3.25);
}

} // namespace
} // namespace korvel::app
