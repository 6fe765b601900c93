#pragma once
// "曲率表设置": the positive and the negative curvature table (15 rows at a
// time, the current row grey, a picture of each table beside its rows),
// the tapping-spacing table, the bending-arm and feed jogs and the tapping
// test. Edits stay in the window's copies until "保存" checks and writes
// them to the curvature group's files.

#include "app/CurvatureTables.h"
#include "ui/SetupDialog.h"

#include <array>
#include <memory>

class QLineEdit;
class QScrollBar;
class QGroupBox;

namespace korvel::ui {

class CurvaturePlot;

class WFB_Form : public SetupDialog {
    Q_OBJECT
public:
    WFB_Form(machine::Machine& machine, app::OperatorState& state, common::AppDir app,
             machine::OperatorDialog& dialog, QWidget* parent = nullptr);
    ~WFB_Form() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One curvature table as the window shows it.
    struct TableView {
        std::unique_ptr<app::CurvatureTableCopy> copy;
        std::array<QLineEdit*, app::kShownTableRows> angle{};
        std::array<QLineEdit*, app::kShownTableRows> radius{};
        QScrollBar* scroll = nullptr;
        CurvaturePlot* plot = nullptr;
    };

    QGroupBox* buildTable(TableView& view, bool positive);
    QGroupBox* buildSpacing();
    QWidget* buildTests();
    // Shows the rows from the scroll bar's row on; the box being typed in
    // keeps its text.
    void refill(TableView& view, const QLineEdit* typing = nullptr);
    void paintRows(TableView& view);
    void readSpacing();
    void save();
    void startTapTest();

    std::array<TableView, 2> m_views; // positive, negative
    app::TapSpacingCopy m_spacing;
    std::array<QLineEdit*, app::kSpacingWindowRows + 1> m_spacingRadius{};
    std::array<QLineEdit*, app::kSpacingWindowRows + 1> m_spacingValue{};
    QLineEdit* m_other = nullptr;
    QLineEdit* m_tapCount = nullptr;
    QLineEdit* m_tapAngle = nullptr;
    QLineEdit* m_tapSpacing = nullptr;
    QLineEdit* m_armAngle = nullptr;
};

} // namespace korvel::ui
