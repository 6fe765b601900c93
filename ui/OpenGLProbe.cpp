#include "ui/OpenGLProbe.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QStringList>

namespace korvel::ui {

namespace {

bool probe() {
    // Platforms that draw into memory or a framebuffer: their QOpenGLWidget
    // has nothing to render with, even where a bare context can be made.
    static const QStringList withoutGL = {"offscreen", "minimal", "vnc", "linuxfb", "vkkhrdisplay"};
    if (withoutGL.contains(QGuiApplication::platformName())) {
        return false;
    }
    QOpenGLContext context;
    if (!context.create()) {
        return false;
    }
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface)) {
        return false;
    }
    context.doneCurrent();
    return true;
}

} // namespace

bool OpenGLContextAvailable() {
    static const bool available = probe();
    return available;
}

} // namespace korvel::ui
