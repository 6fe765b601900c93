#pragma once
// What the motor, calibration and curvature table windows share: a modal
// dialog over the machine (Esc closes it), the operator's message boxes,
// and controls made with the objectName the caption tables address.

#include "app/SetupTests.h"
#include "common/AppDir.h"
#include "common/Message.h"

#include <QDialog>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korvel::machine {
class Machine;
class OperatorDialog;
} // namespace korvel::machine

namespace korvel::app {
struct OperatorState;
}

namespace korvel::ui {

class SetupDialog : public QDialog {
    Q_OBJECT
public:
    SetupDialog(machine::Machine& machine, common::AppDir app, machine::OperatorDialog& dialog,
                QWidget* parent);

protected:
    // Shows a message box unless the message is empty.
    void tell(const common::Message& message);
    common::Language language() const;

    machine::Machine& m_machine;
    common::AppDir m_app;
    machine::OperatorDialog& m_dialog;
    // Jogs, switches and the stop button every settings window shares.
    app::SetupTests m_tests;
};

// A push button that never takes Enter as the default button.
QPushButton* NamedButton(QWidget* parent, const QString& objectName);
QLineEdit* NamedLineEdit(QWidget* parent, const QString& objectName, int width = 90,
                         const QString& value = {});
QLabel* NamedLabel(QWidget* parent, const QString& objectName);
// A caption label and its text box in one row of a grid; returns the box.
QLineEdit* LabelledField(QGridLayout& grid, int row, const QString& labelName,
                         const QString& fieldName, const QString& value = {});

} // namespace korvel::ui
