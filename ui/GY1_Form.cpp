#include "ui/GY1_Form.h"

#include "app/ProcessRules.h"
#include "app/SetupCaptions.h"
#include "common/Basic.h"
#include "common/FieldText.h"
#include "machine/AxisUnits.h"
#include "machine/Machine.h"
#include "machine/MotionCard.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace korvel::ui {

using program::SlotTest;

GY1_Form::GY1_Form(machine::Machine& machine, app::OperatorState& state, common::AppDir app,
                   machine::OperatorDialog& dialog, QWidget* parent)
    : SetupForm(machine, state, std::move(app), dialog, app::UserProcessFields(), parent),
      m_calibration(machine) {
    setObjectName("GY1_Form");
    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(buildLength());
    left->addWidget(buildBending());
    left->addWidget(buildExtraSlots());
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(buildSlotting());
    right->addWidget(buildToolSetting());
    right->addWidget(buildCalibration());
    right->addStretch();
    top->addLayout(left);
    top->addLayout(right);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (const char* name : {"Command2_0", "Command2_1", "Command2_2"}) {
        buttons->addWidget(button(this, name, ""));
    }
    click("Command2_0", [this] { save(); });
    click("Command2_1", [this] { reject(); });
    click("Command2_2", [this] { m_tests.stop(); });

    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(buttons);

    loadCaptions(app::GY1_FormCaptions(), "GY1_Form.txt");
    // The longest single feed has no line in the caption file.
    if (m_machine.tables().LanguageFlag != 0) {
        findChild<QLabel*>("Label9")->setText("Longest single feed:");
    }
    findChild<QGroupBox*>("Frame4")->hide();
    findChild<QGroupBox*>("FrameCal")->hide();
    m_counter = new QTimer(this);
    m_counter->setInterval(kCounterIntervalMs);
    connect(m_counter, &QTimer::timeout, this, [this] { refreshCounter(); });
    m_counter->start();
    edited();
}

void GY1_Form::click(const char* name, const std::function<void()>& action) {
    connect(findChild<QPushButton*>(name), &QPushButton::clicked, this, action);
}

void GY1_Form::pair(QWidget* parent, const char* name, const std::function<void()>& press,
                    const std::function<void()>& release) {
    auto* b = parent->findChild<QPushButton*>(name);
    connect(b, &QPushButton::pressed, this, press);
    connect(b, &QPushButton::released, this, release);
}

void GY1_Form::addRows(QGridLayout* grid, int& row, QWidget* frame,
                       std::initializer_list<Row> rows) {
    for (const Row& r : rows) {
        grid->addWidget(label(frame, r.label, ""), row, 0);
        grid->addWidget(box(frame, r.box, r.field), row++, 1);
    }
}

QGroupBox* GY1_Form::buildLength() {
    auto* frame = new QGroupBox(this);
    frame->setObjectName("Frame1");
    auto* g = new QGridLayout(frame);
    int row = 0;
    addRows(g, row, frame,
            {{"Label1_0", "Text1_0", "PulseEquivX"},
             {"Label1_1", "Text1_1", "EncoderPulseEquiv"},
             {"Label1_2", "Text1_2", "EngraveCutterRadius"},
             {"Label1_9", "Text1_9", "JoinPauseTime"}});
    g->addWidget(button(frame, "Command1_0", ""), 0, 2);
    g->addWidget(button(frame, "Command1_1", ""), 1, 2);
    g->addWidget(label(frame, "Label9", "单次最长送料："), row, 0);
    g->addWidget(box(frame, "Text9", "MaxFeedLength"), row++, 1);
    g->addWidget(button(frame, "Command2_3", ""), row, 0);
    g->addWidget(button(frame, "Command2_4", ""), row, 1);
    const auto& v = [this]() -> const machine::ParameterSet& { return m_copy.values(); };
    for (const int dir : {-1, 1}) {
        pair(
            frame, dir < 0 ? "Command2_3" : "Command2_4",
            [this, v, dir] { m_tests.feedPressed(v(), dir, false, 0); },
            [this, v] { m_tests.feedReleased(v(), false); });
    }
    click("Command1_0", [this] { openCalibration(app::CalibrationMode::FeedAxis); });
    click("Command1_1", [this] { openCalibration(app::CalibrationMode::Encoder); });
    return frame;
}

QGroupBox* GY1_Form::buildBending() {
    auto* frame = new QGroupBox(this);
    frame->setObjectName("Frame2");
    auto* g = new QGridLayout(frame);
    int row = 0;
    addRows(g, row, frame,
            {{"Label1_3", "Text1_3", "IdleAnglePos"},
             {"Label1_4", "Text1_4", "IdleAngleNeg"},
             {"Label1_7", "Text1_7", "ArcCorrPos"},
             {"Label1_6", "Text1_6", "ArcCorrNeg"},
             {"Label1_22", "Text1_22", "SlotTapPositionCorr"},
             {"Label1_24", "Text1_24", "BendToSlotRadiusThreshold"},
             {"Label1_23", "Text1_23", "SlotAngleThreshold"}});
    g->addWidget(flag(frame, "Check4", "", "TapAtSlot"), row++, 0);
    const char* names[] = {"Command5_0", "Command5_1", "Command2_5", "Command2_6"};
    for (int i = 0; i < 4; ++i) {
        g->addWidget(button(frame, names[i], ""), row + i / 2, i % 2);
    }
    const auto& v = [this]() -> const machine::ParameterSet& { return m_copy.values(); };
    for (const int dir : {1, -1}) {
        pair(
            frame, dir > 0 ? "Command5_0" : "Command5_1",
            [this, v, dir] { m_tests.bendPressed(v(), dir, false, 0); },
            [this] { m_tests.bendReleased(false); });
    }
    click("Command2_5", [this] { m_tests.toggleRod(1); });
    click("Command2_6", [this] { m_tests.toggleRod(2); });
    return frame;
}

QGroupBox* GY1_Form::buildSlotting() {
    auto* frame = new QGroupBox(this);
    frame->setObjectName("Frame3");
    auto* g = new QGridLayout(frame);
    int row = 0;
    g->addWidget(label(frame, "Label1_5", ""), row, 0);
    g->addWidget(box(frame, "Text1_5", "CycleCount"), row++, 1);
    // Two strokes (front and back cut) without an infeed axis, one with it.
    g->addWidget(label(frame, "Label1_8", ""), row, 0);
    g->addWidget(box(frame, "Text1_8", "DownStrokeFront"), row, 1);
    g->addWidget(box(frame, "Text1_26", "DownStrokeBack"), row++, 2);
    g->addWidget(label(frame, "Label1_14", ""), row, 0);
    g->addWidget(box(frame, "Text1_14", "DownStrokeFront"), row++, 1);
    m_lockTotalDepth = new QCheckBox(frame);
    m_lockTotalDepth->setObjectName("Check3");
    g->addWidget(m_lockTotalDepth, row - 1, 2);
    for (const char* name : {"Text1_8", "Text1_14"}) {
        auto* e = findChild<QLineEdit*>(name);
        connect(e, &QLineEdit::editingFinished, this, [this, e] { checkDownStroke(e); });
    }
    const std::pair<const char*, const char*> strokes[] = {
        {"Label1_10", "CutStroke(0)"}, {"Label1_11", "CutStroke(1)"},
        {"Label1_12", "CutStroke(2)"}, {"Label1_18", "CutStroke(3)"},
        {"Label1_19", "CutStroke(4)"}, {"Label1_20", "CutStroke(5)"}};
    for (const auto& [labelName, field] : strokes) {
        const QString boxName = QString(labelName).replace("Label", "Text");
        g->addWidget(label(frame, labelName, ""), row, 0);
        g->addWidget(box(frame, boxName, field), row++, 1);
    }
    int r = row;
    addRows(g, r, frame,
            {{"Label1_13", "Text1_13", "CutOffStroke"},
             {"Label1_15", "Text1_15", "HomeOffsetZ"},
             {"Label1_16", "Text1_16", "ZToolSetPosition"},
             {"Label1_25", "Text1_25", "InfeedDistanceLimit"}});
    g->addWidget(label(frame, "Label5", ""), r, 0);
    auto* blade =
        new QLabel(QString::fromStdString(common::FieldText(m_copy.values().BladeAngle)), frame);
    blade->setObjectName("Label5Value");
    g->addWidget(blade, r++, 1);
    g->addWidget(flag(frame, "Check1", "", "HomeInfeedFirst"), r, 0);
    g->addWidget(flag(frame, "Check5", "", "ClampCheckActive"), r++, 1);

    auto* tests = new QGridLayout;
    const char* names[] = {"Command1_2", "Command3_0", "Command3_1", "Command1_3", "Command1_4",
                           "Command1_5", "Command1_6", "Command1_7", "Command1_8", "Command1_9"};
    for (int i = 0; i < 10; ++i) {
        tests->addWidget(button(frame, names[i], ""), i / 5, i % 5);
    }
    g->addLayout(tests, r, 0, 1, 3);
    const auto& v = [this]() -> const machine::ParameterSet& { return m_copy.values(); };
    click("Command1_2", [this, v] { m_tests.slotTest(v(), SlotTest::Front); });
    click("Command3_0", [this, v] { m_tests.slotTest(v(), SlotTest::Front); });
    click("Command3_1", [this, v] { m_tests.slotTest(v(), SlotTest::Back); });
    click("Command1_3", [this] { findChild<QGroupBox*>("Frame4")->show(); });
    click("Command1_4", [this] { m_tests.toggleClamp(); });
    for (const int dir : {1, -1}) {
        pair(
            frame, dir > 0 ? "Command1_5" : "Command1_6",
            [this, v, dir] { m_tests.infeedPressed(v(), dir); },
            [this] { m_tests.infeedReleased(); });
    }
    click("Command1_7", [this, v] { m_tests.cutterBack(v()); });
    click("Command1_8", [this, v] { m_tests.cutterOut(v()); });
    click("Command1_9", [this] { m_tests.toggleSpindle(); });
    return frame;
}

QGroupBox* GY1_Form::buildToolSetting() {
    auto* frame = new QGroupBox(this);
    frame->setObjectName("Frame4");
    auto* g = new QGridLayout(frame);
    auto* title = new QLineEdit(frame);
    title->setObjectName("Text8");
    title->setReadOnly(true);
    g->addWidget(title, 0, 0, 1, 4);
    g->addWidget(label(frame, "Label1_17", ""), 1, 0);
    g->addWidget(box(frame, "Text1_17", "InfeedToolSetPosition"), 1, 1);
    g->addWidget(flag(frame, "Check2", "", "InfeedToolSetLock"), 1, 2);
    g->addWidget(label(frame, "Label1_21", ""), 2, 0);
    g->addWidget(box(frame, "Text1_21", "InfeedSafeDistance"), 2, 1);
    g->addWidget(flag(frame, "Check7", "", "ToolSetFromBasePlate"), 2, 2, 1, 2);
    for (int i = 0; i < 4; ++i) {
        g->addWidget(button(frame, QString("Command4_%1").arg(i), ""), 3, i);
    }
    const auto& v = [this]() -> const machine::ParameterSet& { return m_copy.values(); };
    click("Command4_0", [this, v] { m_tests.toolSetting(v()); });
    click("Command4_1", [this] { m_tests.swingHome(); });
    click("Command4_2", [frame] { frame->hide(); });
    click("Command4_3", [this, v] { m_tests.infeedBack(v()); });
    return frame;
}

QGroupBox* GY1_Form::buildExtraSlots() {
    auto* frame = new QGroupBox(this);
    frame->setObjectName("Frame7");
    auto* g = new QGridLayout(frame);
    g->addWidget(flag(frame, "Check6", "", "ExtraSlotActive"), 0, 0, 1, 2);
    g->addWidget(label(frame, "Label2", ""), 1, 0);
    g->addWidget(box(frame, "Text2", "ExtraSlotSpacing"), 1, 1);
    g->addWidget(label(frame, "Label3", ""), 2, 0);
    g->addWidget(box(frame, "Text3", "ExtraSlotDepth"), 2, 1);
    return frame;
}

QGroupBox* GY1_Form::buildCalibration() {
    auto* frame = new QGroupBox(this);
    frame->setObjectName("FrameCal");
    auto* g = new QGridLayout(frame);
    for (int i = 0; i < 5; ++i) {
        g->addWidget(label(frame, QString("Label6_%1").arg(i), ""), i, 0);
        auto* e = new QLineEdit(frame);
        e->setObjectName(QString("Text6_%1").arg(i));
        g->addWidget(e, i, 1);
    }
    for (const char* name : {"Text6_0", "Text6_1", "Text6_4"}) {
        findChild<QLineEdit*>(name)->setReadOnly(true);
    }
    findChild<QLineEdit*>("Text6_2")->setText("1000");
    for (int i = 0; i < 11; ++i) {
        g->addWidget(button(frame, QString("Command7_%1").arg(i), ""), 5 + i / 4, i % 4);
    }
    const auto& v = [this]() -> const machine::ParameterSet& { return m_copy.values(); };
    click("Command7_0", [this, v] { m_tests.slotTest(v(), SlotTest::Front); });
    click("Command7_1", [this] { m_tests.toggleClamp(); });
    click("Command7_2", [this] { computeNewEquivalent(); });
    click("Command7_3", [this] { showEquivalent(m_calibration.resetEquivalent()); });
    click("Command7_4", [this] {
        tell(m_calibration.move(findChild<QLineEdit*>("Text6_2")->text().toStdString()));
    });
    click("Command7_5", [frame] { frame->hide(); });
    for (const int dir : {1, -1}) {
        pair(
            frame, dir > 0 ? "Command7_6" : "Command7_7",
            [this, v, dir] { m_tests.feedPressed(v(), dir, false, 0); },
            [this, v] { m_tests.feedReleased(v(), false); });
    }
    click("Command7_8", [this] {
        m_machine.card().set_actual_pos(machine::kCard, machine::kAxisX, 0);
        refreshCounter();
    });
    click("Command7_9", [this] { m_tests.toggleRod(1); });
    click("Command7_10", [this] { m_tests.toggleRod(2); });
    return frame;
}

void GY1_Form::openCalibration(app::CalibrationMode mode) {
    const auto& panel = m_calibration.open(mode);
    auto* frame = findChild<QGroupBox*>("FrameCal");
    frame->setTitle(QString::fromStdString(panel.title().text(language())));
    findChild<QLineEdit*>("Text6_0")->setText(
        QString::fromStdString(common::FieldText(panel.original)));
    findChild<QLineEdit*>("Text6_1")->clear();
    frame->show();
}

void GY1_Form::computeNewEquivalent() {
    const auto result =
        m_calibration.computeNewEquivalent(findChild<QLineEdit*>("Text6_2")->text().toStdString(),
                                           findChild<QLineEdit*>("Text6_3")->text().toStdString());
    if (!result.newEquiv) {
        tell(result.message);
        return;
    }
    showEquivalent(*result.newEquiv);
}

// The machine already runs with the equivalent; the copy gets it too, so
// that "保存" keeps it.
void GY1_Form::showEquivalent(double value) {
    findChild<QLineEdit*>("Text6_1")->setText(QString::fromStdString(common::FieldText(value)));
    m_copy.setValue(m_calibration.panel().mode == app::CalibrationMode::Encoder
                        ? "EncoderPulseEquiv"
                        : "PulseEquivX",
                    value);
    refresh();
}

void GY1_Form::refreshCounter() {
    const std::int32_t count = m_machine.card().get_actual_pos(machine::kCard, machine::kAxisX);
    findChild<QLineEdit*>("Text6_4")->setText(QString::number(count));
}

void GY1_Form::checkDownStroke(QLineEdit* e) {
    const app::StrokeCheck r = app::CheckDownStroke(
        m_machine.params(), common::Val(e->text().toStdString()), m_lockTotalDepth->isChecked());
    if (!r.accepted) {
        m_copy.setValue("DownStrokeFront", r.value);
        refresh();
        tell(r.message);
    }
}

void GY1_Form::edited() {
    // One front-and-back stroke pair without an infeed axis; a motor infeed
    // cuts both faces to one depth.
    const bool infeed = m_copy.values().InfeedControl == 1;
    for (const char* name : {"Label1_8", "Text1_8", "Text1_26"}) {
        findChild<QWidget*>(name)->setVisible(!infeed);
    }
    for (const char* name : {"Label1_14", "Text1_14", "Check3"}) {
        findChild<QWidget*>(name)->setVisible(infeed);
    }
    findChild<QLineEdit*>("Text1_17")->setReadOnly(m_copy.values().InfeedToolSetLock != 0);
    // Both stroke boxes edit the same value: keep the other one in step.
    const QString front =
        QString::fromStdString(common::FieldText(m_copy.value("DownStrokeFront")));
    for (const char* name : {"Text1_8", "Text1_14"}) {
        auto* e = findChild<QLineEdit*>(name);
        if (!e->hasFocus() && e->text() != front) {
            e->setText(front);
        }
    }
}

} // namespace korvel::ui
