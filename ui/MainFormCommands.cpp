// MainForm's menu and button commands: each hands the work to the
// application layer and shows what comes back.

#include "app/MainFormCaptions.h"
#include "app/MainFormRules.h"
#include "app/OperatorSession.h"
#include "geometry/AreaCalculator.h"
#include "geometry/PathLengths.h"
#include "geometry/ShapePltExport.h"
#include "machine/ParameterTable.h"
#include "program/EngraveExport.h"
#include "ui/AboutMe_Form.h"
#include "ui/GY1_Form.h"
#include "ui/GY_Form.h"
#include "ui/IO_Form.h"
#include "ui/JJZ_Form.h"
#include "ui/JobExtras.h"
#include "ui/MainForm.h"
#include "ui/PictureView.h"
#include "ui/SB_Form.h"
#include "ui/TextLettersDialog.h"
#include "ui/ToolPanels.h"
#include "ui/WFB_Form.h"
#include "ui/XZh_Form.h"
#include "ui/YH_Form.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <cmath>

namespace korvel::ui {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The open dialog's filter: the drawing kinds the open command reads.
const char* const kDrawingFilter = "DXF文件(*.dxf),G代码(*.nc),PLT文件(*.plt),AI文件(*.ai),"
                                   "SVG文件(*.svg) (*.dxf *.nc *.plt *.ai *.svg)";

} // namespace

// ---------------------------------------------------------------------- file

void MainForm::openFileDialog() {
    const QString file =
        QFileDialog::getOpenFileName(this, QString(), QString(), QString::fromUtf8(kDrawingFilter));
    if (file.isEmpty()) {
        return; // cancelled: nothing changes
    }
    openDrawing(file.toStdString(), std::nullopt);
}

bool MainForm::openDrawing(const std::filesystem::path& drawing, std::optional<double> planeZ) {
    if (geometry::DrawingFormatOf(drawing) == geometry::DrawingFormat::Nc && !planeZ) {
        const common::Message prompt =
            common::notice("请输入加工平面Z坐标：", "Please Input Z Coordinate:");
        bool ok = false;
        const QString answer =
            QInputDialog::getText(this, Q(prompt.title(language())), Q(prompt.text(language())),
                                  QLineEdit::Normal, QString(), &ok);
        if (!ok) {
            return false;
        }
        const auto value = machine::ParseNumber(answer.trimmed().toStdString());
        if (!value || !std::isfinite(*value)) {
            say(common::error("加工平面Z坐标需要一个数值：" + answer.toStdString(),
                              "The Z coordinate needs a number: " + answer.toStdString()));
            return false;
        }
        planeZ = *value;
    }
    try {
        m_session.openDrawing(drawing, planeZ.value_or(0.0));
    } catch (const common::UserError& e) {
        // The drawing shown before stays, with its selection.
        say(e.message());
        return false;
    }
    showOpenedDrawing(drawing.filename().string(), drawing.string());
    return true;
}

void MainForm::showTextDialog() {
    TextLettersDialog dialog(m_session.appDir(), languageFlag(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return; // cancelled: the drawing shown stays
    }
    try {
        const geometry::TextOpenResult opened = m_session.openText(dialog.request());
        showOpenedDrawing(opened.label, opened.label);
        say(geometry::HeightMeasureNote(opened.measure));
    } catch (const common::UserError& e) {
        say(e.message());
    }
}

void MainForm::showOpenedDrawing(const std::string& name, const std::string& shown) {
    m_session.simulated().setDrawing(name);
    child<QLabel>("Label4_0")->setText(Q(shown));
    for (const char* label : {"Label4_1", "Label4_2", "Label4_3"}) {
        child<QLabel>(label)->clear();
    }
    m_list1->clear();
    redrawView();
}

void MainForm::closeFile() {
    m_session.closeDrawing();
    for (const char* name : {"Label4_0", "Label4_1", "Label4_2", "Label4_3"}) {
        child<QLabel>(name)->clear();
    }
    m_list1->clear();
    redrawView();
}

void MainForm::exportPlt() {
    try {
        say(geometry::ExportShapePlt(m_session.appDir(), m_session.drawing().open(), language()));
    } catch (const common::UserError& e) {
        say(e.message());
    }
}

void MainForm::showEngravePanel() {
    if (!program::PathSelected(m_session.appDir())) {
        say(program::NoPathMessage());
        return;
    }
    m_engravePanel->show();
}

void MainForm::exitWindow() {
    close();
}

// ---------------------------------------------------------------------- view

void MainForm::mirror() {
    try {
        m_session.mirror();
    } catch (const common::UserError& e) {
        say(e.message());
        return;
    }
    redrawView();
}

void MainForm::restoreView() {
    m_view->restoreView();
}

void MainForm::cancelSelection() {
    m_session.outlines().cancelSelection();
    m_list1->clear();
    child<QLabel>("Label4_1")->clear();
    redrawView();
}

void MainForm::showArea() {
    say(geometry::AreaMessage(geometry::GetArea(m_session.appDir().file("CtrP.dat"))));
}

void MainForm::showGluePanel() {
    m_gluePanel->showArea();
    m_gluePanel->show();
}

// --------------------------------------------------------------------- nodes

void MainForm::deleteNodeMode() {
    m_view->enterDeleteMode();
}

void MainForm::addNodeMode() {
    m_view->enterAddMode();
}

void MainForm::undoAllDeletes() {
    if (app::NodeUndoAllowed(m_session.outlines().pointer())) {
        m_session.outlines().undoAllDeletes();
    }
    redrawView();
}

void MainForm::undoLastDelete() {
    if (app::NodeUndoAllowed(m_session.outlines().pointer())) {
        m_session.outlines().undoLastDelete();
    }
    redrawView();
}

void MainForm::undoAllAdds() {
    say(m_session.outlines().undoAllAdds());
    redrawView();
}

void MainForm::undoLastAdd() {
    say(m_session.outlines().undoLastAdd());
    redrawView();
}

void MainForm::cancelPath() {
    const bool idle = !m_session.machine().run().anyRunActive();
    say(m_session.outlines().cancelLastPath(idle));
    showPreparation();
    redrawView();
}

void MainForm::selectWholeLetter() {
    try {
        m_session.selectWholeLetter();
    } catch (const common::UserError& e) {
        say(e.message());
    }
    selectionChanged();
}

// ---------------------------------------------------------------- parameters

void MainForm::showGroupManager() {
    m_groupPanel->showCurrentGroups();
    m_groupPanel->show();
}

void MainForm::showCurrentGroups() {
    const std::string line = m_session.machine().store().StatusLine(language());
    say(common::notice(line, line));
}

// ------------------------------------------------------------ setup windows

void MainForm::showAbout() {
    AboutMe_Form about(m_session.appDir(), languageFlag(), this);
    about.exec();
}

void MainForm::openIoWindow() {
    IO_Form window(m_session.machine(), m_state.UserLevel, this);
    showSetupWindow(window);
}

void MainForm::openUserWindow() {
    YH_Form window(m_session.machine(), m_state.UserLevel, this);
    showSetupWindow(window);
}

template <typename Window> void MainForm::openSetup() {
    Window window(m_session.machine(), m_state, m_session.appDir(), m_session.machine().dialog(),
                  this);
    showSetupWindow(window);
}

void MainForm::connectSetupButtons() {
    // Each button whose window is in shows and opens it; the others stay hidden.
    const std::pair<const char*, void (MainForm::*)()> buttons[] = {
        {"Command10_0", &MainForm::openSetup<SB_Form>},
        {"Command10_3", &MainForm::openSetup<GY1_Form>},
        {"Command10_4", &MainForm::openSetup<GY_Form>},
        {"Command10_1", &MainForm::openSetup<JJZ_Form>},
        {"Command10_5", &MainForm::openSetup<WFB_Form>},
        {"Command10_2", &MainForm::openIoWindow},
        {"Command10_6", &MainForm::openUserWindow},
        {"Command4", &MainForm::openSetup<GY1_Form>},
    };
    for (const auto& [name, open] : buttons) {
        auto* button = child<QPushButton>(name);
        button->show();
        connect(button, &QPushButton::clicked, this, open);
    }
    // The calibration buttons open the calibration window on their page.
    for (std::int16_t page = 0; page < 3; ++page) {
        auto* button = child<QPushButton>(QString("Command5_%1").arg(page));
        button->show();
        connect(button, &QPushButton::clicked, this, [this, page] {
            m_state.CalibrationTab = page;
            openSetup<XZh_Form>();
        });
    }
}

// ---------------------------------------------------------- buttons and tabs

void MainForm::Command1() {
    try {
        m_session.applyContourOffset(child<QLineEdit>("Text6")->text().toStdString(),
                                     child<QLineEdit>("Text4")->text().toStdString());
    } catch (const common::UserError& e) {
        say(e.message());
        return;
    }
    showPreparation();
    redrawView();
}

void MainForm::Command7() {
    auto& machine = m_session.machine();
    say(app::SaveCutterStrokes(machine.params(), machine.store(), machine.tables().ParaGroupNo,
                               child<QLineEdit>("Text17_0")->text().toStdString(),
                               child<QLineEdit>("Text17_1")->text().toStdString()));
    activate();
}

void MainForm::tabStrip1Clicked(int tab) {
    if (tab < 0) {
        return;
    }
    if (!app::TabClickAllowed(m_session.machine().run())) {
        // The click is ignored: the tab shown stays selected.
        const int shown = m_frame4->isVisible() ? 1 : 0;
        QTimer::singleShot(0, m_tabStrip1, [this, shown] { m_tabStrip1->setCurrentIndex(shown); });
        return;
    }
    m_tabStrip1->setCurrentIndex(tab);
    m_frame4->setVisible(tab == 1);
    m_controlPage->setVisible(tab != 1);
    m_text1->setText(Q(app::TabMarker(tab, languageFlag())));
}

void MainForm::tabStrip3Clicked(int tab) {
    if (tab < 0) {
        return;
    }
    m_tabStrip3->setCurrentIndex(tab);
    const app::InfoPanels panels = app::InfoPanelsForTab(tab);
    child("Frame6")->setVisible(panels.jobInfo);
    m_list1->setVisible(panels.segmentList);
    child("Frame10")->setVisible(panels.calibration);
    if (panels.clearHighlight) {
        redrawView(0);
    }
}

void MainForm::list1Clicked(int row) {
    if (row < 0 || !app::TabClickAllowed(m_session.machine().run())) {
        return;
    }
    redrawView(row + 1);
}

void MainForm::selectionChanged() {
    showPreparation();
    findChild<JobExtras*>(QString(), Qt::FindDirectChildrenOnly)->selectionChanged();
    redrawView();
}

void MainForm::showPreparation() {
    const auto& prep = m_session.outlines().lastPreparation();
    m_list1->clear();
    for (const auto& line : prep.pieceList) {
        m_list1->addItem(Q(line));
    }
    child<QLabel>("Label4_1")
        ->setText(prep.prepared ? Q(geometry::LengthLabel(prep.totalLength)) : QString());
}

} // namespace korvel::ui
