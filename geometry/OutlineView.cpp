#include "geometry/OutlineView.h"

namespace korvel::geometry {

void OutlineView::resize(int width, int height) {
    const int w = width == 0 ? 1 : width;
    const int h = height == 0 ? 1 : height;
    m_aspect = static_cast<double>(h) / static_cast<double>(w);
}

void OutlineView::fit(const ViewRect& fitted) {
    m_fitted = fitted;
    m_rect = fitted;
}

Point2 OutlineView::toDrawing(double mx, double my, double pw, double ph) const {
    const double w = m_rect.w;
    return {mx / pw * w + m_rect.cx - w / 2.0,
            m_rect.cy + m_aspect * w / 2.0 - my / ph * m_aspect * w};
}

double OutlineView::zoomedWidth(double w, int wheelDelta) {
    if (wheelDelta < 1) {
        if (w < 100.0) {
            return w + 20.0;
        }
        if (w < 500.0) {
            return w + 50.0;
        }
        if (w < 1000.0) {
            return w + 100.0;
        }
        if (w < 5000.0) {
            return w + 200.0;
        }
        if (w < 10000.0) {
            return w + 500.0;
        }
        return w + 1000.0;
    }
    if (w > 10000.0) {
        return w - 1000.0;
    }
    if (w > 5000.0) {
        return w - 500.0;
    }
    if (w > 1000.0) {
        return w - 200.0;
    }
    if (w > 500.0) {
        return w - 100.0;
    }
    if (w > 200.0) {
        return w - 50.0;
    }
    return w;
}

void OutlineView::wheelZoom(double mx, double my, double pw, double ph, int wheelDelta) {
    const Point2 before = toDrawing(mx, my, pw, ph);
    m_rect.w = zoomedWidth(m_rect.w, wheelDelta);
    const Point2 after = toDrawing(mx, my, pw, ph);
    m_rect.cx += before.x - after.x;
    m_rect.cy += before.y - after.y;
}

void OutlineView::pan(double dmx, double dmy, double pixelScale) {
    if (pixelScale <= 0.0) {
        return;
    }
    m_rect.cx -= dmx / pixelScale * m_rect.w / 200.0;
    m_rect.cy += dmy / pixelScale * m_rect.w / 200.0;
}

} // namespace korvel::geometry
