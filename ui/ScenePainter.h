#pragma once
// Draws the outline view's display list with QPainter, wherever no OpenGL
// context can be made (the offscreen platform, a remote display without
// GL): the same lines, colours, widths and projection as the OpenGL canvas.

#include "app/DisplayList.h"
#include "geometry/OutlineView.h"

#include <QColor>
#include <QLineF>
#include <QSize>
#include <QTransform>
#include <array>
#include <cstdint>
#include <limits>
#include <vector>

class QPainter;

namespace korvel::ui {

QColor ToQColor(app::Rgb rgb);

// The set view as a transform from drawing millimetres to the pixels of a
// picture box of `size`: the view's left edge at x = 0, its top edge at
// y = 0, y growing downwards.
QTransform ViewTransform(const geometry::OutlineView& view, QSizeF size);

class ScenePainter {
public:
    void paint(QPainter& painter, const app::DisplayList& scene, const geometry::OutlineView& view,
               QSizeF size);

private:
    void convert(const app::DisplayList& scene);

    std::array<std::vector<QLineF>, app::kLayerCount> m_lines;
    std::uint64_t m_generation = std::numeric_limits<std::uint64_t>::max();
};

} // namespace korvel::ui
