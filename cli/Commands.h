#pragma once
// The sub-commands of korvel-cli. Each takes its arguments (without the
// command word), prints its result to standard output and returns the exit
// code; errors the operator must see are thrown as UserError.

#include <string>
#include <vector>

namespace korvel::cli {

using Args = std::vector<std::string>;

struct Command {
    const char* name;
    const char* usage;
    int (*run)(const Args& args);
};

const std::vector<Command>& AllCommands();

} // namespace korvel::cli
