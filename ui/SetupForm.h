#pragma once
// What the equipment and process windows have in common: modal, Esc and
// "返回" close without saving, the values edited in a private copy that
// "保存" checks and writes, captions through the shared loader with the
// group name after the title, and small builders that bind a text box, a
// check box or an option button to one field of the copy.

#include "app/Captions.h"
#include "app/OperatorState.h"
#include "app/SetupCopy.h"
#include "app/SetupTests.h"
#include "common/AppDir.h"
#include "ui/SetupDialog.h"

#include <QString>
#include <map>
#include <string_view>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace korvel::machine {
class Machine;
class OperatorDialog;
} // namespace korvel::machine

namespace korvel::ui {

class SetupForm : public SetupDialog {
    Q_OBJECT
public:
    SetupForm(machine::Machine& machine, app::OperatorState& state, common::AppDir app,
              machine::OperatorDialog& dialog, const std::vector<std::string_view>& fields,
              QWidget* parent = nullptr);

    const app::SetupCopy& copy() const { return m_copy; }

protected:
    // The captions of `table` in the current language; the title gets the
    // current parameter group's name. Keys no control carries come back for
    // the window to use.
    std::vector<app::CaptionText> loadCaptions(const app::CaptionTable& table,
                                               std::string_view fileName);

    QLabel* label(QWidget* parent, const QString& name, const QString& zh);
    QPushButton* button(QWidget* parent, const QString& name, const QString& zh);
    QLineEdit* box(QWidget* parent, const QString& name, std::string_view field);
    QCheckBox* flag(QWidget* parent, const QString& name, const QString& zh,
                    std::string_view field);
    QRadioButton* option(QWidget* parent, const QString& name, const QString& zh,
                         std::string_view field, int value);
    // Shows the edited value of every bound control again.
    void refresh();

    // "保存": check and write; the message (saved or refused) is shown.
    void save();

    // Called after every edit of the copy (the enabling rules).
    virtual void edited() {}

    app::OperatorState& m_state;
    app::SetupCopy m_copy;

private:
    std::map<QLineEdit*, std::string_view> m_boxes;
    std::map<QCheckBox*, std::string_view> m_flags;
    std::map<QRadioButton*, std::pair<std::string_view, int>> m_options;
    std::map<std::string_view, QButtonGroup*> m_groups;
};

} // namespace korvel::ui
