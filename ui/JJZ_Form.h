#pragma once
// "电机综合设置": the seven motion values of each axis, press-and-hold jogs,
// single steps and homing per axis, the feed encoder's count, and the
// pulse-equivalent calibration panel of the feed axis and its encoder.
// The values are a private copy until "保存"; jogs, homing and the panel
// act on the machine at once.

#include "app/AxisJogs.h"
#include "app/CalibrationActions.h"
#include "app/SetupCopy.h"
#include "ui/SetupDialog.h"

#include <QTimer>
#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;

namespace korvel::ui {

class JJZ_Form : public SetupDialog {
    Q_OBJECT
public:
    JJZ_Form(machine::Machine& machine, app::OperatorState& state, common::AppDir app,
             machine::OperatorDialog& dialog, QWidget* parent = nullptr);

    // Timer1: the encoder count (and the panel's in encoder mode).
    void refreshEncoderCount();
    // Closing (Esc while a jog button is still held) stops the held jog.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* buildAxisFrame(int axis);
    QGroupBox* buildEncoderFrame();
    QGroupBox* buildCalibrationPanel();
    QLineEdit* valueBox(QWidget* parent, const QString& objectName, std::string_view field);
    void fillValues();
    void applyLevel();
    void save();
    void openPanel(app::CalibrationMode mode);
    void computeNewEquivalent();
    void resetEquivalent();
    void showEquivalent(double value);
    void startMove();
    void clearEncoder();

    app::OperatorState& m_state;
    app::AxisJogs m_jogs;
    app::SetupCopy m_copy;
    app::CalibrationActions m_calibration;

    // Text1..Text4: index 0 the step length, 1..7 the motion values.
    std::array<std::array<QLineEdit*, 8>, 4> m_axisText{};
    std::array<QGroupBox*, 5> m_frames{};
    QLineEdit* m_encoderEquiv = nullptr;
    QLineEdit* m_encoderCount = nullptr;
    QGroupBox* m_panel = nullptr;
    std::array<QLineEdit*, 5> m_panelText{};
    QCheckBox* m_encoderMode = nullptr;
    QTimer m_timer;
};

} // namespace korvel::ui
