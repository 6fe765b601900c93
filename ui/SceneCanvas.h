#pragma once
// The OpenGL canvas of the outline view: the display list's lines in
// vertex buffers on the graphics card, drawn with the orthographic set
// view (cx +- w/2 across, cy +- aspect*w/2 up and down). The lines are
// loaded again only when the display list changed; a pan or a zoom only
// changes the projection.

#include "app/DisplayList.h"
#include "geometry/OutlineView.h"

#include <QOpenGLBuffer>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <array>
#include <cstdint>
#include <limits>
#include <memory>

class QOpenGLShaderProgram;

namespace korvel::ui {

class SceneCanvas : public QOpenGLWidget, protected QOpenGLFunctions {
    Q_OBJECT
public:
    SceneCanvas(const app::DisplayList& scene, const geometry::OutlineView& view,
                QWidget* parent = nullptr);
    ~SceneCanvas() override;

signals:
    // The context exists but the canvas could not be set up (shaders,
    // buffers): the owner draws with QPainter instead.
    void setupFailed();

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    bool setUp();
    void upload();
    void release();

    struct Range {
        int first = 0;
        int count = 0;
    };

    const app::DisplayList& m_scene;
    const geometry::OutlineView& m_view;
    std::unique_ptr<QOpenGLShaderProgram> m_program;
    QOpenGLBuffer m_buffer{QOpenGLBuffer::VertexBuffer};
    std::array<Range, app::kLayerCount> m_ranges{};
    std::uint64_t m_uploaded = std::numeric_limits<std::uint64_t>::max();
    int m_vertexLocation = -1;
    int m_projectionLocation = -1;
    int m_colourLocation = -1;
    bool m_ready = false;
};

} // namespace korvel::ui
