#pragma once
// Command-line arguments of korvel-cli: positional words and --name value
// options (a flag is an option without a value).

#include "common/Message.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace korvel::cli {

// The longest strip length an option takes (mm): no letter is a kilometre
// long.
inline constexpr double kMaxOptionLength = 1.0e6;

class CliArgs {
public:
    // `flags` lists the options that take no value.
    CliArgs(const std::vector<std::string>& args, const std::vector<std::string>& flags);

    const std::vector<std::string>& positional() const { return m_positional; }
    bool has(const std::string& name) const { return m_options.count(name) != 0; }
    std::optional<std::string> value(const std::string& name) const;
    std::string value(const std::string& name, const std::string& fallback) const;
    // A numeric option; throws UserError for a value that is not a finite
    // number.
    double number(const std::string& name, double fallback) const;
    // A numeric option within [lo, hi]; the refusal repeats what was typed
    // and gives the allowed range.
    double number(const std::string& name, double fallback, double lo, double hi) const;
    // The same for an option that takes a whole number.
    long long wholeNumber(const std::string& name, long long fallback, long long lo,
                          long long hi) const;
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
