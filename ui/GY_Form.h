#pragma once
// The maker's process window "工艺参数设置-<group>" ("设备商工艺设置"):
// thresholds, force factors, compensations and machine options that the
// program generators and the geometry use. The discretisation frame is the
// system maker's alone; a machine user only reads.

#include "ui/SetupForm.h"

namespace korvel::ui {

class GY_Form : public SetupForm {
    Q_OBJECT
public:
    GY_Form(machine::Machine& machine, app::OperatorState& state, common::AppDir app,
            machine::OperatorDialog& dialog, QWidget* parent = nullptr);
};

} // namespace korvel::ui
