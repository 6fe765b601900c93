// korvel-cli params: the parameter groups of an application folder. A new
// folder first gets the shipped files (never replacing one it has), then
// the groups are loaded as at start-up and the sub-command runs.

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "common/AppDir.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "machine/DefaultInstall.h"
#include "machine/ParameterStore.h"
#include "machine/ParameterTable.h"

#include <cmath>
#include <iostream>

namespace korvel::cli {
namespace {

using machine::ParameterStore;
common::UserError usageError(const std::string& what) {
    return common::UserError(common::error("用法错误：" + what, "Usage: " + what));
}

const machine::ParameterInfo& findOrThrow(const std::string& name) {
    const machine::ParameterInfo* info = machine::FindParameter(name);
    if (info == nullptr) {
        throw common::UserError(
            common::error("没有名为 " + name + " 的参数", "There is no parameter named " + name));
    }
    return *info;
}

std::string shownValue(const machine::ParameterSet& params, const machine::ParameterInfo& info) {
    return std::string(common::Trim(machine::ValueText(params, info)));
}

// Store an operator's value after the same checks the files get.
void assign(machine::ParameterSet& params, const machine::ParameterInfo& info,
            const std::string& text) {
    const std::string name(info.name);
    if (info.type == machine::ParameterType::String) {
        if (!machine::IsValidSlotActionOrder(text)) {
            throw common::UserError(
                common::error(name + " 只能由字母UDPNFB组成：" + text,
                              name + " may only hold the letters U D P N F B: " + text));
        }
        params.SlotActionOrder = text;
        return;
    }
    const auto value = machine::ParseNumber(text);
    if (!value) {
        throw common::UserError(
            common::error(name + " 需要一个数值：" + text, name + " needs a number: " + text));
    }
    if (machine::CheckValue(info, *value) != machine::ValueProblem::None) {
        const std::string range = machine::LimitsText(info);
        throw common::UserError(
            common::error(name + " 的数值 " + text + " 超出范围（" + range + "）",
                          name + ": the value " + text + " is out of range (" + range + ")"));
    }
    machine::SetNumericValue(params, info, *value);
}

int groupArgument(const std::string& text) {
    const auto value = machine::ParseNumber(text);
    // Range first: converting a huge number to int is undefined.
    if (!value || !(*value >= 0.0 && *value < machine::kGroupCount) ||
        *value != std::trunc(*value)) {
        throw usageError("group numbers are 0 to 9, not " + text);
    }
    return static_cast<int>(*value);
}

void printGroups(const machine::ParameterTables& tables) {
    std::cout << "parameter groups (current " << tables.ParaGroupNo << "):\n";
    for (int g = 0; g < machine::kGroupCount; ++g) {
        std::cout << (g == tables.ParaGroupNo ? " * " : "   ") << g << " "
                  << tables.ParaGroupNames[static_cast<size_t>(g)] << "\n";
    }
    std::cout << "curvature groups (current " << tables.CurvGroupNo << "):\n";
    for (int g = 0; g < machine::kGroupCount; ++g) {
        std::cout << (g == tables.CurvGroupNo ? " * " : "   ") << g << " "
                  << tables.CurvGroupNames[static_cast<size_t>(g)] << "\n";
    }
}

// Prints the messages; the exit code is 1 when one of them is an error.
int reported(const machine::Messages& messages, common::Language lang) {
    PrintMessages(messages, lang);
    for (const auto& m : messages) {
        if (m.kind == common::MessageKind::Error) {
            return 1;
        }
    }
    return 0;
}

int runSubcommand(const std::vector<std::string>& words, ParameterStore& store,
                  machine::ParameterSet& params, machine::ParameterTables& tables,
                  common::Language lang) {
    const std::string& verb = words.empty() ? std::string() : words[0];
    const auto need = [&](size_t count, const char* usage) {
        if (words.size() != count) {
            throw usageError(usage);
        }
    };
    if (verb == "show") {
        need(1, "params show");
        for (const auto& info : machine::ParameterTable()) {
            std::cout << info.name << " = " << shownValue(params, info) << "\n";
        }
    } else if (verb == "get") {
        need(2, "params get NAME");
        std::cout << shownValue(params, findOrThrow(words[1])) << "\n";
    } else if (verb == "set") {
        need(3, "params set NAME VALUE");
        assign(params, findOrThrow(words[1]), words[2]);
        return reported({store.SaveSysPara(tables.ParaGroupNo, false)}, lang);
    } else if (verb == "groups") {
        need(1, "params groups");
        printGroups(tables);
        std::cout << store.StatusLine(lang) << "\n";
    } else if (verb == "switch") {
        need(3, "params switch PARAGROUP CURVGROUP (0..9)");
        const int paraGroup = groupArgument(words[1]);
        return reported(store.SwitchGroups(paraGroup, groupArgument(words[2])), lang);
    } else if (verb == "copy-params") {
        need(1, "params copy-params");
        return reported({store.CopyParamsToAllGroups()}, lang);
    } else if (verb == "copy-curv") {
        need(1, "params copy-curv");
        return reported({store.CopyCurvatureToAllGroups()}, lang);
    } else {
        throw usageError("params --appdir DIR [--resources DIR] "
                         "show|get NAME|set NAME VALUE|groups|switch P C|copy-params|copy-curv");
    }
    return 0;
}

} // namespace

int RunParams(const Args& args) {
    const CliArgs cli(args, {});
    const common::AppDir appDir(cli.appDir());
    const std::string resources = cli.resourcesDir();
    machine::InstallDefaults(appDir, resources);

    machine::ParameterSet params;
    machine::ParameterTables tables;
    ParameterStore store(appDir, params, tables);
    PrintMessages(store.LoadAtStartup(), cli.language());
    return runSubcommand(cli.positional(), store, params, tables, cli.language());
}

} // namespace korvel::cli
