#include "ui/JobExtras.h"

#include "app/DisplayPalette.h"
#include "app/JobLog.h"
#include "app/JobPreview.h"
#include "app/JobTimeEstimate.h"
#include "app/OperatorSession.h"
#include "common/Basic.h"
#include "machine/Machine.h"
#include "machine/OperatorDialog.h"
#include "ui/JobLogDialog.h"
#include "ui/MainForm.h"
#include "ui/PictureView.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QStatusBar>
#include <algorithm>
#include <cmath>

namespace korvel::ui {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString Pick(common::Language language, const char* zh, const char* en) {
    return QString::fromUtf8(language == common::Language::English ? en : zh);
}

} // namespace

JobExtras::JobExtras(MainForm& window)
    : QObject(&window), m_window(window), m_session(window.session()) {
    setObjectName("JobExtras");
    m_view = window.findChild<PictureView*>("Picture1");
    m_list1 = window.findChild<QListWidget*>("List1");

    // The time sits in the job information frame, in the row of the
    // remaining length.
    auto* remaining = window.findChild<QLabel*>("Label4_3");
    m_timeLabel = new QLabel(remaining->parentWidget());
    m_timeLabel->setObjectName("LabelJobTime");
    if (auto* grid = qobject_cast<QGridLayout*>(remaining->parentWidget()->layout())) {
        grid->addWidget(m_timeLabel, 3, 2);
    }

    m_previewStatus = new QLabel(&window);
    m_previewStatus->setObjectName("LabelPreview");
    window.statusBar()->addWidget(m_previewStatus);

    m_previewAction = new QAction(&window);
    m_previewAction->setObjectName("Menu_BendPreview");
    m_previewAction->setCheckable(true);
    window.findChild<QMenu*>("Menu_View")->addAction(m_previewAction);
    connect(m_previewAction, &QAction::toggled, this, &JobExtras::setPreviewShown);

    m_fromPieceAction = new QAction(m_list1);
    m_fromPieceAction->setObjectName("List1_StartFromPiece");
    m_list1->addAction(m_fromPieceAction);
    m_list1->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_fromPieceAction, &QAction::triggered, this,
            [this] { startFromPiece(m_list1->currentRow() + 1); });

    m_logAction = new QAction(&window);
    m_logAction->setObjectName("Menu_JobLog");
    auto* file = window.findChild<QMenu*>("Menu_File");
    file->insertAction(window.findChild<QAction*>("Menu_Exit"), m_logAction);
    connect(m_logAction, &QAction::triggered, this, &JobExtras::showJobLog);
    applyTexts();
}

void JobExtras::applyTexts() {
    const auto language = m_session.language();
    m_previewAction->setText(Pick(language, "弯字预览", "Bent letter preview"));
    m_fromPieceAction->setText(Pick(language, "从此段开始加工", "Start from this piece"));
    m_logAction->setText(Pick(language, "加工记录", "Job log"));
}

void JobExtras::refresh() {
    applyTexts();
    const auto language = m_session.language();
    auto& simulated = m_session.simulated();
    if (const auto remaining = simulated.remainingJobMs()) {
        m_timeLabel->setText(Pick(language, "剩余 ", "left ") + Q(app::FormatDuration(*remaining)));
    } else if (const auto& estimate = simulated.jobTime()) {
        m_timeLabel->setText(Pick(language, "预计 ", "total ") +
                             Q(app::FormatDuration(estimate->totalMs())));
    } else {
        m_timeLabel->clear();
    }
}

void JobExtras::selectionChanged() {
    if (m_previewAction->isChecked()) {
        updatePreview();
    }
}

void JobExtras::setPreviewShown(bool shown) {
    if (m_previewAction->isChecked() != shown) {
        m_previewAction->setChecked(shown); // comes back here through toggled
        return;
    }
    if (shown) {
        updatePreview();
    } else {
        clearPreview();
    }
}

void JobExtras::clearPreview() {
    m_view->setOverlay({}, app::StyleOf(app::Layer::Overlay).colour);
    m_previewStatus->clear();
    for (int row = 0; row < m_list1->count(); ++row) {
        m_list1->item(row)->setToolTip({});
    }
}

void JobExtras::updatePreview() {
    clearPreview();
    auto& simulated = m_session.simulated();
    auto& machine = m_session.machine();
    program::BendPreview preview;
    try {
        preview =
            app::PreviewSelectedJob(m_session.appDir(), machine.params(), machine.tables(),
                                    simulated.fields(), simulated.marked(), simulated.motionCard());
    } catch (const common::UserError& e) {
        // Nothing to bend yet (no path, a run panel value the run button
        // would refuse): the status line says why, the view stays clean.
        m_previewStatus->setText(Q(e.message().text(m_session.language())));
        return;
    }
    std::vector<app::Polyline> strips;
    QStringList figures;
    double worst = 0.0;
    for (const auto& piece : preview.pieces) {
        strips.push_back(piece.strip);
        const QString line = Q(program::FormatPiecePreview(piece));
        figures << line;
        worst = std::max(worst, std::abs(piece.closure));
        // The list shows the pieces of one letter; later letters of the
        // job repeat them.
        const int row = piece.number - 1;
        if (row < m_list1->count()) {
            m_list1->item(row)->setToolTip(line);
        }
    }
    m_view->setOverlay(strips, app::StyleOf(app::Layer::Overlay).colour);
    m_previewStatus->setText(Pick(m_session.language(), "弯字预览：%1 段，最大闭合误差 %2 mm",
                                  "Bent letter: %1 pieces, largest closure gap %2 mm")
                                 .arg(preview.pieces.size())
                                 .arg(Q(common::FormatNumber(worst, "0.00"))));
    m_previewStatus->setToolTip(figures.join('\n'));
}

void JobExtras::startFromPiece(int piece) {
    const auto& run = m_session.machine().run();
    if (run.anyRunActive()) {
        say(common::notice("加工进行中，请先停止加工再从选定段开始。",
                           "A job is running: stop it before starting from a chosen piece."));
        return;
    }
    if (piece < 1 || piece > m_list1->count()) {
        say(common::notice("请先在列表中选择开始加工的段。",
                           "Choose the piece to start from in the list first."));
        return;
    }
    m_session.simulated().startJobFromPiece(piece);
    const auto& job = m_session.simulated().lastJob();
    if (job && job->started) {
        m_window.findChild<QLabel*>("Label4_1")->setText(Q(job->selectedLabel));
        m_window.findChild<QLabel*>("Label4_2")->setText(Q(job->totalLabel));
    }
    m_window.refreshDisplay();
    m_view->redraw();
}

void JobExtras::showJobLog() {
    try {
        JobLogDialog dialog(app::ReadJobLog(m_session.appDir()), m_session.language(), &m_window);
        dialog.exec();
    } catch (const common::UserError& e) {
        say(e.message());
    }
}

void JobExtras::say(const common::Message& message) {
    m_session.machine().dialog().show(message);
}

} // namespace korvel::ui
