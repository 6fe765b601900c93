#pragma once
// The operator's process window "工艺参数设置-<group>" ("用户工艺设置",
// "工艺参数"): the most used length, bending and slotting values in one
// place, buttons that try them on the machine, the infeed tool setting and
// the feed pulse-equivalent calibration panel, whose encoder count is
// refreshed every 200 ms while the window is open.

#include "app/CalibrationActions.h"
#include "ui/SetupForm.h"

#include <functional>
#include <initializer_list>
#include <string_view>

class QGridLayout;
class QGroupBox;
class QLineEdit;
class QCheckBox;
class QTimer;

namespace korvel::ui {

class GY1_Form : public SetupForm {
    Q_OBJECT
public:
    GY1_Form(machine::Machine& machine, app::OperatorState& state, common::AppDir app,
             machine::OperatorDialog& dialog, QWidget* parent = nullptr);

    // The counter refresh of the calibration panel (200 ms).
    static constexpr int kCounterIntervalMs = 200;
    QTimer* counterTimer() const { return m_counter; }

protected:
    void edited() override;

private:
    // A label and the text box of `field` on one row of a frame's grid.
    struct Row {
        const char* label;
        const char* box;
        std::string_view field;
    };
    void addRows(QGridLayout* grid, int& row, QWidget* frame, std::initializer_list<Row> rows);
    QGroupBox* buildLength();
    QGroupBox* buildBending();
    QGroupBox* buildSlotting();
    QGroupBox* buildToolSetting();
    QGroupBox* buildExtraSlots();
    QGroupBox* buildCalibration();
    void pair(QWidget* parent, const char* button, const std::function<void()>& press,
              const std::function<void()>& release);
    void click(const char* button, const std::function<void()>& action);
    void checkDownStroke(QLineEdit* box);
    void refreshCounter();
    void openCalibration(app::CalibrationMode mode);
    void computeNewEquivalent();
    void showEquivalent(double value);

    QCheckBox* m_lockTotalDepth = nullptr;
    QLineEdit* m_feedStepLength = nullptr;
    QTimer* m_counter = nullptr;
    app::CalibrationActions m_calibration;
};

} // namespace korvel::ui
