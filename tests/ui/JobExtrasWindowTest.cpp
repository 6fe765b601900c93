// The main window's job extras on the offscreen platform: the remaining
// time beside the remaining length, the bent-letter preview over the
// outline, the restart at a chosen piece after a stop, and the job log
// naming the drawing that was opened.

#include "app/DisplayPalette.h"
#include "app/JobLog.h"
#include "app/OperatorSession.h"
#include "machine/RecordingDialog.h"
#include "support/TempDir.h"
#include "ui/MainForm.h"
#include "ui/PictureView.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace korvel::test {

namespace {

const std::filesystem::path kExamples = KORVEL_EXAMPLES_DIR;

// A window with the whole of an example letter selected.
struct LetterWindow {
    TempDir dir;
    machine::RecordingDialog dialog;
    app::OperatorSession session{common::AppDir(dir.path()), KORVEL_RESOURCES_DIR, dialog};
    std::unique_ptr<ui::MainForm> window;

    explicit LetterWindow(const char* letter) {
        window = std::make_unique<ui::MainForm>(session);
        EXPECT_TRUE(window->openDrawing(kExamples / letter, std::nullopt));
        window->selectWholeLetter();
        child<QLineEdit>("Text7")->setText("20");
    }
    template <typename T = QWidget> T* child(const char* name) const {
        return window->findChild<T*>(name);
    }
    QString text(const char* name) const { return child<QLabel>(name)->text(); }
    void run() { QTest::mouseClick(child<QPushButton>("Command_Run"), Qt::LeftButton); }
    const app::DisplayLayer& overlay() const {
        return child<ui::PictureView>("Picture1")->displayList().layer(app::Layer::Overlay);
    }
};

} // namespace

TEST(JobExtrasWindow, RemainingTimeCountsDownAndTheLogNamesTheDrawing) {
    LetterWindow w("letterD.dxf");
    EXPECT_TRUE(w.text("LabelJobTime").isEmpty());
    w.run();
    ASSERT_TRUE(w.session.simulated().jobTime().has_value());
    const auto total = w.session.simulated().jobTime()->totalMs();
    ASSERT_GT(total, 1000);
    // At the start the whole estimate is left.
    EXPECT_EQ(w.session.simulated().remainingJobMs(), total);
    EXPECT_TRUE(
        w.text("LabelJobTime").endsWith(QString::fromStdString(app::FormatDuration(total))));

    // Each tick is one timer period of machine time: the figure never
    // rises and, a few seconds in, has come down and is shown.
    auto last = total;
    QString shownBefore = w.text("LabelJobTime");
    for (int i = 0; i < 200; ++i) {
        w.window->advance(30);
        const auto now = w.session.simulated().remainingJobMs();
        ASSERT_TRUE(now.has_value());
        EXPECT_LE(*now, last);
        last = *now;
    }
    EXPECT_LT(last, total);
    EXPECT_TRUE(w.text("LabelJobTime").endsWith(QString::fromStdString(app::FormatDuration(last))));
    EXPECT_NE(w.text("LabelJobTime"), shownBefore);
    if (const char* keep = std::getenv("KORVEL_SCREENSHOT_DIR")) {
        w.window->grab().save(QString(keep) + "/job-time-zh.png");
        w.window->setLanguage(1);
        w.window->refreshDisplay();
        w.window->grab().save(QString(keep) + "/job-time-en.png");
        w.child("LabelJobTime")->parentWidget()->grab().save(QString(keep) + "/job-frame-en.png");
    }

    EXPECT_TRUE(w.window->runToEnd(400000));
    const auto log = app::ReadJobLog(w.session.appDir());
    ASSERT_EQ(log.size(), 1U);
    EXPECT_EQ(log.back().drawing, "letterD.dxf");
    EXPECT_EQ(log.back().ended, "finished");
}

TEST(JobExtrasWindow, PreviewToggleLaysTheBentStripOverTheOutline) {
    LetterWindow w("ringO.dxf");
    auto* toggle = w.child<QAction>("Menu_BendPreview");
    ASSERT_NE(toggle, nullptr);
    EXPECT_TRUE(w.overlay().lines.empty());
    toggle->trigger();
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_FALSE(w.overlay().lines.empty());
    // Both pieces of the ring carry their figures in the segment list.
    auto* list = w.child<QListWidget>("List1");
    ASSERT_EQ(list->count(), 2);
    for (int row = 0; row < 2; ++row) {
        EXPECT_TRUE(list->item(row)->toolTip().startsWith(QString("piece %1 closure").arg(row + 1)))
            << list->item(row)->toolTip().toStdString();
    }
    EXPECT_FALSE(w.text("LabelPreview").isEmpty());
    w.window->grab().save(QString::fromStdString((w.dir.path() / "preview.png").string()));
    if (const char* keep = std::getenv("KORVEL_SCREENSHOT_DIR")) {
        w.window->grab().save(QString(keep) + "/bent-preview.png");
    }

    // A new selection makes it again; switched off, the layer is gone.
    w.window->selectWholeLetter();
    EXPECT_FALSE(w.overlay().lines.empty());
    toggle->trigger();
    EXPECT_TRUE(w.overlay().lines.empty());
    EXPECT_TRUE(list->item(0)->toolTip().isEmpty());
}

TEST(JobExtrasWindow, StoppedJobRestartsAtTheChosenPiece) {
    LetterWindow w("ringO.dxf");
    w.run();
    const QString fullTotal = w.text("Label4_2");
    auto* list = w.child<QListWidget>("List1");
    auto* fromPiece = w.child<QAction>("List1_StartFromPiece");
    ASSERT_NE(fromPiece, nullptr);
    for (int i = 0; i < 20; ++i) {
        w.window->advance(30);
    }
    // Refused while the job runs: the job goes on where it was.
    auto& run = w.session.machine().run();
    list->setCurrentRow(1);
    const auto line = run.CurrentLine;
    fromPiece->trigger();
    EXPECT_TRUE(w.dialog.saw("加工进行中，请先停止加工再从选定段开始。"));
    EXPECT_EQ(run.CurrentLine, line);

    w.window->Command_Stop();
    for (int i = 0; i < 200 && run.anyRunActive(); ++i) {
        w.window->advance(30);
    }
    ASSERT_FALSE(run.anyRunActive());
    list->setCurrentRow(1);
    fromPiece->trigger();
    ASSERT_NE(run.JobRunActive, 0);
    // Only the second piece is left: a shorter job with its own estimate.
    EXPECT_LT(w.session.simulated().lastJob()->totalLength,
              fullTotal.split(' ').front().toDouble());
    EXPECT_EQ(w.session.simulated().remainingJobMs(), w.session.simulated().jobTime()->totalMs());
    EXPECT_TRUE(w.window->runToEnd(400000));
    const auto log = app::ReadJobLog(w.session.appDir());
    ASSERT_EQ(log.size(), 2U);
    EXPECT_EQ(log[0].ended, "stopped");
    EXPECT_EQ(log[1].ended, "finished");
    // The restarted job fed the second piece only.
    EXPECT_GT(log[1].strip, 0.0);
    EXPECT_LT(log[1].strip, fullTotal.split(' ').front().toDouble());
}

} // namespace korvel::test
