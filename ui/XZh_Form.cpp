#include "ui/XZh_Form.h"

#include "app/CalibrationRules.h"
#include "app/MotorCaptions.h"
#include "app/OperatorState.h"
#include "app/SetupPrograms.h"
#include "common/Basic.h"
#include "common/FieldText.h"
#include "machine/Machine.h"
#include "machine/OperatorDialog.h"
#include "ui/XianShiCE.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace korvel::ui {
namespace {} // namespace

XZh_Form::XZh_Form(machine::Machine& machine, app::OperatorState& state, common::AppDir app,
                   machine::OperatorDialog& dialog, QWidget* parent)
    : SetupDialog(machine, std::move(app), dialog, parent) {
    auto* top = new QVBoxLayout(this);
    // Only the page of the button that opened the window is shown.
    switch (app::PageForTab(state.CalibrationTab)) {
    case app::CalibrationPage::Feed:
        top->addWidget(buildFeedPage());
        break;
    case app::CalibrationPage::SlotDepth:
        top->addWidget(buildSlotPage());
        break;
    case app::CalibrationPage::Arc:
        top->addWidget(buildArcPage());
        break;
    }
    auto* stop = NamedButton(this, "Command5");
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(stop);
    top->addLayout(row);
    connect(stop, &QPushButton::clicked, this, [this] { m_tests.stop(); });
    XianShiCE(*this, app::XZh_FormCaptions(), m_app, "XZh_Form.txt",
              m_machine.tables().LanguageFlag);
    if (m_depthLabel != nullptr) {
        setSlotDepth(m_machine.params().SlotDepthCorr, false);
    }
}

void XZh_Form::done(int result) {
    // Calibrations change the parameter set directly; closing keeps them.
    tell(m_machine.store().SaveSysPara(m_machine.tables().ParaGroupNo, true));
    QDialog::done(result);
}

void XZh_Form::holdFeed(QWidget* page, const char* feedButton, const char* retractButton) {
    for (const auto& [objectName, retract] :
         {std::pair{feedButton, false}, std::pair{retractButton, true}}) {
        auto* b = page->findChild<QPushButton*>(objectName);
        connect(b, &QPushButton::pressed, this, [this, retract = retract] {
            m_tests.feedPressed(m_machine.params(), retract ? -1 : 1, false, 0);
        });
        connect(b, &QPushButton::released, this,
                [this] { m_tests.feedReleased(m_machine.params(), false); });
    }
}

QWidget* XZh_Form::buildFeedPage() {
    auto* page = new QGroupBox(this);
    page->setObjectName("Frame1");
    auto* grid = new QGridLayout(page);
    m_length = LabelledField(*grid, 0, "Label1_0", "Text1_0", "1000");
    m_measured = LabelledField(*grid, 1, "Label1_2", "Text1_2");
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(NamedButton(page, QString("Command1_%1").arg(i)), i, 2);
    }
    holdFeed(page, "Command1_0", "Command1_1");
    connect(page->findChild<QPushButton*>("Command1_2"), &QPushButton::clicked, this, [this] {
        const double length = common::Val(m_length->text().toStdString());
        tell(app::StartTestProgram(m_machine,
                                   [length](program::TestPrograms& p) { p.SLxzhJG(length); }));
    });
    connect(page->findChild<QPushButton*>("Command1_3"), &QPushButton::clicked, this, [this] {
        auto programs = app::SetupTestPrograms(m_machine);
        tell(programs.SLxzhCSh(m_measured->text().toStdString(),
                               common::Val(m_length->text().toStdString())));
    });
    return page;
}

QWidget* XZh_Form::buildSlotPage() {
    auto* page = new QGroupBox(this);
    page->setObjectName("Frame2");
    auto* grid = new QGridLayout(page);
    m_depthLabel = NamedLabel(page, "Label1");
    m_coarse = new QScrollBar(Qt::Horizontal, page);
    m_coarse->setObjectName("HScroll1");
    m_fine = new QScrollBar(Qt::Horizontal, page);
    m_fine->setObjectName("HScroll2");
    for (auto* bar : {m_coarse, m_fine}) {
        bar->setRange(app::kSlotDepthMin, app::kSlotDepthMax);
        bar->setMinimumWidth(260);
    }
    m_coarse->setSingleStep(10);
    m_coarse->setPageStep(10);
    grid->addWidget(m_depthLabel, 0, 0, 1, 3);
    grid->addWidget(m_coarse, 1, 0, 1, 3);
    grid->addWidget(m_fine, 2, 0, 1, 3);
    const QStringList names{"Command3", "Command2_0", "Command2_1", "Command1_5", "Command1_4"};
    for (int i = 0; i < names.size(); ++i) {
        grid->addWidget(NamedButton(page, names[i]), 3 + i / 3, i % 3);
    }
    connect(m_coarse, &QScrollBar::valueChanged, this, [this](int v) { setSlotDepth(v, true); });
    connect(m_fine, &QScrollBar::valueChanged, this, [this](int v) { setSlotDepth(v, false); });
    const auto front = [this] {
        tell(app::StartTestProgram(m_machine, [](program::TestPrograms& p) { p.KCPcshJG(); }));
    };
    connect(page->findChild<QPushButton*>("Command3"), &QPushButton::clicked, this, front);
    connect(page->findChild<QPushButton*>("Command2_0"), &QPushButton::clicked, this, front);
    connect(page->findChild<QPushButton*>("Command2_1"), &QPushButton::clicked, this, [this] {
        tell(app::StartTestProgram(m_machine, [](program::TestPrograms& p) { p.KCNcshJG(); }));
    });
    holdFeed(page, "Command1_5", "Command1_4");
    return page;
}

void XZh_Form::setSlotDepth(int value, bool coarse) {
    const std::int16_t depth = app::SlotDepthFromScroll(value, coarse);
    m_machine.params().SlotDepthCorr = depth;
    for (auto* bar : {m_coarse, m_fine}) {
        const QSignalBlocker quiet(bar);
        bar->setValue(depth);
    }
    m_depthLabel->setText(QString::fromStdString(app::SlotDepthLabel(depth, language())));
}

QWidget* XZh_Form::buildArcPage() {
    auto* page = new QGroupBox(this);
    page->setObjectName("Frame3");
    auto* grid = new QGridLayout(page);
    m_radius = LabelledField(*grid, 0, "Label2", "Text2", "100");
    m_step = LabelledField(*grid, 1, "Label4", "Text3", "0.1");
    for (int side = 0; side < 2; ++side) {
        auto* frame = new QGroupBox(page);
        frame->setObjectName(QString("Frame6_%1").arg(side));
        auto* inner = new QGridLayout(frame);
        for (int i = 0; i < 3; ++i) {
            inner->addWidget(NamedButton(frame, QString("Command4_%1").arg(3 * side + i)), 0, i);
        }
        const char* labelBase = side == 0 ? "Label5_%1" : "Label6_%1";
        for (int i = 0; i < 2; ++i) {
            const int shown = 2 * side + i; // tap, press; positive first
            inner->addWidget(NamedLabel(frame, QString(labelBase).arg(i)), 1 + i, 0, 1, 2);
            auto* value = NamedLabel(frame, QString("Factor%1").arg(shown));
            m_factors.at(static_cast<size_t>(shown)) = value;
            inner->addWidget(value, 1 + i, 2);
        }
        grid->addWidget(frame, 2 + side, 0, 1, 2);
    }
    const auto arcTest = [this](bool positive) {
        const program::TestArc arc{common::Val(m_radius->text().toStdString())};
        tell(app::StartTestProgram(m_machine, [arc, positive](program::TestPrograms& p) {
            positive ? p.WFPcshiJG(arc) : p.WFNcshiJG(arc);
        }));
    };
    const auto on = [page, this](const char* objectName, auto action) {
        connect(page->findChild<QPushButton*>(objectName), &QPushButton::clicked, this, action);
    };
    on("Command4_0", [arcTest] { arcTest(true); });
    on("Command4_1", [this] { stepForce(true, 1); });
    on("Command4_2", [this] { stepForce(true, -1); });
    on("Command4_3", [this] { stepForce(false, -1); });
    on("Command4_4", [this] { stepForce(false, 1); });
    on("Command4_5", [arcTest] { arcTest(false); });
    showFactors();
    return page;
}

void XZh_Form::stepForce(bool positive, int direction) {
    tell(app::StepForceFactor(m_machine, positive, m_radius->text().toStdString(),
                              m_step->text().toStdString(), direction));
    showFactors();
}

void XZh_Form::showFactors() {
    const auto factors = app::ShownForceFactors(m_machine.params());
    for (size_t i = 0; i < factors.size(); ++i) {
        m_factors[i]->setText(QString::fromStdString(common::FieldText(factors[i])));
    }
}

} // namespace korvel::ui
