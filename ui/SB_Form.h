#pragma once
// The equipment window "设备综合设置-<group>": how the cutter is driven and
// checked, how slots are cut, how the strip is fed, which bender is
// fitted, and test buttons that move the machine with the values being
// edited. Opened modally from the main window's "设备综合设置".

#include "app/EquipmentRules.h"
#include "ui/SetupForm.h"

#include <functional>

class QGroupBox;
class QLineEdit;
class QCheckBox;

namespace korvel::ui {

class SB_Form : public SetupForm {
    Q_OBJECT
public:
    SB_Form(machine::Machine& machine, app::OperatorState& state, common::AppDir app,
            machine::OperatorDialog& dialog, QWidget* parent = nullptr);

    // The enabling state last applied (LogicLimit of the copy).
    const app::EquipmentEnabling& enabling() const { return m_enabling; }

protected:
    void edited() override { LogicLimit(); }

private:
    QGroupBox* buildSlotting();
    QGroupBox* buildFeed();
    QGroupBox* buildBending();
    QGroupBox* buildTests();
    void LogicLimit();
    void enableControls(std::initializer_list<const char*> names, bool on);
    void XianShiCE();
    void holdButton(const char* name, const std::function<void()>& press,
                    const std::function<void()>& release);

    app::EquipmentEnabling m_enabling;
    QString m_autoToolSetCaption;
    QString m_backSlotCaption;
    QCheckBox* m_bendStep = nullptr;
    QLineEdit* m_bendStepLength = nullptr;
    QCheckBox* m_feedStep = nullptr;
    QLineEdit* m_feedStepLength = nullptr;
};

} // namespace korvel::ui
