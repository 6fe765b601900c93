#include "cli/CliArgs.h"

#include "common/Message.h"

#include <algorithm>
#include <cstdlib>

#ifndef KORVEL_RESOURCES_DIR
#define KORVEL_RESOURCES_DIR ""
#endif

namespace korvel::cli {

CliArgs::CliArgs(const std::vector<std::string>& args, const std::vector<std::string>& flags) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) == 0 && a.size() > 2) {
            const std::string name = a.substr(2);
            const bool isFlag = std::find(flags.begin(), flags.end(), name) != flags.end();
            if (isFlag || i + 1 >= args.size()) {
                m_options[name] = "";
            } else {
                m_options[name] = args[++i];
            }
        } else {
            m_positional.push_back(a);
        }
    }
}

std::optional<std::string> CliArgs::value(const std::string& name) const {
    const auto it = m_options.find(name);
    if (it == m_options.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::string CliArgs::value(const std::string& name, const std::string& fallback) const {
    return value(name).value_or(fallback);
}

double CliArgs::number(const std::string& name, double fallback) const {
    const auto v = value(name);
    if (!v) {
        return fallback;
    }
    char* end = nullptr;
    const double d = std::strtod(v->c_str(), &end);
    if (v->empty() || end == nullptr || *end != '\0') {
        throw common::UserError(common::error("选项 --" + name + " 需要一个数值：" + *v,
                                              "Option --" + name + " needs a number: " + *v));
    }
    return d;
}

std::string CliArgs::resourcesDir() const {
    return value("resources", KORVEL_RESOURCES_DIR);
}

common::Language CliArgs::language() const {
    return value("lang", "en").rfind("zh", 0) == 0 ? common::Language::Chinese
                                                   : common::Language::English;
}

std::string CliArgs::appDir() const {
    const auto v = value("appdir");
    if (!v || v->empty()) {
        throw common::UserError(
            common::error("缺少 --appdir 应用文件夹", "Missing --appdir application folder"));
    }
    return *v;
}

} // namespace korvel::cli
