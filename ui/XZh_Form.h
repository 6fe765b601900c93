#pragma once
// "机器校准": one of three calibration pages, chosen by the main window's
// calibration button — the feed length, the slot depth or the arc force
// factors. The page acts on the parameter set directly and the window
// saves the group when it closes.

#include "ui/SetupDialog.h"

class QLabel;
class QLineEdit;
class QScrollBar;

namespace korvel::ui {

class XZh_Form : public SetupDialog {
    Q_OBJECT
public:
    XZh_Form(machine::Machine& machine, app::OperatorState& state, common::AppDir app,
             machine::OperatorDialog& dialog, QWidget* parent = nullptr);

    void done(int result) override;

private:
    QWidget* buildFeedPage();
    QWidget* buildSlotPage();
    QWidget* buildArcPage();
    void holdFeed(QWidget* page, const char* feedButton, const char* retractButton);
    void setSlotDepth(int value, bool coarse);
    void stepForce(bool positive, int direction);
    void showFactors();

    QLineEdit* m_length = nullptr;
    QLineEdit* m_measured = nullptr;
    QLabel* m_depthLabel = nullptr;
    QScrollBar* m_coarse = nullptr;
    QScrollBar* m_fine = nullptr;
    QLineEdit* m_radius = nullptr;
    QLineEdit* m_step = nullptr;
    std::array<QLabel*, 4> m_factors{};
};

} // namespace korvel::ui
