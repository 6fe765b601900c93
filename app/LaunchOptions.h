#pragma once
// The operator program's command line, for demonstrations, tests and
// support: korvel [--appdir DIR] [--lang zh|en] [--open DRAWING [--plane Z]]
// [--select-all] [--run [--answer yes|no]] [--card simulated|library:PATH]
// [--screenshot FILE.png] [--quit].
// The window does the steps as an operator would; without options it just
// opens on the user's application folder.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace korvel::app {

struct LaunchOptions {
    std::filesystem::path appDir;    // empty: the user's folder
    std::optional<int> languageFlag; // 0 Chinese, 1 English; none: as saved
    std::filesystem::path drawing;   // empty: open nothing
    std::optional<double> planeZ;    // machining plane of an NC drawing
    bool selectAll = false;
    bool run = false;
    std::optional<bool> answer;       // the end-of-job question; none: ask
    std::filesystem::path screenshot; // empty: no picture
    bool quit = false;
    std::optional<std::string> card; // --card: the card instead of Card.ini's

    // A picture or a quit asks for an unattended run: the job runs in
    // virtual time and nothing waits for the operator.
    bool unattended() const { return quit || !screenshot.empty(); }
};

// Throws UserError with the usage for an unknown option, a missing value,
// a language other than zh/en, a plane that is not a finite number, or an
// option that needs another (--plane without --open, --answer without
// --run).
LaunchOptions ParseLaunchOptions(const std::vector<std::string>& args);

// The usage text.
std::string LaunchUsage();

// The user's application folder: $XDG_DATA_HOME/korvel, else
// ~/.local/share/korvel; empty when neither variable is set.
std::filesystem::path UserAppFolder();

} // namespace korvel::app
