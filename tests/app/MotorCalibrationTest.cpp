// The rules of the motor and calibration windows without a window: the
// private copy of the axis values, the operator levels, the pulse
// equivalent calibration and the force-factor steps of the arc page.

#include "app/CalibrationRules.h"
#include "app/MotorCaptions.h"
#include "app/MotorSettings.h"
#include "app/PulseCalibration.h"
#include "app/SetupCopy.h"
#include "common/TextFile.h"
#include "machine/MachineRig.h"
#include "machine/ParameterStore.h"

#include <gtest/gtest.h>

namespace korvel::test {
namespace {

using app::CalibrationMode;

machine::ParameterSet reloadedGroup(const common::AppDir& dir) {
    machine::ParameterSet params;
    machine::ParameterTables tables;
    machine::ParameterStore(dir, params, tables).LoadAtStartup();
    return params;
}

// The window's text boxes reach the fields of their axis: a refused value
// names its own field and stores nothing, an accepted one lands there.
TEST(MotorSettings, AxisBoxesEditTheirOwnFields) {
    MachineRig rig;
    const std::array<const char*, 4> axes{"X", "Y", "Z", "A"};
    for (int a = 0; a < app::kMotorAxisCount; ++a) {
        EXPECT_EQ(app::AxisField(a, 0), std::string("PulseEquiv") + axes[a]);
        EXPECT_EQ(app::AxisField(a, 6), std::string("AutoSpeed") + axes[a]);
    }
    app::SetupCopy copy(*rig.machine, app::MotorWindowFields());
    const machine::ParameterSet before = rig.params();
    copy.setText(app::AxisField(1, 0), "0");
    copy.setText(app::AxisField(2, 3), "7.5");
    EXPECT_NE(copy.save().en.find("PulseEquivY"), std::string::npos);
    EXPECT_EQ(rig.params(), before);
    copy.setText(app::AxisField(1, 0), "150");
    copy.setText(app::AxisField(3, 1), "-800"); // A homes the other way
    EXPECT_EQ(copy.save().zh, "参数保存成功！");
    EXPECT_DOUBLE_EQ(reloadedGroup(rig.dir).PulseEquivY, 150);
    EXPECT_DOUBLE_EQ(rig.params().AccelZ, 7.5);
    EXPECT_EQ(rig.params().HomeSpeedA, -800);
}

TEST(MotorSettings, OperatorLevelsLimitTheWindow) {
    const auto user = app::MotorAccess(0);
    EXPECT_FALSE(user.saveEnabled);
    EXPECT_FALSE(user.framesEnabled);
    const auto maker = app::MotorAccess(1);
    EXPECT_TRUE(maker.saveEnabled && maker.framesEnabled);
    EXPECT_EQ(maker.holdJogEnabled, (std::array<bool, 4>{true, false, false, false}));
    const auto system = app::MotorAccess(2);
    EXPECT_EQ(system.holdJogEnabled, (std::array<bool, 4>{true, true, true, true}));
}

TEST(PulseCalibration, NewEquivalentFromTheMeasuredStrip) {
    machine::ParameterSet p;
    p.PulseEquivX = 200;
    p.EncoderPulseEquiv = 80;
    const auto feed = app::PulseCalibrationPanel::Open(CalibrationMode::FeedAxis, p);
    EXPECT_EQ(feed.original, 200);
    EXPECT_EQ(feed.title().zh, " 送料轴脉冲当量校准");
    const auto scaled = app::ComputeNewEquivalent(feed, "100", "100.5", 0);
    ASSERT_TRUE(scaled.newEquiv);
    EXPECT_DOUBLE_EQ(*scaled.newEquiv, 200 * 100 / 100.5);

    const auto encoder = app::PulseCalibrationPanel::Open(CalibrationMode::Encoder, p);
    EXPECT_EQ(encoder.original, 80);
    EXPECT_EQ(encoder.title().en, " Encoder Pulse Equivalent Adjust");
    const auto counted = app::ComputeNewEquivalent(encoder, "100", "100.5", -8040);
    ASSERT_TRUE(counted.newEquiv);
    EXPECT_DOUBLE_EQ(*counted.newEquiv, 80.0) << "8040 counts over 100.5 mm, either direction";
    EXPECT_FALSE(app::ComputeNewEquivalent(encoder, "100", "100.5", 0).newEquiv);

    app::StoreEquivalent(CalibrationMode::Encoder, 81, p);
    EXPECT_EQ(p.EncoderPulseEquiv, 81);
    EXPECT_EQ(p.PulseEquivX, 200);
}

TEST(PulseCalibration, MeasurementsFarFromTheCommandAreRefused) {
    machine::ParameterSet p;
    p.PulseEquivX = 200;
    const auto panel = app::PulseCalibrationPanel::Open(CalibrationMode::FeedAxis, p);
    for (const char* actual : {"116", "84", "0.5", "", "1e999"}) {
        const auto result = app::ComputeNewEquivalent(panel, "100", actual, 0);
        EXPECT_FALSE(result.newEquiv) << actual;
        EXPECT_EQ(result.message.zh, "长度错误，请重新测量并输入以mm为单位的数值！");
        EXPECT_EQ(result.message.en, "Length Error,Input Against!");
    }
    EXPECT_TRUE(app::ComputeNewEquivalent(panel, "100", "115", 0).newEquiv);
}

TEST(CalibrationWindow, PageAndSlotDepthScrollBars) {
    EXPECT_EQ(app::PageForTab(0), app::CalibrationPage::Feed);
    EXPECT_EQ(app::PageForTab(1), app::CalibrationPage::SlotDepth);
    EXPECT_EQ(app::PageForTab(2), app::CalibrationPage::Arc);
    EXPECT_EQ(app::PageForTab(-3), app::CalibrationPage::Feed);
    EXPECT_EQ(app::SlotDepthFromScroll(57, true), 50);
    EXPECT_EQ(app::SlotDepthFromScroll(57, false), 57);
    EXPECT_EQ(app::SlotDepthFromScroll(5000, false), app::kSlotDepthMax);
    EXPECT_EQ(app::SlotDepthLabel(85, common::Language::Chinese), "开槽深度：85%");
    EXPECT_EQ(app::SlotDepthLabel(85, common::Language::English), "Slott Depth：85%");
}

// Two "力度+1" clicks with step 0.5 move exactly the factor that bends an
// arc of the test radius by 1.0, and the group file holds it at once.
TEST(CalibrationWindow, ForceStepsChangeTheFactorThatBendsTheTestRadiusAndSaveIt) {
    struct Case {
        bool positive;
        const char* radius;
        double machine::ParameterSet::*factor;
    };
    const Case cases[] = {
        {true, "30", &machine::ParameterSet::TapForceFactorPos},
        {true, "50", &machine::ParameterSet::PressForceFactorPos},
        {false, "49.9", &machine::ParameterSet::TapForceFactorNeg},
        {false, "200", &machine::ParameterSet::PressForceFactorNeg},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radius);
        MachineRig rig;
        rig.params().TapBendRadiusThreshold = 50;
        machine::ParameterSet expected = rig.params();
        expected.*c.factor += 1.0;
        for (int click = 0; click < 2; ++click) {
            ASSERT_TRUE(app::StepForceFactor(*rig.machine, c.positive, c.radius, "0.5", 1).empty());
        }
        EXPECT_EQ(rig.params(), expected) << "only the one factor moved";
        EXPECT_DOUBLE_EQ(reloadedGroup(rig.dir).*c.factor, expected.*c.factor);
    }
}

TEST(CalibrationWindow, ForceStepsBelowZeroOrWithoutAStepChangeNothing) {
    MachineRig rig;
    rig.params().TapBendRadiusThreshold = 50;
    rig.params().TapForceFactorPos = 0.3;
    const machine::ParameterSet before = rig.params();
    const auto file = common::ReadText(
        rig.dir.sysPara(machine::SysParaFileName(rig.machine->tables().ParaGroupNo)));
    EXPECT_FALSE(app::StepForceFactor(*rig.machine, true, "10", "0.5", -1).empty());
    EXPECT_FALSE(app::StepForceFactor(*rig.machine, true, "10", "abc", 1).empty());
    EXPECT_FALSE(app::StepForceFactor(*rig.machine, true, "10", "1e999", 1).empty());
    EXPECT_FALSE(app::StepForceFactor(*rig.machine, true, "10", "10.001", 1).empty());
    EXPECT_EQ(rig.params(), before);
    EXPECT_EQ(common::ReadText(
                  rig.dir.sysPara(machine::SysParaFileName(rig.machine->tables().ParaGroupNo))),
              file);
    // 10 is the largest step.
    EXPECT_TRUE(app::StepForceFactor(*rig.machine, true, "10", "10", 1).empty());
    EXPECT_DOUBLE_EQ(rig.params().TapForceFactorPos, 10.3);
}

// The shipped English caption files hold one line for every caption of
// the three windows, in table order: the last line is the last control.
TEST(SetupCaptions, EnglishFilesCoverEveryCaption) {
    const common::AppDir shipped{KORVEL_RESOURCES_DIR};
    const struct {
        const app::CaptionTable& table;
        const char* file;
        const char* lastControl;
        const char* lastText;
    } windows[] = {
        {app::JJZ_FormCaptions(), "JJZ_Form.txt", "Command7_8", "Gripper 2"},
        {app::XZh_FormCaptions(), "XZh_Form.txt", "Command2_1", "Back Slot"},
        {app::WFB_FormCaptions(), "WFB_Form.txt", "Command9_3", "Delete Row"},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.file);
        EXPECT_EQ(static_cast<int>(w.table.size()), w.table.back().line);
        EXPECT_EQ(common::ReadLines(shipped.file(std::string("Language/") + w.file)).size(),
                  w.table.size());
        const auto english = app::LoadCaptions(shipped, w.file, w.table, 1);
        ASSERT_EQ(english.size(), w.table.size());
        EXPECT_EQ(english.back().key, w.lastControl);
        EXPECT_EQ(english.back().text, w.lastText);
    }
}

} // namespace
} // namespace korvel::test
