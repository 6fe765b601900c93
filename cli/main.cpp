// korvel-cli: the headless tool. It runs the same pipeline as the operator
// window (import, selection, path preparation, program generation, a run on
// the simulated machine) against an application folder given as --appdir.

#include "cli/Commands.h"
#include "cli/Output.h"
#include "common/Message.h"

#include <cstring>
#include <iostream>

namespace {

void printUsage() {
    std::cout << "usage: korvel-cli COMMAND [ARGS...]\n\ncommands:\n";
    for (const auto& c : korvel::cli::AllCommands()) {
        std::cout << "  " << c.usage << "\n";
    }
}

// The command word is the first argument that is not "--lang X"; the
// language option may stand before or after it and is handed on to the
// command, which prints its own messages in that language.
std::string takeCommandWord(korvel::cli::Args& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--lang") {
            ++i;
            continue;
        }
        std::string word = args[i];
        args.erase(args.begin() + static_cast<long>(i));
        return word;
    }
    return {};
}

} // namespace

int main(int argc, char** argv) {
    korvel::cli::Args args(argv + 1, argv + argc);
    const std::string name = takeCommandWord(args);
    if (name.empty() || name == "--help" || name == "help") {
        printUsage();
        return name.empty() ? 2 : 0;
    }
    const auto lang = korvel::cli::LanguageOf(args);
    for (const auto& c : korvel::cli::AllCommands()) {
        if (name == c.name) {
            try {
                return c.run(args);
            } catch (const korvel::common::UserError& e) {
                std::cerr << e.message().title(lang) << ": " << e.message().text(lang) << "\n";
                return 1;
            }
        }
    }
    std::cerr << "unknown command: " << name << "\n";
    printUsage();
    return 2;
}
