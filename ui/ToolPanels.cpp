#include "ui/ToolPanels.h"

#include "app/OperatorSession.h"
#include "common/Basic.h"
#include "geometry/AreaCalculator.h"
#include "machine/OperatorDialog.h"
#include "machine/ParameterTable.h"
#include "program/EngraveExport.h"
#include "program/GroovePositions.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korvel::ui {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string S(const QString& text) {
    return text.toStdString();
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(name);
    return button;
}

void Show(app::OperatorSession& session, const common::Message& message) {
    if (!message.empty()) {
        session.machine().dialog().show(message);
    }
}

// A group box of ten numbered option buttons.
QGroupBox* GroupChoice(QWidget* parent, const char* frameName, const char* caption,
                       const char* optionName, std::array<QRadioButton*, 10>& options) {
    auto* frame = new QGroupBox(QString::fromUtf8(caption), parent);
    frame->setObjectName(frameName);
    auto* grid = new QGridLayout(frame);
    auto* group = new QButtonGroup(frame);
    for (int i = 0; i < 10; ++i) {
        auto* option = new QRadioButton(QString::number(i + 1), frame);
        option->setObjectName(QString("%1_%2").arg(optionName).arg(i));
        group->addButton(option, i);
        grid->addWidget(option, i / 5, i % 5);
        options[static_cast<std::size_t>(i)] = option;
    }
    return frame;
}

} // namespace

// ---------------------------------------------------------------- QHparaFrame

ParameterGroupPanel::ParameterGroupPanel(app::OperatorSession& session, QWidget* parent)
    : QGroupBox(parent), m_session(session) {
    setObjectName("QHparaFrame");
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QString::fromUtf8("参数组管理切换"), this);
    title->setObjectName("Text12");
    layout->addWidget(title);

    layout->addWidget(GroupChoice(this, "Frame8_0", "设备参数组", "Option1", m_paraGroups));
    m_paraNote = new QLineEdit(this);
    m_paraNote->setObjectName("Text11");
    layout->addWidget(m_paraNote);
    layout->addWidget(GroupChoice(this, "Frame8_1", "曲率表参数组", "Option2", m_curvGroups));
    m_curvNote = new QLineEdit(this);
    m_curvNote->setObjectName("Text13");
    layout->addWidget(m_curvNote);

    auto* buttons = new QGridLayout;
    auto* saveNotes = Button(this, "Command3_0", "保存说明");
    auto* switchGroups = Button(this, "Command3_1", "切换参数");
    auto* close = Button(this, "Command3_2", "关  闭");
    auto* copyParams = Button(this, "Command3_3", "复制当前参数至所有组");
    auto* copyCurv = Button(this, "Command3_4", "复制当前参数至所有组");
    buttons->addWidget(copyParams, 0, 0, 1, 3);
    buttons->addWidget(copyCurv, 1, 0, 1, 3);
    buttons->addWidget(saveNotes, 2, 0);
    buttons->addWidget(switchGroups, 2, 1);
    buttons->addWidget(close, 2, 2);
    layout->addLayout(buttons);

    // Choosing a group shows its note, ready to be edited and saved.
    auto& tables = m_session.machine().tables();
    for (std::size_t i = 0; i < 10; ++i) {
        connect(m_paraGroups[i], &QRadioButton::toggled, this, [this, &tables, i](bool on) {
            if (on) {
                m_paraNote->setText(Q(tables.ParaGroupNames[i]));
            }
        });
        connect(m_curvGroups[i], &QRadioButton::toggled, this, [this, &tables, i](bool on) {
            if (on) {
                m_curvNote->setText(Q(tables.CurvGroupNames[i]));
            }
        });
    }
    connect(saveNotes, &QPushButton::clicked, this, &ParameterGroupPanel::saveNotes);
    connect(switchGroups, &QPushButton::clicked, this, &ParameterGroupPanel::switchGroups);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    connect(copyParams, &QPushButton::clicked, this,
            [this] { Show(m_session, m_session.machine().store().CopyParamsToAllGroups()); });
    connect(copyCurv, &QPushButton::clicked, this,
            [this] { Show(m_session, m_session.machine().store().CopyCurvatureToAllGroups()); });
}

void ParameterGroupPanel::showCurrentGroups() {
    const auto& tables = m_session.machine().tables();
    m_paraGroups[static_cast<std::size_t>(tables.ParaGroupNo)]->setChecked(true);
    m_curvGroups[static_cast<std::size_t>(tables.CurvGroupNo)]->setChecked(true);
    m_paraNote->setText(Q(tables.ParaGroupNames[static_cast<std::size_t>(tables.ParaGroupNo)]));
    m_curvNote->setText(Q(tables.CurvGroupNames[static_cast<std::size_t>(tables.CurvGroupNo)]));
}

int ParameterGroupPanel::selected(const std::array<QRadioButton*, 10>& options) const {
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (options[i]->isChecked()) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

void ParameterGroupPanel::saveNotes() {
    auto& tables = m_session.machine().tables();
    tables.ParaGroupNames[static_cast<std::size_t>(selected(m_paraGroups))] = S(m_paraNote->text());
    tables.CurvGroupNames[static_cast<std::size_t>(selected(m_curvGroups))] = S(m_curvNote->text());
    Show(m_session, m_session.machine().store().SaveParaGroup());
}

void ParameterGroupPanel::switchGroups() {
    // The notes typed for the chosen groups go into ParaGroup.ini with the switch.
    auto& tables = m_session.machine().tables();
    tables.ParaGroupNames[static_cast<std::size_t>(selected(m_paraGroups))] = S(m_paraNote->text());
    tables.CurvGroupNames[static_cast<std::size_t>(selected(m_curvGroups))] = S(m_curvNote->text());
    const auto messages =
        m_session.machine().store().SwitchGroups(selected(m_paraGroups), selected(m_curvGroups));
    for (const auto& message : messages) {
        Show(m_session, message);
    }
    m_session.parametersChanged();
    emit groupsSwitched();
}

// ------------------------------------------------------------------- OutFrame

EngravePanel::EngravePanel(app::OperatorSession& session, QWidget* parent)
    : QGroupBox(parent), m_session(session) {
    setObjectName("OutFrame");
    auto* form = new QFormLayout(this);
    const char* captions[] = {"文件名：", "开槽深度（Z方向）：", "材料宽度（X方向）：",
                              "加工时主轴转速：", "加工时进给速度："};
    auto label = [this, &captions](int i) {
        auto* l = new QLabel(QString::fromUtf8(captions[i]), this);
        l->setObjectName(QString("Label5_%1").arg(i));
        return l;
    };
    m_fileName = new QLineEdit("KC_G.nc", this);
    m_fileName->setObjectName("Text8");
    form->addRow(label(0), m_fileName);
    for (int i = 0; i < 4; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString("Text9_%1").arg(i));
        m_values[static_cast<std::size_t>(i)] = edit;
        form->addRow(label(i + 1), edit);
    }
    auto* row = new QHBoxLayout;
    auto* output = Button(this, "Command2_0", "输出");
    auto* cancel = Button(this, "Command2_1", "取消");
    row->addWidget(output);
    row->addWidget(cancel);
    form->addRow(row);
    connect(output, &QPushButton::clicked, this, &EngravePanel::output);
    connect(cancel, &QPushButton::clicked, this, &QWidget::hide);
}

void EngravePanel::output() {
    program::EngraveFields fields;
    fields.fileName = S(m_fileName->text());
    fields.depth = S(m_values[0]->text());
    fields.width = S(m_values[1]->text());
    fields.spindle = S(m_values[2]->text());
    fields.feed = S(m_values[3]->text());
    program::GrooveOptions options;
    options.joinLength = common::Val(m_session.simulated().fields().Text4);
    try {
        const std::size_t grooves =
            program::ExportEngraveProgram(m_session.appDir(), fields, m_session.machine().params(),
                                          m_session.simulated().marked(), options);
        const std::string path = m_session.appDir().file(fields.fileName).string();
        Show(m_session,
             common::notice("开槽程序已保存为 " + path + "（" + std::to_string(grooves) + " 个槽）",
                            "Slot program saved as " + path + " (" + std::to_string(grooves) +
                                " grooves)"));
        hide();
    } catch (const common::UserError& e) {
        // The panel stays open so the operator can correct the value.
        Show(m_session, e.message());
    }
}

// -------------------------------------------------------------------- Frame11

GluePanel::GluePanel(app::OperatorSession& session, QWidget* parent)
    : QGroupBox(parent), m_session(session) {
    setObjectName("Frame11");
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QString::fromUtf8("计算胶水重量"), this);
    title->setObjectName("Text10_1");
    layout->addWidget(title);
    m_area = new QLabel(this);
    m_area->setObjectName("Text10_0");
    m_area->setWordWrap(true);
    layout->addWidget(m_area);
    auto* form = new QFormLayout;
    for (auto& label : m_labels) {
        label = new QLabel(this);
    }
    m_density = new QLineEdit("1.2", this);
    m_density->setObjectName("Text15");
    m_thickness = new QLineEdit("0.1", this);
    m_thickness->setObjectName("Text16");
    m_weight = new QLabel(this);
    m_weight->setObjectName("Text10_2");
    form->addRow(m_labels[0], m_density);
    form->addRow(m_labels[1], m_thickness);
    form->addRow(m_labels[2], m_weight);
    layout->addLayout(form);
    auto* row = new QHBoxLayout;
    auto* calculate = Button(this, "Command6_0", "计算重量");
    auto* close = Button(this, "Command6_1", "关闭");
    m_buttons = {calculate, close};
    row->addWidget(calculate);
    row->addWidget(close);
    layout->addLayout(row);
    connect(calculate, &QPushButton::clicked, this, &GluePanel::calculate);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

QString GluePanel::text(const char* zh, const char* en) const {
    return QString::fromUtf8(m_session.language() == common::Language::Chinese ? zh : en);
}

void GluePanel::showArea() {
    const std::string area = geometry::GetArea(m_session.appDir().file("CtrP.dat"));
    m_areaSquareMm = common::Val(area);
    m_area->setText(Q(geometry::GlueAreaMessage(m_areaSquareMm).text(m_session.language())));
    m_labels[0]->setText(text("胶水比重：", "Glue Density:"));
    m_labels[1]->setText(text("胶水厚度：", "Glue Thick:"));
    m_labels[2]->setText(text("胶水重量：", "Glue Weight:"));
    static_cast<QPushButton*>(m_buttons[0])->setText(text("计算重量", "Calculate Weight"));
    static_cast<QPushButton*>(m_buttons[1])->setText(text("关闭", "Close"));
    m_weight->clear();
}

void GluePanel::calculate() {
    const auto density = machine::ParseNumber(S(m_density->text()).c_str());
    const auto thickness = machine::ParseNumber(S(m_thickness->text()).c_str());
    if (!density || !thickness) {
        Show(m_session,
             common::error("胶水比重和厚度需要数值", "Density and thickness need numbers"));
        return;
    }
    try {
        const double weight = geometry::GlueWeight(m_areaSquareMm / 100.0, *density, *thickness);
        m_weight->setText(Q(geometry::GlueWeightMessage(weight).text(m_session.language())));
    } catch (const common::UserError& e) {
        Show(m_session, e.message());
    }
}

} // namespace korvel::ui
