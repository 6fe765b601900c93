// Window tests run on Qt's offscreen platform, without a display: nothing
// shows on a screen and no OpenGL context is made, so the outline view
// paints with QPainter.

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("DISPLAY");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
