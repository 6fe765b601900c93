#include "cli/CliArgs.h"

#include "common/FieldText.h"
#include "common/Message.h"
#include "machine/ParameterTable.h"

#include <algorithm>
#include <cmath>

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

namespace {

// "1 .. 32767", "-100 .. 100": the range as a message shows it.
std::string rangeText(double lo, double hi) {
    return common::FieldText(lo) + " .. " + common::FieldText(hi);
}

common::UserError outOfRange(const std::string& name, const std::string& typed,
                             const std::string& zhRange, const std::string& enRange) {
    return common::UserError(
        common::error("选项 --" + name + " 的数值 " + typed + " 超出范围（" + zhRange + "）",
                      "Option --" + name + ": " + typed + " is out of range (" + enRange + ")"));
}

} // namespace

double CliArgs::number(const std::string& name, double fallback) const {
    const auto v = value(name);
    if (!v) {
        return fallback;
    }
    // The group files' number syntax: no "nan", "inf" or hexadecimal
    // floats, and an exponent that overflows is refused, not infinite.
    const auto d = machine::ParseNumber(*v);
    if (!d || !std::isfinite(*d)) {
        throw common::UserError(common::error("选项 --" + name + " 需要一个数值：" + *v,
                                              "Option --" + name + " needs a number: " + *v));
    }
    return *d;
}

double CliArgs::number(const std::string& name, double fallback, double lo, double hi) const {
    const double d = number(name, fallback);
    if (!(d >= lo && d <= hi)) {
        const std::string range = rangeText(lo, hi);
        throw outOfRange(name, value(name).value_or(""), range, range);
    }
    return d;
}

long long CliArgs::wholeNumber(const std::string& name, long long fallback, long long lo,
                               long long hi) const {
    const auto lowest = static_cast<double>(lo);
    const auto highest = static_cast<double>(hi);
    const double d = number(name, static_cast<double>(fallback));
    // Range first: converting a huge number to an integer is undefined.
    if (!(d >= lowest && d <= highest) || d != std::floor(d)) {
        const std::string range = rangeText(lowest, highest);
        throw outOfRange(name, value(name).value_or(""), "整数 " + range,
                         "a whole number " + range);
    }
    return static_cast<long long>(d);
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
