#include "ui/MainForm.h"

#include "app/Captions.h"
#include "app/MainFormCaptions.h"
#include "app/OperatorSession.h"
#include "machine/OperatorDialog.h"
#include "ui/ControlPanel.h"
#include "ui/JobExtras.h"
#include "ui/PictureView.h"
#include "ui/SimulatedPanel.h"
#include "ui/ToolPanels.h"
#include "ui/XianShiCE.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace korvel::ui {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

template <typename W> W* Named(QWidget* parent, const QString& name) {
    auto* w = new W(parent);
    w->setObjectName(name);
    return w;
}

QLabel* Caption(QWidget* parent, const QString& name, const char* text) {
    auto* label = Named<QLabel>(parent, name);
    label->setText(QString::fromUtf8(text));
    return label;
}

QLineEdit* Field(QWidget* parent, const QString& name, const char* text = "") {
    auto* edit = Named<QLineEdit>(parent, name);
    edit->setText(QString::fromUtf8(text));
    return edit;
}

QPushButton* Button(QWidget* parent, const QString& name, const char* text) {
    auto* button = Named<QPushButton>(parent, name);
    button->setText(QString::fromUtf8(text));
    return button;
}

QCheckBox* Check(QWidget* parent, const QString& name, const char* text) {
    auto* check = Named<QCheckBox>(parent, name);
    check->setText(QString::fromUtf8(text));
    return check;
}

QGroupBox* Frame(QWidget* parent, const QString& name, const char* title = "") {
    auto* frame = Named<QGroupBox>(parent, name);
    frame->setTitle(QString::fromUtf8(title));
    return frame;
}

// A value field with its caption before and its unit after.
void ValueRow(QGridLayout* grid, int row, QLabel* caption, QWidget* value, QLabel* unit = nullptr) {
    grid->addWidget(caption, row, 0);
    grid->addWidget(value, row, 1);
    if (unit != nullptr) {
        grid->addWidget(unit, row, 2);
    }
}

void SetShown(QWidget* widget, app::Shown shown) {
    if (widget != nullptr && shown != app::Shown::Unchanged) {
        widget->setVisible(shown == app::Shown::Visible);
    }
}

// A lamp: a small round indicator lit green (on) or grey (off).
QLabel* Lamp(QWidget* parent, const QString& name) {
    auto* lamp = Named<QLabel>(parent, name);
    lamp->setFixedSize(14, 14);
    lamp->setProperty("lit", false);
    lamp->setStyleSheet("QLabel{border-radius:7px;border:1px solid #555;background:#9a9a9a;}"
                        "QLabel[lit=\"true\"]{background:#20d020;}");
    return lamp;
}

} // namespace

MainForm::MainForm(app::OperatorSession& session, QWidget* parent)
    : QMainWindow(parent), m_session(session) {
    setObjectName("MainForm");
    // The machine maker's icon, when the application folder has one.
    const auto icon = m_session.appDir().file("公司图标.ico");
    if (std::filesystem::exists(icon)) {
        setWindowIcon(QIcon(QString::fromStdString(icon.string())));
    }
    buildMenus();

    // The view grows with the window with the machine status below it; the
    // job panel heads the column beside it, the tabs and tool panels follow.
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    auto* left = new QWidget(splitter);
    auto* leftColumn = new QVBoxLayout(left);
    leftColumn->setContentsMargins(0, 0, 0, 0);
    // The outline view: picks and node edits go to the outline session,
    // right clicks open the context menu, refusals come back as messages.
    m_view = new PictureView(m_session.outlines(), m_session.simulated().marked(), left);
    m_view->setObjectName("Picture1");
    m_contextMenu = buildContextMenu();
    connect(m_view, &PictureView::contextMenuRequested, this,
            [this](QPoint at) { m_contextMenu->popup(at); });
    connect(m_view, &PictureView::selectionChanged, this, &MainForm::selectionChanged);
    connect(m_view, &PictureView::messageRaised, this, &MainForm::say);
    leftColumn->addWidget(m_view, 1);
    leftColumn->addWidget(buildStatusFrame());

    auto* scroll = new QScrollArea(splitter);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(buildSideColumn());
    scroll->setMinimumWidth(340);
    splitter->addWidget(left);
    splitter->addWidget(scroll);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setSizes({900, 380});
    setCentralWidget(splitter);

    // The machine's own buttons exist only on the simulated machine.
    if (auto* simulated = m_session.simulated().simulatedCard()) {
        m_simPanel = new SimulatedPanel(*simulated, m_session.machine().params(), this);
        addDockWidget(Qt::BottomDockWidgetArea, m_simPanel);
    }
    m_machineStatus = new QLabel(this);
    m_groupStatus = new QLabel(this);
    statusBar()->addWidget(m_machineStatus);
    statusBar()->addPermanentWidget(m_groupStatus);

    m_timer2 = new QTimer(this);
    m_timer2->setObjectName("Timer2");
    m_timer2->setInterval(m_session.machine().timerIntervalMs());
    connect(m_timer2, &QTimer::timeout, this, &MainForm::timer2Tick);
    m_session.setJobFinishedHandler([this] { jobFinished(); });
    new JobExtras(*this);

    connectSetupButtons();
    restoreFormText();
    loadCaptions();
    activate();
    tabStrip1Clicked(0);
    tabStrip3Clicked(0);
    refreshDisplay();
    resize(1280, 800);
}

MainForm::~MainForm() {
    m_session.setJobFinishedHandler({});
}

QAction* MainForm::action(QMenu* menu, const char* name, const char* caption,
                          void (MainForm::*slot)()) {
    auto* act = menu->addAction(QString::fromUtf8(caption));
    act->setObjectName(name);
    connect(act, &QAction::triggered, this, slot);
    return act;
}

void MainForm::buildMenus() {
    QMenuBar* bar = menuBar();
    auto* file = bar->addMenu(QString::fromUtf8("文件"));
    file->setObjectName("Menu_File");
    action(file, "Menu_Open", "打开", &MainForm::openFileDialog);
    action(file, "Menu_Text", "文字…", &MainForm::showTextDialog);
    action(file, "Menu_Close", "关闭", &MainForm::closeFile);
    auto* output = file->addMenu(QString::fromUtf8("输出"));
    output->setObjectName("Menu_Export");
    action(output, "Menu_ExportPlt", "字形PLT", &MainForm::exportPlt);
    action(output, "Menu_ExportSlot", "开槽程序", &MainForm::showEngravePanel);
    file->addSeparator();
    action(file, "Menu_Exit", "退出", &MainForm::exitWindow);

    auto* view = bar->addMenu(QString::fromUtf8("视图"));
    view->setObjectName("Menu_View");
    action(view, "Menu_Mirror", "字形Y镜向", &MainForm::mirror);
    action(view, "Menu_RestoreView", "还原视图", &MainForm::restoreView);
    action(view, "Menu_CancelSelection", "取消选择", &MainForm::cancelSelection);
    action(view, "Menu_Area", "查看选择面积", &MainForm::showArea);
    action(view, "Menu_Glue", "计算胶水重量", &MainForm::showGluePanel);

    auto* node = bar->addMenu(QString::fromUtf8("节点"));
    node->setObjectName("Menu_Node");
    action(node, "Menu_DeleteNode", "删除节点", &MainForm::deleteNodeMode);
    action(node, "Menu_UndoAllDeletes", "取消全部删除", &MainForm::undoAllDeletes);
    action(node, "Menu_UndoLastDelete", "取消前一个删除", &MainForm::undoLastDelete);
    action(node, "Menu_AddNode", "增加节点", &MainForm::addNodeMode);
    action(node, "Menu_UndoAllAdds", "取消全部增加", &MainForm::undoAllAdds);
    action(node, "Menu_UndoLastAdd", "取消前一个增加", &MainForm::undoLastAdd);

    auto* params = bar->addMenu(QString::fromUtf8("参数"));
    params->setObjectName("Menu_Params");
    action(params, "Menu_SwitchGroup", "切换参数组", &MainForm::showGroupManager);
    action(params, "Menu_CurrentGroup", "当前参数组", &MainForm::showCurrentGroups);

    auto* help = bar->addMenu(QString::fromUtf8("帮助"));
    help->setObjectName("Menu_Help");
    action(help, "Menu_About", "关于我们", &MainForm::showAbout);

    // The language menu reads the same in both languages.
    auto* language = bar->addMenu(QString::fromUtf8("语言(Language)"));
    language->setObjectName("Menu_Language");
    action(language, "Menu_Chinese", "中文(Chinese)", &MainForm::chinese);
    action(language, "Menu_English", "英文(English)", &MainForm::english);
}

QMenu* MainForm::buildContextMenu() {
    auto* popup = new QMenu(QString::fromUtf8("右键菜单"), this);
    popup->setObjectName("Menu_Popup");
    action(popup, "Popup_OpenFile", "打开文件", &MainForm::openFileDialog);
    action(popup, "Popup_CloseFile", "关闭文件", &MainForm::closeFile);
    // Drops the last picked piece; stopping the machine has its own button.
    action(popup, "Popup_CancelPath", "取消路径", &MainForm::cancelPath);
    action(popup, "Popup_AddNode", "节点增加", &MainForm::addNodeMode);
    action(popup, "Popup_DeleteNode", "节点删除", &MainForm::deleteNodeMode);
    return popup;
}

QWidget* MainForm::buildSideColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(4, 4, 4, 4);

    // Tool panels open above the tabs and close with their own buttons.
    m_groupPanel = new ParameterGroupPanel(m_session, column);
    m_engravePanel = new EngravePanel(m_session, column);
    m_gluePanel = new GluePanel(m_session, column);
    for (QWidget* panel :
         {static_cast<QWidget*>(m_groupPanel), static_cast<QWidget*>(m_engravePanel),
          static_cast<QWidget*>(m_gluePanel)}) {
        panel->hide();
        layout->addWidget(panel);
    }
    connect(m_groupPanel, &ParameterGroupPanel::groupsSwitched, this, [this] {
        activate();
        redrawView();
    });

    layout->addWidget(buildJobFrame());
    m_tabStrip1 = Named<QTabBar>(column, "TabStrip1");
    m_tabStrip1->addTab(QString::fromUtf8("控制"));
    m_tabStrip1->addTab(QString::fromUtf8("设置"));
    connect(m_tabStrip1, &QTabBar::tabBarClicked, this, &MainForm::tabStrip1Clicked);
    layout->addWidget(m_tabStrip1);
    // The active-tab marker, kept for whoever asks which tab is shown.
    m_text1 = Field(column, "Text1", "控制");
    m_text1->hide();
    m_controlPage = buildControlPage();
    m_frame4 = buildSetupPage();
    layout->addWidget(m_controlPage);
    layout->addWidget(m_frame4);
    layout->addWidget(buildInfoTabs());
    layout->addStretch();
    return column;
}

QWidget* MainForm::buildControlPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);

    // The feed and homing frames of the manual operations.
    layout->addWidget(new ControlPanel(m_session.machine(), m_session.simulated().fields(), page));

    auto* frame7 = Frame(page, "Frame7");
    auto* r7 = new QHBoxLayout(frame7);
    auto* command1 = Button(frame7, "Command1", "轮廓偏移");
    r7->addWidget(command1);
    r7->addWidget(Field(frame7, "Text6", "0"));
    r7->addWidget(Caption(frame7, "LabelUnitOffset", "mm"));
    connect(command1, &QPushButton::clicked, this, &MainForm::Command1);
    layout->addWidget(frame7);

    auto* frame12 = Frame(page, "Frame12");
    auto* g12 = new QGridLayout(frame12);
    g12->addWidget(Check(frame12, "Check5", "禁止弯弧"), 0, 0);
    ValueRow(g12, 1, Caption(frame12, "Label9_0", "正切行程："), Field(frame12, "Text17_0"),
             Caption(frame12, "LabelUnitStroke0", "mm"));
    ValueRow(g12, 2, Caption(frame12, "Label9_1", "背切行程："), Field(frame12, "Text17_1"),
             Caption(frame12, "LabelUnitStroke1", "mm"));
    auto* command7 = Button(frame12, "Command7", "保存行程");
    g12->addWidget(command7, 3, 1);
    connect(command7, &QPushButton::clicked, this, &MainForm::Command7);
    layout->addWidget(frame12);

    auto* frame9 = Frame(page, "Frame9");
    auto* g9 = new QGridLayout(frame9);
    auto* planer = Named<QRadioButton>(frame9, "Option3_0");
    planer->setText(QString::fromUtf8("刨刀开槽"));
    auto* carbide = Named<QRadioButton>(frame9, "Option3_1");
    carbide->setText(QString::fromUtf8("合金刀开槽"));
    g9->addWidget(planer, 0, 0);
    g9->addWidget(carbide, 0, 1);
    ValueRow(g9, 1, Caption(frame9, "Label7", "刀转延时："), Field(frame9, "Text14", "2500"),
             Caption(frame9, "LabelUnitDelay", "ms"));
    // GY1_Form opens from here once it is in.
    auto* command4 = Button(frame9, "Command4", "工艺参数");
    command4->hide();
    g9->addWidget(command4, 2, 1);
    layout->addWidget(frame9);
    return page;
}

QWidget* MainForm::buildSetupPage() {
    auto* frame4 = Frame(this, "Frame4");
    auto* grid = new QGridLayout(frame4);
    const char* captions[] = {"设备综合设置",   "电机综合设置", "IO配置设置", "用户工艺设置",
                              "设备商工艺设置", "曲率表设置",   "用户设置"};
    for (int i = 0; i < 7; ++i) {
        auto* button = Button(frame4, QString("Command10_%1").arg(i), captions[i]);
        button->setMinimumHeight(36);
        // Each opens its setup window; a window not yet in keeps its button hidden.
        button->hide();
        grid->addWidget(button, i / 2, i % 2);
    }
    return frame4;
}

QWidget* MainForm::buildJobFrame() {
    auto* frame3 = Frame(this, "Frame3", "加工");
    auto* grid = new QGridLayout(frame3);
    auto* run = Button(frame3, "Command_Run", "开始");
    auto* pause = Button(frame3, "Command_Pause", "暂停");
    auto* stop = Button(frame3, "Command_Stop", "停止");
    for (auto* b : {run, pause, stop}) {
        b->setMinimumHeight(40);
    }
    grid->addWidget(run, 0, 0);
    grid->addWidget(pause, 0, 1);
    grid->addWidget(stop, 0, 2);
    grid->addWidget(Check(frame3, "Check2", "加工前回零"), 1, 0, 1, 3);
    ValueRow(grid, 2, Caption(frame3, "Label1_1", "接料长度："), Field(frame3, "Text4", "10"),
             Caption(frame3, "LabelUnitJoin", "mm"));
    ValueRow(grid, 3, Caption(frame3, "Label1_12", "结束送料："), Field(frame3, "Text7", "100"),
             Caption(frame3, "LabelUnitEnd", "mm"));
    ValueRow(grid, 4, Caption(frame3, "Label1_2", "加工次数："), Field(frame3, "Text5", "1"));
    connect(run, &QPushButton::clicked, this, &MainForm::Command_Run);
    connect(pause, &QPushButton::clicked, this, &MainForm::Command_Pause);
    connect(stop, &QPushButton::clicked, this, &MainForm::Command_Stop);
    return frame3;
}

QWidget* MainForm::buildInfoTabs() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    // TabStrip2 only carries captions.
    auto* tabStrip2 = Named<QTabBar>(box, "TabStrip2");
    tabStrip2->addTab(QString::fromUtf8("加工基本信息"));
    tabStrip2->addTab(QString::fromUtf8("字形详细信息"));
    tabStrip2->hide();
    m_tabStrip3 = Named<QTabBar>(box, "TabStrip3");
    m_tabStrip3->addTab(QString::fromUtf8("加工基本信息"));
    m_tabStrip3->addTab(QString::fromUtf8("字形详细信息"));
    m_tabStrip3->addTab(QString::fromUtf8("机器动作调试"));
    connect(m_tabStrip3, &QTabBar::tabBarClicked, this, &MainForm::tabStrip3Clicked);
    layout->addWidget(m_tabStrip3);

    auto* frame6 = Frame(box, "Frame6", "加工字形信息");
    auto* g6 = new QGridLayout(frame6);
    const char* captions[] = {"加工文件路径：", "选定字形长度：", "加工总长度：", "剩余加工长度："};
    for (int i = 0; i < 4; ++i) {
        g6->addWidget(Caption(frame6, QString("Label1_%1").arg(8 + i), captions[i]), i, 0);
        auto* value = Named<QLabel>(frame6, QString("Label4_%1").arg(i));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setWordWrap(true);
        g6->addWidget(value, i, 1);
    }
    g6->setColumnStretch(1, 1);
    layout->addWidget(frame6);

    m_list1 = Named<QListWidget>(box, "List1");
    m_list1->setMinimumHeight(160);
    connect(m_list1, &QListWidget::currentRowChanged, this, &MainForm::list1Clicked);
    layout->addWidget(m_list1);

    auto* frame10 = Frame(box, "Frame10");
    auto* r10 = new QHBoxLayout(frame10);
    const char* calib[] = {"送料校准", "开槽校准", "弯弧校准"};
    for (int i = 0; i < 3; ++i) {
        // XZh_Form opens from here once it is in.
        auto* button = Button(frame10, QString("Command5_%1").arg(i), calib[i]);
        button->hide();
        r10->addWidget(button);
    }
    layout->addWidget(frame10);
    return box;
}

QWidget* MainForm::buildStatusFrame() {
    auto* frame5 = Frame(this, "Frame5", "机器状态信息");
    auto* grid = new QGridLayout(frame5);
    struct Position {
        const char* caption;
        const char* label;
        const char* field;
        const char* unitName;
        const char* unit;
    };
    const Position positions[] = {
        {"送料长度：", "Label1_3", "TextX", "LabelUnitX", "mm"},
        {"弯弧转角：", "Label1_4", "TextY", "LabelUnitY", "deg"},
        {"下刀深度：", "Label1_5", "TextZ", "LabelUnitZ", "mm"},
        {"摆刀角度：", "Label1_6", "TextA", "LabelUnitA", "deg"},
        {"送料速度：", "Label1_0", "TextF", "LabelUnitF", "mm/min"},
    };
    // The positions in one row, each with its caption and unit.
    int column = 0;
    for (const auto& p : positions) {
        grid->addWidget(Caption(frame5, p.label, p.caption), 0, column);
        auto* value = Field(frame5, p.field, "0.00");
        value->setReadOnly(true);
        value->setFocusPolicy(Qt::NoFocus);
        value->setAlignment(Qt::AlignRight);
        value->setMinimumWidth(64);
        grid->addWidget(value, 0, column + 1);
        grid->addWidget(Caption(frame5, p.unitName, p.unit), 0, column + 2);
        column += 3;
    }
    const char* outputs[] = {"铣刀转动", "切刀切出",   "切刀退回",
                             "材料压紧", "弯弧器进出", "备用显示"};
    const char* inputs[] = {"送料零位开关", "弯弧零位开关", "下刀零位开关",
                            "摆刀零位开关", "刀退回到位",   "刀切出到位"};
    // The output lamps in one row, the input lamps in the next.
    auto* lamps = new QGridLayout;
    lamps->setHorizontalSpacing(6);
    for (int i = 0; i < 6; ++i) {
        lamps->addWidget(Lamp(frame5, QString("Shape1_%1").arg(i)), 0, 2 * i);
        lamps->addWidget(Caption(frame5, QString("Label2_%1").arg(i), outputs[i]), 0, 2 * i + 1);
        lamps->addWidget(Lamp(frame5, QString("Shape2_%1").arg(i)), 1, 2 * i);
        lamps->addWidget(Caption(frame5, QString("Label3_%1").arg(i), inputs[i]), 1, 2 * i + 1);
    }
    grid->addLayout(lamps, 1, 0, 1, column);
    return frame5;
}

// ------------------------------------------------------------------ captions

void MainForm::loadCaptions() {
    const int flag = languageFlag();
    XianShiCE(*this, app::MainFormCaptions(), m_session.appDir(), app::kMainFormCaptionFile, flag,
              QString(" ") + Q(app::VersionText()));
    // The marker follows the tab shown; in English the file's line names
    // the control tab.
    const int tab = m_tabStrip1->currentIndex();
    if (flag == 0 || tab == 1) {
        m_text1->setText(Q(app::TabMarker(tab, flag)));
    }
    const bool zh = flag == 0;
    child<QPushButton>("Command_Run")->setText(zh ? QString::fromUtf8("开始") : "Start");
    child<QPushButton>("Command_Pause")->setText(zh ? QString::fromUtf8("暂停") : "Pause");
    child<QPushButton>("Command_Stop")->setText(zh ? QString::fromUtf8("停止") : "Stop");
    // Captions the caption file does not carry.
    child<QLabel>("Label7")->setText(zh ? QString::fromUtf8("刀转延时：") : "Spin Delay:");
    if (m_simPanel != nullptr) {
        m_simPanel->retranslate(flag);
    }
    // Which card the machine runs on (the simulated one unless chosen).
    const common::Message& card = m_session.simulated().cardDescription();
    m_machineStatus->setText(!card.empty() ? Q(card.text(language()))
                             : zh ? QString::fromUtf8("模拟机器：模拟运动卡，无真实机器")
                                  : "Simulated machine: simulated motion card, no real machine");
    m_groupStatus->setText(Q(m_session.machine().store().StatusLine(language())));
}

void MainForm::setLanguage(int flag) {
    m_session.machine().tables().LanguageFlag = static_cast<std::int16_t>(flag);
    m_session.outlines().setLanguage(language());
    loadCaptions();
    activate();
}

void MainForm::activate() {
    const app::MainFormActivation activation = app::ActivationFor(m_session.machine().params());
    applyActivation(activation);
    applyModeCaptions(activation);
    m_groupStatus->setText(Q(m_session.machine().store().StatusLine(language())));
}

void MainForm::applyActivation(const app::MainFormActivation& a) {
    m_view->setBendToSlotRadius(m_session.machine().params().BendToSlotRadiusThreshold);
    child<QLabel>("LabelUnitA")->setText(Q(a.aUnit));
    child<QPushButton>("Command_Z2")->setEnabled(a.swingHomingEnabled);
    for (const char* name : {"Label1_5", "LabelUnitZ", "TextZ"}) {
        child(name)->setVisible(a.cutDepthRowVisible);
    }
    child<QLineEdit>("Text2")->setText(Q(a.feedSpeed));
    child("Command10_5")->setEnabled(a.curvatureTableEnabled);
    SetShown(child("Command3_7"), a.clamp);
    SetShown(child("Command3_6"), a.gripper1);
    SetShown(child("Command3_5"), a.gripper2);
    for (const char* name : {"Check1", "Text3", "Text3_Unit"}) {
        SetShown(child(name), a.singleStep);
    }
    SetShown(child("Check3"), a.encoder);
    SetShown(child("Check4"), a.feedHoming);
    child<QLineEdit>("Text17_0")->setText(Q(a.frontStroke));
    child<QLineEdit>("Text17_1")->setText(Q(a.backStroke));
}

void MainForm::applyModeCaptions(const app::MainFormActivation& a) {
    const app::CaptionTable table = app::MainFormModeCaptions(a.axes);
    for (const auto& [key, text] : app::LoadCaptions(
             m_session.appDir(), app::kMainFormModeCaptionFile, table, languageFlag())) {
        if (auto* button = child<QPushButton>(Q(key))) {
            button->setText(Q(text));
        } else if (auto* label = child<QLabel>(Q(key))) {
            label->setText(Q(text));
        }
    }
}

void MainForm::restoreFormText() {
    const auto& form = m_session.machine().form();
    child<QLineEdit>("Text3")->setText(Q(form.Text3));
    child<QLineEdit>("Text4")->setText(Q(form.Text4));
    child<QLineEdit>("Text7")->setText(Q(form.Text7));
    child<QLineEdit>("Text6")->setText(Q(form.Text6));
    child<QLineEdit>("Text14")->setText(Q(form.Text14));
    child<QCheckBox>("Check1")->setChecked(form.Check1 != 0);
    child<QCheckBox>("Check2")->setChecked(form.Check2 != 0);
    child<QCheckBox>("Check4")->setChecked(form.Check4 != 0);
    child<QCheckBox>("Check5")->setChecked(form.Check5 != 0);
    // The encoder option is offered only when an encoder is fitted.
    auto* encoder = child<QCheckBox>("Check3");
    encoder->setEnabled(m_session.machine().encoderFitted());
    encoder->setChecked(form.Check3 != 0 && m_session.machine().encoderFitted());
    child<QRadioButton>(form.Setting2 == 1 ? "Option3_1" : "Option3_0")->setChecked(true);
}

void MainForm::saveFormText() {
    auto& form = m_session.machine().form();
    form.Text3 = child<QLineEdit>("Text3")->text().toStdString();
    form.Text4 = child<QLineEdit>("Text4")->text().toStdString();
    form.Text7 = child<QLineEdit>("Text7")->text().toStdString();
    form.Text6 = child<QLineEdit>("Text6")->text().toStdString();
    form.Text14 = child<QLineEdit>("Text14")->text().toStdString();
    form.Check1 = child<QCheckBox>("Check1")->isChecked() ? 1 : 0;
    form.Check2 = child<QCheckBox>("Check2")->isChecked() ? 1 : 0;
    form.Check3 = child<QCheckBox>("Check3")->isChecked() ? 1 : 0;
    form.Check4 = child<QCheckBox>("Check4")->isChecked() ? 1 : 0;
    form.Check5 = child<QCheckBox>("Check5")->isChecked() ? 1 : 0;
    form.Setting2 = child<QRadioButton>("Option3_1")->isChecked() ? 1 : 0;
}

void MainForm::showSetupWindow(QDialog& window) {
    window.exec();
    // The window may have saved new parameters: captions, units and
    // controls follow without a restart.
    m_session.parametersChanged();
    activate();
}

void MainForm::closeEvent(QCloseEvent* event) {
    if (!m_closing) {
        m_closing = true;
        stopTimer2();
        saveFormText();
        try {
            m_session.machine().shutDown();
        } catch (const common::UserError& e) {
            say(e.message());
        }
    }
    event->accept();
}

void MainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_closing) {
        activate();
    }
}

void MainForm::say(const common::Message& message) {
    if (!message.empty()) {
        m_session.machine().dialog().show(message);
    }
}

common::Language MainForm::language() const {
    return m_session.language();
}

int MainForm::languageFlag() const {
    return m_session.machine().tables().LanguageFlag == 0 ? 0 : 1;
}

} // namespace korvel::ui
