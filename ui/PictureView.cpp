#include "ui/PictureView.h"

#include "ui/OpenGLProbe.h"
#include "ui/SceneCanvas.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace korvel::ui {

namespace {

Qt::CursorShape cursorFor(geometry::Pointer pointer) {
    switch (pointer) {
    case geometry::Pointer::Move:
        return Qt::SizeAllCursor;
    case geometry::Pointer::DeleteNode:
        return Qt::ForbiddenCursor;
    case geometry::Pointer::AddNode:
        return Qt::CrossCursor;
    case geometry::Pointer::Normal:
        break;
    }
    return Qt::ArrowCursor;
}

} // namespace

PictureView::PictureView(geometry::OutlineSession& session, program::MarkedPoints& marked,
                         QWidget* parent, Renderer renderer)
    : QWidget(parent), m_session(session), m_marked(marked), m_input(session, marked, m_scene) {
    setObjectName("Picture1");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (renderer == Renderer::Automatic && OpenGLContextAvailable()) {
        m_canvas = new SceneCanvas(m_scene, m_session.view(), this);
        // The mouse belongs to the view; the canvas only draws.
        m_canvas->setAttribute(Qt::WA_TransparentForMouseEvents);
        layout->addWidget(m_canvas);
        connect(m_canvas, &SceneCanvas::setupFailed, this, &PictureView::usePainter);
    }
    m_input.resize(width(), height());
}

PictureView::~PictureView() = default;

void PictureView::usePainter() {
    if (m_canvas == nullptr) {
        return;
    }
    m_canvas->hide();
    m_canvas->deleteLater();
    m_canvas = nullptr;
    update();
}

void PictureView::raise(const common::Message& message) {
    if (!message.empty()) {
        emit messageRaised(message);
    }
}

void PictureView::redraw(int highlightedSegment) {
    const common::Message problem =
        m_scene.rebuild(m_session, m_marked, m_bendToSlotRadius, highlightedSegment);
    syncPointer();
    refresh();
    raise(problem);
}

void PictureView::restoreView() {
    m_session.view().restore();
    viewMoved();
}

void PictureView::setRunRequested(bool requested) {
    m_input.setRunRequested(requested);
}

void PictureView::setOverlay(const std::vector<app::Polyline>& polylines, app::Rgb colour) {
    m_scene.setOverlay(polylines, colour);
    refresh();
}

void PictureView::enterDeleteMode() {
    raise(m_session.enterDeleteMode());
    syncPointer();
}

void PictureView::enterAddMode() {
    raise(m_session.enterAddMode());
    syncPointer();
}

QImage PictureView::picture() {
    return grab().toImage();
}

void PictureView::viewMoved() {
    m_scene.fitMarks(m_session.view().rect().w);
    refresh();
}

void PictureView::refresh() {
    if (m_canvas != nullptr) {
        m_canvas->update();
    } else {
        update();
    }
}

void PictureView::syncPointer() {
    const QCursor cursor(cursorFor(m_session.pointer()));
    setCursor(cursor);
    if (m_canvas != nullptr) {
        m_canvas->setCursor(cursor);
    }
}

void PictureView::paintEvent(QPaintEvent*) {
    if (m_canvas != nullptr) {
        return;
    }
    QPainter painter(this);
    m_painter.paint(painter, m_scene, m_session.view(), size());
}

void PictureView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_input.resize(width(), height());
    refresh();
}

void PictureView::respond(const app::ViewResponse& response, QPoint globalPosition) {
    if (response.rebuild) {
        redraw(m_scene.highlighted());
    } else if (response.markerToggled) {
        m_scene.refreshMarkers(m_marked);
        refresh();
    } else if (response.repaint) {
        refresh();
    }
    syncPointer();
    raise(response.message);
    if (response.selectionChanged) {
        emit selectionChanged();
    }
    if (response.contextMenu) {
        emit contextMenuRequested(globalPosition);
    }
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    const QPoint global = event->globalPosition().toPoint();
    if (event->button() == Qt::LeftButton) {
        const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
        respond(m_input.leftPress(p.x(), p.y(), shift), global);
    } else if (event->button() == Qt::RightButton) {
        respond(m_input.rightPress(p.x(), p.y()), global);
    }
    event->accept();
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    if (m_input.move(p.x(), p.y())) {
        refresh();
    }
    const geometry::Point2 at = m_input.mouseInDrawing();
    emit mouseMovedTo(at.x, at.y);
    event->accept();
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
    m_input.release();
    syncPointer();
    event->accept();
}

void PictureView::wheelEvent(QWheelEvent* event) {
    const QPointF p = event->position();
    if (m_input.wheel(p.x(), p.y(), event->angleDelta().y())) {
        viewMoved();
    }
    event->accept();
}

void PictureView::contextMenuEvent(QContextMenuEvent* event) {
    // A right click was answered when it was pressed (it may have restored
    // a node instead); only the keyboard's menu key arrives here alone.
    if (event->reason() != QContextMenuEvent::Mouse) {
        emit contextMenuRequested(mapToGlobal(rect().center()));
    }
    event->accept();
}

} // namespace korvel::ui
