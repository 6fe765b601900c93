#pragma once
// The operator dialog of the window: every notice, alarm and question of
// the machine as a message box over the main window, titled "操作提示" /
// "Operation Tips" or "错误" / "Wrong" and worded in the current language.

#include "common/Message.h"
#include "machine/OperatorDialog.h"

#include <functional>

class QWidget;

namespace korvel::ui {

class QtOperatorDialog : public machine::OperatorDialog {
public:
    // `language` is asked at every message, so a language switch applies
    // to the next box.
    explicit QtOperatorDialog(std::function<common::Language()> language);

    // The window the boxes are centred on (none: the active window).
    void setParent(QWidget* parent) { m_parent = parent; }

    void show(const common::Message& message) override;
    bool ask(const common::Message& message) override;

private:
    std::function<common::Language()> m_language;
    QWidget* m_parent = nullptr;
};

} // namespace korvel::ui
