#pragma once
// Whether this display can give the outline view an OpenGL context. A
// QOpenGLWidget takes the whole process down where none can be made (the
// offscreen platform, a display without GL), so the view asks first and
// draws with QPainter otherwise.

namespace korvel::ui {

// Needs a QGuiApplication. Tries a context on an offscreen surface once
// and remembers the answer.
bool OpenGLContextAvailable();

} // namespace korvel::ui
