#include "cli/RunOptions.h"

#include "common/Message.h"

#include <string>

namespace korvel::cli {

namespace {

constexpr double kDefaultMaxSeconds = 3600.0;

} // namespace

bool AnswerOption(const CliArgs& args) {
    const std::string answer = args.value("answer", "no");
    if (answer != "yes" && answer != "no") {
        throw common::UserError(
            common::error("--answer 只能是 yes 或 no", "--answer takes yes or no"));
    }
    return answer == "yes";
}

double MaxSecondsOption(const CliArgs& args) {
    const double s = args.number("max-seconds", kDefaultMaxSeconds);
    if (!(s > 0 && s <= 1.0e6)) {
        throw common::UserError(common::error("--max-seconds 须在0至1000000秒之间",
                                              "--max-seconds must lie between 0 and 1000000"));
    }
    return s;
}

} // namespace korvel::cli
