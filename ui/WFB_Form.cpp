#include "ui/WFB_Form.h"

#include "app/MotorCaptions.h"
#include "app/OperatorState.h"
#include "app/SetupPrograms.h"
#include "common/Basic.h"
#include "machine/Machine.h"
#include "machine/OperatorDialog.h"
#include "ui/CurvaturePlot.h"
#include "ui/XianShiCE.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace korvel::ui {
namespace {

std::string text(const QLineEdit* e) {
    return e->text().toStdString();
}

// Linked counts beyond this are refused by the test program anyway.
constexpr double kMaxCountText = 100000;

} // namespace

WFB_Form::WFB_Form(machine::Machine& machine, app::OperatorState&, common::AppDir app,
                   machine::OperatorDialog& dialog, QWidget* parent)
    : SetupDialog(machine, std::move(app), dialog, parent) {
    const auto& tables = m_machine.tables();
    m_views[0].copy =
        std::make_unique<app::CurvatureTableCopy>(tables.ArcTablePos, tables.ArcTablePosLast);
    m_views[1].copy =
        std::make_unique<app::CurvatureTableCopy>(tables.ArcTableNeg, tables.ArcTableNegLast);
    m_spacing = app::TapSpacingCopy::Load(tables.TapSpacing, tables.TapSpacingCount);

    auto* top = new QVBoxLayout(this);
    auto* upper = new QHBoxLayout;
    upper->addWidget(buildTable(m_views[0], true));
    upper->addWidget(buildTable(m_views[1], false));
    upper->addWidget(buildSpacing());
    top->addLayout(upper);
    top->addWidget(buildTests());

    const QString group = tables.CurvGroupNo < machine::kGroupCount
                              ? QString::fromStdString(tables.CurvGroupNames.at(tables.CurvGroupNo))
                              : QString();
    XianShiCE(*this, app::WFB_FormCaptions(), m_app, "WFB_Form.txt", tables.LanguageFlag, group);
    for (auto& view : m_views) {
        refill(view);
    }
}

WFB_Form::~WFB_Form() = default;

QGroupBox* WFB_Form::buildTable(TableView& view, bool positive) {
    auto* frame = new QGroupBox(positive ? "[+ angle]" : "[- angle]", this);
    auto* grid = new QGridLayout(frame);
    grid->setVerticalSpacing(1);
    const int first = positive ? 1 : 3;
    grid->addWidget(new QLabel("deg", frame), 0, 0);
    grid->addWidget(new QLabel("R mm", frame), 0, 1);
    for (int box = 0; box < app::kShownTableRows; ++box) {
        view.angle[box] = NamedLineEdit(frame, QString("Text%1_%2").arg(first).arg(box), 64);
        view.radius[box] = NamedLineEdit(frame, QString("Text%1_%2").arg(first + 1).arg(box), 64);
        grid->addWidget(view.angle[box], box + 1, 0);
        grid->addWidget(view.radius[box], box + 1, 1);
        for (auto [edit, column] : {std::pair{view.angle[box], app::CurvatureColumn::Angle},
                                    std::pair{view.radius[box], app::CurvatureColumn::Radius}}) {
            edit->installEventFilter(this);
            connect(edit, &QLineEdit::textEdited, this,
                    [this, &view, edit = edit, box, column = column](const QString& typed) {
                        const int last = view.copy->last();
                        view.copy->setCell(box, column, typed.toStdString());
                        if (view.copy->last() != last) {
                            refill(view, edit); // the rows the table now reaches show 0
                        }
                        view.plot->update();
                    });
        }
    }
    view.scroll = new QScrollBar(Qt::Vertical, frame);
    view.scroll->setObjectName(positive ? "VScroll1" : "VScroll2");
    view.scroll->setRange(0, app::kLastFirstShownRow);
    view.scroll->setPageStep(app::kShownTableRows);
    grid->addWidget(view.scroll, 1, 2, app::kShownTableRows, 1);
    connect(view.scroll, &QScrollBar::valueChanged, this, [this, &view](int first) {
        view.copy->scrollTo(first);
        refill(view);
    });
    view.plot =
        new CurvaturePlot(*view.copy, positive ? QColor(200, 40, 40) : QColor(40, 60, 200), frame);
    grid->addWidget(view.plot, 1, 3, app::kShownTableRows, 1);
    const int command = positive ? 0 : 2;
    auto* insert = NamedButton(frame, QString("Command9_%1").arg(command));
    auto* remove = NamedButton(frame, QString("Command9_%1").arg(command + 1));
    grid->addWidget(insert, app::kShownTableRows + 1, 0);
    grid->addWidget(remove, app::kShownTableRows + 1, 1);
    connect(insert, &QPushButton::clicked, this, [this, &view] {
        view.copy->insertRow();
        refill(view);
    });
    connect(remove, &QPushButton::clicked, this, [this, &view] {
        view.copy->deleteRow();
        refill(view);
    });
    return frame;
}

QGroupBox* WFB_Form::buildSpacing() {
    auto* frame = new QGroupBox(this);
    frame->setObjectName("Frame5");
    auto* grid = new QGridLayout(frame);
    grid->setVerticalSpacing(1);
    auto* radiusHead = NamedLineEdit(frame, "Text9_0", 110);
    auto* spacingHead = NamedLineEdit(frame, "Text10_0", 110);
    auto* otherHead = NamedLineEdit(frame, "Text9_14", 110);
    for (auto* heading : {radiusHead, spacingHead, otherHead}) {
        heading->setReadOnly(true);
        heading->setFocusPolicy(Qt::NoFocus);
    }
    grid->addWidget(radiusHead, 0, 0);
    grid->addWidget(spacingHead, 0, 1);
    for (int i = 1; i <= app::kSpacingWindowRows; ++i) {
        m_spacingRadius[i] = NamedLineEdit(frame, QString("Text9_%1").arg(i), 110);
        m_spacingValue[i] = NamedLineEdit(frame, QString("Text10_%1").arg(i), 110);
        m_spacingRadius[i]->setText(QString::fromStdString(m_spacing.radius[i]));
        m_spacingValue[i]->setText(QString::fromStdString(m_spacing.spacing[i]));
        grid->addWidget(m_spacingRadius[i], i, 0);
        grid->addWidget(m_spacingValue[i], i, 1);
    }
    m_other = NamedLineEdit(frame, "Text10_14", 110);
    m_other->setText(QString::fromStdString(m_spacing.other));
    grid->addWidget(otherHead, app::kSpacingWindowRows + 1, 0);
    grid->addWidget(m_other, app::kSpacingWindowRows + 1, 1);
    return frame;
}

QWidget* WFB_Form::buildTests() {
    auto* panel = new QWidget(this);
    auto* rows = new QVBoxLayout(panel);
    auto* test = new QHBoxLayout;
    auto* jogs = new QHBoxLayout;
    auto* close = new QHBoxLayout;
    for (auto* row : {test, jogs, close}) {
        rows->addLayout(row);
    }
    const auto labelled = [&](const char* labelName, const char* fieldName, const char* value) {
        auto* l = new QLabel(panel);
        l->setObjectName(labelName);
        auto* e = NamedLineEdit(panel, fieldName, 64);
        e->setText(value);
        test->addWidget(l);
        test->addWidget(e);
        test->addSpacing(12);
        return e;
    };
    m_tapCount = labelled("Label2", "Text6", "5");
    m_tapAngle = labelled("Label3", "Text7", "10");
    m_tapSpacing = labelled("Label4", "Text8", "2");
    auto* tapTest = NamedButton(panel, "Command7");
    test->addWidget(tapTest);
    test->addStretch();

    m_armAngle = NamedLineEdit(panel, "Text5", 64);
    m_armAngle->setText("10");
    jogs->addWidget(m_armAngle);
    jogs->addWidget(new QLabel("deg", panel));
    for (const char* name : {"Command4", "Command3", "Command5", "Command6"}) {
        jogs->addWidget(NamedButton(panel, name));
    }
    jogs->addStretch();
    jogs->addWidget(NamedButton(panel, "Command8"));

    auto* save = NamedButton(panel, "Command1");
    auto* back = NamedButton(panel, "Command2");
    close->addStretch();
    close->addWidget(save);
    close->addWidget(back);

    const auto find = [panel](const char* objectName) {
        return panel->findChild<QPushButton*>(objectName);
    };
    connect(tapTest, &QPushButton::clicked, this, [this] { startTapTest(); });
    connect(find("Command4"), &QPushButton::clicked, this, [this] {
        m_tests.bendPressed(m_machine.params(), 1, true, common::Val(text(m_armAngle)));
    });
    connect(find("Command3"), &QPushButton::clicked, this, [this] { m_tests.bendHome(); });
    for (const auto& [objectName, retract] :
         {std::pair{"Command5", false}, std::pair{"Command6", true}}) {
        connect(find(objectName), &QPushButton::pressed, this, [this, retract = retract] {
            m_tests.feedPressed(m_machine.params(), retract ? -1 : 1, false, 0);
        });
        connect(find(objectName), &QPushButton::released, this,
                [this] { m_tests.feedReleased(m_machine.params(), false); });
    }
    connect(find("Command8"), &QPushButton::clicked, this, [this] { m_tests.stop(); });
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    return panel;
}

void WFB_Form::refill(TableView& view, const QLineEdit* typing) {
    for (int box = 0; box < app::kShownTableRows; ++box) {
        for (auto [edit, column] : {std::pair{view.angle[box], app::CurvatureColumn::Angle},
                                    std::pair{view.radius[box], app::CurvatureColumn::Radius}}) {
            if (edit != typing) {
                edit->setText(QString::fromStdString(view.copy->cellText(box, column)));
            }
        }
    }
    {
        const QSignalBlocker quiet(view.scroll);
        view.scroll->setValue(view.copy->firstShown());
    }
    paintRows(view);
}

// ShowDQline: the current row grey, every other row white.
void WFB_Form::paintRows(TableView& view) {
    const QColor grey(app::kCurrentRowGrey, app::kCurrentRowGrey, app::kCurrentRowGrey);
    for (int box = 0; box < app::kShownTableRows; ++box) {
        for (QLineEdit* edit : {view.angle[box], view.radius[box]}) {
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, view.copy->isCurrentBox(box) ? grey : Qt::white);
            edit->setPalette(palette);
        }
    }
    view.plot->update();
}

bool WFB_Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (auto& view : m_views) {
            for (int box = 0; box < app::kShownTableRows; ++box) {
                if (watched == view.angle[box] || watched == view.radius[box]) {
                    view.copy->enterBox(box);
                    paintRows(view);
                }
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void WFB_Form::readSpacing() {
    for (int i = 1; i <= app::kSpacingWindowRows; ++i) {
        m_spacing.radius[i] = text(m_spacingRadius[i]);
        m_spacing.spacing[i] = text(m_spacingValue[i]);
    }
    m_spacing.other = text(m_other);
}

void WFB_Form::save() {
    readSpacing();
    tell(app::SaveCurvatureWindow(*m_views[0].copy, *m_views[1].copy, m_spacing, m_machine.store(),
                                  m_machine.tables()));
}

void WFB_Form::startTapTest() {
    const double count = std::clamp(common::Val(text(m_tapCount)), -1.0, kMaxCountText);
    const program::TapTest test{static_cast<int>(std::isfinite(count) ? count : -1),
                                common::Val(text(m_tapAngle)), common::Val(text(m_tapSpacing))};
    tell(app::StartTestProgram(m_machine,
                               [test](program::TestPrograms& p) { p.TapTestProgram(test); }));
}

} // namespace korvel::ui
