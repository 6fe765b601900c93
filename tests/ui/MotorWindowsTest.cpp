// The motor, calibration and curvature table windows on the offscreen
// platform over a simulated machine: the wiring from controls to the rules
// holds (operator levels, save and refusal, the calibration page, the
// curvature rows and the tapping test), and each window saves a picture
// of itself in both languages for a look by eye.

#include "app/OperatorState.h"
#include "common/TextFile.h"
#include "machine/MachineRig.h"
#include "machine/ParameterStore.h"
#include "ui/JJZ_Form.h"
#include "ui/WFB_Form.h"
#include "ui/XZh_Form.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

namespace korvel::test {

namespace {

template <typename T> T* child(QWidget& window, const char* name) {
    auto* found = window.findChild<T*>(name);
    if (found == nullptr) {
        throw std::logic_error(std::string("no control ") + name);
    }
    return found;
}

std::string groupFile(MachineRig& rig) {
    return common::ReadText(
        rig.dir.sysPara(machine::SysParaFileName(rig.machine->tables().ParaGroupNo)));
}

machine::ParameterSet reloadedGroup(MachineRig& rig) {
    machine::ParameterSet params;
    machine::ParameterTables tables;
    machine::ParameterStore(rig.dir, params, tables).LoadAtStartup();
    return params;
}

// Pictures go next to the test binary for a look by eye.
void picture(QWidget& window, const QString& name) {
    window.adjustSize();
    window.grab().save(QString("%1.png").arg(name));
}

TEST(MotorWindow, FollowsTheOperatorLevel) {
    MachineRig rig;
    for (std::int16_t level : {0, 1, 2}) {
        app::OperatorState state;
        state.UserLevel = level;
        ui::JJZ_Form window(*rig.machine, state, rig.dir, rig.dialog);
        EXPECT_EQ(child<QPushButton>(window, "Command0_0")->isEnabled(), level > 0);
        EXPECT_EQ(child<QGroupBox>(window, "Frame5")->isEnabled(), level > 0);
        EXPECT_EQ(child<QPushButton>(window, "Command2_0")->isEnabled(), level == 2);
        EXPECT_EQ(child<QPushButton>(window, "Command1_1")->isEnabled(), level > 0);
    }
}

TEST(MotorWindow, SavesACheckedCopyOnly) {
    MachineRig rig;
    app::OperatorState state;
    state.UserLevel = 1;
    ui::JJZ_Form window(*rig.machine, state, rig.dir, rig.dialog);
    const std::string before = groupFile(rig);
    child<QLineEdit>(window, "Text2_1")->setText("0");
    child<QLineEdit>(window, "Text3_4")->setText("7.5"); // Z acceleration
    QTest::mouseClick(child<QPushButton>(window, "Command0_0"), Qt::LeftButton);
    EXPECT_NE(rig.shown().find("PulseEquivY"), std::string::npos);
    EXPECT_EQ(groupFile(rig), before);
    EXPECT_TRUE(rig.params().AccelZ != 7.5);

    child<QLineEdit>(window, "Text2_1")->setText("150");
    QTest::mouseClick(child<QPushButton>(window, "Command0_0"), Qt::LeftButton);
    EXPECT_TRUE(rig.dialog.saw("参数保存成功！"));
    const auto reloaded = reloadedGroup(rig);
    EXPECT_EQ(reloaded.PulseEquivY, 150.0);
    EXPECT_EQ(reloaded.AccelZ, 7.5);
}

TEST(MotorWindow, CalibrationPanelOpensFromTheLabels) {
    MachineRig rig;
    app::OperatorState state;
    state.UserLevel = 2;
    ui::JJZ_Form window(*rig.machine, state, rig.dir, rig.dialog);
    window.show();
    auto* panel = child<QGroupBox>(window, "Frame6");
    EXPECT_TRUE(!panel->isVisible());
    QTest::mouseClick(child<QLabel>(window, "Label5_0"), Qt::LeftButton);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->title(), QString(" 编码器脉冲当量校准"));
    EXPECT_TRUE(child<QCheckBox>(window, "Check2")->isChecked());
    QTest::mouseClick(child<QLabel>(window, "Label1_0"), Qt::LeftButton);
    EXPECT_EQ(child<QLineEdit>(window, "Text6_0")->text(),
              child<QLineEdit>(window, "Text1_1")->text());
    // 100 mm commanded, 100.5 measured: the new feed equivalent shows in
    // the panel and in the axis frame, and the machine runs with it.
    const double old = rig.params().PulseEquivX;
    child<QLineEdit>(window, "Text6_2")->setText("100");
    child<QLineEdit>(window, "Text6_3")->setText("100.5");
    QTest::mouseClick(child<QPushButton>(window, "Command7_2"), Qt::LeftButton);
    EXPECT_EQ(rig.params().PulseEquivX, old * 100 / 100.5);
    EXPECT_EQ(child<QLineEdit>(window, "Text1_1")->text(),
              child<QLineEdit>(window, "Text6_1")->text());
    QTest::mouseClick(child<QPushButton>(window, "Command7_3"), Qt::LeftButton);
    EXPECT_EQ(rig.params().PulseEquivX, old);
    // Esc while "正转" of Z is held: the window closes and the axis stops.
    QTest::mousePress(child<QPushButton>(window, "Command3_0"), Qt::LeftButton);
    EXPECT_NE(rig.card->get_status(0, 3), 0);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(rig.clock->runUntil([&] { return rig.card->get_status(0, 3) == 0; }, 2000));
    window.show();
    picture(window, "JJZ_Form_zh");
    rig.machine->tables().LanguageFlag = 1;
    ui::JJZ_Form english(*rig.machine, state, rig.dir, rig.dialog);
    EXPECT_EQ(child<QPushButton>(english, "Command0_0")->text(), QString("Save"));
    picture(english, "JJZ_Form_en");
}

TEST(CalibrationWindow, OpensOnItsPageAndSavesWhenClosed) {
    MachineRig rig;
    app::OperatorState state;
    state.CalibrationTab = 1;
    ui::XZh_Form window(*rig.machine, state, rig.dir, rig.dialog);
    EXPECT_TRUE(window.findChild<QWidget*>("Frame1") == nullptr);
    EXPECT_TRUE(window.findChild<QWidget*>("Frame3") == nullptr);
    child<QScrollBar>(window, "HScroll1")->setValue(87);
    EXPECT_EQ(child<QLabel>(window, "Label1")->text(), QString("开槽深度：80%"));
    picture(window, "XZh_Form_slot_zh");
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape); // Esc closes, and closing saves
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(reloadedGroup(rig).SlotDepthCorr, 80);

    state.CalibrationTab = 2;
    rig.machine->tables().LanguageFlag = 1;
    ui::XZh_Form arcs(*rig.machine, state, rig.dir, rig.dialog);
    child<QLineEdit>(arcs, "Text2")->setText("1000");
    child<QLineEdit>(arcs, "Text3")->setText("0.5");
    const double press = rig.params().PressForceFactorPos;
    QTest::mouseClick(child<QPushButton>(arcs, "Command4_1"), Qt::LeftButton);
    EXPECT_EQ(rig.params().PressForceFactorPos, press + 0.5);
    picture(arcs, "XZh_Form_arc_en");
}

// The feed page: the test feed runs on the machine, then a measured length
// 16 mm off is refused and a close one corrects the feed axis.
TEST(CalibrationWindow, FeedPageRunsTheTestFeedAndCorrectsTheAxis) {
    MachineRig rig;
    app::OperatorState state;
    ui::XZh_Form window(*rig.machine, state, rig.dir, rig.dialog);
    child<QLineEdit>(window, "Text1_0")->setText("200");
    QTest::mouseClick(child<QPushButton>(window, "Command1_2"), Qt::LeftButton);
    ASSERT_TRUE(rig.runToEnd());
    EXPECT_TRUE(rig.dialog.saw("动作完成！"));
    const double before = rig.params().PulseEquivX;
    child<QLineEdit>(window, "Text1_2")->setText("216");
    QTest::mouseClick(child<QPushButton>(window, "Command1_3"), Qt::LeftButton);
    EXPECT_TRUE(rig.dialog.saw("长度错误，请重新测量并输入以mm为单位的数值！"));
    EXPECT_EQ(rig.params().PulseEquivX, before);
    child<QLineEdit>(window, "Text1_2")->setText("201");
    QTest::mouseClick(child<QPushButton>(window, "Command1_3"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(rig.params().PulseEquivX, before * 200 / 201);
    EXPECT_NEAR(reloadedGroup(rig).PulseEquivX, before * 200 / 201, 1e-9);
}

TEST(CurvatureWindow, ScrollsRefusesAndTapsOnTheMachine) {
    MachineRig rig;
    app::OperatorState state;
    ui::WFB_Form window(*rig.machine, state, rig.dir, rig.dialog);
    const auto& tables = rig.machine->tables();
    child<QScrollBar>(window, "VScroll1")->setValue(100);
    const QString row100 =
        tables.ArcTablePosLast >= 100 ? QString::number(tables.ArcTablePos[100].radius) : QString();
    EXPECT_EQ(child<QLineEdit>(window, "Text2_0")->text(), row100);
    child<QScrollBar>(window, "VScroll1")->setValue(0);
    QTest::mouseClick(child<QLineEdit>(window, "Text1_2"), Qt::LeftButton);

    // Typing two rows below the last one reaches down to it: the row in
    // between shows its 0, nothing typed is lost.
    const int below = tables.ArcTablePosLast + 2;
    child<QScrollBar>(window, "VScroll1")->setValue(below - 5);
    QTest::keyClicks(child<QLineEdit>(window, "Text2_5"), "7");
    EXPECT_EQ(child<QLineEdit>(window, "Text2_4")->text(), "0");
    EXPECT_EQ(child<QLineEdit>(window, "Text2_5")->text(), "7");
    child<QScrollBar>(window, "VScroll1")->setValue(0);

    // A refused spacing table writes nothing.
    const std::string spacingFile =
        common::ReadText(rig.dir.sysPara(machine::TapSpacingFileName(tables.CurvGroupNo)));
    child<QLineEdit>(window, "Text10_1")->setText("0.05");
    QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
    EXPECT_TRUE(rig.dialog.saw("保存失败！拍弧间距设置值太小"));
    EXPECT_EQ(common::ReadText(rig.dir.sysPara(machine::TapSpacingFileName(tables.CurvGroupNo))),
              spacingFile);

    // Three taps 2 mm apart run to the end on the simulated machine.
    child<QLineEdit>(window, "Text6")->setText("3");
    child<QLineEdit>(window, "Text8")->setText("2");
    QTest::mouseClick(child<QPushButton>(window, "Command7"), Qt::LeftButton);
    EXPECT_TRUE(rig.run().ActionRunActive != 0);
    EXPECT_TRUE(rig.runToEnd());
    EXPECT_EQ(rig.x(), 4.0);
    picture(window, "WFB_Form_zh");
    rig.machine->tables().LanguageFlag = 1;
    ui::WFB_Form english(*rig.machine, state, rig.dir, rig.dialog);
    picture(english, "WFB_Form_en");
}

} // namespace
} // namespace korvel::test
