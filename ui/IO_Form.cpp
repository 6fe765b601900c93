#include "ui/IO_Form.h"

#include "app/Captions.h"
#include "machine/Machine.h"
#include "ui/XianShiCE.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace korvel::ui {

namespace {

constexpr int kLampIntervalMs = 200;
constexpr int kLampSize = 16;

} // namespace

IO_Form::IO_Form(machine::Machine& machine, std::int16_t userLevel, QWidget* parent)
    : QDialog(parent), m_machine(machine), m_userLevel(userLevel),
      m_board(machine.card(), machine.homing(), machine.params()) {
    setObjectName("IO_Form");
    auto* layout = new QVBoxLayout(this);
    auto* frames = new QHBoxLayout;
    frames->addWidget(buildInputs());
    frames->addWidget(buildOutputs());
    layout->addLayout(frames);
    auto* back = new QPushButton;
    back->setObjectName("Command2");
    back->setAutoDefault(false);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(back);
    layout->addLayout(row);
    loadCaptions();

    m_timer = new QTimer(this);
    m_timer->setObjectName("Timer1");
    m_timer->setInterval(kLampIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &IO_Form::refreshLamps);
    m_timer->start();
    refreshLamps();
}

QLabel* IO_Form::lamp(const QString& name) {
    auto* l = new QLabel;
    l->setObjectName(name);
    l->setFixedSize(kLampSize, kLampSize);
    l->setFrameShape(QFrame::Box);
    l->setAutoFillBackground(true);
    return l;
}

void IO_Form::light(QLabel* lamp, bool on) {
    // Red while on, the window's own background while off.
    lamp->setStyleSheet(on ? "background-color: rgb(255, 0, 0);" : QString());
    lamp->setProperty("lit", on);
}

QWidget* IO_Form::buildInputs() {
    auto* frame = new QGroupBox;
    frame->setObjectName("Frame1");
    auto* grid = new QGridLayout(frame);
    const auto lamps = app::InputLamps(m_machine.params());
    for (size_t i = 0; i < lamps.size(); ++i) {
        m_inputLamps[i] = lamp(QString("Shape1_%1").arg(i));
        auto* caption = new QLabel;
        caption->setObjectName(QString::fromStdString(lamps[i].key));
        grid->addWidget(m_inputLamps[i], static_cast<int>(i), 0);
        grid->addWidget(caption, static_cast<int>(i), 1);
    }
    return frame;
}

QWidget* IO_Form::buildOutputs() {
    auto* frame = new QGroupBox;
    frame->setObjectName("Frame2");
    auto* grid = new QGridLayout(frame);
    const auto enabled = app::OutputButtonsEnabled(m_machine.params());
    for (size_t i = 0; i < app::kIoOutputLamps; ++i) {
        const auto row = static_cast<int>(i);
        m_outputLamps[i] = lamp(QString("Shape2_%1").arg(i));
        m_outputLabels[i] = new QLabel;
        m_outputLabels[i]->setObjectName(QString::fromStdString(app::OutputLamps()[i].key));
        m_outputLabels[i]->installEventFilter(this);
        auto* b = new QPushButton;
        b->setObjectName(QString("Command1_%1").arg(i));
        b->setAutoDefault(false);
        b->setEnabled(enabled[i]);
        connect(b, &QPushButton::clicked, this, [this, row] {
            m_board.pressButton(row);
            refreshLamps();
        });
        grid->addWidget(m_outputLamps[i], row, 0);
        grid->addWidget(m_outputLabels[i], row, 1);
        grid->addWidget(b, row, 2);
    }
    return frame;
}

bool IO_Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (size_t i = 0; i < m_outputLabels.size(); ++i) {
            if (watched == m_outputLabels[i] &&
                m_board.clickOutputLabel(static_cast<int>(i), m_userLevel)) {
                refreshLamps();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void IO_Form::refreshLamps() {
    const app::IoLampStates states = m_board.read();
    for (size_t i = 0; i < states.inputs.size(); ++i) {
        light(m_inputLamps[i], states.inputs[i]);
    }
    for (size_t i = 0; i < states.outputs.size(); ++i) {
        light(m_outputLamps[i], states.outputs[i]);
    }
}

void IO_Form::loadCaptions() {
    const int language = m_machine.tables().LanguageFlag;
    XianShiCE(*this, app::IoFormCaptions(m_machine.params()), m_machine.appDir(), "IO_Form.txt",
              language);
    if (language != 0 && m_machine.params().InfeedLimitActive != 1) {
        // The caption file holds the infeed-limit captions of IN18/IN19.
        const auto english = app::ButtonInputCaptionsEnglish();
        findChild<QLabel*>("Label7")->setText(QString::fromStdString(english[0]));
        findChild<QLabel*>("Label8")->setText(QString::fromStdString(english[1]));
    }
}

} // namespace korvel::ui
