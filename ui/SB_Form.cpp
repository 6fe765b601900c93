#include "ui/SB_Form.h"

#include "app/SetupCaptions.h"
#include "common/Basic.h"
#include "common/FieldText.h"
#include "machine/Machine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>

namespace korvel::ui {
namespace {

constexpr int kCombos = 4;
// Step length boxes of the test frame.
constexpr int kStepWidth = 80;

double numberIn(const QLineEdit* edit) {
    return common::Val(edit->text().toStdString());
}

} // namespace

SB_Form::SB_Form(machine::Machine& machine, app::OperatorState& state, common::AppDir app,
                 machine::OperatorDialog& dialog, QWidget* parent)
    : SetupForm(machine, state, std::move(app), dialog, app::EquipmentFields(), parent) {
    setObjectName("SB_Form");
    auto* settings = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(buildSlotting());
    auto* right = new QVBoxLayout;
    right->addWidget(buildFeed());
    right->addWidget(buildBending());
    right->addStretch();
    settings->addLayout(left);
    settings->addLayout(right);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    connect(button(this, "Command1", "保存"), &QPushButton::clicked, this, [this] { save(); });
    connect(button(this, "Command2", "返回"), &QPushButton::clicked, this, &QDialog::reject);
    bottom->addWidget(findChild<QPushButton*>("Command1"));
    bottom->addWidget(findChild<QPushButton*>("Command2"));

    auto* all = new QVBoxLayout(this);
    all->addLayout(settings);
    all->addWidget(buildTests());
    all->addLayout(bottom);

    XianShiCE();
    const app::EquipmentAccess access = app::EquipmentAccessFor(m_state.UserLevel);
    enableControls({"Frame1", "Frame2", "Frame9"}, access.settingsFrames);
    enableControls({"FrameTest"}, access.testFrame);
    enableControls({"Command1"}, access.save);
    LogicLimit();
}

void SB_Form::XianShiCE() {
    for (const auto& caption : loadCaptions(app::SB_FormCaptions(), "SB_Form.txt")) {
        if (caption.key == app::kAutoToolSetCaption) {
            m_autoToolSetCaption = QString::fromStdString(caption.text);
        } else if (caption.key == app::kBackSlotCaption) {
            m_backSlotCaption = QString::fromStdString(caption.text);
        }
    }
    const std::int16_t language = m_machine.tables().LanguageFlag;
    findChild<QPushButton*>("Command7")->setText(language == 0 ? "停止" : "Stop");
    const auto entries = app::SlotActionEntries(language);
    for (int i = 0; i < kCombos; ++i) {
        auto* combo = findChild<QComboBox*>(QString("Combo1_%1").arg(i));
        combo->clear();
        for (const auto& entry : entries) {
            combo->addItem(QString::fromStdString(entry));
        }
        combo->setCurrentIndex(app::SlotActionEntry(m_copy.values().SlotActionOrder, i));
    }
}

QGroupBox* SB_Form::buildSlotting() {
    auto* frame = new QGroupBox("开槽设置", this);
    frame->setObjectName("Frame2");
    auto* g = new QGridLayout(frame);
    int row = 0;
    const auto addRow = [&](std::initializer_list<QWidget*> widgets) {
        int col = 0;
        for (QWidget* w : widgets) {
            g->addWidget(w, row, col++);
        }
        ++row;
    };
    // "夹角：" shows the V-groove's included angle the blade cuts, for reading.
    auto* included = new QLabel(frame);
    included->setObjectName("Label5Value");
    addRow({label(frame, "Label1_0", "切刀刀刃角度："), box(frame, "Text1_0", "BladeAngle"),
            new QLabel("deg", frame), label(frame, "Label5", "夹角："), included});
    addRow({label(frame, "Label1_1", "刀转控制："),
            option(frame, "Option1_0", "开槽前转动", "SpinControl", 0),
            option(frame, "Option1_1", "加工中一直转", "SpinControl", 1)});
    addRow({label(frame, "Label1_2", "上下刀控制："),
            option(frame, "Option2_0", "IO控制", "CutterUpDownControl", 0),
            option(frame, "Option2_1", "电机控制", "CutterUpDownControl", 1)});
    auto* delayUnit = label(frame, "Label4_1", "ms");
    addRow({label(frame, "Label1_14", "到位检测："),
            option(frame, "Option3_0", "IO", "InPositionCheck", 0),
            option(frame, "Option3_1", "延时：", "InPositionCheck", 1),
            box(frame, "Text1_1", "InPositionDelay"), delayUnit});
    addRow({label(frame, "Label1_8", "下刀行程：正切                 背切"),
            box(frame, "Text1_2", "DownStrokeFront"), box(frame, "Text1_6", "DownStrokeBack"),
            label(frame, "Label4_2", "mm")});
    addRow({label(frame, "Label1_4", "开槽控制："),
            option(frame, "Option5_0", "双面切", "SlotControl", 0),
            option(frame, "Option5_1", "正面切", "SlotControl", 1)});
    addRow({label(frame, "Label1_3", "正面摆角控制："),
            option(frame, "Option4_0", "按字形计算摆角", "FrontSwingControl", 0),
            option(frame, "Option4_1", "不摆角", "FrontSwingControl", 1),
            label(frame, "Label1_9", "最大摆角："), box(frame, "Text1_3", "FrontMaxSwing")});
    addRow({label(frame, "Label1_18", "背面摆角控制："),
            option(frame, "Option4_2", "按字形计算摆角", "BackSwingControl", 0),
            option(frame, "Option4_3", "不摆角", "BackSwingControl", 1),
            label(frame, "Label1_17", "最大摆角："), box(frame, "Text1_5", "BackMaxSwing")});
    addRow({label(frame, "Label1_5", "进退刀控制："),
            option(frame, "Option6_0", "无进退", "InfeedControl", 0),
            option(frame, "Option6_1", "电机进退", "InfeedControl", 1),
            flag(frame, "Check1", "进刀前找零", "HomeInfeedFirst")});
    auto* orderRow = new QWidget(frame);
    auto* orderLayout = new QHBoxLayout(orderRow);
    orderLayout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < kCombos; ++i) {
        auto* combo = new QComboBox(orderRow);
        combo->setObjectName(QString("Combo1_%1").arg(i));
        orderLayout->addWidget(combo);
        connect(combo, &QComboBox::activated, this, [this, i](int entry) {
            m_copy.setSlotActionOrder(
                app::ChooseSlotAction(m_copy.values().SlotActionOrder, i, entry));
        });
    }
    g->addWidget(label(frame, "Label1_6", "开槽动作顺序："), row, 0);
    g->addWidget(orderRow, row++, 1, 1, 4);
    addRow({label(frame, "Label1_7", "循环次数："), box(frame, "Text1_4", "CycleCount")});
    const char* strokes[] = {"第一刀行程：", "第二刀行程：", "第三刀行程："};
    for (int i = 0; i < 3; ++i) {
        addRow({label(frame, QString("Label1_%1").arg(10 + i), strokes[i]),
                box(frame, QString("Text5_%1").arg(i),
                    i == 0 ? "CutStroke(0)" : (i == 1 ? "CutStroke(1)" : "CutStroke(2)")),
                label(frame, QString("Label4_%1").arg(10 + i), "mm")});
    }
    addRow({label(frame, "Label1_13", "切断行程："), box(frame, "Text5_3", "CutOffStroke"),
            label(frame, "Label4_13", "mm")});
    addRow({flag(frame, "Check4", "Z轴摆刀", "ZAxisSwingCutter"),
            flag(frame, "Check7", "行程累加", "InfeedAccumulate"),
            flag(frame, "Check5", "进刀限位有效", "InfeedLimitActive")});
    return frame;
}

QGroupBox* SB_Form::buildFeed() {
    auto* frame = new QGroupBox("送料设置", this);
    frame->setObjectName("Frame1");
    auto* g = new QGridLayout(frame);
    g->addWidget(option(frame, "Option7_0", "滚动摩擦送料", "FeedType", 0), 0, 0);
    g->addWidget(option(frame, "Option7_1", "机械手单行程", "FeedType", 1), 0, 1);
    g->addWidget(option(frame, "Option7_2", "机械手双行程", "FeedType", 2), 0, 2);
    g->addWidget(label(frame, "Label2_0", "机械手行程："), 1, 0);
    g->addWidget(box(frame, "Text2_0", "GripperStroke"), 1, 1);
    g->addWidget(new QLabel("mm", frame), 1, 2);
    return frame;
}

QGroupBox* SB_Form::buildBending() {
    auto* frame = new QGroupBox("弯弧设置", this);
    frame->setObjectName("Frame9");
    auto* g = new QGridLayout(frame);
    const char* types[] = {"无弯弧器", "单弯弧器", "双弯弧器", "升降双弯弧器"};
    for (int i = 0; i < 4; ++i) {
        g->addWidget(option(frame, QString("Option8_%1").arg(i), types[i], "BenderType", i), i / 2,
                     i % 2);
    }
    const char* captions[] = {"正向空程角：", "负向空程角：", "最大弯弧角：",
                              "弯弧点至开槽线距离：", "弯弧器进出延时："};
    const char* fields[] = {"IdleAnglePos", "IdleAngleNeg", "MaxBendAngle", "BendToSlotDistance",
                            "BenderInOutDelay"};
    for (int i = 0; i < 5; ++i) {
        g->addWidget(label(frame, QString("Label3_%1").arg(i), captions[i]), 2 + i, 0);
        g->addWidget(box(frame, QString("Text3_%1").arg(i), fields[i]), 2 + i, 1);
    }
    auto* note = label(frame, "Label3_5", "注意：弯弧器进出延时时间为0时，检测方式为IO口检测");
    note->setWordWrap(true);
    g->addWidget(note, 7, 0, 1, 2);
    return frame;
}

void SB_Form::holdButton(const char* name, const std::function<void()>& press,
                         const std::function<void()>& release) {
    auto* b = findChild<QPushButton*>(name);
    connect(b, &QPushButton::pressed, this, press);
    connect(b, &QPushButton::released, this, release);
}

QGroupBox* SB_Form::buildTests() {
    auto* frame = new QGroupBox(this);
    frame->setObjectName("FrameTest");
    auto* rowsLayout = new QVBoxLayout(frame);
    std::array<QHBoxLayout*, 4> rows{};
    for (auto*& row : rows) {
        row = new QHBoxLayout;
        rowsLayout->addLayout(row);
    }
    const auto put = [&rows](int row, QWidget* w) { rows[static_cast<size_t>(row)]->addWidget(w); };
    const auto& v = [this]() -> const machine::ParameterSet& { return m_copy.values(); };
    using program::SlotTest;

    put(0, label(frame, "Label1_16", "开槽功能测试："));
    const char* slotNames[] = {"Command3_0", "Command3_1", "Command3_2"};
    const char* slotTexts[] = {"正面开槽", "终点开槽", "起点开槽"};
    const SlotTest kinds[] = {SlotTest::Front, SlotTest::End, SlotTest::Start};
    for (int i = 0; i < 3; ++i) {
        auto* b = button(frame, slotNames[i], slotTexts[i]);
        put(0, b);
        connect(b, &QPushButton::clicked, this,
                [this, v, kind = kinds[i]] { m_tests.slotTest(v(), kind); });
    }
    auto* fifth = button(frame, "Command3_4", "背面开槽");
    put(0, fifth);
    connect(fifth, &QPushButton::clicked, this, [this, v] {
        if (m_enabling.slotButton5 == app::SlotButton5::AutoToolSet) {
            m_tests.toolSetting(v());
        } else {
            m_tests.slotTest(v(), SlotTest::Back);
        }
    });
    put(0, label(frame, "Label1_15", "回零退刀："));
    auto* home = button(frame, "Command3_3", "回零");
    put(0, home);
    connect(home, &QPushButton::clicked, this, [this] { m_tests.swingHome(); });

    const char* bendTexts[] = {"正向弯弧", "负向弯弧", "回零"};
    for (int i = 0; i < 3; ++i) {
        put(1, button(frame, QString("Command4_%1").arg(i), bendTexts[i]));
    }
    m_bendStep = new QCheckBox("单步步长：", frame);
    m_bendStep->setObjectName("Check2");
    m_bendStepLength = new QLineEdit("1", frame);
    m_bendStepLength->setObjectName("Text7");
    put(1, m_bendStep);
    put(1, m_bendStepLength);
    for (int i = 0; i < 2; ++i) {
        const int direction = i == 0 ? 1 : -1;
        holdButton(
            i == 0 ? "Command4_0" : "Command4_1",
            [this, v, direction] {
                m_tests.bendPressed(v(), direction, m_bendStep->isChecked(),
                                    numberIn(m_bendStepLength));
            },
            [this] { m_tests.bendReleased(m_bendStep->isChecked()); });
    }
    connect(findChild<QPushButton*>("Command4_2"), &QPushButton::clicked, this,
            [this] { m_tests.bendHome(); });

    const char* feedTexts[] = {"送料", "退料", "材料压紧", "机械手1", "机械手2"};
    for (int i = 0; i < 5; ++i) {
        put(2, button(frame, QString("Command5_%1").arg(i), feedTexts[i]));
    }
    m_feedStep = new QCheckBox("单步步长：", frame);
    m_feedStep->setObjectName("Check3");
    m_feedStepLength = new QLineEdit("60", frame);
    m_feedStepLength->setObjectName("Text8");
    put(2, m_feedStep);
    put(2, m_feedStepLength);
    for (int i = 0; i < 2; ++i) {
        const int direction = i == 0 ? 1 : -1;
        holdButton(
            i == 0 ? "Command5_0" : "Command5_1",
            [this, v, direction] {
                m_tests.feedPressed(v(), direction, m_feedStep->isChecked(),
                                    numberIn(m_feedStepLength));
            },
            [this, v] { m_tests.feedReleased(v(), m_feedStep->isChecked()); });
    }
    connect(findChild<QPushButton*>("Command5_2"), &QPushButton::clicked, this,
            [this] { m_tests.toggleClamp(); });
    connect(findChild<QPushButton*>("Command5_3"), &QPushButton::clicked, this,
            [this] { m_tests.toggleRod(1); });
    connect(findChild<QPushButton*>("Command5_4"), &QPushButton::clicked, this,
            [this] { m_tests.toggleRod(2); });

    const char* cutterTexts[] = {"切刀回", "切刀出", "切刀回零", "弯弧杆1伸缩", "弯弧杆2伸缩"};
    for (int i = 0; i < 5; ++i) {
        put(3, button(frame, QString("Command6_%1").arg(i), cutterTexts[i]));
    }
    connect(findChild<QPushButton*>("Command6_0"), &QPushButton::clicked, this,
            [this, v] { m_tests.cutterBack(v()); });
    connect(findChild<QPushButton*>("Command6_1"), &QPushButton::clicked, this,
            [this, v] { m_tests.cutterOut(v()); });
    connect(findChild<QPushButton*>("Command6_2"), &QPushButton::clicked, this,
            [this] { m_tests.cutterHome(); });
    connect(findChild<QPushButton*>("Command6_3"), &QPushButton::clicked, this,
            [this] { m_tests.toggleRod(1); });
    connect(findChild<QPushButton*>("Command6_4"), &QPushButton::clicked, this,
            [this] { m_tests.toggleRod(2); });

    // The stop button has no caption line; XianShiCE names it by language.
    auto* stop = button(frame, "Command7", "停止");
    put(3, stop);
    connect(stop, &QPushButton::clicked, this, [this] { m_tests.stop(); });
    for (auto* row : rows) {
        row->addStretch();
    }
    m_bendStepLength->setMaximumWidth(kStepWidth);
    m_feedStepLength->setMaximumWidth(kStepWidth);
    return frame;
}

void SB_Form::enableControls(std::initializer_list<const char*> names, bool on) {
    for (const char* name : names) {
        if (auto* w = findChild<QWidget*>(name)) {
            w->setEnabled(on);
        }
    }
}

void SB_Form::LogicLimit() {
    findChild<QLabel*>("Label5Value")
        ->setText(QString::fromStdString(common::FieldText(m_copy.values().BladeAngle)) + "°");
    const app::EquipmentEnabling e = app::LogicLimit(m_copy.values());
    m_enabling = e;
    enableControls({"Option3_0", "Option3_1"}, e.inPositionOptions);
    enableControls({"Text1_1", "Label4_1"}, e.inPositionDelay);
    enableControls({"Label1_8", "Text1_2", "Text1_6", "Label4_2"}, e.downStrokeRow);
    enableControls({"Option4_0", "Option4_1", "Option4_2", "Option4_3", "Text1_3", "Text1_5",
                    "Label1_3", "Label1_9", "Label1_17", "Label1_18"},
                   e.swingControls);
    enableControls({"Option5_0", "Option5_1", "Label1_4"}, e.slotSideOptions);
    enableControls({"Check1"}, e.homeInfeedFirst);
    enableControls({"Text5_0", "Text5_1", "Text5_2", "Text5_3", "Label1_10", "Label1_11",
                    "Label1_12", "Label1_13"},
                   e.passStrokes);
    auto* fifth = findChild<QPushButton*>("Command3_4");
    fifth->setText(e.slotButton5 == app::SlotButton5::AutoToolSet ? m_autoToolSetCaption
                                                                  : m_backSlotCaption);
    fifth->setEnabled(e.slotButton5Enabled);
    enableControls({"Text2_0", "Label2_0"}, e.gripperStroke);
    enableControls({"Command5_3"}, e.gripper1);
    enableControls({"Command5_4"}, e.gripper2);
    enableControls({"Text3_0", "Text3_1", "Text3_2", "Text3_3", "Text3_4", "Label3_0", "Label3_1",
                    "Label3_2", "Label3_3", "Label3_4"},
                   e.benderGeometry);
    enableControls({"Command4_0", "Command4_1", "Command4_2"}, e.bendTests);
    enableControls({"Command6_0", "Command6_1"}, e.cutterBackOut);
    enableControls({"Command6_2"}, e.cutterHome);
    enableControls({"Command6_3"}, e.benderRod1);
    enableControls({"Command6_4"}, e.benderRod2);
    for (int i = 0; i < 3; ++i) {
        for (const QString& name : {QString("Text5_%1").arg(i), QString("Label1_%1").arg(10 + i),
                                    QString("Label4_%1").arg(10 + i)}) {
            if (auto* w = findChild<QWidget*>(name)) {
                w->setVisible(e.strokeRowShown[static_cast<size_t>(i)]);
            }
        }
    }
}

} // namespace korvel::ui
