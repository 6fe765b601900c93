// The equipment and process windows on a simulated machine: the wiring of
// their controls to the private copy, the enabling rules, the operator
// levels and the captions in both languages. Each test leaves a picture of
// the window in the build folder (setup-<window>-<language>.png).

#include "app/SimulatedSession.h"
#include "common/TextFile.h"
#include "machine/RecordingDialog.h"
#include "program/TestPrograms.h"
#include "support/TempDir.h"
#include "ui/GY1_Form.h"
#include "ui/GY_Form.h"
#include "ui/SB_Form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace korvel::ui {
namespace {

class SetupWindows : public ::testing::Test {
protected:
    test::TempDir tmp;
    common::AppDir dir{tmp.path() / "app"};
    machine::RecordingDialog dialog;
    app::SimulatedSession session{dir, KORVEL_RESOURCES_DIR, dialog};
    app::OperatorState state;

    machine::ParameterSet& params() { return session.machine().params(); }
    std::string groupFile() { return common::ReadBytes(dir.sysPara("SYS_0.ini")); }
    template <class W> W* child(QWidget& w, const char* name) {
        W* found = w.findChild<W*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void type(QWidget& w, const char* name, const QString& text) {
        auto* e = child<QLineEdit>(w, name);
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    void picture(QWidget& w, const std::string& name) {
        w.adjustSize();
        w.grab().save(QString::fromStdString("setup-" + name + ".png"));
    }
};

TEST_F(SetupWindows, EquipmentWindowEnablesBySelectionAndSavesOnlyOnRequest) {
    state.UserLevel = 1;
    const std::string fileBefore = groupFile();
    const machine::ParameterSet paramsBefore = params();
    {
        SB_Form form(session.machine(), state, dir, dialog);
        picture(form, "SB_Form-zh");
        EXPECT_EQ(form.windowTitle(), "设备综合设置-参数组1");
        child<QRadioButton>(form, "Option2_1")->click(); // Z motor
        EXPECT_FALSE(child<QWidget>(form, "Option3_0")->isEnabled());
        EXPECT_TRUE(child<QWidget>(form, "Text1_2")->isEnabled());
        child<QRadioButton>(form, "Option2_0")->click(); // back to IO
        EXPECT_TRUE(child<QWidget>(form, "Option3_0")->isEnabled());
        EXPECT_FALSE(child<QWidget>(form, "Text1_2")->isEnabled());

        type(form, "Text1_4", "2"); // two passes
        EXPECT_TRUE(child<QWidget>(form, "Text5_1")->isVisibleTo(&form));
        EXPECT_FALSE(child<QWidget>(form, "Text5_2")->isVisibleTo(&form));

        auto* second = child<QComboBox>(form, "Combo1_1");
        const int down = second->findText("D-下刀");
        second->setCurrentIndex(down);
        emit second->activated(down);
        const std::string order = form.copy().values().SlotActionOrder;
        EXPECT_EQ(order[1], 'D');
        EXPECT_EQ(order.substr(0, 1) + order.substr(2), paramsBefore.SlotActionOrder.substr(0, 1) +
                                                            paramsBefore.SlotActionOrder.substr(2));

        // "返回": the set and the file stay as they were.
        child<QPushButton>(form, "Command2")->click();
    }
    EXPECT_EQ(params(), paramsBefore);
    EXPECT_EQ(groupFile(), fileBefore);

    SB_Form form(session.machine(), state, dir, dialog);
    type(form, "Text1_0", "50");
    child<QPushButton>(form, "Command1")->click();
    EXPECT_TRUE(dialog.saw("参数保存成功！"));
    EXPECT_EQ(params().BladeAngle, 50);
    EXPECT_NE(groupFile(), fileBefore);
    SB_Form reopened(session.machine(), state, dir, dialog);
    EXPECT_EQ(child<QLineEdit>(reopened, "Text1_0")->text(), "50");
    // Esc closes like "返回": the edit is dropped.
    reopened.show();
    type(reopened, "Text1_0", "60");
    QTest::keyClick(&reopened, Qt::Key_Escape);
    EXPECT_FALSE(reopened.isVisible());
    EXPECT_EQ(reopened.result(), QDialog::Rejected);
    EXPECT_EQ(params().BladeAngle, 50);
}

TEST_F(SetupWindows, MachineUserOnlyReadsAndSystemMakerSeesTheDiscretisation) {
    state.UserLevel = 0;
    SB_Form equipment(session.machine(), state, dir, dialog);
    for (const char* name : {"Frame1", "Frame2", "Frame9", "FrameTest", "Command1"}) {
        EXPECT_FALSE(child<QWidget>(equipment, name)->isEnabled()) << name;
    }
    GY_Form userView(session.machine(), state, dir, dialog);
    EXPECT_FALSE(child<QWidget>(userView, "Command1")->isEnabled());
    EXPECT_FALSE(child<QWidget>(userView, "Frame1")->isVisibleTo(&userView));

    state.UserLevel = 2;
    GY_Form makerView(session.machine(), state, dir, dialog);
    EXPECT_TRUE(child<QWidget>(makerView, "Command1")->isEnabled());
    EXPECT_TRUE(child<QWidget>(makerView, "Frame1")->isVisibleTo(&makerView));
    picture(makerView, "GY_Form-zh");
    child<QRadioButton>(makerView, "Option2")->click(); // "调试模式"
    child<QPushButton>(makerView, "Command1")->click();
    EXPECT_EQ(params().RunMode, 1);
}

TEST_F(SetupWindows, EnglishCaptionsComeFromTheLanguageFiles) {
    session.machine().tables().LanguageFlag = 1;
    state.UserLevel = 2;
    SB_Form equipment(session.machine(), state, dir, dialog);
    EXPECT_EQ(equipment.windowTitle(), "Equipment Settings-参数组1");
    EXPECT_EQ(child<QPushButton>(equipment, "Command3_4")->text(), "Back slot");
    EXPECT_EQ(child<QComboBox>(equipment, "Combo1_0")->itemText(1), "Down");
    picture(equipment, "SB_Form-en");
    GY_Form maker(session.machine(), state, dir, dialog);
    EXPECT_EQ(child<QPushButton>(maker, "Command1")->text(), "Save");
    picture(maker, "GY_Form-en");
    GY1_Form user(session.machine(), state, dir, dialog);
    EXPECT_EQ(user.windowTitle(), "Process Parameters-参数组1");
    EXPECT_EQ(child<QGroupBox>(user, "Frame7")->title(), "Extra slots at acute corners");
    picture(user, "GY1_Form-en");
}

// The user process window: the locked total depth refuses a stroke equal
// to the cutter's travel, the counter refreshes on its timer, and a saved
// value of its own new lines reaches the group file.
TEST_F(SetupWindows, UserProcessWindowChecksTheStrokeAndSavesItsValues) {
    params().InfeedControl = 1;
    params().HomeOffsetZ = 3;
    params().DownStrokeFront = 5;
    GY1_Form form(session.machine(), state, dir, dialog);
    picture(form, "GY1_Form-zh");
    EXPECT_EQ(form.windowTitle(), "工艺参数设置-参数组1");
    EXPECT_EQ(form.counterTimer()->interval(), 200);
    child<QCheckBox>(form, "Check3")->setChecked(true);
    auto* stroke = child<QLineEdit>(form, "Text1_14");
    type(form, "Text1_14", "8");
    emit stroke->editingFinished();
    EXPECT_TRUE(dialog.saw("参数设置超过总行程或为负，请重新设置"));
    EXPECT_EQ(stroke->text(), "5");
    EXPECT_EQ(form.copy().values().DownStrokeFront, 5);

    session.card().set_actual_pos(0, 1, 1234);
    QTest::qWait(3 * GY1_Form::kCounterIntervalMs);
    EXPECT_EQ(child<QLineEdit>(form, "Text6_4")->text(), "1234");

    child<QCheckBox>(form, "Check6")->click();
    type(form, "Text2", "7.5");
    child<QPushButton>(form, "Command2_0")->click();
    EXPECT_EQ(params().ExtraSlotActive, 1);
    EXPECT_EQ(params().ExtraSlotSpacing, 7.5);
    EXPECT_NE(groupFile().find(" 7.5 锐角附加开槽间距"), std::string::npos);
}

// The calibration panel of the user process window: a computed equivalent
// reaches the machine and, through "保存", the group; a bad measurement is
// refused and changes nothing; the reset restores the opening value; the
// move runs the commanded distance.
TEST_F(SetupWindows, UserProcessCalibrationStoresTheComputedEquivalent) {
    GY1_Form form(session.machine(), state, dir, dialog);
    const double feed = params().PulseEquivX;
    const double encoder = params().EncoderPulseEquiv;
    child<QPushButton>(form, "Command1_0")->click();
    EXPECT_EQ(child<QGroupBox>(form, "FrameCal")->title(), " 送料轴脉冲当量校准");
    child<QLineEdit>(form, "Text6_2")->setText("100");
    child<QLineEdit>(form, "Text6_3")->setText("abc");
    child<QPushButton>(form, "Command7_2")->click();
    EXPECT_TRUE(dialog.saw(program::LengthErrorMessage().zh));
    EXPECT_EQ(params().PulseEquivX, feed);

    child<QLineEdit>(form, "Text6_3")->setText("100.5");
    child<QPushButton>(form, "Command7_2")->click();
    EXPECT_EQ(params().PulseEquivX, feed * 100 / 100.5);
    EXPECT_EQ(child<QLineEdit>(form, "Text1_0")->text(), child<QLineEdit>(form, "Text6_1")->text());
    EXPECT_EQ(params().EncoderPulseEquiv, encoder);
    child<QPushButton>(form, "Command2_0")->click();
    EXPECT_EQ(params().PulseEquivX, feed * 100 / 100.5);

    // The encoder: its count over the measured distance, the reset back.
    child<QPushButton>(form, "Command1_1")->click();
    EXPECT_EQ(child<QLineEdit>(form, "Text6_0")->text(), child<QLineEdit>(form, "Text1_1")->text());
    session.card().set_actual_pos(0, 1, 20000);
    child<QLineEdit>(form, "Text6_3")->setText("100");
    child<QPushButton>(form, "Command7_2")->click();
    EXPECT_NE(params().EncoderPulseEquiv, encoder);
    EXPECT_EQ(child<QLineEdit>(form, "Text1_1")->text(), child<QLineEdit>(form, "Text6_1")->text());
    child<QPushButton>(form, "Command7_3")->click();
    EXPECT_EQ(params().EncoderPulseEquiv, encoder);
    EXPECT_EQ(child<QLineEdit>(form, "Text1_1")->text(), child<QLineEdit>(form, "Text6_0")->text());

    child<QLineEdit>(form, "Text6_2")->setText("250");
    child<QPushButton>(form, "Command7_4")->click();
    const std::string program = common::ReadBytes(dir.file("G5.dat"));
    EXPECT_NE(program.find("X250.000"), std::string::npos) << program;
}

} // namespace
} // namespace korvel::ui
