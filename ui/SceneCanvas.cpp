#include "ui/SceneCanvas.h"

#include <QMatrix4x4>
#include <QMetaObject>
#include <QOpenGLShaderProgram>
#include <algorithm>
#include <vector>

namespace korvel::ui {

namespace {

// Written for the oldest shading language every OpenGL 2 and OpenGL ES 2
// context takes; Qt removes the precision words where they do not belong.
constexpr const char* kVertexShader = R"(
attribute highp vec2 vertex;
uniform highp mat4 projection;
void main() {
    gl_Position = projection * vec4(vertex, 0.0, 1.0);
}
)";

constexpr const char* kFragmentShader = R"(
uniform lowp vec4 colour;
void main() {
    gl_FragColor = colour;
}
)";

} // namespace

SceneCanvas::SceneCanvas(const app::DisplayList& scene, const geometry::OutlineView& view,
                         QWidget* parent)
    : QOpenGLWidget(parent), m_scene(scene), m_view(view) {}

SceneCanvas::~SceneCanvas() {
    if (isValid()) {
        makeCurrent();
        release();
        doneCurrent();
    }
}

void SceneCanvas::release() {
    m_buffer.destroy();
    m_program.reset();
    m_ready = false;
}

bool SceneCanvas::setUp() {
    initializeOpenGLFunctions();
    m_program = std::make_unique<QOpenGLShaderProgram>();
    if (!m_program->addShaderFromSourceCode(QOpenGLShader::Vertex, kVertexShader) ||
        !m_program->addShaderFromSourceCode(QOpenGLShader::Fragment, kFragmentShader) ||
        !m_program->link()) {
        return false;
    }
    m_vertexLocation = m_program->attributeLocation("vertex");
    m_projectionLocation = m_program->uniformLocation("projection");
    m_colourLocation = m_program->uniformLocation("colour");
    return m_vertexLocation >= 0 && m_buffer.create();
}

void SceneCanvas::initializeGL() {
    m_ready = setUp();
    if (!m_ready) {
        release();
        // Not from inside the GL callback: the owner replaces this canvas.
        QMetaObject::invokeMethod(this, &SceneCanvas::setupFailed, Qt::QueuedConnection);
    }
}

void SceneCanvas::upload() {
    std::size_t total = 0;
    for (const auto& layer : m_scene.layers()) {
        total += layer.lines.size();
    }
    // Floats are precise enough for the screen: 1e-3 mm at 10 m from the
    // drawing's origin.
    std::vector<float> vertices;
    vertices.reserve(4 * total);
    for (std::size_t i = 0; i < app::kLayerCount; ++i) {
        const auto& lines = m_scene.layers()[i].lines;
        m_ranges[i] = {static_cast<int>(vertices.size() / 2), static_cast<int>(2 * lines.size())};
        for (const auto& s : lines) {
            vertices.insert(vertices.end(), {static_cast<float>(s.a.x), static_cast<float>(s.a.y),
                                             static_cast<float>(s.b.x), static_cast<float>(s.b.y)});
        }
    }
    m_buffer.bind();
    m_buffer.allocate(vertices.data(), static_cast<int>(vertices.size() * sizeof(float)));
    m_uploaded = m_scene.generation();
}

void SceneCanvas::paintGL() {
    const app::Rgb background = app::kViewBackground;
    glClearColor(background.r / 255.0F, background.g / 255.0F, background.b / 255.0F, 1.0F);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!m_ready) {
        return;
    }
    const qreal ratio = devicePixelRatioF();
    glViewport(0, 0, std::max(1, static_cast<int>(width() * ratio)),
               std::max(1, static_cast<int>(height() * ratio)));
    glDisable(GL_DEPTH_TEST);
    if (m_uploaded != m_scene.generation()) {
        upload();
    }
    QMatrix4x4 projection;
    projection.ortho(static_cast<float>(m_view.left()), static_cast<float>(m_view.right()),
                     static_cast<float>(m_view.bottom()), static_cast<float>(m_view.top()), -1.0F,
                     1.0F);
    m_program->bind();
    m_program->setUniformValue(m_projectionLocation, projection);
    m_buffer.bind();
    m_program->enableAttributeArray(m_vertexLocation);
    m_program->setAttributeBuffer(m_vertexLocation, GL_FLOAT, 0, 2);
    for (std::size_t i = 0; i < app::kLayerCount; ++i) {
        if (m_ranges[i].count == 0) {
            continue;
        }
        const app::LayerStyle& style = m_scene.layers()[i].style;
        m_program->setUniformValue(m_colourLocation, style.colour.r / 255.0F,
                                   style.colour.g / 255.0F, style.colour.b / 255.0F, 1.0F);
        glLineWidth(style.width * static_cast<float>(ratio));
        glDrawArrays(GL_LINES, m_ranges[i].first, m_ranges[i].count);
    }
    m_program->disableAttributeArray(m_vertexLocation);
    m_buffer.release();
    m_program->release();
}

} // namespace korvel::ui
