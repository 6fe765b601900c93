#pragma once
// "用户密码设置": the operator level (machine user, machine maker, system
// maker) and the change of the level's password. The window shows what
// app::UserLevels decides; the level is the shared one the setup windows
// consult. The password fields mask what is typed.

#include "app/UserLevels.h"

#include <QDialog>
#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace korvel::machine {
class Machine;
}

namespace korvel::ui {

class YH_Form : public QDialog {
    Q_OBJECT
public:
    // `userLevel`: the shared operator level, changed in place.
    YH_Form(machine::Machine& machine, std::int16_t& userLevel, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QGroupBox* buildUserFrame();
    QGroupBox* buildPasswordFrame();
    QGroupBox* buildChangeFrame();
    QLineEdit* passwordField(const char* name);
    void loadCaptions();
    void confirmPassword(app::ConfirmedBy by);
    void confirmChange();
    void tell(const std::optional<common::Message>& message);
    // Frames, selected option and the change button as the model says.
    void sync();

    machine::Machine& m_machine;
    app::UserLevels m_levels;
    QGroupBox* m_user = nullptr;
    QGroupBox* m_password = nullptr;
    QGroupBox* m_change = nullptr;
    QRadioButton* m_options[3]{};
    QLineEdit* m_text1 = nullptr;
    QLineEdit* m_old = nullptr;
    QLineEdit* m_new = nullptr;
    QLineEdit* m_confirm = nullptr;
    QPushButton* m_changeButton = nullptr;
    QLabel* m_note = nullptr;
};

} // namespace korvel::ui
