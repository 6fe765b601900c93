#include "ui/ScriptedStart.h"

#include "app/OperatorSession.h"
#include "ui/MainForm.h"

#include <QApplication>
#include <QPixmap>
#include <iostream>

namespace korvel::ui {

namespace {

// Two hours of machine time: far more than any letter needs.
constexpr std::int64_t kMaxUnattendedTicks = 2 * 3600 * 1000 / 30;

bool SavePicture(MainForm& window, const std::filesystem::path& file) {
    // Let the window lay itself out and paint before it is grabbed.
    QApplication::processEvents();
    if (!window.grab().save(QString::fromStdString(file.string()))) {
        std::cerr << "cannot write the picture " << file.string() << "\n";
        return false;
    }
    std::cout << file.string() << "\n";
    return true;
}

} // namespace

int RunScriptedSteps(MainForm& window, const app::LaunchOptions& options) {
    int code = 0;
    if (!options.drawing.empty()) {
        // Nobody is there to type the NC plane: an unattended run takes 0.
        std::optional<double> plane = options.planeZ;
        if (!plane && options.unattended()) {
            plane = 0.0;
        }
        if (!window.openDrawing(options.drawing, plane)) {
            code = 1;
        }
    }
    if (code == 0 && options.selectAll) {
        window.selectWholeLetter();
    }
    if (code == 0 && options.run) {
        window.Command_Run();
        const auto& job = window.session().simulated().lastJob();
        if (!job || !job->started) {
            code = 1;
        } else if (options.unattended()) {
            window.stopTimer2();
            if (!window.runToEnd(kMaxUnattendedTicks)) {
                code = 3;
            }
        }
    }
    if (!options.screenshot.empty() && !SavePicture(window, options.screenshot)) {
        code = 1;
    }
    return code;
}

} // namespace korvel::ui
