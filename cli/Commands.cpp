#include "cli/Commands.h"

namespace korvel::cli {

// One declaration per command; each lives in its own file.
int RunImport(const Args& args);
int RunParams(const Args& args);
int RunSelect(const Args& args);
int RunPrepare(const Args& args);
int RunGenerate(const Args& args);

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {"import", "import DRAWING --appdir DIR [--densify N]", RunImport},
        {"params",
         "params --appdir DIR [--resources DIR] show | get NAME | set NAME VALUE | groups | "
         "switch P C | copy-params | copy-curv",
         RunParams},
        {"select", "select --appdir DIR (--all | OUTLINE:START:END[:shift] ...) [--append]",
         RunSelect},
        {"prepare", "prepare --appdir DIR [--offset T] [--join J] [--list zh|en]", RunPrepare},
        {"generate",
         "generate --appdir DIR [--runs R] [--join J] [--end E] [--home] [--encoder] [--no-bend]",
         RunGenerate},
    };
    return commands;
}

} // namespace korvel::cli
