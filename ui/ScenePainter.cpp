#include "ui/ScenePainter.h"

#include <QPainter>
#include <QPen>

namespace korvel::ui {

QTransform ViewTransform(const geometry::OutlineView& view, QSizeF size) {
    const double w = view.rect().w;
    const double h = view.aspect() * w;
    const double sx = size.width() / w;
    const double sy = size.height() / h;
    return {sx, 0.0, 0.0, -sy, -view.left() * sx, view.top() * sy};
}

void ScenePainter::convert(const app::DisplayList& scene) {
    for (std::size_t i = 0; i < app::kLayerCount; ++i) {
        const auto& lines = scene.layers()[i].lines;
        auto& out = m_lines[i];
        out.clear();
        out.reserve(lines.size());
        for (const auto& s : lines) {
            out.emplace_back(s.a.x, s.a.y, s.b.x, s.b.y);
        }
    }
    m_generation = scene.generation();
}

void ScenePainter::paint(QPainter& painter, const app::DisplayList& scene,
                         const geometry::OutlineView& view, QSizeF size) {
    if (scene.generation() != m_generation) {
        convert(scene);
    }
    painter.fillRect(QRectF(QPointF(0, 0), size), ToQColor(app::kViewBackground));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setTransform(ViewTransform(view, size), true);
    for (std::size_t i = 0; i < app::kLayerCount; ++i) {
        if (m_lines[i].empty()) {
            continue;
        }
        const app::LayerStyle& style = scene.layers()[i].style;
        QPen pen(ToQColor(style.colour));
        pen.setWidthF(style.width);
        pen.setCosmetic(true); // widths in pixels, whatever the zoom
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLines(m_lines[i].data(), static_cast<int>(m_lines[i].size()));
    }
    painter.restore();
}

QColor ToQColor(app::Rgb rgb) {
    return {rgb.r, rgb.g, rgb.b};
}

} // namespace korvel::ui
