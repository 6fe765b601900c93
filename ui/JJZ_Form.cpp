#include "ui/JJZ_Form.h"

#include "app/MotorCaptions.h"
#include "app/MotorSettings.h"
#include "app/OperatorState.h"
#include "app/SetupPrograms.h"
#include "common/Basic.h"
#include "common/FieldText.h"
#include "machine/AxisUnits.h"
#include "machine/Machine.h"
#include "machine/MotionCard.h"
#include "machine/OperatorDialog.h"
#include "machine/ParameterTable.h"
#include "ui/XianShiCE.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel::ui {
namespace {

constexpr int kEncoderRefreshMs = 200;

QString name(const QString& base, int index) {
    return QString("%1_%2").arg(base).arg(index);
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

JJZ_Form::JJZ_Form(machine::Machine& machine, app::OperatorState& state, common::AppDir app,
                   machine::OperatorDialog& dialog, QWidget* parent)
    : SetupDialog(machine, std::move(app), dialog, parent), m_state(state), m_jogs(machine),
      m_copy(machine, app::MotorWindowFields()), m_calibration(machine) {
    auto* top = new QVBoxLayout(this);
    auto* axes = new QGridLayout;
    for (int axis = 0; axis < app::kMotorAxisCount; ++axis) {
        axes->addWidget(buildAxisFrame(axis), axis / 2, axis % 2);
    }
    top->addLayout(axes);
    auto* lower = new QHBoxLayout;
    lower->addWidget(buildEncoderFrame());
    lower->addWidget(buildCalibrationPanel());
    lower->addStretch();
    top->addLayout(lower);

    auto* buttons = new QHBoxLayout;
    auto* save = NamedButton(this, "Command0_0");
    auto* back = NamedButton(this, "Command0_1");
    auto* stop = NamedButton(this, "Command5");
    buttons->addStretch();
    for (auto* b : {stop, save, back}) {
        buttons->addWidget(b);
    }
    top->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    connect(stop, &QPushButton::clicked, this, [this] { m_tests.stop(); });

    const auto& tables = m_machine.tables();
    const QString group = tables.ParaGroupNo < machine::kGroupCount
                              ? text(tables.ParaGroupNames.at(tables.ParaGroupNo))
                              : QString();
    XianShiCE(*this, app::JJZ_FormCaptions(), m_app, "JJZ_Form.txt", tables.LanguageFlag, group);
    m_encoderMode->setText(tables.LanguageFlag == 0 ? "编码器" : "Encoder");

    fillValues();
    applyLevel();
    m_panel->hide();
    m_timer.setInterval(kEncoderRefreshMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { refreshEncoderCount(); });
    m_timer.start();
    refreshEncoderCount();
}

QGroupBox* JJZ_Form::buildAxisFrame(int axis) {
    const int n = axis + 1;
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QString("Frame%1").arg(n));
    m_frames.at(static_cast<size_t>(axis)) = frame;
    auto* grid = new QGridLayout(frame);
    for (int v = 0; v < app::kAxisValueCount; ++v) {
        auto* l = NamedLabel(frame, name(QString("Label%1").arg(n), v));
        auto* e = valueBox(frame, name(QString("Text%1").arg(n), v + 1), app::AxisField(axis, v));
        m_axisText[axis][v + 1] = e;
        grid->addWidget(l, v, 0);
        grid->addWidget(e, v, 1);
    }
    const QString command = QString("Command%1").arg(n);
    std::array<QPushButton*, 4> b{};
    for (int i = 0; i < 4; ++i) {
        b[i] = NamedButton(frame, name(command, i));
        grid->addWidget(b[i], i, 2);
    }
    auto* step = NamedLineEdit(frame, name(QString("Text%1").arg(n), 0), 70);
    step->setText("10");
    m_axisText[axis][0] = step;
    grid->addWidget(step, 2, 3);

    const int cardAxis = n;
    connect(b[0], &QPushButton::pressed, this, [this, cardAxis] { m_jogs.pressed(cardAxis, 1); });
    connect(b[1], &QPushButton::pressed, this, [this, cardAxis] { m_jogs.pressed(cardAxis, -1); });
    for (int i : {0, 1}) {
        connect(b[i], &QPushButton::released, this,
                [this, cardAxis] { m_jogs.released(cardAxis); });
    }
    connect(b[2], &QPushButton::clicked, this,
            [this, cardAxis, step] { m_jogs.step(cardAxis, step->text().toStdString()); });
    connect(b[3], &QPushButton::clicked, this, [this, cardAxis] { m_jogs.home(cardAxis); });
    if (axis == 0) {
        // A click on "脉冲当量：" opens the feed axis calibration.
        auto* equivalent = frame->findChild<QLabel*>("Label1_0");
        equivalent->installEventFilter(this);
        equivalent->setCursor(Qt::PointingHandCursor);
    }
    return frame;
}

// A box of the private copy: what the operator types goes into the copy.
QLineEdit* JJZ_Form::valueBox(QWidget* parent, const QString& objectName, std::string_view field) {
    auto* e = NamedLineEdit(parent, objectName);
    connect(e, &QLineEdit::textChanged, this,
            [this, field](const QString& typed) { m_copy.setText(field, typed.toStdString()); });
    return e;
}

QGroupBox* JJZ_Form::buildEncoderFrame() {
    auto* frame = new QGroupBox(this);
    frame->setObjectName("Frame5");
    m_frames[4] = frame;
    auto* grid = new QGridLayout(frame);
    auto* equivalentLabel = NamedLabel(frame, "Label5_0");
    equivalentLabel->installEventFilter(this);
    equivalentLabel->setCursor(Qt::PointingHandCursor);
    m_encoderEquiv = valueBox(frame, "Text5_0", app::kEncoderEquivField);
    m_encoderCount = NamedLineEdit(frame, "Text5_1");
    m_encoderCount->setReadOnly(true);
    auto* clear = NamedButton(frame, "Command6");
    grid->addWidget(equivalentLabel, 0, 0);
    grid->addWidget(m_encoderEquiv, 0, 1);
    grid->addWidget(NamedLabel(frame, "Label5_1"), 1, 0);
    grid->addWidget(m_encoderCount, 1, 1);
    grid->addWidget(clear, 2, 1);
    connect(clear, &QPushButton::clicked, this, [this] { clearEncoder(); });
    return frame;
}

QGroupBox* JJZ_Form::buildCalibrationPanel() {
    m_panel = new QGroupBox(this);
    m_panel->setObjectName("Frame6");
    auto* grid = new QGridLayout(m_panel);
    for (int i = 0; i < 5; ++i) {
        grid->addWidget(NamedLabel(m_panel, name("Label6", i)), i, 0);
        m_panelText[i] = NamedLineEdit(m_panel, name("Text6", i));
        grid->addWidget(m_panelText[i], i, 1);
    }
    m_panelText[0]->setReadOnly(true);
    m_panelText[1]->setReadOnly(true);
    m_panelText[4]->setReadOnly(true);
    m_panelText[2]->setText("1000");
    m_encoderMode = new QCheckBox(m_panel);
    m_encoderMode->setObjectName("Check2");
    grid->addWidget(m_encoderMode, 5, 0);
    std::array<QPushButton*, 9> b{};
    for (int i = 0; i < 9; ++i) {
        b[i] = NamedButton(m_panel, name("Command7", i));
        grid->addWidget(b[i], i % 5, 2 + i / 5);
    }
    auto programs = [this](auto&& write) { tell(app::StartTestProgram(m_machine, write)); };
    connect(b[0], &QPushButton::clicked, this,
            [programs] { programs([](program::TestPrograms& p) { p.KCPcshJG(); }); });
    connect(b[1], &QPushButton::clicked, this, [this] { m_tests.toggleClamp(); });
    connect(b[2], &QPushButton::clicked, this, [this] { computeNewEquivalent(); });
    connect(b[3], &QPushButton::clicked, this, [this] { resetEquivalent(); });
    connect(b[4], &QPushButton::clicked, this, [this] { startMove(); });
    connect(b[5], &QPushButton::clicked, m_panel, &QWidget::hide);
    connect(b[6], &QPushButton::clicked, this, [this] { clearEncoder(); });
    connect(b[7], &QPushButton::clicked, this, [this] { m_tests.toggleRod(1); });
    connect(b[8], &QPushButton::clicked, this, [this] { m_tests.toggleRod(2); });
    connect(m_encoderMode, &QCheckBox::clicked, this, [this](bool on) {
        openPanel(on ? app::CalibrationMode::Encoder : app::CalibrationMode::FeedAxis);
    });
    return m_panel;
}

void JJZ_Form::fillValues() {
    const auto shown = [this](std::string_view field) {
        const auto* info = machine::FindParameter(field);
        return text(common::FieldText(machine::NumericValue(m_copy.values(), *info)));
    };
    for (int a = 0; a < app::kMotorAxisCount; ++a) {
        for (int v = 0; v < app::kAxisValueCount; ++v) {
            m_axisText[a][v + 1]->setText(shown(app::AxisField(a, v)));
        }
    }
    m_encoderEquiv->setText(shown(app::kEncoderEquivField));
}

void JJZ_Form::applyLevel() {
    const auto access = app::MotorAccess(m_state.UserLevel);
    findChild<QPushButton*>("Command0_0")->setEnabled(access.saveEnabled);
    for (auto* frame : m_frames) {
        frame->setEnabled(access.framesEnabled);
    }
    for (int a = 0; a < app::kMotorAxisCount; ++a) {
        for (int i : {0, 1}) {
            findChild<QPushButton*>(name(QString("Command%1").arg(a + 1), i))
                ->setEnabled(access.holdJogEnabled[a]);
        }
    }
}

void JJZ_Form::save() {
    tell(m_copy.save());
}

bool JJZ_Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched->objectName() == "Label1_0" && m_frames[0]->isEnabled()) {
            openPanel(app::CalibrationMode::FeedAxis);
        } else if (watched->objectName() == "Label5_0" && m_frames[4]->isEnabled()) {
            openPanel(app::CalibrationMode::Encoder);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void JJZ_Form::openPanel(app::CalibrationMode mode) {
    const auto& panel = m_calibration.open(mode);
    m_panel->setTitle(text(panel.title().text(language())));
    m_encoderMode->setChecked(mode == app::CalibrationMode::Encoder);
    m_panelText[0]->setText(text(common::FieldText(panel.original)));
    m_panelText[1]->clear();
    m_panel->show();
    refreshEncoderCount();
}

void JJZ_Form::computeNewEquivalent() {
    const auto result = m_calibration.computeNewEquivalent(m_panelText[2]->text().toStdString(),
                                                           m_panelText[3]->text().toStdString());
    if (!result.newEquiv) {
        tell(result.message);
        return;
    }
    showEquivalent(*result.newEquiv);
}

void JJZ_Form::resetEquivalent() {
    showEquivalent(m_calibration.resetEquivalent());
}

// The machine already runs with the equivalent; the window's copy gets it
// too, so that "保存" keeps it.
void JJZ_Form::showEquivalent(double value) {
    const QString shown = text(common::FieldText(value));
    m_panelText[1]->setText(shown);
    (m_calibration.panel().mode == app::CalibrationMode::Encoder ? m_encoderEquiv
                                                                 : m_axisText[0][1])
        ->setText(shown);
}

void JJZ_Form::startMove() {
    tell(m_calibration.move(m_panelText[2]->text().toStdString()));
}

void JJZ_Form::clearEncoder() {
    m_machine.card().set_actual_pos(machine::kCard, machine::kAxisX, 0);
    refreshEncoderCount();
}

void JJZ_Form::done(int result) {
    if (m_jogs.heldAxis() != 0) {
        m_jogs.released(m_jogs.heldAxis());
    }
    QDialog::done(result);
}

void JJZ_Form::refreshEncoderCount() {
    const QString count =
        QString::number(m_machine.card().get_actual_pos(machine::kCard, machine::kAxisX));
    m_encoderCount->setText(count);
    if (m_calibration.panel().mode == app::CalibrationMode::Encoder) {
        m_panelText[4]->setText(count);
    }
}

} // namespace korvel::ui
