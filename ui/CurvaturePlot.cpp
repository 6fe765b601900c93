#include "ui/CurvaturePlot.h"

#include "app/CurvatureTables.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace korvel::ui {
namespace {

constexpr int kMargin = 28;

} // namespace

CurvaturePlot::CurvaturePlot(const app::CurvatureTableCopy& table, QColor colour, QWidget* parent)
    : QWidget(parent), m_table(table), m_colour(colour) {
    setMinimumSize(200, 150);
}

void CurvaturePlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    const QRectF area(kMargin, 6, width() - kMargin - 18, height() - kMargin - 6);
    painter.setPen(Qt::gray);
    painter.drawRect(area);

    const auto& rows = m_table.rows();
    const int last = m_table.last();
    double minR = 1e300;
    double maxR = 0;
    double maxAngle = 1;
    double minAngle = 0;
    for (int i = 0; i <= last; ++i) {
        const auto& row = rows[static_cast<size_t>(i)];
        if (row.radius > 0 && std::isfinite(row.radius)) {
            minR = std::min(minR, row.radius);
            maxR = std::max(maxR, row.radius);
        }
        if (std::isfinite(row.angle)) {
            maxAngle = std::max(maxAngle, row.angle);
            minAngle = std::min(minAngle, row.angle);
        }
    }
    if (!(maxR > 0)) {
        return; // no row with a radius yet
    }
    const double lo = std::floor(std::log10(minR));
    const double hi = std::max(lo + 1, std::ceil(std::log10(maxR)));
    const auto at = [&](double radius, double angle) {
        const double r = std::log10(std::max(radius, std::pow(10.0, lo)));
        return QPointF(area.left() + (r - lo) / (hi - lo) * area.width(),
                       area.bottom() - (angle - minAngle) / (maxAngle - minAngle) * area.height());
    };
    // Decades of radius below, the angle range at the left.
    painter.setPen(Qt::darkGray);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    painter.setFont(small);
    for (double d = lo; d <= hi; d += 1) {
        const QPointF p = at(std::pow(10.0, d), minAngle);
        painter.drawLine(p, p + QPointF(0, 3));
        painter.drawText(QRectF(p.x() - 20, area.bottom() + 4, 40, 14), Qt::AlignHCenter,
                         QString::number(std::pow(10.0, d)));
    }
    painter.drawText(QRectF(0, area.top(), kMargin - 3, 14), Qt::AlignRight,
                     QString::number(maxAngle, 'g', 3));
    painter.drawText(QRectF(0, area.bottom() - 14, kMargin - 3, 14), Qt::AlignRight,
                     QString::number(minAngle, 'g', 3));
    painter.drawText(QRectF(area.right() - 44, area.top() + 2, 40, 14), Qt::AlignRight, "R mm");

    QPainterPath curve;
    for (int i = 0; i <= last; ++i) {
        const auto& row = rows[static_cast<size_t>(i)];
        if (!std::isfinite(row.radius) || !std::isfinite(row.angle)) {
            continue;
        }
        const QPointF p = at(row.radius, row.angle);
        curve.elementCount() == 0 ? curve.moveTo(p) : curve.lineTo(p);
    }
    painter.setPen(QPen(m_colour, 1.5));
    painter.drawPath(curve);
    const int current = m_table.currentRow();
    if (current >= 0 && current <= last) {
        const auto& row = rows[static_cast<size_t>(current)];
        painter.setBrush(m_colour);
        painter.drawEllipse(at(row.radius, row.angle), 3.5, 3.5);
    }
}

} // namespace korvel::ui
