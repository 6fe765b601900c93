// korvel: the operator program. Opens the main window on the user's
// application folder (or --appdir) with the simulated machine; the
// options of app/LaunchOptions.h script the operator's first steps for
// demonstrations, tests and support.

#include "app/LaunchOptions.h"
#include "app/OperatorSession.h"
#include "app/RunReport.h"
#include "machine/RecordingDialog.h"
#include "ui/MainForm.h"
#include "ui/QtOperatorDialog.h"
#include "ui/ScriptedStart.h"

#include <QApplication>
#include <iostream>
#include <memory>

#ifndef KORVEL_RESOURCES_DIR
#define KORVEL_RESOURCES_DIR ""
#endif

namespace {

using namespace korvel;

std::vector<std::string> Arguments(const QApplication& application) {
    std::vector<std::string> args;
    const QStringList list = application.arguments();
    for (qsizetype i = 1; i < list.size(); ++i) {
        args.push_back(list[i].toStdString());
    }
    return args;
}

int Run(QApplication& application) {
    const app::LaunchOptions options = app::ParseLaunchOptions(Arguments(application));
    const std::filesystem::path folder =
        options.appDir.empty() ? app::UserAppFolder() : options.appDir;
    if (folder.empty()) {
        throw common::UserError(common::error("没有应用文件夹：请用 --appdir 指定",
                                              "No application folder: give one with --appdir"));
    }
    const common::AppDir dir(folder);
    dir.create();

    // Unattended runs print every message and answer the end-of-job
    // question as --answer says; otherwise message boxes ask the operator.
    std::unique_ptr<machine::OperatorDialog> dialog;
    app::OperatorSession* sessionSeen = nullptr;
    if (options.unattended()) {
        auto recording = std::make_unique<machine::RecordingDialog>(options.answer.value_or(false));
        app::PrintMessagesAsRaised(*recording);
        dialog = std::move(recording);
    } else {
        dialog = std::make_unique<ui::QtOperatorDialog>([&sessionSeen] {
            return sessionSeen != nullptr ? sessionSeen->language() : common::Language::Chinese;
        });
    }
    app::OperatorSession session(dir, KORVEL_RESOURCES_DIR, *dialog, options.card);
    sessionSeen = &session;
    if (options.languageFlag) {
        session.machine().tables().LanguageFlag = static_cast<std::int16_t>(*options.languageFlag);
    }
    ui::MainForm window(session);
    if (auto* boxes = dynamic_cast<ui::QtOperatorDialog*>(dialog.get())) {
        boxes->setParent(&window);
    }
    window.show();
    if (!options.unattended()) {
        window.startTimer2();
    }
    const int code = ui::RunScriptedSteps(window, options);
    if (options.quit) {
        window.close();
        return code;
    }
    if (options.unattended()) {
        // A picture without --quit: the window stays for a look, on its timer.
        window.startTimer2();
    }
    const int exitCode = QApplication::exec();
    return code != 0 ? code : exitCode;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("korvel");
    try {
        return Run(application);
    } catch (const common::UserError& e) {
        const auto lang = common::Language::English;
        std::cerr << e.message().title(lang) << ": " << e.message().text(lang) << "\n";
        return 2;
    }
}
