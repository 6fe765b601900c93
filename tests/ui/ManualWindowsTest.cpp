// The manual windows on the simulated machine, offscreen: the control
// tab's feed and homing frames, the IO lamps and output switching, the
// operator levels with their passwords and the about window. Set
// KORVEL_SCREENSHOT_DIR to keep a picture of every window in both
// languages.

#include "app/OperatorState.h"
#include "app/SimulatedSession.h"
#include "common/TextFile.h"
#include "machine/RecordingDialog.h"
#include "support/TempDir.h"
#include "ui/AboutMe_Form.h"
#include "ui/ControlPanel.h"
#include "ui/IO_Form.h"
#include "ui/YH_Form.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace korvel::test {
namespace {

struct Rig {
    TempDir tmp;
    machine::RecordingDialog dialog;
    app::SimulatedSession session{common::AppDir(tmp.path() / "app"), KORVEL_RESOURCES_DIR, dialog};
    machine::Machine& m = session.machine();
    app::OperatorState state;

    double x() { return session.card().get_command_pos(0, 1) / m.params().PulseEquivX; }
    bool settle() {
        return session.clock().runUntil([this] { return session.card().idle(); }, 1000);
    }
};

template <typename T> T* child(QWidget& w, const char* name) {
    auto* found = w.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

bool lit(QWidget& w, const char* lamp) {
    return child<QLabel>(w, lamp)->property("lit").toBool();
}

// Lets the window's own timers run (wall time) until `done`, at most 2 s.
bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 2000) {
        QTest::qWait(20);
    }
    return done();
}

void grab(QWidget& w, const QString& name) {
    w.adjustSize();
    const QPixmap picture = w.grab();
    EXPECT_FALSE(picture.isNull());
    const QByteArray dir = qgetenv("KORVEL_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        picture.save(QString::fromUtf8(dir) + "/" + name + ".png");
    }
}

TEST(ControlPanel, FeedButtonsHoldStepAndHomingButtonsKeepTheirInterlock) {
    Rig rig;
    rig.m.params().FeedType = 0;
    ui::ControlPanel panel(rig.m, rig.session.fields());
    panel.show();
    child<QLineEdit>(panel, "Text2")->setText("1200");
    auto* feed = child<QPushButton>(panel, "Command_SL");
    QTest::mousePress(feed, Qt::LeftButton);
    rig.session.clock().runFor(1000);
    QTest::mouseRelease(feed, Qt::LeftButton);
    ASSERT_TRUE(rig.settle());
    const double x = rig.x();
    EXPECT_NEAR(x, 20.0, 1.0) << "1200 mm/min for a second, ramps included";

    child<QCheckBox>(panel, "Check1")->setChecked(true);
    child<QLineEdit>(panel, "Text3")->setText("7.5");
    QTest::mouseClick(child<QPushButton>(panel, "Command_TL"), Qt::LeftButton);
    ASSERT_TRUE(rig.settle());
    EXPECT_DOUBLE_EQ(rig.x(), x - 7.5);

    // A bender rod out: the arm stays and the operator is told why.
    rig.session.card().write_bit(0, 4, 1);
    QTest::mouseClick(child<QPushButton>(panel, "Command_Z1"), Qt::LeftButton);
    EXPECT_TRUE(rig.dialog.saw("请先缩回弯弧杆！"));
    EXPECT_EQ(rig.m.run().HomingAxisCode, 0);

    child<QCheckBox>(panel, "Check3")->setChecked(true);
    EXPECT_TRUE(rig.session.fields().Check3);
    grab(panel, "ControlPanel");
}

TEST(IO_Form, LampsFollowARunningProgramAndLabelClicksNeedLevelTwo) {
    Rig rig;
    ui::IO_Form form(rig.m, 0);
    form.show();
    EXPECT_FALSE(lit(form, "Shape2_3"));
    rig.m.run().loadLines({"M16", "G04 P3000", "M17"}, machine::RunKind::Action);
    rig.session.clock().runFor(90);
    ASSERT_EQ(rig.session.card().get_out(0, 3), 1);
    // The lamp timer picks the change up by itself.
    EXPECT_TRUE(waitFor([&] { return lit(form, "Shape2_3"); }));
    rig.session.runToEnd(1000);
    EXPECT_TRUE(waitFor([&] { return !lit(form, "Shape2_3"); }));

    QTest::mouseClick(child<QLabel>(form, "Label21_0"), Qt::LeftButton);
    EXPECT_EQ(rig.session.card().get_out(0, 0), 0) << "level 0 cannot switch by label";
    ui::IO_Form maker(rig.m, 2);
    maker.show();
    QTest::mouseClick(child<QLabel>(maker, "Label21_0"), Qt::LeftButton);
    EXPECT_EQ(rig.session.card().get_out(0, 0), 1);
    EXPECT_TRUE(lit(maker, "Shape2_0"));

    EXPECT_FALSE(child<QPushButton>(form, "Command1_6")->isEnabled()) << "roller feed";
    grab(form, "IO_Form_zh");
    rig.m.tables().LanguageFlag = 1;
    ui::IO_Form english(rig.m, 0);
    EXPECT_EQ(child<QPushButton>(english, "Command2")->text(), "Return");
    EXPECT_EQ(child<QLabel>(english, "Label7")->text(), "IN18  Feed button");
    grab(english, "IO_Form_en");
}

TEST(YH_Form, LevelsPasswordsAndAChangeThatOutlivesTheWindow) {
    Rig rig;
    const auto passwords = common::ReadLines(rig.m.appDir().file("sys1.ini"));
    ASSERT_EQ(passwords.size(), 2u);
    auto& level = rig.state.UserLevel;
    level = 2;
    {
        ui::YH_Form form(rig.m, level);
        form.show();
        QTest::mouseClick(child<QRadioButton>(form, "Option2"), Qt::LeftButton);
        EXPECT_EQ(level, 1) << "down without a password";
        EXPECT_TRUE(child<QGroupBox>(form, "PassIn")->isHidden());

        QTest::mouseClick(child<QRadioButton>(form, "Option3"), Qt::LeftButton);
        EXPECT_FALSE(child<QGroupBox>(form, "PassIn")->isHidden());
        auto* password = child<QLineEdit>(form, "Text1");
        EXPECT_EQ(password->echoMode(), QLineEdit::Password);
        QTest::keyClicks(password, "guess");
        grab(form, "YH_Form_password");
        QTest::keyClick(password, Qt::Key_Return);
        ASSERT_TRUE(rig.dialog.saw("密码错误！"));
        EXPECT_EQ(rig.dialog.entries().back().message.en, "PassWord wrong!");
        EXPECT_EQ(level, 1);
        EXPECT_TRUE(child<QRadioButton>(form, "Option2")->isChecked());

        // The machine maker changes his own password.
        QTest::mouseClick(child<QPushButton>(form, "Command5"), Qt::LeftButton);
        child<QLineEdit>(form, "Text2")->setText(QString::fromStdString(passwords[0]));
        child<QLineEdit>(form, "Text3")->setText("新 密码");
        child<QLineEdit>(form, "Text4")->setText("新 密码");
        grab(form, "YH_Form_change");
        QTest::mouseClick(child<QPushButton>(form, "Command1"), Qt::LeftButton);
        EXPECT_TRUE(child<QGroupBox>(form, "PassEdit")->isHidden());
    }
    level = 0; // a new start
    rig.m.tables().LanguageFlag = 1;
    ui::YH_Form again(rig.m, level);
    again.show();
    EXPECT_EQ(child<QRadioButton>(again, "Option2")->text(), "Machine maker");
    QTest::mouseClick(child<QRadioButton>(again, "Option2"), Qt::LeftButton);
    child<QLineEdit>(again, "Text1")->setText("新 密码");
    QTest::mouseClick(child<QPushButton>(again, "Command4"), Qt::LeftButton);
    EXPECT_EQ(level, 1);
    grab(again, "YH_Form_en");
}

TEST(AboutMe_Form, ShowsTheLinesOfTheLanguage) {
    Rig rig;
    const auto lines = common::ReadLines(rig.m.appDir().file("cinf.ini"));
    ASSERT_EQ(lines.size(), 8u);
    for (const int language : {0, 1}) {
        ui::AboutMe_Form about(rig.m.appDir(), language);
        EXPECT_EQ(child<QLabel>(about, "Label1")->text().toStdString(),
                  lines[language == 0 ? 0 : 4]);
        EXPECT_EQ(about.findChild<QLabel*>("NoteLabel"), nullptr);
        grab(about, language == 0 ? "AboutMe_Form_zh" : "AboutMe_Form_en");
    }
}

} // namespace
} // namespace korvel::test
