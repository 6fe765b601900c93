#include "cli/Commands.h"

namespace korvel::cli {

// One declaration per command; each lives in its own file.
int RunImport(const Args& args);
int RunText(const Args& args);
int RunMirror(const Args& args);
int RunArea(const Args& args);
int RunGlue(const Args& args);
int RunExportPlt(const Args& args);
int RunExportEngrave(const Args& args);
int RunParams(const Args& args);
int RunSelect(const Args& args);
int RunPrepare(const Args& args);
int RunGenerate(const Args& args);
int RunRun(const Args& args);
int RunJob(const Args& args);
int RunPreview(const Args& args);
int RunLog(const Args& args);

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {"import", "import DRAWING --appdir DIR [--densify N] [--plane Z]", RunImport},
        {"text", "text TEXT --font \"FAMILY[:STYLE]\" --height MM [--spacing MM] --appdir DIR",
         RunText},
        {"mirror", "mirror --appdir DIR", RunMirror},
        {"area", "area --appdir DIR", RunArea},
        {"glue", "glue --density D --thickness T --appdir DIR", RunGlue},
        {"export-plt", "export-plt --appdir DIR [--zh]", RunExportPlt},
        {"export-engrave",
         "export-engrave NAME --depth D --width W --spindle S --feed F --appdir DIR [--join J]",
         RunExportEngrave},
        {"params",
         "params --appdir DIR [--resources DIR] show | get NAME | set NAME VALUE | groups | "
         "switch P C | copy-params | copy-curv",
         RunParams},
        {"select", "select --appdir DIR (--all | OUTLINE:START:END[:shift] ...) [--append]",
         RunSelect},
        {"prepare", "prepare --appdir DIR [--offset T] [--join J] [--list zh|en]", RunPrepare},
        {"generate",
         "generate --appdir DIR [--runs R] [--join J] [--end E] [--home] [--encoder] [--no-bend] "
         "[--from-piece N]",
         RunGenerate},
        {"run",
         "run --appdir DIR [--answer yes|no] [--max-seconds S] [--card simulated|library:PATH]",
         RunRun},
        {"job",
         "job DRAWING [--appdir DIR] [--plane Z] [--runs R] [--join J] [--end E] [--home] "
         "[--encoder] [--answer yes|no] [--max-seconds S] [--card simulated|library:PATH]",
         RunJob},
        {"preview", "preview --appdir DIR [--png FILE]", RunPreview},
        {"log", "log --appdir DIR", RunLog},
    };
    return commands;
}

} // namespace korvel::cli
