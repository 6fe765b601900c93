// korvel-cli: the headless tool. It runs the same pipeline as the operator
// window (import, selection, path preparation, program generation, a run on
// the simulated machine) against an application folder given as --appdir.

#include "cli/Commands.h"
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

// "--lang zh" anywhere on the line prints messages in Chinese; English is
// the default of the command line.
korvel::common::Language takeLanguage(korvel::cli::Args& args) {
    auto lang = korvel::common::Language::English;
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--lang") {
            if (args[i + 1].rfind("zh", 0) == 0) {
                lang = korvel::common::Language::Chinese;
            }
            args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
            break;
        }
    }
    return lang;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0) {
        printUsage();
        return argc < 2 ? 2 : 0;
    }
    const std::string name = argv[1];
    korvel::cli::Args args(argv + 2, argv + argc);
    const auto lang = takeLanguage(args);
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
