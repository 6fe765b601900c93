#pragma once
// Command-line arguments of korvel-cli: positional words and --name value
// options (a flag is an option without a value).

#include "common/Message.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace korvel::cli {

class CliArgs {
public:
    // `flags` lists the options that take no value.
    CliArgs(const std::vector<std::string>& args, const std::vector<std::string>& flags);

    const std::vector<std::string>& positional() const { return m_positional; }
    bool has(const std::string& name) const { return m_options.count(name) != 0; }
    std::optional<std::string> value(const std::string& name) const;
    std::string value(const std::string& name, const std::string& fallback) const;
    // A numeric option; throws UserError for a value that is not a number.
    double number(const std::string& name, double fallback) const;
    // The --appdir option (required by every command working on a folder).
    std::string appDir() const;
    // The shipped resources copied into a new application folder
    // (--resources, by default the source tree's resources folder).
    std::string resourcesDir() const;
    // The language of messages (--lang zh for Chinese, English otherwise).
    common::Language language() const;

private:
    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_options;
};

} // namespace korvel::cli
