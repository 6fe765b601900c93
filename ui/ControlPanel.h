#pragma once
// The manual part of the main window's control tab: the feed frame
// ("送料": feed speed, press-and-hold feed and retract, single step, feed
// homing, the homing and encoder options, clamp and grippers) and the
// homing frame ("弯弧-摆刀-下刀  回零"). Every control carries its
// objectName, so the main window's caption loader and its feed-type
// visibility reach them by name (the unit label after the step length is
// "Text3_Unit"). The panel itself only forwards: the
// machine's ManualOperations and ManualHoming decide.
//
// Embedding: `layout->addWidget(new ui::ControlPanel(session.machine(),
// session.fields()));`

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace korvel::machine {
class Machine;
}
namespace korvel::program {
struct MainWindowFields;
}

namespace korvel::ui {

class ControlPanel : public QWidget {
    Q_OBJECT
public:
    // `fields`: the run panel's values the job reads (the two options of
    // this frame, "加工前回零" and "打开编码器", are kept there).
    ControlPanel(machine::Machine& machine, program::MainWindowFields& fields,
                 QWidget* parent = nullptr);

    // Shows the manual speed of the parameter set in the speed field (the
    // main window's activation does this each time it becomes active).
    void showManualSpeed();

private:
    QGroupBox* buildFeedFrame();
    QGroupBox* buildHomingFrame();
    QPushButton* button(const char* name, const QString& caption);

    machine::Machine& m_machine;
    program::MainWindowFields& m_fields;
    QLineEdit* m_speed = nullptr;
    QLineEdit* m_step = nullptr;
    QCheckBox* m_singleStep = nullptr;
};

} // namespace korvel::ui
