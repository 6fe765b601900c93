// The private copy of the settings windows: edits stay in the copy until
// "保存", a refused value writes nothing and names its field, and a save
// writes only the fields the window owns.

#include "app/SetupCopy.h"

#include "common/TextFile.h"
#include "machine/DefaultInstall.h"
#include "machine/GroupFile.h"
#include "machine/ParameterStore.h"
#include "support/TempDir.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace korvel::app {
namespace {

namespace fs = std::filesystem;

// A folder installed from the shipped resources and loaded as at start-up,
// on parameter group 3.
class SetupFolder : public ::testing::Test {
protected:
    void SetUp() override {
        machine::InstallDefaults(appDir, KORVEL_RESOURCES_DIR);
        store.LoadAtStartup();
        store.SwitchGroups(3, 0);
        fileBefore = groupFile();
        paramsBefore = params;
    }
    std::string groupFile() const { return common::ReadBytes(appDir.sysPara("SYS_3.ini")); }
    void expectNothingChanged() const {
        EXPECT_EQ(params, paramsBefore);
        EXPECT_EQ(groupFile(), fileBefore);
    }

    test::TempDir dir;
    common::AppDir appDir{dir.path()};
    machine::ParameterSet params;
    machine::ParameterTables tables;
    machine::ParameterStore store{appDir, params, tables};
    std::string fileBefore;
    machine::ParameterSet paramsBefore;
};

TEST_F(SetupFolder, EditsStayInTheCopyUntilSavedAndReachTheGroupFile) {
    SetupCopy copy(store, params, tables, {"PulseEquivX", "CycleCount", "CutStroke(1)"});
    copy.setText("PulseEquivX", "123.5");
    copy.setText("CycleCount", "2.6"); // integers are rounded
    copy.setText("CutStroke(1)", "0.7mm");
    EXPECT_TRUE(copy.edited());
    EXPECT_EQ(copy.values().CycleCount, 3);
    expectNothingChanged();

    // "返回": the edits go, the set and the file stay.
    copy.reload();
    EXPECT_FALSE(copy.edited());
    EXPECT_EQ(copy.values(), params);
    expectNothingChanged();

    copy.setText("PulseEquivX", "123.5");
    copy.setText("CutStroke(1)", "0.7");
    const common::Message saved = copy.save();
    EXPECT_EQ(saved.zh, "参数保存成功！");
    EXPECT_EQ(params.PulseEquivX, 123.5);
    EXPECT_EQ(params.CutStroke[1], 0.7);
    machine::ParameterSet reread = paramsBefore;
    machine::ReadGroupFile(appDir.sysPara("SYS_3.ini"), reread);
    EXPECT_EQ(reread.PulseEquivX, 123.5);
    EXPECT_EQ(reread.CutStroke[1], 0.7);
    EXPECT_FALSE(copy.edited());
}

TEST_F(SetupFolder, SaveWritesOnlyTheFieldsTheWindowOwns) {
    SetupCopy copy(store, params, tables, {"BladeAngle"});
    // A calibration changes the set while the window is open.
    params.PulseEquivX = 321;
    copy.setText("BladeAngle", "60");
    ASSERT_EQ(copy.save().kind, common::MessageKind::Notice);
    EXPECT_EQ(params.PulseEquivX, 321);
    EXPECT_EQ(params.BladeAngle, 60);
    EXPECT_THROW(copy.setText("PulseEquivX", "1"), std::invalid_argument);
}

TEST_F(SetupFolder, RefusedValuesNameTheirFieldAndWriteNothing) {
    struct Case {
        const char* field;
        double value;
        const char* named; // the field name the English message must carry
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"PulseEquivX", 0, "PulseEquivX"},               // divides by zero
        {"ManualSpeedY", 0, "ManualSpeedY"},             // a move that never ends
        {"HomeSpeedZ", 0, "HomeSpeedZ"},                 // a search with no direction
        {"AutoSpeedX", -5, "AutoSpeedX"},                //
        {"CycleCount", 7, "CycleCount"},                 // more passes than strokes
        {"DensifyPointCount", 1e6, "DensifyPointCount"}, // beyond 16 bits
        {"PulseEquivZ", nan, "PulseEquivZ"},
        {"BladeAngle", std::numeric_limits<double>::infinity(), "BladeAngle"},
    };
    for (const auto& c : cases) {
        SetupCopy copy(store, params, tables, {});
        copy.setText("StartSegmentComp", "abc"); // non-numeric is 0, and fine here
        copy.setValue(c.field, c.value);
        const common::Message m = copy.save();
        EXPECT_EQ(m.kind, common::MessageKind::Error) << c.field;
        EXPECT_NE(m.en.find(c.named), std::string::npos) << m.en;
        EXPECT_NE(m.zh.find("参数未保存"), std::string::npos) << m.zh;
        expectNothingChanged();
    }
}

TEST_F(SetupFolder, ValuesThatCannotWorkTogetherAreRefused) {
    struct Case {
        std::vector<std::pair<const char*, double>> edits;
        const char* named;
    };
    const Case cases[] = {
        {{{"FeedType", 1}, {"GripperStroke", 0}}, "GripperStroke"},
        {{{"EncoderPort", 2}, {"EncoderPulseEquiv", 0}}, "EncoderPulseEquiv"},
        {{{"ExtraSlotActive", 1}, {"ExtraSlotSpacing", 0}}, "ExtraSlotSpacing"},
        // A motor infeed whose second pass cuts deeper than the strip.
        {{{"InfeedControl", 1},
          {"InfeedDistanceLimit", 1},
          {"CycleCount", 2},
          {"CutStroke(1)", 1.5}},
         "CutStroke[1]"},
        {{{"InfeedControl", 1}, {"InfeedDistanceLimit", 0.7}, {"CutOffStroke", 0.8}},
         "CutOffStroke"},
    };
    for (const auto& c : cases) {
        SetupCopy copy(store, params, tables, {});
        for (const auto& [field, value] : c.edits) {
            copy.setValue(field, value);
        }
        const common::Message m = copy.save();
        EXPECT_NE(m.en.find(c.named), std::string::npos) << m.en;
        expectNothingChanged();
    }
    // Without the infeed motor the third pass may go deeper: it is not used.
    SetupCopy copy(store, params, tables, {});
    copy.setValue("InfeedControl", 1);
    copy.setValue("InfeedDistanceLimit", 1);
    copy.setValue("CycleCount", 2);
    copy.setValue("CutStroke(2)", 3);
    copy.setValue("CutOffStroke", 1);
    EXPECT_TRUE(copy.check().empty()) << copy.check().en;
}

TEST_F(SetupFolder, FailedWriteLeavesTheParameterSetAsTheFileHasIt) {
    fs::create_directories(appDir.sysPara("SYS_3.ini.tmp") / "x");
    SetupCopy copy(store, params, tables, {"PulseEquivX"});
    copy.setValue("PulseEquivX", 150);
    EXPECT_EQ(copy.save().kind, common::MessageKind::Error);
    expectNothingChanged();
    EXPECT_TRUE(copy.edited()); // the edit waits for another try
}

} // namespace
} // namespace korvel::app
