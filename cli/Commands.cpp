#include "cli/Commands.h"

namespace korvel::cli {

// One declaration per command; each lives in its own file.

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
    };
    return commands;
}

} // namespace korvel::cli
