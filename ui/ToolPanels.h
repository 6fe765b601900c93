#pragma once
// The main window's tool panels, shown from the menus beside the view:
// the parameter-group manager (QHparaFrame), the engraving slot program
// export (OutFrame) and the glue weight calculator (Frame11). Each reads
// and writes through the application layer; none keeps state of its own
// beyond what the operator typed.

#include <QGroupBox>
#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace korvel::app {
class OperatorSession;
}

namespace korvel::ui {

// QHparaFrame: ten parameter groups and ten curvature groups, their notes,
// switching and copying.
class ParameterGroupPanel : public QGroupBox {
    Q_OBJECT
public:
    ParameterGroupPanel(app::OperatorSession& session, QWidget* parent = nullptr);
    // Marks the current groups and shows their notes (on opening).
    void showCurrentGroups();

signals:
    // The parameter set was replaced (switch): the window re-applies its
    // activation handler and the status line.
    void groupsSwitched();

private:
    int selected(const std::array<QRadioButton*, 10>& options) const;
    void saveNotes();
    void switchGroups();

    app::OperatorSession& m_session;
    std::array<QRadioButton*, 10> m_paraGroups{};
    std::array<QRadioButton*, 10> m_curvGroups{};
    QLineEdit* m_paraNote = nullptr;
    QLineEdit* m_curvNote = nullptr;
};

// OutFrame: the engraving slot program of the selected path.
class EngravePanel : public QGroupBox {
    Q_OBJECT
public:
    EngravePanel(app::OperatorSession& session, QWidget* parent = nullptr);

private:
    void output();

    app::OperatorSession& m_session;
    QLineEdit* m_fileName = nullptr;
    std::array<QLineEdit*, 4> m_values{};
};

// Frame11: area of the selected letter and the glue it needs.
class GluePanel : public QGroupBox {
    Q_OBJECT
public:
    GluePanel(app::OperatorSession& session, QWidget* parent = nullptr);
    // Shows the area of the current path (on opening) in the current language.
    void showArea();

private:
    void calculate();
    QString text(const char* zh, const char* en) const;

    app::OperatorSession& m_session;
    double m_areaSquareMm = 0.0;
    QLabel* m_area = nullptr;
    QLabel* m_weight = nullptr;
    QLineEdit* m_density = nullptr;
    QLineEdit* m_thickness = nullptr;
    std::array<QLabel*, 3> m_labels{};
    std::array<QWidget*, 2> m_buttons{};
};

} // namespace korvel::ui
