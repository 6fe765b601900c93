#pragma once
// A small picture of one curvature table: bend angle over radius, one
// point per used row joined in row order, the current row marked. A
// mistyped row stands out as a spike or a step back at once. Radii are
// drawn on a logarithmic scale, where the small radii that need care get
// as much room as the large ones.

#include <QColor>
#include <QWidget>

namespace korvel::app {
class CurvatureTableCopy;
}

namespace korvel::ui {

class CurvaturePlot : public QWidget {
    Q_OBJECT
public:
    CurvaturePlot(const app::CurvatureTableCopy& table, QColor colour, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {220, 180}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const app::CurvatureTableCopy& m_table;
    QColor m_colour;
};

} // namespace korvel::ui
