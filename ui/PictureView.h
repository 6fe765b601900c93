#pragma once
// The outline view of the main window ("Picture1"): draws the display list
// with the set view and turns the operator's mouse into picks, node edits,
// marker flips, drags and wheel zooms. Where an OpenGL context can be made
// it draws on an OpenGL canvas, elsewhere with QPainter; the picture is the
// same.
//
// The rules are in app::OutlineViewInput and app::DisplayList; this class
// only forwards events, sets the pointer and tells the main window what
// happened.

#include "app/DisplayList.h"
#include "app/OutlineViewInput.h"
#include "common/Message.h"
#include "geometry/OutlineSession.h"
#include "program/MarkedPoints.h"
#include "ui/ScenePainter.h"

#include <QImage>
#include <QMetaType>
#include <QPoint>
#include <QWidget>
#include <vector>

namespace korvel::ui {

class SceneCanvas;

class PictureView : public QWidget {
    Q_OBJECT
public:
    enum class Renderer {
        Automatic, // OpenGL where a context can be made, else QPainter
        Painter,   // always QPainter
    };

    PictureView(geometry::OutlineSession& session, program::MarkedPoints& marked,
                QWidget* parent = nullptr, Renderer renderer = Renderer::Automatic);
    ~PictureView() override;

    // Rebuilds the display list from the session and the files and draws
    // it, with piece `highlightedSegment` of the piece list (from 1)
    // highlighted; 0 highlights nothing. Call after every open, close,
    // mirror, node edit, selection change and run end.
    void redraw(int highlightedSegment = 0);
    // "还原视图": back to the view fitted to the drawing.
    void restoreView();
    // While a run is requested, left clicks do nothing.
    void setRunRequested(bool requested);
    // Arc points below this radius get markers (BendToSlotRadiusThreshold).
    void setBendToSlotRadius(double radius) { m_bendToSlotRadius = radius; }
    // An extra layer of polylines in its own colour; an empty list removes it.
    void setOverlay(const std::vector<app::Polyline>& polylines, app::Rgb colour);

    // The node edit pointers of the menus: refused (messageRaised) without
    // an open drawing or with a selection.
    void enterDeleteMode();
    void enterAddMode();

    bool usesOpenGL() const { return m_canvas != nullptr; }
    const app::DisplayList& displayList() const { return m_scene; }
    // Where the mouse was last seen, in drawing millimetres.
    geometry::Point2 mouseInDrawing() const { return m_input.mouseInDrawing(); }
    // The picture as the operator sees it, in device pixels.
    QImage picture();

    QSize sizeHint() const override { return {800, 600}; }
    QSize minimumSizeHint() const override { return {200, 150}; }

signals:
    // A right click that restored no node: the owner opens its menu.
    void contextMenuRequested(QPoint globalPosition);
    // A piece was picked or a node edited: lengths and piece list change.
    void selectionChanged();
    // An action was refused or a file could not be drawn.
    void messageRaised(const korvel::common::Message& message);
    // The mouse moved over the view (drawing millimetres).
    void mouseMovedTo(double x, double y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void respond(const app::ViewResponse& response, QPoint globalPosition);
    void viewMoved();
    void refresh();
    void syncPointer();
    void usePainter();
    void raise(const common::Message& message);

    geometry::OutlineSession& m_session;
    program::MarkedPoints& m_marked;
    app::DisplayList m_scene;
    app::OutlineViewInput m_input;
    ScenePainter m_painter;
    SceneCanvas* m_canvas = nullptr;
    double m_bendToSlotRadius = 0.0;
};

} // namespace korvel::ui

Q_DECLARE_METATYPE(korvel::common::Message)
