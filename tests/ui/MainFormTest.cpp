// The main window on the offscreen platform, driven as an operator drives
// it: captions in both languages and from broken caption files, the
// activation handler after a setup window changed the machine, a whole
// letter run to the end-of-job question, a broken drawing opened over a
// good one.

#include "ui/MainForm.h"

#include "app/MainFormCaptions.h"
#include "app/OperatorSession.h"
#include "common/TextFile.h"
#include "machine/RecordingDialog.h"
#include "support/TempDir.h"
#include "ui/TextLettersDialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace korvel::test {

namespace {

const std::filesystem::path kLetter = std::filesystem::path(KORVEL_EXAMPLES_DIR) / "letterD.dxf";

// One window on a fresh application folder with the shipped files.
struct WindowRig {
    TempDir dir;
    machine::RecordingDialog dialog;
    app::OperatorSession session{common::AppDir(dir.path()), KORVEL_RESOURCES_DIR, dialog};
    std::unique_ptr<ui::MainForm> window;

    void open() { window = std::make_unique<ui::MainForm>(session); }
    template <typename T = QWidget> T* child(const char* name) const {
        return window->findChild<T*>(name);
    }
    QString text(const char* name) const {
        if (auto* b = child<QAbstractButton>(name)) {
            return b->text();
        }
        if (auto* l = child<QLabel>(name)) {
            return l->text();
        }
        if (auto* e = child<QLineEdit>(name)) {
            return e->text();
        }
        if (auto* g = child<QGroupBox>(name)) {
            return g->title();
        }
        if (auto* a = child<QAction>(name)) {
            return a->text();
        }
        if (auto* m = child<QMenu>(name)) {
            return m->title();
        }
        return {};
    }
    // Every caption of the window's caption table, tabs and title included.
    std::map<std::string, QString> captions() const {
        std::map<std::string, QString> all;
        for (const auto& row : app::MainFormCaptions()) {
            const QString key = QString::fromStdString(row.key);
            if (row.key == "title") {
                all[row.key] = window->windowTitle();
            } else if (key.contains('#')) {
                const auto parts = key.split('#');
                all[row.key] = window->findChild<QTabBar*>(parts[0])->tabText(parts[1].toInt());
            } else {
                all[row.key] = text(row.key.c_str());
            }
        }
        return all;
    }
    // A setup window that changes nothing and is closed at once.
    void closeASetupWindow() {
        QDialog setup(window.get());
        QTimer::singleShot(0, &setup, &QDialog::reject);
        window->showSetupWindow(setup);
    }
    void saveParameters() {
        auto& m = session.machine();
        m.store().SaveSysPara(m.tables().ParaGroupNo, true);
    }
};

} // namespace

TEST(MainForm, EnglishAndBackRestoresEveryChineseCaption) {
    WindowRig rig;
    rig.open();
    const auto chinese = rig.captions();
    EXPECT_EQ(rig.text("Text1"), QString::fromUtf8("控制"));
    EXPECT_TRUE(
        rig.window->windowTitle().startsWith(QString::fromUtf8("数控围字机控制系统Korvel-V ")));

    rig.window->setLanguage(1);
    EXPECT_EQ(rig.text("Command1"), QString("Contour Offset"));
    EXPECT_EQ(rig.text("Menu_File"), QString("File"));
    EXPECT_EQ(rig.text("Text1"), QString("Control"));
    EXPECT_TRUE(
        rig.window->windowTitle().endsWith(QString::fromStdString(" " + app::VersionText())));
    // The setup tab's marker follows the language in both directions.
    rig.child<QTabBar>("TabStrip1")->tabBarClicked(1);
    EXPECT_EQ(rig.text("Text1"), QString("Setup"));
    EXPECT_TRUE(rig.child("Frame4")->isVisibleTo(rig.window.get()));
    rig.window->setLanguage(0);
    EXPECT_EQ(rig.text("Text1"), QString::fromUtf8("设置"));
    rig.child<QTabBar>("TabStrip1")->tabBarClicked(0);

    const auto back = rig.captions();
    for (const auto& [key, text] : chinese) {
        EXPECT_TRUE(back.at(key) == text) << key.c_str();
    }
}

TEST(MainForm, CaptionFileWithBlankLinesAndShortFile) {
    WindowRig rig;
    // Comments and blank lines at the ignored positions; the file ends
    // after line 27 ("Frame6").
    common::Lines lines;
    for (int line = 1; line <= 27; ++line) {
        lines.push_back(line % 6 == 0 ? (line % 12 == 0 ? "" : "' ignored")
                                      : "L" + std::to_string(line));
    }
    common::WriteLines(rig.dir / "Language" / "mainform.txt", lines);
    rig.open();
    rig.window->setLanguage(1);
    EXPECT_EQ(rig.text("Check1"), QString("L2"));
    EXPECT_EQ(rig.text("Command1"), QString("L13"));
    EXPECT_EQ(rig.text("Frame6"), QString("L27"));
    EXPECT_TRUE(rig.window->windowTitle().startsWith("L1 "));
    // Beyond the end of the file the Chinese captions stay.
    EXPECT_EQ(rig.text("Label1_0"), QString::fromUtf8("送料速度："));
    EXPECT_EQ(rig.text("Menu_Open"), QString::fromUtf8("打开"));

    // A missing file keeps every caption and does not stop the window.
    std::filesystem::remove(rig.dir / "Language" / "mainform.txt");
    rig.window->setLanguage(1);
    EXPECT_EQ(rig.text("Command1"), QString("L13"));
}

TEST(MainForm, ActivationFollowsASavedParameterChange) {
    WindowRig rig;
    auto& params = rig.session.machine().params();
    params.InfeedControl = 1;
    params.FeedType = 1;
    rig.saveParameters();
    rig.open();
    EXPECT_EQ(rig.text("Command_Z2"), QString::fromUtf8("进 刀 回 零"));
    EXPECT_EQ(rig.text("LabelUnitA"), QString("mm"));
    EXPECT_TRUE(rig.child("Check1")->isHidden());
    EXPECT_TRUE(rig.child("Text3")->isHidden());
    EXPECT_TRUE(!rig.child("Command3_7")->isHidden());

    // The equipment window saves a swing axis and roller feed; closing it
    // re-applies the handler without a restart.
    params.InfeedControl = 0;
    params.FeedType = 0;
    rig.saveParameters();
    rig.closeASetupWindow();
    EXPECT_EQ(rig.text("Command_Z2"), QString::fromUtf8("摆 刀 回 零"));
    EXPECT_EQ(rig.text("Label3_3"), QString::fromUtf8("摆刀零位开关"));
    EXPECT_EQ(rig.text("LabelUnitA"), QString("deg"));
    EXPECT_TRUE(!rig.child("Check1")->isHidden());
    for (const char* gripper : {"Command3_5", "Command3_6", "Command3_7"}) {
        EXPECT_TRUE(rig.child(gripper)->isHidden()) << gripper;
    }
    // In English the swing rows of mainform1.txt apply.
    rig.window->setLanguage(1);
    EXPECT_EQ(rig.text("Command_Z2"), QString("Home Swing"));
}

TEST(MainForm, WholeLetterRunsToTheEndOfJobQuestion) {
    WindowRig rig;
    rig.open();
    EXPECT_TRUE(rig.window->openDrawing(kLetter, std::nullopt));
    rig.window->selectWholeLetter();
    EXPECT_TRUE(!rig.text("Label4_1").isEmpty());
    rig.child<QLineEdit>("Text7")->setText("20");
    QTest::mouseClick(rig.child<QPushButton>("Command_Run"), Qt::LeftButton);
    EXPECT_TRUE(rig.session.machine().run().JobRunActive != 0);
    EXPECT_TRUE(!rig.child<QPushButton>("Command_Run")->isEnabled());
    EXPECT_TRUE(rig.text("Label4_2").endsWith("  mm"));

    // A few timer periods on the real clock; a pause holds the program at
    // its line and the run button goes on from there, the job's lengths
    // unchanged.
    for (int i = 0; i < 5; ++i) {
        rig.window->advance(30);
    }
    QTest::mouseClick(rig.child<QPushButton>("Command_Pause"), Qt::LeftButton);
    auto& run = rig.session.machine().run();
    EXPECT_EQ(run.WaitFlag, 1);
    EXPECT_TRUE(rig.child<QPushButton>("Command_Run")->isEnabled());
    for (int i = 0; i < 20; ++i) {
        rig.window->advance(30);
    }
    const auto line = run.CurrentLine;
    rig.window->advance(30);
    EXPECT_EQ(run.CurrentLine, line);
    const QString total = rig.text("Label4_2");
    QTest::mouseClick(rig.child<QPushButton>("Command_Run"), Qt::LeftButton);
    EXPECT_EQ(run.WaitFlag, 0);
    EXPECT_EQ(run.CurrentLine, line);
    EXPECT_EQ(rig.text("Label4_2"), total);
    EXPECT_TRUE(rig.window->runToEnd(400000));
    EXPECT_TRUE(rig.dialog.saw("加工完成！送料是否回零？"));
    EXPECT_EQ(rig.text("Label4_3"), QString("0.0000  mm"));
    EXPECT_TRUE(rig.child<QPushButton>("Command_Run")->isEnabled());
    EXPECT_TRUE(rig.session.machine().run().JobRunActive == 0);
}

TEST(MainForm, BrokenDrawingOverAGoodOneKeepsTheView) {
    WindowRig rig;
    rig.open();
    EXPECT_TRUE(rig.window->openDrawing(kLetter, std::nullopt));
    const auto nodes = rig.session.outlines().model().nodes().size();
    const auto view = rig.session.outlines().view().rect();
    common::WriteLines(rig.dir / "broken.dxf", {"0", "SECTION", "2", "ENTITIES", "0", "SPLINE"});
    rig.dialog.clear();

    EXPECT_TRUE(!rig.window->openDrawing(rig.dir / "broken.dxf", std::nullopt));
    EXPECT_EQ(rig.dialog.entries().size(), std::size_t{1});
    EXPECT_TRUE(!rig.dialog.entries().front().message.zh.empty());
    EXPECT_EQ(rig.text("Label4_0"), QString::fromStdString(kLetter.string()));
    EXPECT_EQ(rig.session.outlines().model().nodes().size(), nodes);
    EXPECT_EQ(rig.session.outlines().view().rect().w, view.w);
}

// "文件" -> "文字…" with the dialog filled as an operator fills it: OK stays
// off until there are letters, and OK opens them like a drawing. A picture
// of the dialog is saved when KORVEL_SCREENSHOT_DIR names a folder.
TEST(MainForm, TypedTextOpensAsLettersInTheWindow) {
    WindowRig rig;
    rig.open();
    const auto fill = [&](const char* text, const char* shot, bool accept) {
        QTimer::singleShot(0, [&rig, text, shot, accept] {
            auto* dialog = qobject_cast<ui::TextLettersDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog != nullptr);
            auto* ok = dialog->findChild<QPushButton*>("TextOk");
            EXPECT_TRUE(!ok->isEnabled());
            EXPECT_TRUE(!dialog->findChild<QLabel*>("TextProblem")->text().isEmpty());
            dialog->findChild<QLineEdit*>("TextEdit")->setText(QString::fromUtf8(text));
            EXPECT_TRUE(ok->isEnabled());
            if (const char* dir = std::getenv("KORVEL_SCREENSHOT_DIR")) {
                dialog->grab().save(QString(dir) + "/" + shot);
            }
            QTest::mouseClick(accept ? ok : dialog->findChild<QPushButton*>("TextCancel"),
                              Qt::LeftButton);
        });
        rig.child<QAction>("Menu_Text")->trigger();
    };
    fill("招牌 Sign 8", "text-dialog-zh.png", true);
    EXPECT_EQ(rig.session.drawing().format, geometry::DrawingFormat::Text);
    EXPECT_TRUE(rig.text("Label4_0").startsWith(QString::fromUtf8("招牌 Sign 8 (WenQuanYi")));
    rig.window->selectWholeLetter();
    EXPECT_TRUE(!rig.text("Label4_1").isEmpty());

    // In English; cancel keeps the letters shown.
    rig.window->setLanguage(1);
    EXPECT_EQ(rig.text("Menu_Text"), QString::fromUtf8("Text…"));
    const auto nodes = rig.session.outlines().model().nodes().size();
    fill("Korvel", "text-dialog-en.png", false);
    EXPECT_EQ(rig.session.outlines().model().nodes().size(), nodes);
    EXPECT_TRUE(rig.dialog.entries().empty());
}

TEST(MainForm, FieldsAndLanguageSurviveARestart) {
    TempDir dir;
    machine::RecordingDialog dialog;
    {
        app::OperatorSession session(common::AppDir(dir.path()), KORVEL_RESOURCES_DIR, dialog);
        ui::MainForm window(session);
        window.findChild<QLineEdit*>("Text4")->setText("25");
        window.findChild<QLineEdit*>("Text7")->setText("40");
        window.findChild<QCheckBox*>("Check2")->setChecked(true);
        window.findChild<QCheckBox*>("Check5")->setChecked(true);
        window.setLanguage(1);
        window.close();
    }
    app::OperatorSession session(common::AppDir(dir.path()), KORVEL_RESOURCES_DIR, dialog);
    ui::MainForm window(session);
    EXPECT_EQ(window.findChild<QLineEdit*>("Text4")->text(), QString("25"));
    EXPECT_EQ(window.findChild<QLineEdit*>("Text7")->text(), QString("40"));
    EXPECT_TRUE(window.findChild<QCheckBox*>("Check2")->isChecked());
    EXPECT_TRUE(window.findChild<QCheckBox*>("Check5")->isChecked());
    EXPECT_EQ(window.findChild<QPushButton*>("Command1")->text(), QString("Contour Offset"));
}

} // namespace korvel::test
