#include "cli/Output.h"

#include <iostream>

namespace korvel::cli {

common::Language LanguageOf(const std::vector<std::string>& args) {
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--lang") {
            return args[i + 1].rfind("zh", 0) == 0 ? common::Language::Chinese
                                                   : common::Language::English;
        }
    }
    return common::Language::English;
}

void PrintMessage(const common::Message& message, common::Language lang) {
    if (message.empty()) {
        return;
    }
    auto& out = message.kind == common::MessageKind::Error ? std::cerr : std::cout;
    out << message.title(lang) << ": " << message.text(lang) << "\n";
}

void PrintMessages(const std::vector<common::Message>& messages, common::Language lang) {
    for (const auto& m : messages) {
        PrintMessage(m, lang);
    }
}

void PrintOpenSummary(const geometry::OpenSummary& summary, const std::string& name,
                      common::Language lang) {
    std::cout << "outlines " << summary.outlines << " points " << summary.pointLines << " nodes "
              << summary.nodes << "\n";
    if (summary.droppedOutlines > 0 || summary.openOutlines > 0 || !summary.skipped.empty() ||
        summary.straightenedArcs > 0) {
        std::cout << summary.messageFor(name).text(lang) << "\n";
    }
}

} // namespace korvel::cli
