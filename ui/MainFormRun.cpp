// MainForm's job side: the run, pause and stop buttons, Timer2 driving the
// executor, and the status frame and job labels refreshed from what the
// executor shows.

#include "app/MainFormRules.h"
#include "app/OperatorSession.h"
#include "ui/JobExtras.h"
#include "ui/MainForm.h"
#include "ui/PictureView.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

namespace korvel::ui {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

void Light(QLabel* lamp, bool lit) {
    if (lamp->property("lit").toBool() != lit) {
        lamp->setProperty("lit", lit);
        lamp->style()->unpolish(lamp);
        lamp->style()->polish(lamp);
    }
}

} // namespace

void MainForm::startTimer2() {
    m_clock.start();
    m_timer2->start();
}

void MainForm::stopTimer2() {
    m_timer2->stop();
}

void MainForm::timer2Tick() {
    // A message box raised inside a tick runs its own event loop, in which
    // the timer keeps firing: those periods wait, and the machine time they
    // stand for is given to the next tick once the box is answered.
    if (m_inTick) {
        return;
    }
    m_inTick = true;
    advance(m_clock.restart());
    m_inTick = false;
}

void MainForm::advance(std::int64_t elapsedMs) {
    m_session.timerTick(elapsedMs);
    m_session.simulated().followRunningJob();
    refreshDisplay();
}

bool MainForm::runToEnd(std::int64_t maxTicks) {
    const bool ended = m_session.runToEnd(maxTicks);
    refreshDisplay();
    return ended;
}

void MainForm::copyRunFields() {
    auto& fields = m_session.simulated().fields();
    fields.Text4 = child<QLineEdit>("Text4")->text().toStdString();
    fields.Text5 = child<QLineEdit>("Text5")->text().toStdString();
    fields.Text7 = child<QLineEdit>("Text7")->text().toStdString();
    fields.Text6 = child<QLineEdit>("Text6")->text().toStdString();
    fields.Check2 = child<QCheckBox>("Check2")->isChecked();
    fields.Check3 = child<QCheckBox>("Check3")->isChecked();
    fields.Check4 = child<QCheckBox>("Check4")->isChecked();
    fields.Check5 = child<QCheckBox>("Check5")->isChecked();
}

void MainForm::Command_Run() {
    copyRunFields();
    const bool wasRunning = m_session.machine().run().anyRunActive();
    m_session.runCommand();
    const auto& job = m_session.simulated().lastJob();
    // A new job shows its lengths; resuming a paused one changes nothing.
    if (!wasRunning && job && job->started) {
        child<QLabel>("Label4_1")->setText(Q(job->selectedLabel));
        child<QLabel>("Label4_2")->setText(Q(job->totalLabel));
    }
    refreshDisplay();
    redrawView();
}

void MainForm::Command_Pause() {
    m_session.machine().executor().Command_Pause();
    refreshDisplay();
}

void MainForm::Command_Stop() {
    m_session.machine().executor().Command_Stop();
    refreshDisplay();
    redrawView();
}

void MainForm::jobFinished() {
    // The run controls return to idle and the finished path shows in the view.
    child<QPushButton>("Command_Run")->setEnabled(true);
    child<QPushButton>("Command_Pause")->setEnabled(false);
    redrawView();
}

void MainForm::refreshDisplay() {
    const auto& display = m_session.machine().executor().display();
    const char* fields[] = {"TextX", "TextY", "TextZ", "TextA"};
    for (std::size_t i = 0; i < 4; ++i) {
        child<QLineEdit>(fields[i])->setText(Q(display.positions[i]));
    }
    child<QLineEdit>("TextF")->setText(Q(display.feedSpeed));
    const app::StatusLamps lamps = app::LampsOf(display);
    for (std::size_t i = 0; i < lamps.outputs.size(); ++i) {
        Light(child<QLabel>(QString("Shape1_%1").arg(i)), lamps.outputs[i]);
        Light(child<QLabel>(QString("Shape2_%1").arg(i)), lamps.inputs[i]);
    }
    const auto& run = m_session.machine().run();
    if (run.JobRunActive != 0 || display.feedLength > 0.0) {
        child<QLabel>("Label4_3")->setText(Q(display.remainingText));
    }
    // The run button starts a job or resumes a paused one; pause acts on a
    // moving run only.
    const bool running = run.anyRunActive();
    m_view->setRunRequested(run.JobRunActive != 0);
    child<QPushButton>("Command_Run")
        ->setEnabled(run.runCommandStep() != machine::RunCommandStep::Busy);
    child<QPushButton>("Command_Pause")->setEnabled(running && run.WaitFlag == 0);
    findChild<JobExtras*>(QString(), Qt::FindDirectChildrenOnly)->refresh();
}

void MainForm::redrawView(int highlightedSegment) {
    m_view->redraw(highlightedSegment);
}

} // namespace korvel::ui
