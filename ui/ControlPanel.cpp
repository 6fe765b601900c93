#include "ui/ControlPanel.h"

#include "common/Basic.h"
#include "machine/Machine.h"
#include "program/MainWindowFields.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel::ui {

ControlPanel::ControlPanel(machine::Machine& machine, program::MainWindowFields& fields,
                           QWidget* parent)
    : QWidget(parent), m_machine(machine), m_fields(fields) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildFeedFrame());
    layout->addWidget(buildHomingFrame());
    layout->addStretch();
    showManualSpeed();
}

QPushButton* ControlPanel::button(const char* name, const QString& caption) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QGroupBox* ControlPanel::buildFeedFrame() {
    auto* frame = new QGroupBox(QStringLiteral("送料"));
    frame->setObjectName("Frame1");
    auto* grid = new QGridLayout(frame);
    auto& manual = m_machine.manual();

    auto* speedLabel = new QLabel(QStringLiteral("送料速度："));
    speedLabel->setObjectName("Label1_7");
    m_speed = new QLineEdit;
    m_speed->setObjectName("Text2");
    grid->addWidget(speedLabel, 0, 0);
    grid->addWidget(m_speed, 0, 1);
    grid->addWidget(new QLabel("mm/min"), 0, 2);
    connect(m_speed, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_machine.setManualFeedSpeedText(text.toStdString()); });

    auto* feed = button("Command_SL", QStringLiteral("送  料"));
    auto* retract = button("Command_TL", QStringLiteral("退  料"));
    // Press and hold: the move lasts from mouse down to mouse up.
    connect(feed, &QPushButton::pressed, this, [&manual] { manual.feedPressed(false); });
    connect(retract, &QPushButton::pressed, this, [&manual] { manual.feedPressed(true); });
    connect(feed, &QPushButton::released, this, [&manual] { manual.feedReleased(); });
    connect(retract, &QPushButton::released, this, [&manual] { manual.feedReleased(); });
    grid->addWidget(feed, 1, 0);
    grid->addWidget(retract, 1, 1);

    m_singleStep = new QCheckBox(QStringLiteral("单步步长："));
    m_singleStep->setObjectName("Check1");
    m_step = new QLineEdit(QString::fromStdString(manual.panel().stepText));
    m_step->setObjectName("Text3");
    auto* stepUnit = new QLabel("mm");
    stepUnit->setObjectName("Text3_Unit");
    grid->addWidget(m_singleStep, 2, 0);
    grid->addWidget(m_step, 2, 1);
    grid->addWidget(stepUnit, 2, 2);
    m_singleStep->setChecked(manual.panel().singleStep);
    connect(m_singleStep, &QCheckBox::toggled, this,
            [&manual](bool on) { manual.panel().singleStep = on; });
    connect(m_step, &QLineEdit::textChanged, this,
            [&manual](const QString& text) { manual.panel().stepText = text.toStdString(); });

    auto* home = button("Command_XZ", QStringLiteral("回 零"));
    connect(home, &QPushButton::clicked, this, [&manual] { manual.Command_XZ(); });
    grid->addWidget(home, 3, 0);

    auto* homeFirst = new QCheckBox(QStringLiteral("加工前回零"));
    homeFirst->setObjectName("Check4");
    homeFirst->setChecked(m_fields.Check4);
    connect(homeFirst, &QCheckBox::toggled, this, [this](bool on) { m_fields.Check4 = on; });
    auto* encoder = new QCheckBox(QStringLiteral("打开编码器"));
    encoder->setObjectName("Check3");
    encoder->setChecked(m_fields.Check3);
    connect(encoder, &QCheckBox::toggled, this, [this](bool on) { m_fields.Check3 = on; });
    grid->addWidget(homeFirst, 3, 1);
    grid->addWidget(encoder, 3, 2);

    auto* clamp = button("Command3_7", QStringLiteral("压紧"));
    auto* gripperI = button("Command3_6", QStringLiteral("机械手1"));
    auto* gripperII = button("Command3_5", QStringLiteral("机械手2"));
    connect(clamp, &QPushButton::clicked, this, [&manual] { manual.toggleClamp(); });
    connect(gripperI, &QPushButton::clicked, this, [&manual] { manual.toggleGripper(1); });
    connect(gripperII, &QPushButton::clicked, this, [&manual] { manual.toggleGripper(2); });
    auto* outputs = new QHBoxLayout;
    outputs->addWidget(clamp);
    outputs->addWidget(gripperI);
    outputs->addWidget(gripperII);
    grid->addLayout(outputs, 4, 0, 1, 3);
    return frame;
}

QGroupBox* ControlPanel::buildHomingFrame() {
    auto* frame = new QGroupBox(QStringLiteral("弯弧-摆刀-下刀  回零"));
    frame->setObjectName("Frame2");
    auto* row = new QHBoxLayout(frame);
    auto* bend = button("Command_Z1", QStringLiteral("弯 弧 回 零"));
    auto* swing = button("Command_Z2", QStringLiteral("摆 刀 回 零"));
    auto* cutter = button("Command_Z3", QStringLiteral("切 刀 回 零"));
    connect(bend, &QPushButton::clicked, this, [this] { m_machine.Command_Z1(); });
    connect(swing, &QPushButton::clicked, this, [this] { m_machine.Command_Z2(); });
    connect(cutter, &QPushButton::clicked, this, [this] { m_machine.Command_Z3(); });
    row->addWidget(bend);
    row->addWidget(swing);
    row->addWidget(cutter);
    return frame;
}

void ControlPanel::showManualSpeed() {
    m_speed->setText(
        QString::fromStdString(common::FormatNumber(m_machine.params().ManualSpeedX, "0")));
}

} // namespace korvel::ui
